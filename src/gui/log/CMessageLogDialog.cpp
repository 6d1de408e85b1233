#include "log/CMessageLogDialog.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/TextLoader.h"
#include "log/MessageLogModel.h"

namespace velmora::gui {
namespace {

constexpr std::array kColumnWidths = {192, 500, 299};
// Rows 0-5 fit the bar's first height; from the seventh row on the newest row
// is scrolled into view.
constexpr int kRowsBeforeScrolling = 6;
constexpr int kIconExtent = 16;

}  // namespace

CMessageLogDialog::CMessageLogDialog(log::MessageLog& log, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  model_ = new MessageLogModel(log, this);
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("messageLogList"));
  list_->setAccessibleName(tr("Message Log"));
  list_->setModel(model_);
  list_->setShowGrid(false);
  list_->setWordWrap(false);
  list_->setCornerButtonEnabled(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->setIconSize(QSize(kIconExtent, kIconExtent));
  // Every row is one line high: the view never measures a row's content.
  QHeaderView* rows = list_->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(std::max(fontMetrics().height(), kIconExtent) + 4);
  QHeaderView* columns = list_->horizontalHeader();
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->setHighlightSections(false);
  columns->setStretchLastSection(false);
  for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column) {
    columns->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  layout->addWidget(list_);
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int, int last) {
    if (last >= kRowsBeforeScrolling) QueueScrollToNewest();
  });
  if (model_->rowCount() > kRowsBeforeScrolling) QueueScrollToNewest();
}

CMessageLogDialog::~CMessageLogDialog() = default;

int CMessageLogDialog::logRowCount() const { return model_->rowCount(); }

void CMessageLogDialog::QueueScrollToNewest() {
  if (scrollQueued_) return;
  scrollQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        scrollQueued_ = false;
        list_->scrollToBottom();
      },
      Qt::QueuedConnection);
}

void CMessageLogDialog::ClearLog() { model_->Clear(); }

void CMessageLogDialog::RelabelLogColumns() { model_->Relabel(); }

}  // namespace velmora::gui
