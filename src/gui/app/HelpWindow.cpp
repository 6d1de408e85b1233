#include "app/HelpWindow.h"

#include <QDir>
#include <QEvent>
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
  back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString());
  forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString());
  contents_ = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString());
  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);
  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(contents_, &QAction::triggered, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  RetranslateUi();
  layout->addWidget(bar);
  layout->addWidget(browser_);
}

void HelpWindow::RetranslateUi() {
  browser_->setAccessibleName(tr("Help"));
  back_->setText(tr("Back"));
  forward_->setText(tr("Forward"));
  contents_->setText(tr("Contents"));
  setWindowTitle(tr("%1 Help").arg(ProductCaption()));
}

void HelpWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QWidget::changeEvent(event);
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
