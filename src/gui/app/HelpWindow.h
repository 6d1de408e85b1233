#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QAction;
class QTextBrowser;

namespace velmora::gui {

// The help page of a language: <folder>/help/<Language>/index.html.
QString HelpPagePath(const QString& folder, std::uint32_t languageIndex);

// The help window, owned by the main window: the help pages in a browser with
// back, forward and home.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);
  // Shows the page; a page that is missing is said in the window.
  void ShowTopic(const QString& path);
  QTextBrowser* browser() const { return browser_; }
  QAction* backAction() const { return back_; }
  QAction* forwardAction() const { return forward_; }
  QAction* contentsAction() const { return contents_; }

 protected:
  // A language switch: the window's own words follow it.
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();

  QTextBrowser* browser_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QAction* contents_ = nullptr;
};

}  // namespace velmora::gui
