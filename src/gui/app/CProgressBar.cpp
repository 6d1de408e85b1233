#include "app/CProgressBar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <utility>

namespace velmora::gui {

// Keeps the bar placed when its pane changes size (the window is resized, the
// font changes).
class ProgressPaneWatcher : public QObject {
 public:
  explicit ProgressPaneWatcher(CProgressBar* bar) : QObject(bar), bar_(bar) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) bar_->Resize();
    return QObject::eventFilter(watched, event);
  }

 private:
  CProgressBar* bar_;
};

QRect PlaceProgressBar(const QRect& pane, int messageWidth, int blankWidth, int sizePercent) {
  QRect rect = pane;
  if (messageWidth > 0) rect.setLeft(rect.left() + messageWidth + 4 * blankWidth);
  // Right and bottom are exclusive here, as the pane's own edges are.
  int left = rect.left();
  int right = pane.left() + pane.width();
  right -= (100 - sizePercent) * pane.width() / 100;
  if (right < left) {
    left = std::min(left, pane.left() + pane.width());
    right = left;
  }
  const int margin = pane.height() / 10;
  return QRect(QPoint(left, pane.top() + margin), QPoint(right - 1, pane.top() + pane.height() - margin - 1));
}

CProgressBar::CProgressBar(QLabel* pane, int paneIndex, const QString& message, int sizePercent,
                           int upper, bool smooth)
    : QProgressBar(pane),
      pane_(pane),
      paneIndex_(paneIndex),
      sizePercent_(sizePercent),
      message_(message) {
  setObjectName(QStringLiteral("readingProgress"));
  setTextVisible(!smooth);
  setAccessibleName(message);
  SetRange(0, upper, 1);
  SetStep(1);
  previousText_ = pane_->text();
  pane_->installEventFilter(new ProgressPaneWatcher(this));
  Resize();
}

CProgressBar::~CProgressBar() { Clear(); }

void CProgressBar::SetText(const QString& message) {
  message_ = message;
  Resize();
}

void CProgressBar::SetRange(int lower, int upper, int step) {
  setRange(lower, upper);
  // The bar starts at its lower bound (QProgressBar alone starts "reset").
  setValue(lower);
  step_ = step;
}

void CProgressBar::SetStep(int step) {
  setVisible(true);
  step_ = step;
}

void CProgressBar::StepIt(int count) {
  setVisible(true);
  int next = value();
  for (int i = 0; i < count; ++i) {
    const qint64 candidate = qint64{next} + step_;
    next = candidate > maximum() ? minimum() : static_cast<int>(candidate);
  }
  setValue(next);
}

void CProgressBar::SetFigures(const QString& figures) {
  if (figures.isEmpty() == !isTextVisible() && figures == format()) return;
  // The figures hold no %, which the bar would take for a placeholder of its own.
  setFormat(figures);
  setAlignment(Qt::AlignCenter);
  setTextVisible(!figures.isEmpty());
  setAccessibleDescription(figures);
  Resize();
}

void CProgressBar::Clear() {
  if (!pane_) return;
  hide();
  pane_->setText(paneIndex_ == 0 ? QStringLiteral(" ") : previousText_);
  if (const int width = std::exchange(paneWidth_, 0); width > 0) pane_->setFixedWidth(width);
}

void CProgressBar::resizeEvent(QResizeEvent* event) { QProgressBar::resizeEvent(event); }

void CProgressBar::WidenPaneFor(int labelWidth) {
  // The bar's text with room for the bar's frame on either side of it.
  const int figuresWidth = fontMetrics().horizontalAdvance(format()) + 2 * fontMetrics().height();
  const int frame = pane_->width() - pane_->contentsRect().width();
  // Only into the room the status bar has to spare: the totals beside the
  // pane keep theirs, and the window is never made wider.
  int widest = pane_->width();
  if (const QWidget* bar = pane_->parentWidget()) {
    widest += std::max(0, bar->width() - bar->minimumSizeHint().width());
  }
  const int wanted = std::min(frame + labelWidth + figuresWidth, widest);
  // The pane only grows while a copy runs, so that it does not jitter with
  // the digits.
  if (wanted <= pane_->width()) return;
  if (paneWidth_ == 0) paneWidth_ = pane_->width();
  pane_->setFixedWidth(wanted);
}

void CProgressBar::Resize() {
  if (!pane_) return;
  if (isVisible() || !isHidden()) {
    pane_->setText(message_);
    setAccessibleName(message_);
  }
  const QFontMetrics metrics(pane_->font());
  const int messageWidth = message_.isEmpty() ? 0 : metrics.horizontalAdvance(message_);
  const int blankWidth = metrics.horizontalAdvance(QLatin1Char(' '));
  if (isTextVisible() && !isHidden()) WidenPaneFor(messageWidth + 4 * blankWidth);
  const QRect place =
      PlaceProgressBar(pane_->contentsRect(), messageWidth, blankWidth, sizePercent_);
  if (place != placement_) {
    setGeometry(place);
    placement_ = place;
  }
}

}  // namespace velmora::gui
