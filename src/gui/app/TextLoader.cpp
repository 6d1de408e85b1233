#include "app/TextLoader.h"

#include <QCoreApplication>

#include "text/StringTable.h"

namespace velmora::gui {

QString LoadQText(std::uint16_t id) { return QString::fromStdU16String(text::LoadText(id)); }

void InstallTranslatedTextSource() {
  text::SetTextSource([](std::uint16_t id) -> std::u16string {
    const std::u16string english = text::EnglishText(id);
    if (english.empty()) return {};
    const QByteArray source = QString::fromStdU16String(english).toUtf8();
    return QCoreApplication::translate("StringTable", source.constData()).toStdU16String();
  });
}

}  // namespace velmora::gui
