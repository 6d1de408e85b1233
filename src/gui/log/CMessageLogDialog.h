#pragma once

#include <QWidget>

#include "log/MessageLog.h"

class QTreeWidget;

namespace velmora::gui {

// The message log's list: one row per event with its icon and the Activity,
// Text and Status columns. It shows the rows of a log::MessageLog as they are
// added; the rows themselves live in that log.
class CMessageLogDialog : public QWidget {
  Q_OBJECT

 public:
  explicit CMessageLogDialog(log::MessageLog& log, QWidget* parent = nullptr);
  ~CMessageLogDialog() override;

  // Rows shown since the last Clear.
  int logRowCount() const { return rowCount_; }
  // Removes every row (the log's and the list's).
  void ClearLog();
  // Reloads the three column titles in the current language; rows keep the
  // words they were written with.
  void RelabelLogColumns();
  QTreeWidget* list() const { return list_; }

 private:
  void AddRow(const log::LogRow& row);

  log::MessageLog& log_;
  QTreeWidget* list_ = nullptr;
  int rowCount_ = 0;
};

}  // namespace velmora::gui
