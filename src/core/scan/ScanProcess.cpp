#include "scan/ScanProcess.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <iterator>
#include <thread>

#include "iso9660/VolumeReader.h"
#include "scan/FoundSessionsLog.h"
#include "scan/ImageMapLog.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr std::uint32_t kProgressRange = 10000;
constexpr std::uint32_t kProbeFirstSector = 16;
// The readiness check gives up after this many failed reads in a row, or after
// this long, whichever comes first: a disc whose first sectors are damaged
// still goes on to the descriptor search and the recovery pass.
constexpr std::uint32_t kProbeMaxFailures = 64;
constexpr std::chrono::seconds kProbeMaxTime{20};
// A drive spinning its disc up is looked at this many times, a pause apart,
// before the process goes on without it (a minute at the usual pause).
constexpr std::uint32_t kMostReadinessLooks = 120;
// Messages are let through this often while the process waits.
constexpr std::chrono::milliseconds kPumpInterval{50};

void AppendDecimal(std::u16string& out, std::uint64_t value) {
  char digits[20];
  out.append(digits, std::to_chars(std::begin(digits), std::end(digits), value).ptr);
}

}  // namespace

void ScanProcess::RequestStop(AppState& state, bool tableEmpty) {
  state.stopRequested = true;
  state.scanInProgress = false;
  state.busy = false;
  state.processRunning = false;
  // The tree read so far is kept and usable; a scan stopped before its first
  // entry leaves none.
  state.treeComplete = !tableEmpty;
}

bool ScanProcess::OnOpenDrive() {
  if (state_.readingImage) {
    // The image stays the source until the user has answered for the drive:
    // after a cancel the tree on screen and the medium it came from still go
    // together. Then the drive is the source again, with its TOC.
    if (!host_.prompts().ConfirmInsertDisc()) return false;
    state_.readingImage = false;
    if (state_.drivesKnown) reader_.ReopenSelectedDrive();
    return RunScan(true);
  }
  return RunScan(false);
}

bool ScanProcess::Scan() { return RunScan(false); }

bool ScanProcess::Rescan() { return RunScan(true); }

bool ScanProcess::RunScan(bool discConfirmed) {
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  reportedError_ = 0;
  reader_.ClosePassThrough();
  if (!state_.readingImage && !state_.drivesKnown) {
    reader_.OpenSelectedDrive(host_.prompts(), state_);
    state_.drivesKnown = true;
  }
  if (reader_.trayLocked()) reader_.SetTrayLock(false);
  bool driveReady = true;
  if (!state_.readingImage) {
    if (!discConfirmed && !host_.prompts().ConfirmInsertDisc()) return false;
    // The disc may have been changed at the question: its TOC is read again
    // once the drive is ready.
    LogDriveIdentity();
    driveReady = PrepareDrive();
    if (driveReady && !reader_.trayLocked()) reader_.SetTrayLock(true);
  }
  ShowReading();
  // The counts go with the tree they describe: a cancelled Insert CDROM
  // question keeps both.
  counters_ = ScanCounters{};
  state_.allMarked = false;
  state_.markedTotalsNonZero = false;
  state_.maskApplied = false;
  state_.anyEntryMarked = false;
  state_.scanInProgress = true;
  // An empty table is no tree: nothing may be recovered, found, masked or
  // marked in it until the scan has shown one.
  state_.treeComplete = false;
  table_.Clear();
  displayStarted_ = false;
  sessionIdsFixed_ = false;
  ++state_.openDriveCount;
  // An image without a track list: its sessions as its descriptors gave them.
  if (reader_.imageOpen() && reader_.foundSessions() &&
      LogFoundSessions(*reader_.foundSessions(), host_)) {
    state_.logHasEntries = true;
  }
  if (LogImageMap(reader_, host_)) state_.logHasEntries = true;

  if (!driveReady) {
    // No disc, no drive, or a stop while it spun up: said, and nothing to scan.
    // The drives are looked for again at the next Open Drive.
    if (reportedError_ != 0) state_.drivesKnown = false;
    if (progressShown_) {
      host_.DeleteProgress();
      progressShown_ = false;
    }
    state_.scanInProgress = false;
    state_.stopRequested = false;
    state_.stepsAfterStop = 0;
    return true;
  }
  bool scanned = false;
  if (!reader_.multiTrack()) {
    scanned = ScanSession(false);
  } else {
    if (SessionsOverlap()) {
      host_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kSessionsOverlap), u" ",
                        log::LogIcon::kInformation);
      state_.logHasEntries = true;
    }
    for (std::size_t node = 0; node < reader_.tracks().size(); ++node) {
      reader_.SetCurrentTrack(node);
      counters_.currentSession = static_cast<std::uint8_t>(node + 1);
      table_.SetCurrentSessionNode(table_.SessionNodeIndex(node + 1));
      scanned = ScanSession(false) || scanned;
      if (state_.stopRequested) break;
    }
  }
  if (scanned) {
    // A disc that gave nothing at all is reported, never shown as an empty
    // success; a file system that reads and holds nothing is an empty tree.
    if (counters_.entryCount == 0 && !state_.stopRequested) {
      if (counters_.treeRead) {
        if (!displayStarted_) StartScanDisplay();
        host_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kDiscHoldsNoFiles),
                          text::LoadText(text::kProcessCompleted), log::LogIcon::kCompleted);
        state_.logHasEntries = true;
      } else {
        ShowErrorOnce(static_cast<int>(text::ErrorCode::kCdromNotFound));
      }
    }
    FinishScan();
  } else if (progressShown_) {
    host_.DeleteProgress();
    progressShown_ = false;
  }
  // The disc went while it was read: the scan stopped with what it had.
  if (const int lost = MediumLossError(reader_.mediumLoss()); lost != 0) ShowErrorOnce(lost);
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  host_.CollapseTopLevel();
  return true;
}

bool ScanProcess::PrepareDrive() {
  reportedError_ = 0;
  sectorReasons_.clear();
  if (!WaitUntilReady()) return false;
  reader_.RereadToc();
  return true;
}

void ScanProcess::LogDriveIdentity() {
  const std::optional<DriveIdentity> drive = reader_.InquireDrive();
  if (!drive) return;
  // As rescue tools do, so that a report tells which drive read the disc.
  const std::u16string identity = text::LoadText(text::kDriveLabel) + u" " +
                                  text::FromUtf8(drive->vendor + " " + drive->product) + u", " +
                                  text::LoadText(text::kFirmwareLabel) + u" " +
                                  text::FromUtf8(drive->revision);
  host_.AddLogEntry(text::LoadText(text::kInfo), text::FromUtf8(reader_.openPath()), identity,
                    log::LogIcon::kInformation);
  state_.logHasEntries = true;
}

bool ScanProcess::WaitUntilReady() {
  using platform::DriveStatus;
  DriveStatus status = reader_.DriveState();
  if (status == DriveStatus::kBecomingReady) {
    const std::u16string waiting = text::LoadText(text::kWaitingForDrive);
    host_.AddLogEntry(text::LoadText(text::kInfo), waiting, u" ", log::LogIcon::kInformation);
    state_.logHasEntries = true;
    host_.CreateReadingProgress(kMostReadinessLooks);
    std::chrono::milliseconds waited{0};
    for (std::uint32_t look = 0; status == DriveStatus::kBecomingReady && look < kMostReadinessLooks;
         ++look) {
      std::u16string progress = waiting + u" (";
      AppendDecimal(progress, static_cast<std::uint64_t>(waited.count() / 1000));
      progress += u" s)";
      host_.StepProgress(progress);
      for (auto left = readinessPause_; left.count() > 0 && !StopRequested(); left -= kPumpInterval) {
        std::this_thread::sleep_for(std::min(left, kPumpInterval));
      }
      if (StopRequested()) {
        host_.DeleteProgress();
        return false;
      }
      waited += readinessPause_;
      status = reader_.DriveState();
    }
    host_.DeleteProgress();
    if (status == DriveStatus::kBecomingReady) {
      host_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kDriveNotReady), u" ",
                        log::LogIcon::kFailure);
    }
  }
  switch (status) {
    case DriveStatus::kNoDisc:
    case DriveStatus::kTrayOpen:
      ShowErrorOnce(static_cast<int>(text::ErrorCode::kNoDisc));
      return false;
    case DriveStatus::kGone:
      ShowErrorOnce(static_cast<int>(text::ErrorCode::kDriveGone));
      return false;
    default:
      return true;
  }
}

std::u16string ScanProcess::TakeSectorReason(Lba lba) {
  const auto found = sectorReasons_.find(lba);
  if (found == sectorReasons_.end()) return {};
  std::u16string reason = std::move(found->second);
  sectorReasons_.erase(found);
  return reason;
}

void ScanProcess::SectorFailed(Lba lba, std::u16string_view reason) {
  if (state_.imageCreationRunning) {
    sectorReasons_[lba] = reason;
    return;
  }
  std::u16string sector = text::LoadText(text::kSector) + u" ";
  AppendDecimal(sector, lba);
  host_.AddLogEntry(u" ", sector, reason, log::LogIcon::kFailure);
  state_.logHasEntries = true;
}

void ScanProcess::MediumLost(MediumLoss loss) {
  host_.AddLogEntry(text::LoadText(text::kInfo), text::ErrorMessage(MediumLossError(loss)), u" ",
                    log::LogIcon::kFailure);
  state_.logHasEntries = true;
  // Whatever process reads, it ends as a stopped one: what it saved is kept.
  RequestStop(state_);
}

void ScanProcess::ReadCdRefused() {
  host_.AddLogEntry(text::LoadText(text::kInfo), text::LoadText(text::kReadCdRefused), u" ",
                    log::LogIcon::kInformation);
  state_.logHasEntries = true;
}

bool ScanProcess::ProbeVolumeSize() {
  reader_.SetDiscEnd(0);
  // reportedError() tells the caller whether this probe found no disc at all.
  reportedError_ = 0;
  if (!ProbeSession(0) && !MediumAnswers()) {
    ShowErrorOnce(static_cast<int>(text::ErrorCode::kCdromNotFound));
    state_.drivesKnown = false;
    return false;
  }
  VolumeReader volume(reader_, *this);
  return volume.FindVolume(GeometryOf(0, true));
}

bool ScanProcess::MediumAnswers() const {
  return reader_.imageOpen() || reader_.multiTrack() || reader_.tocLeadOut() > 0;
}

bool ScanProcess::ProbeSession(Lba base) {
  std::vector<std::byte> sector(kSectorSize);
  auto deadline = std::chrono::steady_clock::now() + kProbeMaxTime;
  for (std::uint32_t i = 0; i < kProbeMaxFailures; ++i) {
    std::fill(sector.begin(), sector.end(), kUnreadByte);
    std::uint32_t bytesRead = 0;
    if (reader_.ReadSectors(base + kProbeFirstSector + i, 1, sector, bytesRead) && bytesRead > 0) {
      return true;
    }
    if (StopRequested() || std::chrono::steady_clock::now() >= deadline) break;
  }
  return false;
}

bool ScanProcess::ScanSession(bool imageCreation) {
  Lba base = reader_.multiTrack() ? TrackLba(reader_.tracks()[reader_.currentTrack()]) : 0;
  bool ready = ProbeSession(base);
  if (!ready) {
    // A disc lost while probing is said as such when the scan ends.
    if (!MediumAnswers() && reader_.mediumLoss() == MediumLoss::kNone) {
      ShowErrorOnce(static_cast<int>(text::ErrorCode::kCdromNotFound));
      state_.drivesKnown = false;
      if (reader_.trayLocked()) reader_.SetTrayLock(false);
      state_.scanInProgress = false;
      return false;
    }
  }
  if (!sessionIdsFixed_ && reader_.multiTrack()) {
    // The first pass-through read has settled the session ends by now.
    lastTrackEnd_ = reader_.tracks().back().end;
    sessionIdsFixed_ = true;
  }
  state_.processRunning = true;
  state_.findNextAvailable = false;
  state_.lastFindMatched = false;
  state_.busy = true;
  VolumeReader volume(reader_, *this);
  volume.FindVolume(GeometryOf(reader_.currentTrack(), imageCreation));
  if (volume.treeRead()) counters_.treeRead = true;
  if (volume.namesFound()) counters_.namesFound = true;
  counters_.namesCarried |= volume.namesCarried();
  return true;
}

Lba ScanProcess::SessionEnd(std::size_t node) const {
  if (!reader_.multiTrack()) {
    return reader_.MediumSectors();
  }
  const auto& tracks = reader_.tracks();
  if (tracks[node].end != 0) return tracks[node].end;
  if (node + 1 < tracks.size()) return TrackLba(tracks[node + 1]);
  return reader_.discEnd();
}

bool ScanProcess::SessionsOverlap() const {
  const auto& tracks = reader_.tracks();
  for (std::size_t node = 0; node + 1 < tracks.size(); ++node) {
    if (SessionEnd(node) > TrackLba(tracks[node + 1])) return true;
  }
  return false;
}

SessionGeometry ScanProcess::GeometryOf(std::size_t node, bool imageCreation) const {
  SessionGeometry geometry;
  geometry.multiTrack = reader_.multiTrack();
  geometry.session = counters_.currentSession;
  geometry.imageCreation = imageCreation;
  geometry.allNames = state_.allNames;
  geometry.end = SessionEnd(node);
  geometry.names = state_.nameSource;
  if (geometry.multiTrack) {
    // A track's LBA is its start less the 150 frames before LBA 0.
    geometry.base = TrackLba(reader_.tracks()[node]);
    geometry.trackLba = geometry.base;
    geometry.topLevelParentId = static_cast<std::int32_t>(lastTrackEnd_ + counters_.currentSession);
  }
  return geometry;
}

void ScanProcess::ShowReading() {
  if (progressShown_) return;
  host_.CreateReadingProgress(kProgressRange);
  progressShown_ = true;
}

void ScanProcess::StartScanDisplay() {
  displayStarted_ = true;
  ShowReading();
  table_.AddRootNode(text::LoadText(text::kRootName));
  if (reader_.multiTrack()) {
    table_.AddSessionNodes(reader_.tracks().size(), lastTrackEnd_);
    table_.SetCurrentSessionNode(table_.SessionNodeIndex(counters_.currentSession));
  }
}

void ScanProcess::FinishScan() {
  state_.scanInProgress = false;
  if (progressShown_) host_.DeleteProgress();
  progressShown_ = false;
  host_.ShowRoot(true);
  state_.busy = false;
  state_.processRunning = false;
  state_.treeComplete = true;
}

void ScanProcess::ShowErrorOnce(int code) {
  if (reportedError_ == code) return;
  reportedError_ = code;
  host_.prompts().ShowError(code);
}

void ScanProcess::ReportEntry(std::uint32_t entryCount, const WorkRecord* record) {
  if (state_.stopRequested) {
    if (state_.stepsAfterStop == 0 && progressShown_) {
      host_.DeleteProgress();
      progressShown_ = false;
    }
    ++state_.stepsAfterStop;
    return;
  }
  state_.busy = true;
  // Rebuilt from the string table at every step, in a buffer that is kept:
  // a step costs no allocation.
  std::u16string& progress = progressText_;
  progress.clear();
  if (state_.imageCreationRunning) {
    text::AppendText(progress, text::kReadingSector);
    progress += u' ';
    AppendDecimal(progress, entryCount);
  } else {
    AppendDecimal(progress, entryCount);
    progress += u' ';
    text::AppendText(progress, state_.recoveryRunning ? text::kFilesRecovered : text::kEntriesFound);
  }
  host_.StepProgress(progress);
  host_.PumpPendingMessages();
  if (state_.imageCreationRunning || state_.recoveryRunning || !record) return;
  Entry entry;
  entry.fileId = record->extent;
  entry.parentId = record->parentId;
  entry.type = record->type;
  entry.name = record->name;
  entry.year = record->time.year;
  entry.month = record->time.month;
  entry.day = record->time.day;
  entry.hour = record->time.hour;
  entry.minute = record->time.minute;
  entry.second = record->time.second;
  entry.gmtOffset = record->time.gmtOffset;
  entry.size = record->size;
  entry.moreParts = record->moreParts;
  entry.mode = record->mode;
  entry.linkTarget = record->linkTarget;
  entry.compressedSize = record->compressedSize;
  entry.session = counters_.currentSession;
  table_.AddEntry(std::move(entry));
}

void ScanProcess::AcceptRecord(const WorkRecord& record, bool named) {
  // The display starts at the first record of the scan, whatever the session:
  // a disc whose first session yields nothing still gets its Root.
  if (!displayStarted_) StartScanDisplay();
  ++counters_.entryCount;
  if (record.type == EntryType::kFolder) {
    ++counters_.foldersFound;
  } else {
    ++counters_.filesFound;
    counters_.totalFileBytes += record.size;
  }
  if (named) ReportEntry(counters_.entryCount, &record);
}

bool ScanProcess::StopRequested() {
  host_.PumpPendingMessages();
  return state_.stopRequested;
}

void ScanProcess::AddLogEntry(std::u16string_view activity, std::u16string_view text,
                              std::u16string_view status, log::LogIcon icon) {
  host_.AddLogEntry(activity, text, status, icon);
}

void ScanProcess::MarkLogHasEntries() { state_.logHasEntries = true; }

void ScanProcess::CountDamagedFolder() { ++counters_.damagedFolders; }

void ScanProcess::CountDamage(ScanDamage what) {
  switch (what) {
    case ScanDamage::kContinuationUnread: ++counters_.unreadContinuations; break;
    case ScanDamage::kRockRidgeUnread: ++counters_.rockRidgeUnread; break;
    case ScanDamage::kSessionUnread: ++counters_.sessionsUnread; break;
  }
}

bool ScanProcess::ListedInEarlierSession(const WorkRecord& record) {
  return table_.HasFileFromEarlierSession(record.extent, record.name, record.size, record.linkTarget,
                                          counters_.currentSession);
}

}  // namespace velmora::disc
