#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "iso9660/DirectoryRecord.h"
#include "entries/Entry.h"
#include "log/MessageLog.h"

namespace velmora::disc {

// One accepted directory or path-table record: the scan's queue of folders.
struct WorkRecord {
  std::u16string name;
  EntryType type = EntryType::kFile;
  std::uint32_t extent = 0;
  RecordingTime time;
  std::uint64_t size = 0;  // a file recorded in several extents: their sum
  std::int32_t parentId = 0;
  std::uint32_t folderDataLength = 0;
  bool fromPathTable = false;
  // The extents after the first of a file recorded in several (ECMA-119 9.1.6).
  std::vector<FilePart> moreParts;
  std::uint32_t mode = 0;       // Rock Ridge PX; 0 when none
  std::u16string linkTarget;    // Rock Ridge SL; empty when no link
  // Rock Ridge ZF: the bytes the compressed data takes; size is uncompressed.
  std::optional<std::uint32_t> compressedSize;
};

// Damage a scan met besides folders that did not read, each named in the log.
enum class ScanDamage : std::uint8_t {
  // A Rock Ridge continuation area that did not read: a name, link or mode
  // of that entry is lost.
  kContinuationUnread,
  // No copy of the root's "." record read: whether the disc carries Rock
  // Ridge names and modes is not known.
  kRockRidgeUnread,
  // A later session found that could not be listed.
  kSessionUnread,
};

// What the volume reader needs from the scan that drives it.
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  // An accepted record: counted, and unless nameless handed to the entry table.
  virtual void AcceptRecord(const WorkRecord& record, bool named) = 0;
  // Lets the window breathe and tells whether the user asked to stop.
  virtual bool StopRequested() = 0;
  virtual void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                           std::u16string_view status, log::LogIcon icon) = 0;
  // A log row that ends a process (or reports an error) makes the log saveable.
  virtual void MarkLogHasEntries() = 0;
  // True when an earlier session listed the same file: the same File ID,
  // name, size and link target.
  virtual bool ListedInEarlierSession(const WorkRecord& record) = 0;
  // A folder whose directory did not read whole was named in the log: the scan
  // counts it as damage.
  virtual void CountDamagedFolder() {}
  virtual void CountDamage(ScanDamage /*what*/) {}
};

}  // namespace velmora::disc
