#pragma once

#include <QAbstractTableModel>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::gui {

class FolderTreeModel;

// The rows of the file list: the entries listed in the displayed folder (those
// whose Parent ID is its File ID), taken from the table's child list, in table
// order until a sort puts them in another. The model keeps only that order of
// entry indexes; every text, picture and box comes from the table.
class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  explicit FileListModel(FolderTreeModel& tree, QObject* parent = nullptr);

  // Lists folder; the rows are in table order and the next sort is ascending.
  void Fill(std::size_t folder);
  void Clear();
  std::size_t displayed() const { return displayed_; }
  std::size_t EntryAt(int row) const;
  // The row of entry, or -1.
  int RowOfEntry(std::size_t entry) const;
  // The first row, from the top, with that File ID, or -1.
  int RowOfFileId(std::uint32_t fileId) const;

  // A sort request (header click or Arrange command): flips the direction and
  // sorts by column; a column that does not exist changes nothing.
  void Sort(int column);
  // The column the rows are sorted by, -1 while they are in table order.
  int sortColumn() const { return sortColumn_; }
  bool sortAscending() const { return sortAscending_; }

  // Repaints every box.
  void ShowChecksChanged();
  // The column titles and the Type words in the current language.
  void Relabel();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void RowBoxClicked(std::size_t entry);
  // The rows were sorted (column, direction) or put back in table order (-1).
  void SortChanged(int column, bool ascending);

 private:
  void Append(std::size_t entry);

  FolderTreeModel& tree_;
  std::size_t displayed_ = kNone;
  std::vector<std::size_t> rows_;
  int sortColumn_ = -1;
  bool sortAscending_ = false;
};

}  // namespace velmora::gui
