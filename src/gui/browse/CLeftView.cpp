#include "browse/CLeftView.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "browse/CheckBoxDelegate.h"
#include "browse/FolderTreeModel.h"

namespace velmora::gui {

CLeftView::CLeftView(FolderTreeModel& model, AppState& state, QWidget* parent)
    : QTreeView(parent), model_(model), state_(state), delegate_(new CheckBoxDelegate(this)) {
  setObjectName(QStringLiteral("folderTree"));
  setModel(&model_);
  setItemDelegate(delegate_);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(true);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { OnCurrentChanged(current); });
  // Folders show as they arrive, their parent opened; the first item (Root)
  // is selected at once so that the list shows the disc's top level growing.
  connect(&model_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex& parentIndex, int first) {
            if (parentIndex.isValid()) {
              expand(parentIndex);
            } else if (!currentIndex().isValid()) {
              setCurrentIndex(model_.index(first, 0));
            }
          });
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
    OnCurrentChanged({});
    const QModelIndex root = model_.index(0, 0);
    if (root.isValid()) {
      expand(root);
      setCurrentIndex(root);
    }
  });
}

std::size_t CLeftView::displayedFolder() const { return model_.EntryAt(currentIndex()); }

bool CLeftView::SelectionNotRoot() const {
  const std::size_t shown = displayedFolder();
  return shown != FolderTreeModel::kNone && shown != model_.tree().root();
}

void CLeftView::OnCurrentChanged(const QModelIndex& current) {
  const std::size_t entry = model_.EntryAt(current);
  state_.selectionNotRoot = entry != FolderTreeModel::kNone && entry != model_.tree().root();
  emit FolderDisplayed(entry);
}

void CLeftView::ShowRoot(bool collapseFirst) {
  const QModelIndex root = model_.index(0, 0);
  if (!root.isValid()) return;
  // With a layout pending, collapsing and expanding only note the change: the
  // items are laid out (and the column sized to them) once, not per call.
  scheduleDelayedItemsLayout();
  if (collapseFirst) collapse(root);
  expand(root);
  if (currentIndex() == root) {
    // Selected already: the list is shown again all the same.
    OnCurrentChanged(root);
  } else {
    setCurrentIndex(root);
  }
}

void CLeftView::CollapseTopLevel() {
  const QModelIndex root = model_.index(0, 0);
  const int count = model_.rowCount(root);
  scheduleDelayedItemsLayout();
  for (int row = 0; row < count; ++row) collapse(model_.index(row, 0, root));
}

bool CLeftView::SelectFolder(std::size_t entry) {
  const QModelIndex index = model_.IndexOfEntry(entry);
  if (!index.isValid()) return false;
  expand(index);
  setCurrentIndex(index);
  scrollTo(index);
  return true;
}

void CLeftView::SelectFolderById(std::int64_t fileId) {
  if (fileId < 0 || fileId > UINT32_MAX) return;
  SelectFolder(model_.table().FindFolder(static_cast<std::uint32_t>(fileId)));
}

void CLeftView::ShowFolderOf(std::size_t entry) {
  const browse::FolderTree& tree = model_.tree();
  if (entry == tree.root()) {
    ShowRoot(false);
    return;
  }
  SelectFolder(tree.ListingFolder(entry));
}

bool CLeftView::OpenChildFolder(std::size_t entry) {
  const std::size_t shown = displayedFolder();
  if (shown == FolderTreeModel::kNone || model_.tree().ParentOf(entry) != shown) return false;
  return SelectFolder(entry);
}

bool CLeftView::OpenChildFolderById(std::uint32_t fileId) {
  const std::size_t shown = displayedFolder();
  if (shown == FolderTreeModel::kNone) return false;
  for (std::size_t child : model_.tree().SubfoldersOf(shown)) {
    if (model_.table()[child].fileId == fileId) return SelectFolder(child);
  }
  return false;
}

void CLeftView::GoUp() {
  const QModelIndex up = currentIndex().parent();
  if (!up.isValid()) return;
  expand(up);
  setCurrentIndex(up);
  scrollTo(up);
}

QRect CLeftView::BoxRect(const QModelIndex& index) const {
  if (!index.isValid()) return {};
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  return delegate_->CheckRect(option, index);
}

QModelIndex CLeftView::BoxAt(const QPoint& pos) const {
  const QModelIndex index = indexAt(pos);
  return BoxRect(index).contains(pos) ? index : QModelIndex();
}

void CLeftView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex box = event->button() == Qt::LeftButton ? BoxAt(event->position().toPoint())
                                                             : QModelIndex();
  pressOnBox_ = box.isValid();
  if (!pressOnBox_) {
    QTreeView::mousePressEvent(event);
    return;
  }
  // A press on a box marks or unmarks; the selection stays where it is.
  event->accept();
  emit model_.BoxClicked(model_.EntryAt(box));
}

void CLeftView::mouseReleaseEvent(QMouseEvent* event) {
  if (pressOnBox_) {
    pressOnBox_ = false;
    event->accept();
    return;
  }
  QTreeView::mouseReleaseEvent(event);
}

void CLeftView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click on a box is one more click on it.
  if (event->button() == Qt::LeftButton && BoxAt(event->position().toPoint()).isValid()) {
    mousePressEvent(event);
    return;
  }
  QTreeView::mouseDoubleClickEvent(event);
}

}  // namespace velmora::gui
