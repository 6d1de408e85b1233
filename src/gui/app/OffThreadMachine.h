#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Machine.h"

class QEventLoop;

namespace velmora::gui {

// The machine the window uses: every call that may block on the drive (opens,
// reads, the TOC, the tray lock, the drive's state, pass-through commands)
// runs on a thread of its own, one call at a time, while the window thread
// waits for it. A call that answers within a few milliseconds costs no more
// than the hand-over; one that takes longer (a drive retrying a bad sector
// for up to 30 s) lets the window answer meanwhile, when the window allows it
// (SetAnswerWhileWaiting), and returns only once the call has returned. The
// engine sees the same calls in the same order as without it. Image files
// are read in place: they never wait for a drive, and a hand-over per read
// would cost more than the read; so is a drive that says it answers every
// call at once (an emulated one without slow sectors).
class OffThreadMachine final : public platform::Machine {
 public:
  explicit OffThreadMachine(platform::Machine& machine);
  // Waits for the call in progress, if any.
  ~OffThreadMachine() override;
  OffThreadMachine(const OffThreadMachine&) = delete;
  OffThreadMachine& operator=(const OffThreadMachine&) = delete;

  // Asked on the window thread once a call has been slow: true lets events
  // through until the call returns (the window has brought its commands up to
  // date for that), false waits without them. Without it every call waits
  // without events.
  void SetAnswerWhileWaiting(std::function<bool()> mayAnswer);

  // Runs call on the drive thread, after any call before it, and returns
  // once it has returned; an exception it throws is thrown here.
  // letEventsThrough false: no events while it waits (a close of the drive).
  void Run(const std::function<void()>& call, bool letEventsThrough = true);

  std::vector<std::string> OpticalDrives() override;
  std::unique_ptr<platform::DeviceFile> OpenDevice(const std::string& path,
                                                   platform::OpenError& error) override;
  std::unique_ptr<platform::ScsiTransport> OpenPassThrough(const std::string& path,
                                                           platform::OpenError& error) override;
  bool SameMedium(const std::string& path, const std::string& devicePath) override;

 private:
  struct Call {
    const std::function<void()>* work = nullptr;
    std::exception_ptr thrown;
    bool done = false;              // guarded by mutex_
    QEventLoop* waiting = nullptr;  // the loop to end once done; guarded by mutex_
  };

  void Serve();
  // Lets events through until call is done, when the window allows it.
  void AnswerUntilDone(Call& call);

  platform::Machine& machine_;
  std::function<bool()> mayAnswer_;
  bool asking_ = false;  // mayAnswer_ runs (window thread only)
  std::mutex mutex_;
  std::condition_variable workToDo_;
  std::condition_variable callDone_;
  std::deque<Call*> calls_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace velmora::gui
