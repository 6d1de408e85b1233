#pragma once

#include <QDockWidget>

#include "log/CMessageLogDialog.h"

namespace velmora::gui {

// The message log's bar: docks on any side of the main window, floats,
// resizes (never below 32 pixels) and closes with its own button; its toggle
// action is View > Message Log.
class MessageLogBar : public QDockWidget {
  Q_OBJECT

 public:
  MessageLogBar(log::MessageLog& log, QWidget* parent = nullptr);
  CMessageLogDialog* dialog() const { return dialog_; }

 private:
  CMessageLogDialog* dialog_ = nullptr;
};

}  // namespace velmora::gui
