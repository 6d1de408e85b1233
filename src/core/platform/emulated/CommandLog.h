#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace velmora::platform::emulated {

// One command as the emulated drive received it.
struct RecordedCommand {
  enum class Kind { kCookedRead, kCdb, kReadToc, kTrayLock };
  Kind kind = Kind::kCookedRead;
  std::uint64_t offset = 0;  // cooked read: byte offset
  std::size_t length = 0;    // cooked read: bytes asked for; command block: data-in buffer size
  std::vector<std::uint8_t> cdb{};
  std::vector<std::uint8_t> dataOut{};  // command block with data out (MODE SELECT)
  bool accepted = true;  // false: the drive rejected the command block as malformed
  bool prevent = false;  // tray lock: true locks
};

// The commands the drives of one emulated machine received, in order: the
// latest kMaxKept of them while recording is on. A long scan (a hostile disc
// can ask for billions of reads) thus never holds more than that; the older
// half is dropped when the list is full.
class CommandLog {
 public:
  static constexpr std::size_t kMaxKept = std::size_t{1} << 20;

  void Record(RecordedCommand command) {
    if (!command.accepted) ++malformed_;
    if (sink_) sink_(command);
    if (!recording_) return;
    if (commands_.size() >= kMaxKept) {
      const auto half = static_cast<std::ptrdiff_t>(kMaxKept / 2);
      commands_.erase(commands_.begin(), commands_.begin() + half);
      dropped_ += kMaxKept / 2;
    }
    commands_.push_back(std::move(command));
  }
  const std::vector<RecordedCommand>& commands() const { return commands_; }
  // Empties the list; the malformed count keeps running.
  void Clear() { commands_.clear(); }
  std::size_t malformed() const { return malformed_; }
  // Commands dropped from the front of a full list.
  std::size_t dropped() const { return dropped_; }
  // Every command is also handed to sink as it comes, recording or not.
  void SetSink(std::function<void(const RecordedCommand&)> sink) { sink_ = std::move(sink); }
  // Off: nothing is kept but the malformed count (the programs' emulated drive).
  void SetRecording(bool on) {
    recording_ = on;
    if (!on) commands_.clear();
  }

 private:
  std::vector<RecordedCommand> commands_;
  std::size_t malformed_ = 0;
  std::size_t dropped_ = 0;
  bool recording_ = true;
  std::function<void(const RecordedCommand&)> sink_;
};

}  // namespace velmora::platform::emulated
