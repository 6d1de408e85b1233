#include "app/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Languages.h"
#include "app/MessageDialogs.h"

namespace velmora::gui {

QString HelpPagePath(const QString& folder, std::uint32_t languageIndex) {
  const QString language = LanguageName(languageIndex);
  if (language.isEmpty()) return folder;
  return QDir(folder).filePath(QStringLiteral("help/%1/index.html").arg(language));
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("helpWindow"));
  resize(760, 620);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setAccessibleName(tr("Help"));
  QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
  QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
  QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Contents"));
  back->setShortcut(QKeySequence::Back);
  forward->setShortcut(QKeySequence::Forward);
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);
  layout->addWidget(bar);
  layout->addWidget(browser_);
}

void HelpWindow::ShowTopic(const QString& path) {
  setWindowTitle(tr("%1 Help").arg(ProductCaption()));
  if (QFileInfo(path).isFile()) {
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
  } else {
    browser_->setHtml(tr("<p>The help file <b>%1</b> cannot be found.</p>")
                          .arg(QDir::toNativeSeparators(path).toHtmlEscaped()));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace velmora::gui
