#include "image/RescueImager.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "browse/EntryListing.h"
#include "disc/DriveTuning.h"
#include "image/ImageCreator.h"
#include "image/ImageMapFile.h"
#include "image/ImageNaming.h"
#include "image/MapWriter.h"
#include "image/RescueImageFile.h"
#include "image/RescueTap.h"
#include "media/ImageTrailer.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr std::uint64_t Bytes(Lba lba) { return std::uint64_t{lba} * kSectorSize; }
constexpr Lba kPrimaryDescriptorSector = 16;
// Blocks of 0xF6 written at a time where nothing was read.
constexpr Lba kFillSectors = 32;

std::string FullPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

std::u16string Decimal(std::uint64_t value) { return text::FromUtf8(std::to_string(value)); }

std::uint16_t PassNameId(RescuePass pass) {
  switch (pass) {
    case RescuePass::kWhatMatters:
      return text::kRescuePassWhatMatters;
    case RescuePass::kCopying:
      return text::kRescuePassCopying;
    case RescuePass::kTrimming:
      return text::kRescuePassTrimming;
    case RescuePass::kScraping:
      return text::kRescuePassScraping;
    case RescuePass::kRetrying:
      return text::kRescuePassRetrying;
    case RescuePass::kMerging:
      return text::kRescuePassMerging;
  }
  return text::kRescuePassCopying;
}

// The areas inside the domain.
std::vector<SectorArea> InsideDomain(const std::vector<SectorArea>& areas,
                                     const std::vector<SectorArea>& domain) {
  std::vector<SectorArea> inside;
  for (const SectorArea& area : areas) {
    for (const SectorArea& part : domain) {
      const Lba begin = std::max(area.begin, part.begin);
      const Lba end = std::min(area.end, part.end);
      if (begin < end) inside.push_back({begin, end});
    }
  }
  return inside;
}

// One run of a rescue or a merge: the plan, the image and its map, the drive's
// settings, the passes, and the end that every stop goes through.
class RescueRun {
 public:
  RescueRun(CCDReader& reader, AppState& state, EntryTable& table, ScanProcess& scan,
            ScanHost& host, const RescueOptions& options,
            const std::function<void(const RescueProgress&)>& shown, RescueOutcome& outcome)
      : reader_(reader),
        state_(state),
        table_(table),
        scan_(scan),
        host_(host),
        options_(options),
        shown_(shown),
        outcome_(outcome),
        path_(text::FromUtf8(outcome.destination)),
        tuning_(reader) {}

  void Rescue(const RescueFileChooser& choose) {
    if (!Prepare(false)) return;
    RescueCopier::End end = RescueCopier::End::kDone;
    if (Wanted()) end = WhatMatters(choose);
    if (end == RescueCopier::End::kDone && Wanted()) {
      // The drive's own retries cost seconds a sector; the passes that follow
      // do the retrying.
      if (!reader_.imageOpen()) tuning_.LowerRetries();
      end = Copying(RescuePass::kCopying, 1);
    }
    if (end == RescueCopier::End::kDone) end = TrimAndScrape();
    tuning_.Restore();
    if (end == RescueCopier::End::kDone && options_.retries > 0 && !reader_.imageOpen() &&
        options_.speed) {
      tuning_.SetSpeed(*options_.speed);
    }
    for (std::uint32_t r = 1; r <= options_.retries && end == RescueCopier::End::kDone; ++r) {
      const bool forwards = r % 2 == 1;
      copier_->StartPass(RescuePass::kRetrying, 3 + static_cast<int>(r), forwards);
      end = copier_->Retry(forwards);
      EndPass(end);
    }
    Finish(end);
  }

  void Merge() {
    if (!Prepare(true)) return;
    if (!SameDisc()) {
      Close();
      return;
    }
    // What this copy lacks is tried in the other.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> lacking;
    map_.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
      if (status != AreaStatus::kFinished) lacking.emplace_back(begin, end);
    });
    for (const auto& [begin, end] : lacking) {
      for (const SectorArea& area : domainAreas_) {
        const std::uint64_t from = std::max(begin, Bytes(area.begin));
        const std::uint64_t to = std::min(end, Bytes(area.end));
        if (from < to) map_.Set(from, to, AreaStatus::kNonTried);
      }
    }
    RescueCopier::End end = Copying(RescuePass::kMerging, 1);
    if (end == RescueCopier::End::kDone) end = TrimAndScrape();
    Finish(end);
  }

 private:
  bool Prepare(bool merging) {
    ImageCreator planner(reader_, state_, table_, scan_, host_);
    std::optional<ImagePlan> plan = planner.PlanCopy(false);
    if (!plan) {
      host_.prompts().ShowError(static_cast<int>(text::ErrorCode::kCannotCreateImage));
      outcome_.reasonShown = true;
      outcome_.result = RescueResult::kFailed;
      outcome_.reason = text::ToUtf8(text::ErrorMessage(static_cast<int>(text::ErrorCode::kCdromNotFound)));
      return false;
    }
    sectors_ = plan->sectors;
    trailer_ = BuildImageTrailer(plan->trailer);
    domain_ = RescueMap(Bytes(sectors_), AreaStatus::kFinished);
    Lba from = 0;
    for (const TrackCopy& copy : plan->copies) {
      if (copy.readTo > from) domainAreas_.push_back({from, copy.readTo});
      domain_.Set(Bytes(copy.readTo), Bytes(copy.fillTo), AreaStatus::kNonTried);
      from = copy.fillTo;
    }
    if (plan->copies.empty()) domainAreas_.push_back({0, sectors_});

    const bool resume = merging || (!options_.restart && Exists(outcome_.destination) &&
                                     Exists(outcome_.mapPath));
    if (resume) {
      if (!Resume(merging)) return false;
    } else if (!Create()) {
      return false;
    }
    writer_.emplace(outcome_.destination, options_.commandLine);
    copier_.emplace(reader_, state_, host_, image_, map_, *writer_, sectors_);
    copier_->SetDomain(&domain_);
    copier_->SetProgressShown(shown_);
    if (!writer_->Save(map_) || !writer_->SaveDomain(domain_)) {
      Fail(text::FormatTextUtf8(text::kReasonCannotWriteMap,
                                {outcome_.destination, writer_->reason()}));
      Close();
      return false;
    }
    host_.CreateReadingProgress(sectors_);
    host_.AddLogEntry(text::LoadText(text::kRescueImaging), path_,
                      text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);
    if (outcome_.resumed) {
      host_.AddLogEntry(u" ", path_,
                        text::FormatText(text::kRescueResumed,
                                         {Decimal(map_.BytesOf(AreaStatus::kFinished))}),
                        log::LogIcon::kInformation);
    }
    state_.logHasEntries = true;
    return true;
  }

  bool Create() {
    switch (image_.Create(outcome_.destination, host_.prompts())) {
      case RescueImageFile::OpenResult::kOpened:
        break;
      case RescueImageFile::OpenResult::kDeclined:
        outcome_.result = RescueResult::kCancelled;
        return false;
      case RescueImageFile::OpenResult::kCannotOpen:
        Fail(text::FormatTextUtf8(text::kReasonCannotCreateImage,
                                  {outcome_.destination, image_.reason()}));
        host_.prompts().ShowErrorDetail(static_cast<int>(text::ErrorCode::kCannotCreateImage),
                                        outcome_.reason);
        outcome_.reasonShown = true;
        return false;
    }
    map_ = RescueMap(Bytes(sectors_));
    // The trailer first, so that the image opens whenever the rescue stops;
    // blocks not yet written read as nothing until the stop fills them.
    if (!image_.Resize(Bytes(sectors_ + 1)) || !image_.WriteAt(Bytes(sectors_), trailer_)) {
      Fail(text::FormatTextUtf8(text::kReasonCannotWriteImage,
                                {outcome_.destination, "0", image_.reason()}));
      Close();
      return false;
    }
    return true;
  }

  bool Resume(bool merging) {
    std::string why;
    switch (LoadMapFile(outcome_.mapPath, map_, why)) {
      case MapLoad::kLoaded:
        break;
      case MapLoad::kNone:
        Fail(text::FormatTextUtf8(text::kReasonNoMapToMerge, {outcome_.destination}));
        return false;
      case MapLoad::kDamaged:
        Fail(why);
        return false;
    }
    if (image_.Reopen(outcome_.destination) != RescueImageFile::OpenResult::kOpened) {
      Fail(text::FormatTextUtf8(text::kReasonSystem, {outcome_.destination, image_.reason()}));
      return false;
    }
    // Of the same disc: as many sectors, and the same track list.
    std::vector<std::byte> last(kSectorSize);
    const bool sameTrailer =
        image_.ReadAt(Bytes(sectors_), last) && last == trailer_;
    if (map_.extent() != Bytes(sectors_) || !sameTrailer) {
      outcome_.result = RescueResult::kOtherDisc;
      outcome_.reason = text::FormatTextUtf8(text::kReasonRescueOtherDisc, {outcome_.destination});
      Close();
      return false;
    }
    outcome_.resumed = !merging;
    return true;
  }

  // The primary volume descriptor of both copies, where both read it.
  bool SameDisc() {
    std::vector<std::byte> ours(kSectorSize);
    std::vector<std::byte> theirs(kSectorSize, kUnreadByte);
    std::uint32_t bytesRead = 0;
    const bool ourRead = map_.All(Bytes(kPrimaryDescriptorSector),
                                  Bytes(kPrimaryDescriptorSector + 1), AreaStatus::kFinished) &&
                         image_.ReadAt(Bytes(kPrimaryDescriptorSector), ours);
    const bool theirRead =
        reader_.ReadForRescue(kPrimaryDescriptorSector, 1, theirs, bytesRead) &&
        bytesRead == kSectorSize;
    if (ourRead && theirRead && ours == theirs) return true;
    outcome_.result = RescueResult::kOtherDisc;
    outcome_.reason = text::FormatTextUtf8(
        ourRead && theirRead ? text::kReasonRescueOtherDisc : text::kReasonMergeUnchecked,
        {outcome_.destination});
    return false;
  }

  bool Wanted() const { return !state_.stopRequested && !copier_->writeFailed(); }

  RescueCopier::End WhatMatters(const RescueFileChooser& choose) {
    copier_->StartPass(RescuePass::kWhatMatters, 0, true);
    {
      // The scan reads through the rescue: what it reads goes into the image.
      RescueTap tap(map_, image_, *copier_);
      reader_.SetReadTap(&tap);
      // While an image is made the scan's entries go nowhere; these are wanted.
      state_.imageCreationRunning = false;
      scan_.Scan();
      reader_.SetReadTap(nullptr);
    }
    // The scan ends its own progress and takes the process flags down.
    RestoreFlags();
    host_.CreateReadingProgress(sectors_);
    if (copier_->writeFailed()) return RescueCopier::End::kWriteFailed;
    if (state_.stopRequested) return RescueCopier::End::kStopped;
    // The files' sectors get every copying sweep before the rest of the disc.
    const std::vector<SectorArea> files =
        InsideDomain(choose ? choose(table_) : FileExtents(table_), domainAreas_);
    RescueCopier::End end = copier_->CopyForwards(files);
    if (end == RescueCopier::End::kDone) end = copier_->CopyBackwards(files);
    if (end == RescueCopier::End::kDone) end = copier_->Sweep(files);
    EndPass(end);
    return end;
  }

  RescueCopier::End Copying(RescuePass pass, int number) {
    copier_->StartPass(pass, number, true);
    RescueCopier::End end = copier_->CopyForwards(domainAreas_);
    if (end == RescueCopier::End::kDone) end = copier_->CopyBackwards(domainAreas_);
    if (end == RescueCopier::End::kDone) end = copier_->Sweep(domainAreas_);
    EndPass(end);
    return end;
  }

  RescueCopier::End TrimAndScrape() {
    copier_->StartPass(RescuePass::kTrimming, 2, true);
    RescueCopier::End end = copier_->Trim();
    EndPass(end);
    if (end != RescueCopier::End::kDone) return end;
    copier_->StartPass(RescuePass::kScraping, 3, true);
    end = copier_->Scrape();
    EndPass(end);
    return end;
  }

  void EndPass(RescueCopier::End end) {
    copier_->EndPass();
    const RescueProgress progress = copier_->Progress();
    host_.AddLogEntry(
        u" ", path_,
        text::FormatText(text::kRescuePassEnded,
                         {Decimal(static_cast<std::uint64_t>(progress.passNumber)),
                          text::LoadText(PassNameId(progress.pass)), Decimal(progress.rescued),
                          Decimal(progress.badSector), Decimal(progress.badAreas),
                          Decimal(progress.nonTried + progress.nonTrimmed + progress.nonScraped)}),
        end == RescueCopier::End::kDone ? log::LogIcon::kInformation : log::LogIcon::kFailure);
  }

  // Blocks not read hold 0xF6, the trailer ends the image, the map says how
  // far the rescue got, and the drive has its settings back.
  void Finish(RescueCopier::End end) {
    tuning_.Restore();
    tuning_.RestoreSpeed();
    const bool filled = FillUnread() && image_.WriteAt(Bytes(sectors_), trailer_) && image_.Flush();
    const RescueProgress progress = copier_->Progress();
    const bool stopped = end == RescueCopier::End::kStopped;
    if (end == RescueCopier::End::kDone) {
      map_.phase = RescuePhase::kFinished;
      map_.currentPos = 0;
    }
    const bool mapSaved = writer_->Save(map_);
    const bool closed = image_.Close();
    outcome_.last = progress;
    outcome_.reads = copier_->reads();
    outcome_.failedReads = copier_->failedReads();
    if (end == RescueCopier::End::kWriteFailed || !filled || !closed) {
      Fail(text::FormatTextUtf8(text::kReasonCannotWriteImage,
                                {outcome_.destination, std::to_string(sectors_), image_.reason()}));
      Log(text::FromUtf8(outcome_.reason), log::LogIcon::kFailure);
    } else if (!mapSaved) {
      Fail(text::FormatTextUtf8(text::kReasonCannotWriteMap,
                                {outcome_.destination, writer_->reason()}));
      Log(text::FromUtf8(outcome_.reason), log::LogIcon::kFailure);
    } else if (stopped) {
      outcome_.result = RescueResult::kStopped;
      Log(text::LoadText(text::kProcessAborted), log::LogIcon::kFailure);
    } else {
      outcome_.result = RescueResult::kCompleted;
      Log(text::LoadText(text::kProcessCompleted), log::LogIcon::kCompleted);
    }
    host_.DeleteProgress();
  }

  bool FillUnread() {
    const std::vector<std::byte> fill(Bytes(kFillSectors), kUnreadByte);
    std::vector<std::pair<Lba, Lba>> unread;
    map_.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
      if (status == AreaStatus::kFinished) return;
      // A sector read in part holds its bytes and 0xF6 already.
      const Lba first = static_cast<Lba>((begin + kSectorSize - 1) / kSectorSize);
      const Lba last = static_cast<Lba>(std::min<std::uint64_t>(end / kSectorSize, sectors_));
      if (first < last) unread.emplace_back(first, last);
    });
    for (auto [first, last] : unread) {
      for (Lba at = first; at < last; at += kFillSectors) {
        const Lba count = std::min(kFillSectors, last - at);
        if (!image_.WriteAt(Bytes(at), std::span(fill).first(Bytes(count)))) return false;
      }
    }
    return true;
  }

  void RestoreFlags() {
    state_.processRunning = true;
    state_.imageCreationRunning = true;
    state_.busy = true;
  }

  void Fail(std::string reason) {
    outcome_.result = RescueResult::kFailed;
    outcome_.reason = std::move(reason);
  }

  void Log(std::u16string_view status, log::LogIcon icon) {
    host_.AddLogEntry(u" ", path_, status, icon);
    state_.logHasEntries = true;
  }

  void Close() {
    if (image_.open()) image_.Close();
  }

  CCDReader& reader_;
  AppState& state_;
  EntryTable& table_;
  ScanProcess& scan_;
  ScanHost& host_;
  const RescueOptions& options_;
  const std::function<void(const RescueProgress&)>& shown_;
  RescueOutcome& outcome_;
  std::u16string path_;
  DriveTuning tuning_;
  Lba sectors_ = 0;
  std::vector<std::byte> trailer_;
  RescueMap domain_;
  std::vector<SectorArea> domainAreas_;
  RescueMap map_;
  RescueImageFile image_;
  std::optional<MapWriter> writer_;
  std::optional<RescueCopier> copier_;
};

// The sectors of the files of table whose index takes accepts (every file when
// takes is unset), the parts of a file of several extents included: ascending
// and joined.
std::vector<SectorArea> ExtentsOf(const EntryTable& table,
                                  const std::function<bool(std::size_t)>& takes) {
  std::vector<SectorArea> extents;
  const auto add = [&](Lba extent, std::uint64_t size) {
    if (size == 0) return;
    const std::uint64_t end = std::uint64_t{extent} + (size + kSectorSize - 1) / kSectorSize;
    extents.push_back({extent, static_cast<Lba>(std::min<std::uint64_t>(end, 0xFFFFFFFF))});
  };
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Entry& entry = table[i];
    if (entry.IsFolder() || entry.IsLink() || (takes && !takes(i))) continue;
    std::uint64_t rest = entry.size;
    for (const FilePart& part : entry.moreParts) {
      rest -= std::min<std::uint64_t>(rest, part.length);
      add(part.extent, part.length);
    }
    add(entry.fileId, rest);
  }
  std::sort(extents.begin(), extents.end(),
            [](const SectorArea& a, const SectorArea& b) { return a.begin < b.begin; });
  std::vector<SectorArea> joined;
  for (const SectorArea& area : extents) {
    if (!joined.empty() && area.begin <= joined.back().end) {
      joined.back().end = std::max(joined.back().end, area.end);
    } else {
      joined.push_back(area);
    }
  }
  return joined;
}

}  // namespace

std::vector<SectorArea> FileExtents(const EntryTable& table,
                                    const std::function<bool(const Entry&)>& takes) {
  if (!takes) return ExtentsOf(table, {});
  return ExtentsOf(table, [&](std::size_t index) { return takes(table[index]); });
}

RescueFileChooser MarkedFilesChooser(const EntryTable& table) {
  const browse::EntryListing listing(table);
  std::unordered_set<std::string> paths;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Entry& entry = table[i];
    if (!entry.IsFolder() && entry.checkState == kMarked) paths.insert(listing.EscapedPathOf(i));
  }
  if (paths.empty()) return {};
  return [paths = std::move(paths)](EntryTable& scanned) {
    const browse::EntryListing found(scanned);
    return ExtentsOf(scanned,
                     [&](std::size_t index) { return paths.contains(found.EscapedPathOf(index)); });
  };
}

std::u16string RescueProgressText(const RescueProgress& progress) {
  return text::FormatText(text::kRescuePassLabel,
                          {Decimal(static_cast<std::uint64_t>(progress.passNumber)),
                           text::LoadText(PassNameId(progress.pass)), Decimal(progress.badAreas)});
}

bool RescueImager::DriveReady(RescueOutcome& outcome) {
  // An open image has no TOC to read again: its track list came from its
  // trailer.
  if (reader_.imageOpen()) return true;
  // As a scan does: a drive spinning up is waited for, an empty one asks for
  // a disc, and the TOC (the disc may have been changed since the scan) is
  // read once the drive is ready.
  if (scan_.PrepareDrive()) return true;
  const int error = scan_.reportedError();
  outcome.result = error != 0 ? RescueResult::kFailed : RescueResult::kNotBegun;
  if (error != 0) outcome.reason = text::ToUtf8(text::ErrorMessage(error));
  return false;
}

RescueOutcome RescueImager::Rescue(const std::string& pathName, const RescueFileChooser& choose) {
  RescueOutcome outcome;
  outcome.destination = FullPath(ImageDestination(pathName));
  outcome.mapPath = MapPathOf(outcome.destination);
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  state_.processRunning = true;
  state_.imageCreationRunning = true;
  state_.busy = true;
  reader_.ClosePassThrough();
  if (DriveReady(outcome)) {
    RescueRun(reader_, state_, table_, scan_, host_, options_, shown_, outcome).Rescue(choose);
  }
  state_.busy = false;
  state_.processRunning = false;
  state_.imageCreationRunning = false;
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  return outcome;
}

RescueOutcome RescueImager::Merge(const std::string& pathName) {
  RescueOutcome outcome;
  outcome.destination = FullPath(ImageDestination(pathName));
  outcome.mapPath = MapPathOf(outcome.destination);
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  state_.processRunning = true;
  state_.imageCreationRunning = true;
  state_.busy = true;
  reader_.ClosePassThrough();
  if (DriveReady(outcome)) {
    RescueRun(reader_, state_, table_, scan_, host_, options_, shown_, outcome).Merge();
  }
  state_.busy = false;
  state_.processRunning = false;
  state_.imageCreationRunning = false;
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  return outcome;
}

}  // namespace velmora::disc
