#include "browse/FileListModel.h"

#include <unordered_map>

#include "app/TextLoader.h"
#include "browse/BrowseIcons.h"
#include "browse/FileRows.h"
#include "browse/FolderTreeModel.h"
#include "text/StringTable.h"

namespace velmora::gui {

FileListModel::FileListModel(FolderTreeModel& tree, QObject* parent)
    : QAbstractTableModel(parent), tree_(tree) {
  connect(&tree_, &FolderTreeModel::TableWasReset, this, &FileListModel::Clear);
  connect(&tree_, &FolderTreeModel::EntryAppended, this, &FileListModel::Append);
}

void FileListModel::Fill(std::size_t folder) {
  beginResetModel();
  displayed_ = folder;
  rows_.clear();
  if (folder != kNone && folder < tree_.table().size()) {
    rows_ = tree_.table().ChildrenOf(tree_.table()[folder].fileId);
  }
  sortAscending_ = false;
  sortColumn_ = -1;
  endResetModel();
  emit SortChanged(-1, false);
}

void FileListModel::Clear() { Fill(kNone); }

void FileListModel::Append(std::size_t entry) {
  if (displayed_ == kNone) return;
  const disc::EntryTable& table = tree_.table();
  if (table[entry].parentId != static_cast<std::int64_t>(table[displayed_].fileId)) return;
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row);
  rows_.push_back(entry);
  endInsertRows();
  if (sortColumn_ >= 0) {
    // The new row sits at the end: the rows are no longer in the order shown.
    sortColumn_ = -1;
    emit SortChanged(-1, sortAscending_);
  }
}

std::size_t FileListModel::EntryAt(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? rows_[static_cast<std::size_t>(row)]
                                                                   : kNone;
}

int FileListModel::RowOfEntry(std::size_t entry) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row] == entry) return static_cast<int>(row);
  }
  return -1;
}

int FileListModel::RowOfFileId(std::uint32_t fileId) const {
  const disc::EntryTable& table = tree_.table();
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (table[rows_[row]].fileId == fileId) return static_cast<int>(row);
  }
  return -1;
}

void FileListModel::Sort(int column) {
  if (column < 0 || column >= browse::kListColumnCount) return;
  sortAscending_ = !sortAscending_;
  sortColumn_ = column;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<std::size_t> before = rows_;
  const browse::TypeTexts words{LoadQText(text::kDirType).toStdU16String(),
                                LoadQText(text::kFileType).toStdU16String()};
  browse::SortRows(tree_.table(), rows_, column, sortAscending_, words);
  std::unordered_map<std::size_t, int> newRow;
  newRow.reserve(rows_.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) newRow[rows_[row]] = static_cast<int>(row);
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& index : from) {
    to.append(index.isValid()
                  ? createIndex(newRow[before[static_cast<std::size_t>(index.row())]], index.column())
                  : QModelIndex());
  }
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  emit SortChanged(sortColumn_, sortAscending_);
}

void FileListModel::ShowChecksChanged() {
  if (rows_.empty()) return;
  emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, 0), {Qt::CheckStateRole, Qt::AccessibleDescriptionRole});
}

void FileListModel::Relabel() {
  emit headerDataChanged(Qt::Horizontal, 0, browse::kListColumnCount - 1);
  if (!rows_.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, browse::kListColumnCount - 1));
  }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : browse::kListColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  const std::size_t at = EntryAt(index.row());
  if (!index.isValid() || at == kNone) return {};
  const disc::Entry& entry = tree_.table()[at];
  const auto column = static_cast<browse::ListColumn>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case browse::ListColumn::kName: return QString::fromStdU16String(entry.name);
        case browse::ListColumn::kType:
          return LoadQText(entry.IsFolder() ? text::kDirType : text::kFileType);
        case browse::ListColumn::kSize: return QString::fromStdU16String(browse::SizeText(entry));
        case browse::ListColumn::kDate:
          return QString::fromStdU16String(browse::DateText(entry));
        case browse::ListColumn::kFileId: return QString::fromStdU16String(browse::FileIdText(entry));
      }
      return {};
    case Qt::DecorationRole:
      if (column != browse::ListColumn::kName) return {};
      return entry.IsFolder() ? FolderIcon() : FileIcon();
    case Qt::CheckStateRole:
      if (column != browse::ListColumn::kName) return {};
      return BoxState(entry.checkState);
    case Qt::AccessibleDescriptionRole:
      if (column != browse::ListColumn::kName) return {};
      return BoxStateWords(entry.checkState);
    case Qt::TextAlignmentRole:
      if (column == browse::ListColumn::kName) return {};
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= browse::kListColumnCount) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (role == Qt::DisplayRole) {
    return LoadQText(static_cast<std::uint16_t>(text::kNameColumn + section));
  }
  if (role == Qt::TextAlignmentRole && section > 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant&, int role) {
  const std::size_t entry = EntryAt(index.row());
  if (role != Qt::CheckStateRole || index.column() != 0 || entry == kNone) return false;
  emit RowBoxClicked(entry);
  return true;
}

}  // namespace velmora::gui
