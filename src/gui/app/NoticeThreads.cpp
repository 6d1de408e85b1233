#include "app/NoticeThreads.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora::gui {
namespace {

// The thread sleeps in slices so that a notice closed early ends it at once.
constexpr std::chrono::milliseconds kSlice{10};

}  // namespace

NoticeThread::NoticeThread(NoticeDialog* notice, std::chrono::milliseconds delay)
    : notice_(notice), delay_(delay) {}

void NoticeThread::run() {
  for (std::chrono::milliseconds slept{0}; slept < delay_; slept += kSlice) {
    if (isInterruptionRequested()) return;
    QThread::msleep(static_cast<unsigned long>(kSlice.count()));
  }
  if (isInterruptionRequested()) return;
  // Queued, so that the close runs on the notice's own thread; the notice's
  // destructor waits for this thread, so the pointer is alive here, and a
  // posted close that the notice did not live to see is dropped with it.
  QMetaObject::invokeMethod(notice_, &NoticeDialog::CloseNotice, Qt::QueuedConnection);
}

NoticeDialog::NoticeDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setModal(true);
}

NoticeDialog::~NoticeDialog() {
  if (thread_) {
    thread_->requestInterruption();
    thread_->wait();
  }
}

void NoticeDialog::CloseNotice() {
  if (isVisible()) reject();
}

void NoticeDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (thread_) return;
  thread_ = MakeThread();
  thread_->start();
}

void NoticeDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

CSplashDialog::CSplashDialog(QWidget* parent) : NoticeDialog(parent) {
  setObjectName(QStringLiteral("splash"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  auto* picture = new QLabel(this);
  picture->setPixmap(QIcon(QStringLiteral(":/icons/splash.svg")).pixmap(QSize(300, 210)));
  picture->setAccessibleName(QStringLiteral("Orvane Velmora CDROM"));
  layout->addWidget(picture);
}

std::unique_ptr<NoticeThread> CSplashDialog::MakeThread() {
  return std::make_unique<SplashScreenThread>(this, kDelay);
}

CWaitDialog::CWaitDialog(QWidget* parent) : NoticeDialog(parent) {
  setObjectName(QStringLiteral("waitNotice"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 24, 18, 24);
  layout->addWidget(new QLabel(tr("Please wait.... , process may take some time"), this));
}

std::unique_ptr<NoticeThread> CWaitDialog::MakeThread() {
  return std::make_unique<CWaitDialogThread>(this, kDelay);
}

}  // namespace velmora::gui
