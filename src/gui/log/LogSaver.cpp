#include "log/LogSaver.h"

#include <QFile>
#include <QFileInfo>

#include "app/TextLoader.h"
#include "app/WindowPrompts.h"
#include "log/LogReport.h"
#include "platform/LocaleText.h"
#include "text/StringTable.h"

namespace velmora::gui {

QString LogReportPath(const QString& chosen) {
  if (chosen.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) return chosen;
  return chosen + QStringLiteral(".txt");
}

bool SaveLog(QWidget* /*parent*/, WindowPrompts& prompts, const log::MessageLog& log) {
  const QString filter = LoadQText(text::kTextDocument) + QStringLiteral("(*.txt)");
  const std::optional<QString> chosen =
      prompts.ChooseSaveFile(ChooserPurpose::kSaveLog, LoadQText(text::kSaveLogTitle), filter,
                             LoadQText(text::kLogFileName));
  if (!chosen) return false;
  const QString path = LogReportPath(*chosen);
  if (QFileInfo::exists(path) && !prompts.ConfirmReplaceFile(path)) return false;
  std::string reason;
  if (!log::WriteLogReport(QFile::encodeName(path).toStdString(), log.rows(), reason,
                           &platform::EncodeForLocale)) {
    prompts.ShowErrorDetail(static_cast<int>(text::ErrorCode::kWriteProtected), reason);
    return false;
  }
  return true;
}

}  // namespace velmora::gui
