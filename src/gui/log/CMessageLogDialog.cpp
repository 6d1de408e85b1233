#include "log/CMessageLogDialog.h"

#include <QHeaderView>
#include <QIcon>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

constexpr std::array kColumnWidths = {192, 500, 299};
// Rows 0-5 fit the bar's first height; from the seventh row on each new row is
// scrolled into view.
constexpr int kRowsBeforeScrolling = 6;

QIcon RowIcon(log::LogIcon icon) {
  switch (icon) {
    case log::LogIcon::kInformation: return QIcon(QStringLiteral(":/icons/log-started.svg"));
    case log::LogIcon::kCompleted: return QIcon(QStringLiteral(":/icons/log-completed.svg"));
    case log::LogIcon::kFailure: return QIcon(QStringLiteral(":/icons/log-failure.svg"));
  }
  return {};
}

}  // namespace

CMessageLogDialog::CMessageLogDialog(log::MessageLog& log, QWidget* parent)
    : QWidget(parent), log_(log) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("messageLogList"));
  list_->setAccessibleName(tr("Message Log"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setColumnCount(static_cast<int>(kColumnWidths.size()));
  list_->setIconSize(QSize(16, 16));
  for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column) {
    list_->header()->resizeSection(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  list_->header()->setStretchLastSection(false);
  layout->addWidget(list_);
  RelabelLogColumns();
  for (const log::LogRow& row : log_.rows()) AddRow(row);
  log_.SetObserver([this](const log::LogRow& row, std::size_t) { AddRow(row); });
}

CMessageLogDialog::~CMessageLogDialog() { log_.SetObserver({}); }

void CMessageLogDialog::AddRow(const log::LogRow& row) {
  const int n = list_->topLevelItemCount();
  auto* item = new QTreeWidgetItem(
      QStringList{QString::fromStdU16String(row.activity), QString::fromStdU16String(row.text),
                  QString::fromStdU16String(row.status)});
  item->setIcon(0, RowIcon(row.icon));
  list_->addTopLevelItem(item);
  if (n >= kRowsBeforeScrolling) list_->scrollToItem(item, QAbstractItemView::EnsureVisible);
  rowCount_ = n + 1;
}

void CMessageLogDialog::ClearLog() {
  log_.Clear();
  list_->clear();
  rowCount_ = 0;
}

void CMessageLogDialog::RelabelLogColumns() {
  list_->setHeaderLabels({LoadQText(text::kActivityColumn), LoadQText(text::kTextColumn),
                          LoadQText(text::kStatusColumn)});
}

}  // namespace velmora::gui
