#pragma once

#include <QObject>
#include <QPointer>
#include <Qt>

#include "host/AppState.h"

class QWidget;

namespace velmora::gui {

// A widget inside the main window that sets this property to true (the file
// list) still gets Enter; the filter drops it everywhere else.
inline constexpr char kAcceptsEnterProperty[] = "velmoraAcceptsEnter";

// True when the main window drops a key press: Escape and Enter always; the
// function keys unless a Find Next is possible (F1, which opens the help, is
// always let through); N and O unless Ctrl is held (Ctrl+O opens an image).
bool DropsKey(int key, Qt::KeyboardModifiers modifiers, bool findNextAvailable);

// Applies DropsKey to every key press bound for the main window and the
// widgets inside it (the floating log bar among them), never to a dialog's.
class KeyFilter : public QObject {
  Q_OBJECT

 public:
  KeyFilter(QWidget* frame, const AppState& state);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool InsideFrame(QObject* watched) const;

  QPointer<QWidget> frame_;
  const AppState& state_;
};

}  // namespace velmora::gui
