#pragma once

#include <QStyledItemDelegate>

namespace velmora::gui {

// Draws the three-state boxes of the tree and the list. Mouse clicks on a box are
// the views' own business (a press on a tree box must not select the item), so
// the delegate leaves them alone; Space still toggles the current item's box.
class CheckBoxDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The box of index drawn with option (rect and layout as the view sets them).
  QRect CheckRect(QStyleOptionViewItem option, const QModelIndex& index) const;

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace velmora::gui
