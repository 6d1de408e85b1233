#pragma once

#include <QDialog>
#include <QThread>
#include <chrono>
#include <memory>

namespace velmora::gui {

// A thread that closes one notice after a delay. It posts the close to the
// notice it was made for and to nothing else; a notice already closed (with
// Escape or Enter) is left alone, and a notice that is gone gets nothing.
class NoticeThread : public QThread {
  Q_OBJECT

 public:
  NoticeThread(class NoticeDialog* notice, std::chrono::milliseconds delay);

 protected:
  void run() override;

 private:
  NoticeDialog* notice_;  // outlives the thread: the notice waits for it
  std::chrono::milliseconds delay_;
};

class SplashScreenThread : public NoticeThread {
  Q_OBJECT
 public:
  using NoticeThread::NoticeThread;
};

class CWaitDialogThread : public NoticeThread {
  Q_OBJECT
 public:
  using NoticeThread::NoticeThread;
};

// A timed notice: shown modally, closed by its thread after the delay, or at
// once by Escape or Enter.
class NoticeDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kDelay{600};

  explicit NoticeDialog(QWidget* parent = nullptr);
  ~NoticeDialog() override;

 public slots:
  // The thread's close request.
  void CloseNotice();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  virtual std::unique_ptr<NoticeThread> MakeThread() = 0;

 private:
  std::unique_ptr<NoticeThread> thread_;
};

// The start-up splash: the program's picture, for 600 ms.
class CSplashDialog : public NoticeDialog {
  Q_OBJECT

 public:
  explicit CSplashDialog(QWidget* parent = nullptr);

 protected:
  std::unique_ptr<NoticeThread> MakeThread() override;
};

// "Please wait.... , process may take some time", for 600 ms before a long
// rebuild.
class CWaitDialog : public NoticeDialog {
  Q_OBJECT

 public:
  explicit CWaitDialog(QWidget* parent = nullptr);

 protected:
  std::unique_ptr<NoticeThread> MakeThread() override;
};

}  // namespace velmora::gui
