#include "image/ImageCreator.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include "image/ImageFile.h"
#include "image/ImageLayout.h"
#include "image/MapWriter.h"
#include "image/ImageNaming.h"
#include "media/ImageTrailer.h"
#include "media/SessionEnd.h"
#include "image/SectorCopier.h"
#include "iso9660/VolumeDescriptor.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr std::uint32_t kFirstDescriptorSector = 16;
constexpr std::uint32_t kDescriptorSectors = 100;
// A single-track disc whose size neither a descriptor nor the TOC gives is
// copied up to this many sectors; a read past its end delivers nothing and
// ends the copy sooner.
constexpr Lba kUnknownDiscSectors = 341796;

// The path from the root: log rows and messages name the image wherever the
// program was started.
std::string FullPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace

ImageOutcome ImageCreator::CreateImage(const std::string& pathName) {
  ImageOutcome outcome;
  outcome.destination = FullPath(ImageDestination(pathName));
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  state_.processRunning = true;
  state_.imageCreationRunning = true;
  state_.busy = true;
  Create(outcome);
  state_.busy = false;
  state_.processRunning = false;
  state_.imageCreationRunning = false;
  // The stop that ended this copy must not stop the next process.
  state_.stopRequested = false;
  state_.stepsAfterStop = 0;
  return outcome;
}

void ImageCreator::Create(ImageOutcome& outcome) {
  reader_.ClosePassThrough();
  // The disc may have been changed since it was scanned: the drive's TOC is
  // read again once it is ready. An open image has no TOC to read again: its
  // track list came from its trailer.
  if (!reader_.imageOpen() && !scan_.PrepareDrive()) {
    // No disc or no drive (said), or a stop while the drive spun up.
    const int error = scan_.reportedError();
    outcome.result = error != 0 ? ImageResult::kFailed : ImageResult::kNotBegun;
    if (error != 0) outcome.reason = text::ToUtf8(text::ErrorMessage(error));
    return;
  }
  std::optional<ImagePlan> planned = PlanCopy();
  if (!planned) {
    host_.prompts().ShowError(static_cast<int>(text::ErrorCode::kCannotCreateImage));
    outcome.result = ImageResult::kFailed;
    outcome.reason =
        text::ToUtf8(text::ErrorMessage(static_cast<int>(text::ErrorCode::kCdromNotFound)));
    return;
  }
  const bool multiTrack = planned->multiTrack;
  const std::vector<TrackCopy>& plan = planned->copies;
  const Lba sectors = planned->sectors;
  const Lba expected = planned->expected;

  ImageFile file;
  switch (file.Open(outcome.destination, host_.prompts())) {
    case ImageFile::OpenResult::kOpened:
      break;
    case ImageFile::OpenResult::kDeclined:
      outcome.result = ImageResult::kCancelled;
      return;
    case ImageFile::OpenResult::kCannotOpen:
      // The dialog names the file and the system's reason.
      outcome.result = ImageResult::kFailed;
      outcome.reason = text::FormatTextUtf8(text::kReasonCannotCreateImage,
                                            {outcome.destination, file.reason()});
      host_.prompts().ShowErrorDetail(static_cast<int>(text::ErrorCode::kCannotCreateImage),
                                      outcome.reason);
      return;
  }

  const std::u16string path = text::FromUtf8(outcome.destination);
  host_.CreateReadingProgress(sectors);
  host_.AddLogEntry(text::LoadText(text::kImageCreation), path,
                    text::LoadText(text::kProcessStarted), log::LogIcon::kInformation);

  // The map starts with nothing read; the domain is the sessions' blocks.
  RescueMap map(std::uint64_t{sectors} * kSectorSize);
  RescueMap domain(std::uint64_t{sectors} * kSectorSize, AreaStatus::kFinished);
  for (const TrackCopy& copy : plan) {
    domain.Set(std::uint64_t{copy.readTo} * kSectorSize, std::uint64_t{copy.fillTo} * kSectorSize,
               AreaStatus::kNonTried);
  }
  MapWriter mapWriter(outcome.destination, commandLine_);
  SectorCopier copier(reader_, state_, scan_, host_, file, path);
  copier.TrackIn(map, mapWriter);
  // The gaps between sessions are written, not read: no time goes to them.
  std::uint64_t toRead = sectors;
  if (multiTrack) {
    for (const TrackCopy& copy : plan) toRead -= copy.fillTo - std::min(copy.readTo, copy.fillTo);
  }
  copier.CountReadsOf(toRead * kSectorSize);
  // A map of the old image that this one replaces must not stand beside it.
  mapWriter.Save(map);
  SectorCopier::End end = SectorCopier::End::kDone;
  if (!multiTrack) {
    end = copier.Read(sectors, true);
  } else {
    for (const TrackCopy& copy : plan) {
      end = copier.Read(copy.readTo, false);
      if (end == SectorCopier::End::kDone) end = copier.Fill(copy.fillTo);
      if (end != SectorCopier::End::kDone) break;
    }
  }
  ImageTrailer trailer;
  if (multiTrack) trailer = TrailerForCopy(reader_.tracks(), plan, copier.blocks());
  copier.WriteTrailer(BuildImageTrailer(trailer));
  copier.Close();
  // A medium that ended early has no blocks past the image to account for.
  if (end == SectorCopier::End::kEndOfMedium) {
    map.Truncate(std::uint64_t{copier.blocks()} * kSectorSize);
    domain.Truncate(map.extent());
  }
  map.currentPos = std::uint64_t{copier.blocks()} * kSectorSize;
  if (end != SectorCopier::End::kStopped && !copier.failed()) map.phase = RescuePhase::kFinished;
  const bool mapSaved = mapWriter.Save(map) && mapWriter.SaveDomain(domain);
  if (mapSaved) outcome.mapPath = mapWriter.mapPath();

  outcome.blocks = copier.blocks();
  outcome.expectedSectors = expected;
  outcome.unreadableSectors = copier.unreadableSectors();
  outcome.partialSectors = copier.partialSectors();
  if (copier.failed()) {
    outcome.result = ImageResult::kFailed;
    outcome.reason = text::FormatTextUtf8(
        text::kReasonCannotWriteImage,
        {outcome.destination, std::to_string(outcome.blocks), file.reason()});
  } else if (!mapSaved) {
    // Without its map a later recovery would take the unread blocks for data.
    outcome.result = ImageResult::kFailed;
    outcome.reason = text::FormatTextUtf8(text::kReasonCannotWriteMap,
                                          {outcome.destination, mapWriter.reason()});
    host_.AddLogEntry(u" ", path, text::FromUtf8(outcome.reason), log::LogIcon::kFailure);
    state_.logHasEntries = true;
  } else if (end == SectorCopier::End::kStopped) {
    outcome.result = ImageResult::kAborted;
    // The disc went: the copy holds what was read before, and says why it ended.
    if (const int lost = MediumLossError(reader_.mediumLoss()); lost != 0) {
      host_.prompts().ShowError(lost);
    }
  } else {
    host_.AddLogEntry(u" ", path, text::LoadText(text::kProcessCompleted),
                      log::LogIcon::kCompleted);
    state_.logHasEntries = true;
    outcome.result = ImageResult::kCompleted;
  }
  host_.DeleteProgress();
}

std::optional<ImagePlan> ImageCreator::PlanCopy(bool readDescriptors) {
  ImagePlan plan;
  plan.multiTrack = reader_.multiTrack();
  if (!plan.multiTrack) {
    if (!readDescriptors && reader_.MediumSectors() != 0) {
      plan.sectors = plan.expected = reader_.MediumSectors();
      return plan;
    }
    if (!SingleTrackSectors(plan.sectors, plan.expected)) return std::nullopt;
    return plan;
  }
  if (reader_.imageOpen() && reader_.foundSessions()) {
    // A plain image of several sessions: every block of the file is copied,
    // whatever the sessions found in it, each session's track record its own.
    const std::vector<TrackNode>& tracks = reader_.tracks();
    const Lba medium = reader_.MediumSectors();
    for (std::size_t node = 0; node < tracks.size(); ++node) {
      TrackCopy copy;
      copy.readTo = node + 1 < tracks.size() ? TrackLba(tracks[node + 1]) : medium;
      copy.fillTo = copy.readTo;
      copy.end = tracks[node].end != 0 ? std::min(tracks[node].end, copy.readTo) : copy.readTo;
      plan.copies.push_back(copy);
    }
    plan.sectors = plan.expected = medium;
    plan.trailer = TrailerForCopy(tracks, plan.copies, plan.sectors);
    return plan;
  }
  // The full-TOC pass gives the session ends before the plan needs them.
  if (!reader_.imageOpen()) reader_.PreparePassThrough();
  // Without a scan of this disc the descriptors tell where each session ends.
  if (table_.empty() && readDescriptors) {
    for (std::size_t node = 0; node < reader_.tracks().size(); ++node) {
      Lba end = FindSessionEnd(node);
      reader_.tracks()[node].end = end;
    }
  }
  plan.copies = PlanTrackCopy(reader_.tracks(), LeadOut());
  plan.sectors = plan.copies.empty() ? 0 : plan.copies.back().fillTo;
  plan.expected = plan.sectors;
  plan.trailer = TrailerForCopy(reader_.tracks(), plan.copies, plan.sectors);
  return plan;
}

bool ImageCreator::SingleTrackSectors(Lba& sectors, Lba& expected) {
  // The probe's descriptor search sets disc end to the volume space size.
  if (!scan_.ProbeVolumeSize() &&
      scan_.reportedError() == static_cast<int>(text::ErrorCode::kCdromNotFound)) {
    return false;
  }
  // The copy runs to the medium's end, not to the size the volume claims: a
  // disc may claim less than it holds. One that claims more than the medium
  // holds ends early, which the outcome tells against what it claimed.
  const Lba claimed = reader_.discEnd();
  const Lba medium = reader_.MediumSectors();
  sectors = medium != 0 ? medium : claimed;
  expected = std::max(sectors, claimed);
  if (sectors != 0) return true;
  // Neither the medium nor a descriptor tells the size: the copy goes on
  // until a read finds the end.
  sectors = kUnknownDiscSectors;
  expected = sectors;
  return true;
}

Lba ImageCreator::LeadOut() const {
  if (reader_.tocLeadOut() > kLeadInFrames) return reader_.tocLeadOut() - kLeadInFrames;
  // The last block of an image is its trailer, not a sector.
  if (reader_.imageOpen()) return reader_.MediumSectors();
  return 0;
}

Lba ImageCreator::FindSessionEnd(std::size_t node) {
  const std::vector<TrackNode>& tracks = reader_.tracks();
  const Lba base = TrackLba(tracks[node]);
  const Lba limit = node + 1 < tracks.size() ? TrackLba(tracks[node + 1]) : LeadOut();
  std::vector<std::byte> sector(kSectorSize);
  for (std::uint32_t i = 0; i < kDescriptorSectors; ++i) {
    std::fill(sector.begin(), sector.end(), kUnreadByte);
    std::uint32_t bytesRead = 0;
    if (!reader_.ReadSectors(base + kFirstDescriptorSector + i, 1, sector, bytesRead) ||
        bytesRead != kSectorSize || !IsVolumeDescriptor(sector)) {
      continue;
    }
    std::optional<VolumeInfo> info = ParseVolumeInfo(sector);
    if (!info || info->volumeSpaceSize == 0) continue;
    std::uint64_t end = SessionEndBySize(base, info->volumeSpaceSize, LeadOut());
    if (limit != 0) end = std::min<std::uint64_t>(end, limit);
    return static_cast<Lba>(std::min<std::uint64_t>(end, std::numeric_limits<Lba>::max()));
  }
  return tracks[node].end;
}

}  // namespace velmora::disc
