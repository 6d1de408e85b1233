#include "browse/CCDView.h"

#include <QContextMenuEvent>
#include <QDataStream>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "app/CommandId.h"
#include "app/KeyFilter.h"
#include "app/TextLoader.h"
#include "browse/BoxView.h"
#include "browse/FileListModel.h"
#include "browse/FileRows.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

constexpr int kColumnWidths[browse::kListColumnCount] = {120, 70, 80, 125, 80};
constexpr int kSmallIconSize = 16;
constexpr int kLargeIconSize = 32;
// The icon styles show names of this many average characters whole.
constexpr int kIconNameCharacters = 30;
// The Name column fits the names of at most this many rows: a folder of
// thousands is measured by its first ones, as Qt's views measure.
constexpr int kRowsMeasured = 1000;

}  // namespace

CCDView::CCDView(FileListModel& model, const AppState& state, QWidget* parent)
    : QStackedWidget(parent), model_(model), state_(state), delegate_(new CheckBoxDelegate(this)) {
  setObjectName(QStringLiteral("fileList"));
  // The frame drops Enter everywhere else; here it opens a folder row.
  setProperty(kAcceptsEnterProperty, true);

  auto* details = new BoxView<QTreeView>(delegate_, this);
  details_ = details;
  details_->setObjectName(QStringLiteral("fileListDetails"));
  details_->setModel(&model_);
  details_->setRootIsDecorated(false);
  details_->setItemsExpandable(false);
  details_->setUniformRowHeights(true);
  details_->setAllColumnsShowFocus(true);
  details_->setSelectionBehavior(QAbstractItemView::SelectRows);
  details_->setSortingEnabled(false);
  QHeaderView* header = details_->header();
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setSortIndicatorShown(false);
  // The widths are those of the system's small dialog font; a column never
  // starts narrower than its widest fixed-form text in the font shown here, and
  // the Name column leaves room for the box and the picture besides.
  const QFontMetrics metrics = details_->fontMetrics();
  const int widest[browse::kListColumnCount] = {
      metrics.horizontalAdvance(QStringLiteral("MMMMMMMM.MMM")) + 2 * kSmallIconSize + 16, 0,
      metrics.horizontalAdvance(QStringLiteral("0000000000")) + 16,
      metrics.horizontalAdvance(QStringLiteral("00-00-0000 00:00:00")) + 16,
      metrics.horizontalAdvance(QStringLiteral("0000000000")) + 16};
  for (int column = 0; column < browse::kListColumnCount; ++column) {
    details_->setColumnWidth(column, std::max(kColumnWidths[column], widest[column]));
  }
  nameMinimum_ = details_->columnWidth(0);
  connect(header, &QHeaderView::sectionClicked, this, &CCDView::Arrange);
  // A width the user drags is theirs: the Name column is no longer fitted.
  connect(header, &QHeaderView::sectionResized, this, [this](int column) {
    if (!fittingName_ && column >= 0 && column < browse::kListColumnCount) userSized_ |= 1u << column;
  });
  connect(&model_, &QAbstractItemModel::modelReset, this, &CCDView::ScheduleNameFit);
  connect(&model_, &QAbstractItemModel::rowsInserted, this, &CCDView::ScheduleNameFit);

  auto* icons = new BoxView<QListView>(delegate_, this);
  icons_ = icons;
  icons_->setObjectName(QStringLiteral("fileListIcons"));
  icons_->setModel(&model_);
  icons_->setSelectionModel(details_->selectionModel());
  icons_->setResizeMode(QListView::Adjust);
  icons_->setWrapping(true);
  // Each name gets the room it needs, up to the grid: a size taken from the
  // first row would cut every longer name to its length.
  icons_->setUniformItemSizes(false);
  icons_->setMovement(QListView::Static);

  for (auto* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
    Connect(view);
  }
  details->onBoxClicked = [this](const QModelIndex& index) {
    model_.setData(index.siblingAtColumn(0), {}, Qt::CheckStateRole);
  };
  icons->onBoxClicked = details->onBoxClicked;

  addWidget(details_);
  addWidget(icons_);
  connect(&model_, &FileListModel::SortChanged, this, &CCDView::ShowSortArrow);
  SetStyle(ListStyle::kDetails);
}

void CCDView::Connect(QAbstractItemView* view) {
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  view->installEventFilter(this);
  connect(view, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { OpenRow(index.row()); });
  connect(view, &QWidget::customContextMenuRequested, this,
          [this, view](const QPoint& pos) { ShowContextMenu(view, pos); });
}

QAbstractItemView* CCDView::currentView() const {
  return style_ == ListStyle::kDetails ? static_cast<QAbstractItemView*>(details_) : icons_;
}

void CCDView::SetStyle(ListStyle style) {
  style_ = style;
  switch (style) {
    case ListStyle::kLargeIcons:
      icons_->setViewMode(QListView::IconMode);
      icons_->setFlow(QListView::LeftToRight);
      icons_->setIconSize(QSize(kLargeIconSize, kLargeIconSize));
      icons_->setGridSize(IconGrid(kLargeIconSize, 2));
      break;
    case ListStyle::kSmallIcons:
      icons_->setViewMode(QListView::ListMode);
      icons_->setFlow(QListView::LeftToRight);
      icons_->setIconSize(QSize(kSmallIconSize, kSmallIconSize));
      icons_->setGridSize(IconGrid(kSmallIconSize, 1));
      break;
    case ListStyle::kList:
      icons_->setViewMode(QListView::ListMode);
      icons_->setFlow(QListView::TopToBottom);
      icons_->setIconSize(QSize(kSmallIconSize, kSmallIconSize));
      icons_->setGridSize(IconGrid(kSmallIconSize, 1));
      break;
    case ListStyle::kDetails:
      break;
  }
  if (style != ListStyle::kDetails) icons_->setWrapping(true);
  setCurrentWidget(currentView());
}

QSize CCDView::IconGrid(int iconSize, int lines) const {
  const QFontMetrics metrics = icons_->fontMetrics();
  const int text = metrics.averageCharWidth() * kIconNameCharacters;
  const int box = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, icons_);
  if (lines > 1) {
    // The box beside the picture and its name under it.
    return {box + text + 16, iconSize + lines * metrics.height() + 8};
  }
  return {box + iconSize + text + 16, std::max(iconSize, metrics.height()) + 4};
}

void CCDView::ScheduleNameFit() {
  if (nameFitQueued_ || (userSized_ & 1u)) return;
  nameFitQueued_ = true;
  // Once per burst of rows: a scan appends them one at a time.
  QTimer::singleShot(0, this, [this] {
    nameFitQueued_ = false;
    FitNameColumn();
  });
}

void CCDView::FitNameColumn() {
  if (userSized_ & 1u) return;
  const int rows = std::min(model_.rowCount(), kRowsMeasured);
  const QFontMetrics metrics = details_->fontMetrics();
  int widest = 0;
  for (int row = 0; row < rows; ++row) {
    widest = std::max(widest, metrics.horizontalAdvance(model_.index(row, 0).data().toString()));
  }
  // The box, the picture and the margins beside the name.
  const int box = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, details_);
  const int wanted = widest + box + kSmallIconSize + 24;
  int others = 0;
  for (int column = 1; column < browse::kListColumnCount; ++column) others += details_->columnWidth(column);
  const int room = std::max(nameMinimum_, details_->viewport()->width() - others);
  fittingName_ = true;
  details_->setColumnWidth(0, std::clamp(wanted, nameMinimum_, room));
  fittingName_ = false;
}

QByteArray CCDView::ColumnWidths() const {
  // The widths the user chose, each with its column: the others are fitted
  // or start as they always do.
  QByteArray saved;
  QDataStream out(&saved, QIODevice::WriteOnly);
  for (int column = 0; column < browse::kListColumnCount; ++column) {
    if (userSized_ & (1u << column)) out << qint32(column) << qint32(details_->columnWidth(column));
  }
  return saved;
}

void CCDView::RestoreColumnWidths(const QByteArray& saved) {
  QDataStream in(saved);
  qint32 column = 0;
  qint32 width = 0;
  while (!in.atEnd()) {
    in >> column >> width;
    if (in.status() != QDataStream::Ok) break;
    if (column < 0 || column >= browse::kListColumnCount || width < 8) continue;
    fittingName_ = true;
    details_->setColumnWidth(column, width);
    fittingName_ = false;
    userSized_ |= 1u << column;
  }
}

void CCDView::RelabelColumns() {
  model_.Relabel();
  emit Relabelled();
}

void CCDView::Arrange(int column) { model_.Sort(column); }

void CCDView::ShowSortArrow(int column, bool ascending) {
  QHeaderView* header = details_->header();
  if (column < 0) {
    header->setSortIndicatorShown(false);
    return;
  }
  header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
  header->setSortIndicatorShown(true);
}

bool CCDView::RevealRow(std::size_t entry) {
  const int row = model_.RowOfEntry(entry);
  if (row < 0) return false;
  QAbstractItemView* view = currentView();
  const QModelIndex index = model_.index(row, 0);
  view->scrollTo(index, QAbstractItemView::EnsureVisible);
  view->setCurrentIndex(index);
  return true;
}

void CCDView::RevealRowById(std::uint32_t fileId) {
  const int row = model_.RowOfFileId(fileId);
  if (row >= 0) RevealRow(model_.EntryAt(row));
}

bool CCDView::OpenRow(int row) {
  const std::size_t entry = model_.EntryAt(row);
  if (entry == FileListModel::kNone) return false;
  const QModelIndex type = model_.index(row, static_cast<int>(browse::ListColumn::kType));
  if (type.data().toString() != LoadQText(text::kDirType)) return false;
  emit OpenFolderRequested(entry);
  return true;
}

QRect CCDView::RowBoxRect(int row) const {
  const QModelIndex index = model_.index(row, 0);
  if (style_ == ListStyle::kDetails) return static_cast<BoxView<QTreeView>*>(details_)->BoxRect(index);
  return static_cast<BoxView<QListView>*>(icons_)->BoxRect(index);
}

bool CCDView::eventFilter(QObject* watched, QEvent* event) {
  // More room or less: the Name column is fitted to it again.
  if (event->type() == QEvent::Resize && watched == details_) ScheduleNameFit();
  if (event->type() == QEvent::KeyPress && (watched == details_ || watched == icons_)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter opens the selected folder row, never while a scan or a copy runs.
      if (!state_.busy) {
        const QModelIndexList selected = details_->selectionModel()->selectedRows();
        if (!selected.isEmpty()) OpenRow(selected.first().row());
      }
      return true;
    }
  }
  return QStackedWidget::eventFilter(watched, event);
}

void CCDView::ShowContextMenu(QAbstractItemView* view, const QPoint& pos) {
  QMenu menu(this);
  auto add = [&](std::uint16_t textId, int command) {
    QAction* action = menu.addAction(LoadQText(textId));
    // The same rules as the menus and the toolbar: an item drawn enabled does
    // what it says.
    action->setEnabled(!commandEnabled || commandEnabled(command));
    connect(action, &QAction::triggered, this, [this, command] { emit CommandRequested(command); });
  };
  add(text::kRecoverSelectedMenu, kRecoverSelected);
  add(text::kRecoverAllMenu, kRecoverAll);
  menu.addSeparator();
  add(text::kViewLargeIconsMenu, kLargeIcons);
  add(text::kViewSmallIconsMenu, kSmallIcons);
  add(text::kViewListMenu, kListView);
  add(text::kViewDetailsMenu, kDetailsView);
  menu.exec(view->viewport()->mapToGlobal(pos));
}

}  // namespace velmora::gui
