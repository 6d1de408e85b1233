#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QRect>
#include <QString>

class QLabel;

namespace velmora::gui {

// Where the bar goes in a status-bar pane: after the label and four blanks,
// size percent of the room left, and a tenth of the pane's height off the top
// and the bottom. A label wider than the pane leaves a bar of no width at the
// pane's right edge.
QRect PlaceProgressBar(const QRect& pane, int messageWidth, int blankWidth, int sizePercent);

// The progress indicator in a status-bar pane: the label, then the bar. The
// pane is a widget whose label shows the message; deleting the indicator gives
// the pane its idle text back (a single blank for pane 0).
class CProgressBar : public QProgressBar {
  Q_OBJECT

 public:
  CProgressBar(QLabel* pane, int paneIndex, const QString& message, int sizePercent, int upper,
               bool smooth);
  ~CProgressBar() override;

  void SetText(const QString& message);
  void SetRange(int lower, int upper, int step);
  void SetStep(int step);
  // Advances by count steps; a step past the upper bound starts the bar over.
  void StepIt(int count = 1);
  // The figures of a copy (bytes done of the whole, rate, time left) as the
  // bar's own text; the pane widens while they are shown, so that they can be
  // read whole. Empty: a bar without text.
  void SetFigures(const QString& figures);
  QString figures() const { return isTextVisible() ? format() : QString(); }
  // Hides the bar and gives the pane its text and its width back.
  void Clear();
  QString message() const { return message_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class ProgressPaneWatcher;
  void Resize();
  // Widens the pane, up to a limit, so that a label of labelWidth and the
  // figures after it can be read whole.
  void WidenPaneFor(int labelWidth);

  QPointer<QLabel> pane_;
  int paneIndex_ = 0;
  int sizePercent_ = 100;
  int step_ = 1;
  QString message_;
  QString previousText_;
  QRect placement_;
  // The pane's width before the figures widened it; 0 while it has its own.
  int paneWidth_ = 0;
};

}  // namespace velmora::gui
