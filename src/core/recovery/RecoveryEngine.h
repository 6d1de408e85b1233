#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "recovery/DestinationTree.h"
#include "recovery/ExtentCopier.h"
#include "recovery/ZisofsCopier.h"
#include "recovery/RecoveryReport.h"
#include "host/ScanHost.h"
#include "scan/ScanProcess.h"
#include "platform/Machine.h"
#include "select/RecoveryFilterList.h"

namespace velmora::disc {


// Where one recovery writes: the destination, opened before anything is read
// (platform::OpenDestination), and the report file, if any.
struct RecoveryTarget {
  std::string path;                              // the destination as the user named it
  std::unique_ptr<platform::FolderSink> folder;  // it, or its parent when missingName is set
  std::string missingName;                       // the destination's name, made in folder
  std::unique_ptr<platform::FileSink> report;    // nullptr: no report
  // Continues an earlier recovery into the same destination: a file there of
  // the disc's size and time is kept ("already there"); one that run left
  // partial or stopped, once the disc's bytes prove it to be one, is replaced
  // by the file read again, which keeps what it read where the disc does not
  // read now (ResumedFile). Nothing there is ever written into.
  bool resume = false;
};

// Recover Selected Files and Recover All: copies entries of the displayed table
// from the disc (or the image) into a folder the user chooses.
//
// - Which entries: every entry when state.recoverAll is set, else those whose
//   check state is kMarked. Folders are created (marked ones, every one for
//   Recover All, and those on the way to each file saved); files pass the file
//   filter first (select::RecoveryFilterList::Takes).
// - Each file is read from its File ID for its size through the reader rule
//   (ExtentCopier); a file the disc holds compressed (zisofs) is saved
//   decompressed (ZisofsCopier). It is recovered when every byte read, partly recovered when
//   some did not (those are zeros in the file and listed in the report), and
//   failed when not one byte read or it could not be written; a failed file is
//   removed, so that zeros are never taken for data.
// - A file recovered whole and its folders get their recording time, taken as
//   UTC; a partial or stopped file keeps the time it was written, so that it is
//   never taken for the disc's file. Where the disc records permissions (Rock
//   Ridge), a whole file and the folders get them less the user's umask, never
//   setuid, setgid or sticky; a partial file keeps the mode it was made with,
//   so that --resume can write it again.
// - A symbolic link (Rock Ridge) is made as a link with the disc's target and
//   time; it is never followed, and nothing is written through it: files and
//   folders are opened below the destination without following links, and a
//   link in a folder's place gives the folder a numbered name.
// - Nothing is written outside the destination, no link there is followed, no
//   file there is overwritten, and names the destination cannot hold are
//   changed (DestinationTree); every changed name is logged.
// - The log has a start row, one row per file, a row per renamed folder, a
//   summary row and an end row. A file or folder that cannot be created or
//   written shows error 10 with its path and the system's reason, once per
//   reason. A reason that fails every later write (read-only, full) ends the
//   recovery there; what was written stays.
// - Stop is honoured between reads: the file being copied keeps the bytes
//   written until then and counts as stopped, no later file is started, and
//   the process is aborted.
class RecoveryEngine {
 public:
  RecoveryEngine(CCDReader& reader, platform::Machine& machine, AppState& state, ScanHost& host,
                 ScanProcess& progress);
  ~RecoveryEngine();

  // Recovers from table, filtered as state and filters say, into the folder
  // the user chooses. With reportPath, writes the recovery report there
  // (RecoveryReport.h). summary.started is false when no folder was chosen.
  RecoverySummary Run(const EntryTable& table, const select::RecoveryFilterList& filters,
                      const std::optional<std::string>& reportPath = std::nullopt);
  // The same into a destination opened earlier, asking nothing but whether to
  // go on onto the medium being read (summary.started false when cancelled).
  RecoverySummary Recover(const EntryTable& table, const select::RecoveryFilterList& filters,
                          RecoveryTarget target);

 private:
  // Asks whether to go on when the destination lies on the disc being read
  // (never for an image: its own file system is not what is rescued); true
  // when it does not, or the user goes on.
  bool GoOnWhenSameMedium(const std::string& destination);
  // Recover without the question: Run asked it before opening anything.
  RecoverySummary RecoverInto(const EntryTable& table, const select::RecoveryFilterList& filters,
                              RecoveryTarget target);
  // Sets the flags, writes the start row and starts the progress.
  void Begin(const EntryTable& table, const select::RecoveryFilterList& filters,
             const std::string& destination);
  // The destination cannot be used: says why once, writes nothing.
  RecoverySummary FailDestination(const std::string& path, const std::string& reason);
  void RecoverFile(const Entry& entry, std::size_t index);
  // Makes a symbolic link of the disc as a link: nothing is read for it, and
  // its target is stored, never followed.
  void RecoverLink(const Entry& entry, std::size_t index);
  // The permission bits a file or folder of entry gets: its Rock Ridge mode's
  // less the umask, never setuid, setgid or sticky.
  std::uint32_t PermissionBits(const Entry& entry) const;
  // Concludes entry index as found whole at the destination under savedName.
  void AlreadyThere(std::size_t index, const std::string& savedName, bool renamed,
                    RecoveredFile record);
  void ReportFolderFailure(std::size_t index);
  // A create or write at the destination failed ("cannot create", path below
  // the destination): error 10 with the path and reason, once per reason.
  void ReportWriteFailure(const std::string& verb, const std::string& path,
                          const platform::SinkError& error);
  // Counts, logs and reports one file's outcome.
  void Conclude(RecoveredFile record);
  // Appends text to the report, if any, from its first byte on when
  // fromTheStart; after a failed write nothing more is written.
  void WriteToReport(const std::string& text, bool fromTheStart);
  // Writes the summary line and closes the report; says when it failed.
  void FinishReport();
  void Finish();

  CCDReader& reader_;
  platform::Machine& machine_;
  AppState& state_;
  ScanHost& host_;
  ScanProcess& progress_;
  ExtentCopier copier_;
  ZisofsCopier zisofs_;

  // One recovery's state.
  std::string destination_;
  std::unique_ptr<DestinationTree> tree_;
  RecoverySummary summary_;
  std::unique_ptr<platform::FileSink> report_;
  std::string reportError_;  // why the report could not be written
  bool resume_ = false;
  // The bytes of the wanted files, and those dealt with so far.
  std::uint64_t bytesTotal_ = 0;
  std::uint64_t bytesDone_ = 0;
  std::uint32_t umask_ = 022;  // the user's, taken from Rock Ridge permissions
  std::string reportRefused_;  // why Run could not open the report
  std::set<int> reasonsShown_;  // errno values error 10 was shown for
};

}  // namespace velmora::disc
