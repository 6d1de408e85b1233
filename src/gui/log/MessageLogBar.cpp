#include "log/MessageLogBar.h"

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

constexpr int kMinimumExtent = 32;

}  // namespace

MessageLogBar::MessageLogBar(log::MessageLog& log, QWidget* parent)
    : QDockWidget(LoadQText(text::kProductTitle), parent) {
  setObjectName(QStringLiteral("messageLogBar"));
  setAllowedAreas(Qt::AllDockWidgetAreas);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  dialog_ = new CMessageLogDialog(log, this);
  dialog_->setMinimumSize(kMinimumExtent, kMinimumExtent);
  setWidget(dialog_);
  setMinimumSize(kMinimumExtent, kMinimumExtent);
}

}  // namespace velmora::gui
