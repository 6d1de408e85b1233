#pragma once

#include <QAbstractTableModel>

#include "log/MessageLog.h"

namespace velmora::gui {

// The message log's rows as a table of three columns (Activity with the row's
// icon, Text, Status) for the log's view. The rows stay in the log::MessageLog;
// the model only tells the view of each one added, which costs the same at row
// 20,000 as at row 10.
class MessageLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit MessageLogModel(log::MessageLog& log, QObject* parent = nullptr);
  ~MessageLogModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Removes every row of the log.
  void Clear();
  // The column titles follow the current language.
  void Relabel();

 private:
  void RowAdded(std::size_t index);

  log::MessageLog& log_;
  int shown_ = 0;  // rows the view has been told of
};

}  // namespace velmora::gui
