#pragma once

#include <QWidget>

#include "log/MessageLog.h"

class QTableView;

namespace velmora::gui {

class MessageLogModel;

// The message log's list: one row per event with its icon and the Activity,
// Text and Status columns. It shows the rows of a log::MessageLog as they are
// added; the rows themselves live in that log.
class CMessageLogDialog : public QWidget {
  Q_OBJECT

 public:
  explicit CMessageLogDialog(log::MessageLog& log, QWidget* parent = nullptr);
  ~CMessageLogDialog() override;

  // Rows shown since the last Clear.
  int logRowCount() const;
  // Removes every row (the log's and the list's).
  void ClearLog();
  // Reloads the three column titles in the current language; rows keep the
  // words they were written with.
  void RelabelLogColumns();
  QTableView* list() const { return list_; }
  MessageLogModel* model() const { return model_; }

 private:
  // Brings the newest row into view once the events pending now have been
  // handled: a long process adds many rows between two pumps, and the view
  // scrolls once for them all.
  void QueueScrollToNewest();

  MessageLogModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  bool scrollQueued_ = false;
};

}  // namespace velmora::gui
