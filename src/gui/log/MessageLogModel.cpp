#include "log/MessageLogModel.h"

#include <QIcon>
#include <array>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

constexpr int kColumns = 3;

const QIcon& RowIcon(log::LogIcon icon) {
  static const std::array<QIcon, 3> icons = {
      QIcon(QStringLiteral(":/icons/log-started.svg")),
      QIcon(QStringLiteral(":/icons/log-completed.svg")),
      QIcon(QStringLiteral(":/icons/log-failure.svg"))};
  return icons[static_cast<std::size_t>(icon)];
}

}  // namespace

MessageLogModel::MessageLogModel(log::MessageLog& log, QObject* parent)
    : QAbstractTableModel(parent), log_(log), shown_(static_cast<int>(log.rows().size())) {
  log_.SetObserver([this](const log::LogRow&, std::size_t index) { RowAdded(index); });
}

MessageLogModel::~MessageLogModel() { log_.SetObserver({}); }

int MessageLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int MessageLogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant MessageLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const log::LogRow& row = log_.rows()[static_cast<std::size_t>(index.row())];
  if (role == Qt::DecorationRole && index.column() == 0) return RowIcon(row.icon);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case 0: return QString::fromStdU16String(row.activity);
    case 1: return QString::fromStdU16String(row.text);
    case 2: return QString::fromStdU16String(row.status);
  }
  return {};
}

QVariant MessageLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case 0: return LoadQText(text::kActivityColumn);
    case 1: return LoadQText(text::kTextColumn);
    case 2: return LoadQText(text::kStatusColumn);
  }
  return {};
}

void MessageLogModel::Clear() {
  beginResetModel();
  log_.Clear();
  shown_ = 0;
  endResetModel();
}

void MessageLogModel::Relabel() { emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1); }

void MessageLogModel::RowAdded(std::size_t index) {
  const int last = static_cast<int>(index);
  if (last < shown_) return;
  beginInsertRows({}, shown_, last);
  shown_ = last + 1;
  endInsertRows();
}

}  // namespace velmora::gui
