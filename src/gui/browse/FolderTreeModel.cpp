#include "browse/FolderTreeModel.h"

#include <algorithm>
#include <map>
#include <utility>

#include "app/TextLoader.h"
#include "browse/BrowseIcons.h"
#include "text/StringTable.h"

namespace velmora::gui {

Qt::CheckState BoxState(std::uint8_t checkState) {
  switch (checkState) {
    case disc::kMarked: return Qt::Checked;
    case disc::kUnmarked: return Qt::Unchecked;
    default: return Qt::PartiallyChecked;
  }
}

QString BoxStateWords(std::uint8_t checkState) {
  switch (BoxState(checkState)) {
    case Qt::Checked: return LoadQText(text::kBoxMarkedWords);
    case Qt::Unchecked: return LoadQText(text::kBoxUnmarkedWords);
    default: return LoadQText(text::kBoxPartlyMarkedWords);
  }
}

FolderTreeModel::FolderTreeModel(disc::EntryTable& table, QObject* parent)
    : QAbstractItemModel(parent),
      table_(table),
      tree_(std::make_unique<browse::FolderTree>(table)) {
  table_.SetObserver(this);
}

FolderTreeModel::~FolderTreeModel() {
  if (table_.observer() == this) table_.SetObserver(nullptr);
}

void FolderTreeModel::TableReset() {
  beginResetModel();
  tree_ = std::make_unique<browse::FolderTree>(table_);
  endResetModel();
  emit TableWasReset();
}

void FolderTreeModel::EntryAdded(std::size_t index) {
  // The entries a replaced table holds already came with its reset.
  if (index < tree_->placedCount()) return;
  const disc::Entry& entry = table_[index];
  if (entry.IsFolder() && entry.parentId < 0 && tree_->root() == kNone) {
    beginInsertRows({}, 0, 0);
    tree_->Place(index);
    endInsertRows();
  } else if (entry.IsFolder()) {
    const browse::FolderTree::Slot slot = tree_->SlotFor(index);
    if (slot.parent == kNone) {
      tree_->Place(index);
    } else {
      const int row = static_cast<int>(slot.row);
      beginInsertRows(IndexOfEntry(slot.parent), row, row);
      tree_->Place(index);
      endInsertRows();
    }
  } else {
    tree_->Place(index);
  }
  emit EntryAppended(index);
}

QModelIndex FolderTreeModel::IndexOfEntry(std::size_t entry) const {
  if (!tree_->Contains(entry)) return {};
  const int row = entry == tree_->root() ? 0 : static_cast<int>(tree_->RowOf(entry));
  return createIndex(row, 0, static_cast<quintptr>(entry));
}

std::size_t FolderTreeModel::EntryAt(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return kNone;
  return static_cast<std::size_t>(index.internalId());
}

void FolderTreeModel::ShowChecksChanged(const std::vector<std::size_t>& changed) {
  // One signal per folder whose subfolders changed, covering the rows between
  // the first and the last that did.
  std::map<std::size_t, std::pair<int, int>> spans;
  for (std::size_t entry : changed) {
    if (!tree_->Contains(entry)) continue;
    const std::size_t parent = tree_->ParentOf(entry);
    const int row = entry == tree_->root() ? 0 : static_cast<int>(tree_->RowOf(entry));
    auto [it, added] = spans.try_emplace(parent, row, row);
    if (!added) {
      it->second.first = std::min(it->second.first, row);
      it->second.second = std::max(it->second.second, row);
    }
  }
  const QList<int> roles{Qt::CheckStateRole, Qt::AccessibleDescriptionRole};
  for (const auto& [parent, span] : spans) {
    const QModelIndex parentIndex = parent == kNone ? QModelIndex() : IndexOfEntry(parent);
    emit dataChanged(index(span.first, 0, parentIndex), index(span.second, 0, parentIndex), roles);
  }
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  if (!parent.isValid()) {
    if (row != 0 || tree_->root() == kNone) return {};
    return createIndex(0, 0, static_cast<quintptr>(tree_->root()));
  }
  const auto& children = tree_->SubfoldersOf(EntryAt(parent));
  if (static_cast<std::size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
  const std::size_t entry = EntryAt(child);
  if (entry == kNone) return {};
  const std::size_t parentEntry = tree_->ParentOf(entry);
  return parentEntry == kNone ? QModelIndex() : IndexOfEntry(parentEntry);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return tree_->root() == kNone ? 0 : 1;
  if (parent.column() != 0) return 0;
  return static_cast<int>(tree_->SubfoldersOf(EntryAt(parent)).size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
  const std::size_t at = EntryAt(index);
  if (at == kNone || at >= table_.size()) return {};
  const disc::Entry& entry = table_[at];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdU16String(entry.name);
    case Qt::DecorationRole: {
      // Root and the Session nodes stand for the disc.
      const bool discNode = entry.parentId < 0 || (entry.parentId == 0 && entry.session == 0);
      return discNode ? DiscIcon() : FolderIcon();
    }
    case Qt::CheckStateRole:
      return BoxState(entry.checkState);
    case Qt::AccessibleDescriptionRole:
      return BoxStateWords(entry.checkState);
    default:
      return {};
  }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
  const std::size_t entry = EntryAt(index);
  if (role != Qt::CheckStateRole || entry == kNone) return false;
  emit BoxClicked(entry);
  return true;
}

}  // namespace velmora::gui
