#include "app/OffThreadMachine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <utility>

namespace velmora::gui {

namespace {

// Most reads answer within this; the window waits that long before it lets
// events through, so that a read of a good sector costs no event loop.
constexpr std::chrono::milliseconds kQuickCall{4};

// A drive or image opened through the machine: each call runs on the drive
// thread, the close too, so that it waits for a call still in progress there.
class OffThreadDeviceFile final : public platform::DeviceFile {
 public:
  OffThreadDeviceFile(OffThreadMachine& runner, std::unique_ptr<platform::DeviceFile> file)
      : runner_(runner), file_(std::move(file)) {}
  ~OffThreadDeviceFile() override {
    runner_.Run([this] { file_.reset(); }, false);
  }

  platform::IoResult ReadAt(std::uint64_t offset, std::span<std::byte> buffer) override {
    platform::IoResult result;
    Make([&] { result = file_->ReadAt(offset, buffer); });
    return result;
  }
  std::optional<std::uint64_t> Size() override {
    std::optional<std::uint64_t> size;
    Make([&] { size = file_->Size(); });
    return size;
  }
  std::optional<platform::Toc> ReadToc() override {
    std::optional<platform::Toc> toc;
    Make([&] { toc = file_->ReadToc(); });
    return toc;
  }
  bool SetMediumRemoval(bool prevent) override {
    bool done = false;
    Make([&] { done = file_->SetMediumRemoval(prevent); });
    return done;
  }
  platform::DriveStatus Status() override {
    platform::DriveStatus status = platform::DriveStatus::kUnknown;
    Make([&] { status = file_->Status(); });
    return status;
  }
  bool MediumChanged() override {
    bool changed = false;
    Make([&] { changed = file_->MediumChanged(); });
    return changed;
  }

 private:
  // A drive that answers every call at once (one emulated in memory without
  // slow sectors) is asked in place: the hand-over would cost more than the call.
  void Make(const std::function<void()>& call) {
    if (file_->AnswersAtOnce()) {
      call();
    } else {
      runner_.Run(call);
    }
  }

  OffThreadMachine& runner_;
  std::unique_ptr<platform::DeviceFile> file_;
};

class OffThreadTransport final : public platform::ScsiTransport {
 public:
  OffThreadTransport(OffThreadMachine& runner, std::unique_ptr<platform::ScsiTransport> transport)
      : runner_(runner), transport_(std::move(transport)) {}
  ~OffThreadTransport() override {
    runner_.Run([this] { transport_.reset(); }, false);
  }

  platform::ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                               std::chrono::milliseconds timeout) override {
    platform::ScsiResult result;
    Make([&] { result = transport_->Execute(cdb, dataIn, timeout); });
    return result;
  }
  platform::ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb,
                                  std::span<const std::byte> dataOut,
                                  std::chrono::milliseconds timeout) override {
    platform::ScsiResult result;
    Make([&] { result = transport_->ExecuteOut(cdb, dataOut, timeout); });
    return result;
  }

 private:
  // In place when the drive answers at once, as the device file's calls.
  void Make(const std::function<void()>& call) {
    if (transport_->AnswersAtOnce()) {
      call();
    } else {
      runner_.Run(call);
    }
  }

  OffThreadMachine& runner_;
  std::unique_ptr<platform::ScsiTransport> transport_;
};

bool OnWindowThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

OffThreadMachine::OffThreadMachine(platform::Machine& machine)
    : machine_(machine), thread_([this] { Serve(); }) {}

OffThreadMachine::~OffThreadMachine() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  workToDo_.notify_all();
  thread_.join();
}

void OffThreadMachine::SetAnswerWhileWaiting(std::function<bool()> mayAnswer) {
  mayAnswer_ = std::move(mayAnswer);
}

void OffThreadMachine::Serve() {
  for (;;) {
    std::unique_lock lock(mutex_);
    workToDo_.wait(lock, [this] { return ending_ || !calls_.empty(); });
    if (calls_.empty()) return;
    Call* call = calls_.front();
    calls_.pop_front();
    lock.unlock();
    try {
      (*call->work)();
    } catch (...) {
      call->thrown = std::current_exception();
    }
    lock.lock();
    // Posted under the lock: the waiting side forgets its loop under it
    // before the loop goes, and a loop that went takes its posted events along.
    if (call->waiting) {
      QMetaObject::invokeMethod(call->waiting, &QEventLoop::quit, Qt::QueuedConnection);
    }
    // The last touch of call: the caller returns once it sees this.
    call->done = true;
    lock.unlock();
    callDone_.notify_all();
  }
}

void OffThreadMachine::Run(const std::function<void()>& work, bool letEventsThrough) {
  Call call;
  call.work = &work;
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(&call);
  }
  workToDo_.notify_one();
  const auto done = [&call] { return call.done; };
  bool answered = false;
  {
    std::unique_lock lock(mutex_);
    answered = callDone_.wait_for(lock, kQuickCall, done);
  }
  if (!answered && letEventsThrough) AnswerUntilDone(call);
  // The loop may have ended early (the application quits): the call's
  // buffers are the caller's, so nothing returns before the call has.
  if (!answered) {
    std::unique_lock lock(mutex_);
    callDone_.wait(lock, done);
  }
  if (call.thrown) std::rethrow_exception(call.thrown);
}

void OffThreadMachine::AnswerUntilDone(Call& call) {
  // A drive call made while the window gets ready waits without events.
  if (!mayAnswer_ || asking_ || !OnWindowThread()) return;
  asking_ = true;
  const bool mayAnswer = mayAnswer_();
  asking_ = false;
  if (!mayAnswer) return;
  QEventLoop loop;
  {
    std::lock_guard lock(mutex_);
    if (call.done) return;
    call.waiting = &loop;
  }
  loop.exec();
  std::lock_guard lock(mutex_);
  call.waiting = nullptr;
}

std::vector<std::string> OffThreadMachine::OpticalDrives() {
  std::vector<std::string> drives;
  Run([&] { drives = machine_.OpticalDrives(); });
  return drives;
}

std::unique_ptr<platform::DeviceFile> OffThreadMachine::OpenDevice(const std::string& path,
                                                                   platform::OpenError& error) {
  // An image file answers from the page cache or the disk it lies on, never
  // after a drive's retries: its reads stay here, where they cost no hand-over.
  std::error_code notFile;
  if (std::filesystem::is_regular_file(path, notFile)) return machine_.OpenDevice(path, error);
  std::unique_ptr<platform::DeviceFile> file;
  Run([&] { file = machine_.OpenDevice(path, error); });
  if (!file) return nullptr;
  return std::make_unique<OffThreadDeviceFile>(*this, std::move(file));
}

std::unique_ptr<platform::ScsiTransport> OffThreadMachine::OpenPassThrough(
    const std::string& path, platform::OpenError& error) {
  std::unique_ptr<platform::ScsiTransport> transport;
  Run([&] { transport = machine_.OpenPassThrough(path, error); });
  if (!transport) return nullptr;
  return std::make_unique<OffThreadTransport>(*this, std::move(transport));
}

bool OffThreadMachine::SameMedium(const std::string& path, const std::string& devicePath) {
  bool same = false;
  Run([&] { same = machine_.SameMedium(path, devicePath); });
  return same;
}

}  // namespace velmora::gui
