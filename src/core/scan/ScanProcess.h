#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/ScanHost.h"
#include "iso9660/ScanSink.h"
#include "iso9660/SessionGeometry.h"

namespace velmora::disc {

struct ScanCounters {
  std::uint32_t entryCount = 0;
  std::uint32_t foldersFound = 0;
  std::uint32_t filesFound = 0;
  std::uint64_t totalFileBytes = 0;
  std::uint8_t currentSession = 1;
  // Folders whose directory did not read whole (each named in the log).
  std::uint32_t damagedFolders = 0;
  // Rock Ridge continuation areas that did not read (each entry named in the log).
  std::uint32_t unreadContinuations = 0;
  // A session whose root "." record did not read in any copy: its Rock Ridge
  // names and modes, if it had any, are lost.
  std::uint32_t rockRidgeUnread = 0;
  // Later sessions found but not listed.
  std::uint32_t sessionsUnread = 0;
  // A session's file system tree read, even one without entries.
  bool treeRead = false;
  // A session carried the names asked for (always, for the automatic choice).
  bool namesFound = false;
  // The names some session carries.
  NameSets namesCarried;
};

// The Open Drive process: asks for the disc, locks the tray, and scans every
// session of the disc (or of an open image) into the entry table. It also
// hears from the reader of the drive's failures, for every process that reads
// through it: it logs them, and ends the process when the disc is lost.
class ScanProcess : private ScanSink, private DriveListener {
 public:
  ScanProcess(CCDReader& reader, AppState& state, EntryTable& table, ScanHost& host)
      : reader_(reader), state_(state), table_(table), host_(host) {
    reader_.SetDriveListener(this);
  }
  ~ScanProcess() override { reader_.SetDriveListener(nullptr); }
  ScanProcess(const ScanProcess&) = delete;
  ScanProcess& operator=(const ScanProcess&) = delete;

  // The Open Drive command: switches back from an open image to the drive, then
  // scans. Returns false when the user cancelled the Insert CDROM question; the
  // reader then still reads the medium the entry table came from.
  bool OnOpenDrive();
  // Scans whatever the reader holds; with readingImage set there is no Insert
  // question and no tray lock.
  bool Scan();
  // Scans the medium the tree came from again (another names choice, say):
  // the drive's disc is taken as confirmed, no Insert CDROM question.
  bool Rescan();
  // Image creation of a single-track disc: the readiness probe and the
  // descriptor search, which sets disc end. False when no descriptor loaded;
  // reportedError() is then kCdromNotFound when no disc answered at all.
  bool ProbeVolumeSize();

  // Before a process reads the drive: waits while it spins its disc up (with
  // progress, for a bounded time), and reads its TOC. False when it holds no
  // disc, is gone, or the user stopped the wait: the error is shown then (no
  // disc: "insert a disc").
  bool PrepareDrive();
  // Names the drive in the log by what INQUIRY gives (vendor, product,
  // firmware), so that a report tells which drive read the disc; a scan of a
  // drive does it at its start. Nothing for an image.
  void LogDriveIdentity();
  // The pause between two looks at a drive that is becoming ready.
  void SetReadinessPause(std::chrono::milliseconds pause) { readinessPause_ = pause; }

  // Why sector lba did not read, as the drive said it while an image was
  // created (the copier names the sector in its own row); "" when it did not
  // say. Each reason is given once.
  std::u16string TakeSectorReason(Lba lba);

  // The per-entry progress report (and, during a scan, the entry itself).
  void ReportEntry(std::uint32_t entryCount, const WorkRecord* record);

  // Stop Current Process, once the user confirmed it; tableEmpty: the scan
  // had added nothing yet.
  static void RequestStop(AppState& state, bool tableEmpty = false);

  const ScanCounters& counters() const { return counters_; }
  // The error shown at the end of the last scan (0 when none).
  int reportedError() const { return reportedError_; }

 private:
  // Scan(); discConfirmed: the Insert CDROM question was answered already.
  bool RunScan(bool discConfirmed);
  // Runs one session; false when no medium answered.
  bool ScanSession(bool imageCreation);
  // A bounded readiness check: true when one of the session's first sectors
  // reads.
  bool ProbeSession(Lba base);
  bool MediumAnswers() const;
  SessionGeometry GeometryOf(std::size_t node, bool imageCreation) const;
  // True when a session of the track list runs past the start of the next.
  bool SessionsOverlap() const;
  Lba SessionEnd(std::size_t node) const;
  // The "Reading.." indicator, from the scan's first read on: a disc whose
  // first sectors read slowly shows that it is being read.
  void ShowReading();
  void StartScanDisplay();
  void FinishScan();
  void ShowErrorOnce(int code);
  // False when the drive holds no disc, is gone, or the user stopped.
  bool WaitUntilReady();

  // DriveListener
  void SectorFailed(Lba lba, std::u16string_view reason) override;
  void MediumLost(MediumLoss loss) override;
  void ReadCdRefused() override;

  // ScanSink
  void AcceptRecord(const WorkRecord& record, bool named) override;
  bool StopRequested() override;
  void AddLogEntry(std::u16string_view activity, std::u16string_view text,
                   std::u16string_view status, log::LogIcon icon) override;
  void MarkLogHasEntries() override;
  bool ListedInEarlierSession(const WorkRecord& record) override;
  void CountDamagedFolder() override;
  void CountDamage(ScanDamage what) override;

  CCDReader& reader_;
  AppState& state_;
  EntryTable& table_;
  ScanHost& host_;
  ScanCounters counters_;
  std::u16string progressText_;  // the progress text of the last step
  bool displayStarted_ = false;
  bool progressShown_ = false;
  bool sessionIdsFixed_ = false;
  std::uint32_t lastTrackEnd_ = 0;  // Session node k has File ID lastTrackEnd_ + k
  int reportedError_ = 0;
  std::chrono::milliseconds readinessPause_{500};
  // The drive's reasons for sectors that failed while an image was created.
  std::map<Lba, std::u16string> sectorReasons_;
};

}  // namespace velmora::disc
