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

// The addresses the About box offers: the sales and support mail and the web
// site. Each is left out while empty, so that no address nobody answers is
// shown; a build that has real ones names them (VELMORA_SALES_MAIL,
// VELMORA_SUPPORT_MAIL, VELMORA_WEB_SITE).
struct AboutAddresses {
  QString salesMail;
  QString supportMail;
  QString webSite;  // a host ("www.host") or a whole URL

  static AboutAddresses Built();
};

// The About box: the product, a notice, and a link for each address given
// that opens with the system's handler. Return closes it, as OK does.
class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens a link; true when the system's handler took it.
  using UrlOpener = std::function<bool(const QUrl&)>;

  explicit CAboutDialog(QWidget* parent = nullptr, UrlOpener opener = {},
                        const AboutAddresses& addresses = AboutAddresses::Built());
  // The link of the sales mail (0), the support mail (1) or the web site (2);
  // null when that address is not given.
  AboutLink* link(int index) const { return links_[index]; }

 private:
  void Open(int index);

  UrlOpener opener_;
  AboutLink* links_[3] = {};
  QUrl targets_[3];
};

}  // namespace velmora::gui
