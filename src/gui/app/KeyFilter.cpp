#include "app/KeyFilter.h"

#include <QDockWidget>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace velmora::gui {

bool DropsKey(int key, Qt::KeyboardModifiers modifiers, bool findNextAvailable) {
  switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    case Qt::Key_N:
    case Qt::Key_O:
      return !(modifiers & Qt::ControlModifier) || key == Qt::Key_N;
    case Qt::Key_F1:
      return false;
    default:
      break;
  }
  if (key >= Qt::Key_F2 && key <= Qt::Key_F12) return !findNextAvailable;
  return false;
}

KeyFilter::KeyFilter(QWidget* frame, const AppState& state)
    : QObject(frame), frame_(frame), state_(state) {}

bool KeyFilter::InsideFrame(QObject* watched) const {
  if (!frame_) return false;
  for (QWidget* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
    if (widget == frame_) return true;
    // A dialog or another top-level window has keys of its own.
    if (widget->isWindow() && !qobject_cast<QDockWidget*>(widget)) return false;
  }
  return false;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
    return false;
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (!DropsKey(key->key(), key->modifiers(), state_.findNextAvailable)) return false;
  if (!InsideFrame(watched)) return false;
  // The file list opens the folder under the cursor with Enter.
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (enter) {
    for (auto* widget = qobject_cast<QWidget*>(watched); widget && widget != frame_;
         widget = widget->parentWidget()) {
      if (widget->property(kAcceptsEnterProperty).toBool()) return false;
    }
  }
  // A swallowed override keeps the key from any shortcut; a swallowed press
  // from the widget.
  return true;
}

}  // namespace velmora::gui
