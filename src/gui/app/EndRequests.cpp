#include "app/EndRequests.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include "app/CMainFrame.h"
#include "platform/EndRequest.h"

namespace velmora::gui {

bool EndWindowOnRequest(CMainFrame& frame) {
  const int descriptor = platform::WatchEndRequests();
  if (descriptor < 0) return false;
  auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, &frame);
  QObject::connect(notifier, &QSocketNotifier::activated, &frame, [&frame, descriptor] {
    platform::AcknowledgeEndRequest(descriptor);
    // Nobody is there to answer a question on screen: it is cancelled, so that
    // the code waiting for its answer goes on and sees the process stopped.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(widget);
      if (dialog && dialog->isVisible() && dialog->isModal()) dialog->reject();
    }
    frame.OnEndRequest();
  });
  return true;
}

}  // namespace velmora::gui
