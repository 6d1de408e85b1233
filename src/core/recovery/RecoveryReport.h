#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::disc {

enum class FileOutcome : std::uint8_t {
  kRecovered,  // every byte read
  kPartial,    // some bytes read; the others are zeros in the file
  kFailed,     // nothing read, or the file could not be written: none is left
  kStopped,    // Stop came while it was copied: the file holds what was written
  kAlreadyThere,  // a resumed recovery found it whole at the destination and kept it
  kLinked,        // a symbolic link, made as a link
};

// Bytes first to last (both included) of a file, counted from its start.
struct ByteRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  bool operator==(const ByteRange&) const = default;
};

struct RecoveredFile {
  FileOutcome outcome = FileOutcome::kFailed;
  std::string discPath;   // the names on the disc, "/" between them, UTF-8
  // discPath with each name escaped (text::EscapeName), as the report lists it.
  std::string listedPath;
  std::string savedPath;  // below the destination; empty when no file was left there
  std::vector<ByteRange> unreadable;
};

// What one recovery did.
struct RecoverySummary {
  bool started = false;  // a destination was chosen
  bool aborted = false;  // Stop ended it
  std::uint32_t filesRecovered = 0;
  std::uint32_t filesPartial = 0;
  std::uint32_t filesFailed = 0;
  std::uint32_t filesStopped = 0;
  std::uint32_t filesAlreadyThere = 0;
  std::uint32_t filesFilteredOut = 0;
  std::uint32_t linksCreated = 0;  // symbolic links made (Rock Ridge)
  std::uint32_t foldersCreated = 0;
  std::uint32_t namesChanged = 0;  // files and folders saved under another name
  bool reportWritten = false;
  std::string reportError;  // the system's reason when the report could not be written
  // The destination folder could not be opened; nothing was written.
  bool destinationFailed = false;
  std::string destinationReason;
  // A write failed in a way that fails every later one (a read-only or full
  // destination): the recovery ended there, keeping what was written.
  bool writeStopped = false;
  std::string writeStopReason;  // "cannot write DEST/a.txt: No space left on device"
};

// The recovery report: one line per file, "status TAB disc path TAB unreadable
// bytes TAB saved path", status being recovered, partial, failed, stopped,
// already there or link (a symbolic link made), and the
// unreadable bytes "first-last" ranges joined by "," ("4096-6143,10240-12287");
// then one summary line, which counts the links made when there were any. Tabs, line breaks and backslashes in names are written
// as \t, \n, \r and \\, other control characters as \xHH.
std::string FormatRecoveryReport(const std::vector<RecoveredFile>& files,
                                 const RecoverySummary& summary);

// The same report a part at a time, for a report written as the files are
// saved: its heading line, the line of one file, and the summary line.
std::string RecoveryReportHeading();
std::string FormatRecoveryReportLine(const RecoveredFile& file);
std::string FormatRecoverySummaryLine(const RecoverySummary& summary);

}  // namespace velmora::disc
