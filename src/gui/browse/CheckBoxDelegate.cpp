#include "browse/CheckBoxDelegate.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

namespace velmora::gui {

QRect CheckBoxDelegate::CheckRect(QStyleOptionViewItem option, const QModelIndex& index) const {
  initStyleOption(&option, index);
  if (!(option.features & QStyleOptionViewItem::HasCheckIndicator)) return {};
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget);
}

bool CheckBoxDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return false;
    default:
      return QStyledItemDelegate::editorEvent(event, model, option, index);
  }
}

}  // namespace velmora::gui
