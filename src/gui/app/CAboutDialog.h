#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>
#include <functional>

namespace velmora::gui {

// A link in the About box: underlined, blue until visited and purple after,
// with the hand cursor; the mouse or Enter/Space opens it.
class AboutLink : public QLabel {
  Q_OBJECT

 public:
  AboutLink(const QString& text, QWidget* parent);
  bool visited() const { return visited_; }
  void SetVisited(bool visited);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool visited_ = false;
};

// The About box: the product, a notice, and three links (sales and support
// mail, the web site) that open with the system's handler.
class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens a link; true when the system's handler took it.
  using UrlOpener = std::function<bool(const QUrl&)>;

  explicit CAboutDialog(QWidget* parent = nullptr, UrlOpener opener = {});
  AboutLink* link(int index) const { return links_[index]; }
  static const QUrl& LinkTarget(int index);

 private:
  void Open(int index);

  UrlOpener opener_;
  AboutLink* links_[3] = {};
};

}  // namespace velmora::gui
