#include "app/Languages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <memory>

#include "app/DataFolder.h"
#include "app/TextLoader.h"

namespace velmora::gui {
namespace {

constexpr std::array<const char*, kLanguageCount> kNames = {"English", "French", "German",
                                                            "Spanish", "Italian"};
// Qt's own translations (file choosers, key names in menus) by language code.
constexpr std::array<const char*, kLanguageCount> kQtCodes = {"en", "fr", "de", "es", "it"};

QString& FolderOverride() {
  static QString folder;
  return folder;
}

std::uint32_t& Current() {
  static std::uint32_t index = 0;
  return index;
}

std::unique_ptr<QTranslator>& Installed() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

std::unique_ptr<QTranslator>& InstalledQt() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

void RemoveTranslation() {
  for (std::unique_ptr<QTranslator>* slot : {&Installed(), &InstalledQt()}) {
    if (*slot) {
      QCoreApplication::removeTranslator(slot->get());
      slot->reset();
    }
  }
}

// Qt's dialogs speak the language too where Qt's translations are installed;
// without them they stay English, which is no reason to refuse the language.
void InstallQtTranslation(std::uint32_t index) {
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QStringLiteral("qtbase_") + QLatin1String(kQtCodes[index]),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator.get());
    InstalledQt() = std::move(translator);
  }
}

}  // namespace

QString LanguageName(std::uint32_t index) {
  return index < kLanguageCount ? QString::fromLatin1(kNames[index]) : QString();
}

QString TranslationFolder() {
  return FolderOverride().isEmpty() ? DataFolder() : FolderOverride();
}

void SetTranslationFolder(const QString& folder) { FolderOverride() = folder; }

bool InstallLanguage(std::uint32_t index) {
  InstallTranslatedTextSource();
  // Whatever fails below leaves English in force, and says so.
  Current() = 0;
  if (index == 0 || index >= kLanguageCount) {
    RemoveTranslation();
    return index == 0;
  }
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(LanguageName(index), TranslationFolder())) {
    RemoveTranslation();
    return false;
  }
  RemoveTranslation();
  QCoreApplication::installTranslator(translator.get());
  Installed() = std::move(translator);
  InstallQtTranslation(index);
  Current() = index;
  return true;
}

std::uint32_t CurrentLanguageIndex() { return Current(); }

QLocale LanguageLocale(std::uint32_t index) {
  return QLocale(QString::fromLatin1(kQtCodes[index < kLanguageCount ? index : 0]));
}

QString SettingsOrganization() { return QStringLiteral("Orvane Information Systems Ltd."); }
QString SettingsApplication() { return QStringLiteral("Orvane Velmora CDROM"); }

}  // namespace velmora::gui
