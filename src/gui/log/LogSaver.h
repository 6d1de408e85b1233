#pragma once

#include <QString>

#include "log/MessageLog.h"

class QWidget;

namespace velmora::gui {

class WindowPrompts;

// The name the report is written under: the chosen one, with ".txt" added
// unless it already ends in it (in any case).
QString LogReportPath(const QString& chosen);

// Save Log: asks for a file ("Save Log To File", "Text Document(*.txt)"), asks
// before an existing file is replaced, and writes the report in the locale's
// encoding. A file that cannot be written shows error 10. Returns true when
// the report was written.
bool SaveLog(QWidget* parent, WindowPrompts& prompts, const log::MessageLog& log);

}  // namespace velmora::gui
