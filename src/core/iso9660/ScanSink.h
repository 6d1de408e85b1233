#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
  std::uint32_t size = 0;
  std::int32_t parentId = 0;
  std::uint32_t folderDataLength = 0;
  bool fromPathTable = false;
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
  // True when a file of that File ID and name was listed by an earlier session.
  virtual bool ListedInEarlierSession(std::uint32_t fileId, const std::u16string& name) = 0;
};

}  // namespace velmora::disc
