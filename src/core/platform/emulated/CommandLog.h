#pragma once

#include <cstddef>
#include <cstdint>
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
  bool accepted = true;  // false: the drive rejected the command block as malformed
  bool prevent = false;  // tray lock: true locks
};

// Every command the drives of one emulated machine received, in order.
class CommandLog {
 public:
  void Record(RecordedCommand command) {
    if (!command.accepted) ++malformed_;
    commands_.push_back(std::move(command));
  }
  const std::vector<RecordedCommand>& commands() const { return commands_; }
  // Empties the list; the malformed count keeps running.
  void Clear() { commands_.clear(); }
  std::size_t malformed() const { return malformed_; }

 private:
  std::vector<RecordedCommand> commands_;
  std::size_t malformed_ = 0;
};

}  // namespace velmora::platform::emulated
