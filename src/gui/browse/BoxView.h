#pragma once

#include <QMouseEvent>
#include <QStyleOptionViewItem>
#include <functional>

#include "browse/CheckBoxDelegate.h"

namespace velmora::gui {

// An item view of the file list that reports a left press on a row's box as one
// click on it: the view's own press handling (selection, focus) runs first, the
// release of that press is the click's and goes no further, and the second press
// of a double-click is one more click.
template <typename Base>
class BoxView : public Base {
 public:
  explicit BoxView(CheckBoxDelegate* delegate, QWidget* parent = nullptr)
      : Base(parent), delegate_(delegate) {
    Base::setItemDelegate(delegate);
  }

  std::function<void(const QModelIndex&)> onBoxClicked;

  // Where the box of a row is drawn, in viewport coordinates.
  QRect BoxRect(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    QStyleOptionViewItem option;
    Base::initViewItemOption(&option);
    option.rect = Base::visualRect(index);
    return delegate_->CheckRect(option, index);
  }
  QModelIndex BoxAt(const QPoint& pos) const {
    const QModelIndex index = Base::indexAt(pos);
    return BoxRect(index).contains(pos) ? index : QModelIndex();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    Base::mousePressEvent(event);
    const QModelIndex box =
        event->button() == Qt::LeftButton ? BoxAt(event->position().toPoint()) : QModelIndex();
    pressOnBox_ = box.isValid();
    if (pressOnBox_ && onBoxClicked) onBoxClicked(box);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (pressOnBox_) {
      pressOnBox_ = false;
      event->accept();
      return;
    }
    Base::mouseReleaseEvent(event);
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && BoxAt(event->position().toPoint()).isValid()) {
      mousePressEvent(event);
      return;
    }
    Base::mouseDoubleClickEvent(event);
  }

 private:
  CheckBoxDelegate* delegate_;
  bool pressOnBox_ = false;
};

}  // namespace velmora::gui
