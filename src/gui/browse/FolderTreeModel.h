#pragma once

#include <QAbstractItemModel>
#include <cstddef>
#include <memory>
#include <vector>

#include "browse/FolderTree.h"
#include "entries/EntryTable.h"

namespace velmora::gui {

// The folder tree as a Qt model over the entry table: Root, the Session nodes and
// the folders, each item standing for one entry (its index is the item's
// internal id). The model holds no entry data of its own; names, pictures and
// boxes come from the table every time they are shown.
//
// It observes the table for its whole life. A table whose contents are replaced
// (a new scan, a mask and its removal) is announced as a reset, possibly
// followed by the entries it already holds; the reset shows them all.
class FolderTreeModel : public QAbstractItemModel, private disc::EntryTableObserver {
  Q_OBJECT

 public:
  static constexpr std::size_t kNone = disc::EntryTable::kNone;

  explicit FolderTreeModel(disc::EntryTable& table, QObject* parent = nullptr);
  ~FolderTreeModel() override;

  disc::EntryTable& table() const { return table_; }
  const browse::FolderTree& tree() const { return *tree_; }

  QModelIndex IndexOfEntry(std::size_t entry) const;
  // The entry of an item, kNone for an invalid index.
  std::size_t EntryAt(const QModelIndex& index) const;
  // Repaints the boxes of the entries listed (those without an item are skipped).
  void ShowChecksChanged(const std::vector<std::size_t>& changed);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A box toggled by the keyboard: reported as BoxClicked, the marks decide.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // Entry index was added to the table (files too).
  void EntryAppended(std::size_t index);
  // The table was emptied or its contents replaced.
  void TableWasReset();
  // The box of entry was clicked or toggled.
  void BoxClicked(std::size_t entry);

 private:
  void EntryAdded(std::size_t index) override;
  void TableReset() override;

  disc::EntryTable& table_;
  std::unique_ptr<browse::FolderTree> tree_;
};

// The check state of an entry as a Qt box state.
Qt::CheckState BoxState(std::uint8_t checkState);
// The box state in words, the item's accessible description: Qt's item views
// tell assistive technology only whether a box is checked, so a grey box would
// read as an empty one.
QString BoxStateWords(std::uint8_t checkState);

}  // namespace velmora::gui
