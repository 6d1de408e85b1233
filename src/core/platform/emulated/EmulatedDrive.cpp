#include "platform/emulated/EmulatedDrive.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

#include "media/SessionEnd.h"
#include "platform/emulated/FullToc.h"

namespace velmora::platform::emulated {
namespace {

constexpr std::uint8_t kSenseNotReady = 0x02;
constexpr disc::SenseCode kMediumNotPresent{kSenseNotReady, 0x3A, 0x00};
constexpr disc::SenseCode kLbaOutOfRange{disc::kSenseIllegalRequest, 0x21, 0x00};
constexpr disc::SenseCode kUnrecoveredReadError{disc::kSenseMediumError, 0x11, 0x00};
constexpr disc::SenseCode kIllegalModeForTrack{disc::kSenseIllegalRequest,
                                               disc::kAscIllegalModeForTrack, 0x00};
constexpr std::uint8_t kDataTrackControl = 0x04;
constexpr std::size_t kFixedSenseLength = 18;

IoResult Failure(int error) {
  IoResult result;
  result.error = error;
  result.reason = std::system_category().message(error);
  return result;
}

ScsiResult Good(std::size_t bytes) {
  ScsiResult result;
  result.delivered = true;
  result.status = kScsiStatusGood;
  result.bytesTransferred = bytes;
  return result;
}

// Fixed-format sense data, as drives return it.
ScsiResult CheckCondition(disc::SenseCode code) {
  ScsiResult result;
  result.delivered = true;
  result.status = kScsiStatusCheckCondition;
  result.sense[0] = 0x70;
  result.sense[2] = code.key;
  result.sense[7] = kFixedSenseLength - 8;  // additional sense length
  result.sense[12] = code.asc;
  result.sense[13] = code.ascq;
  result.senseLength = kFixedSenseLength;
  return result;
}

ScsiResult NotCarried(int error) {
  ScsiResult result;
  result.error = error;
  result.reason = std::system_category().message(error);
  return result;
}

TocEntry EntryAt(std::uint8_t trackNumber, std::uint32_t frames) {
  Msf msf = MsfOfFrames(frames);
  return TocEntry{trackNumber, kDataTrackControl, msf.hour, msf.minute, msf.second, msf.frame};
}

}  // namespace

void EmulatedDrive::Insert(EmulatedDisc disc, std::unique_ptr<BlockFile> image) {
  gone_ = false;
  faultReads_.clear();
  image_ = std::move(image);
  Lba fileSectors = 0;
  if (image_) fileSectors = static_cast<Lba>(image_->Size().value_or(0) / kSectorSize);
  const Lba imageSectors = disc.sectorCount.value_or(fileSectors);
  // A session the track list gives no end ends where the disc says: with its
  // volume. Real gaps differ (the first lead-out is longer than the later ones),
  // so no fixed distance to the next session can stand in for it.
  for (std::size_t i = 0; i + 1 < disc.tracks.size(); ++i) {
    disc::TrackNode& node = disc.tracks[i];
    if (node.end != 0) continue;
    const Lba start = disc::TrackLba(node);
    const Lba next = disc::TrackLba(disc.tracks[i + 1]);
    if (std::optional<Lba> end = VolumeEnd(start, imageSectors)) node.end = std::min(*end, next);
  }
  layout_ = DiscLayout(disc, imageSectors);
  answersAtOnce_ = std::none_of(disc.faults.begin(), disc.faults.end(), [](const auto& fault) {
    return fault.second.kind == FaultKind::kSlow || fault.second.holdAtRead > 0;
  });
  disc_ = std::move(disc);
}

std::optional<Lba> EmulatedDrive::VolumeEnd(Lba sessionStart, Lba imageSectors) const {
  constexpr Lba kFirstDescriptor = 16;
  constexpr Lba kDescriptorArea = 100;
  constexpr std::size_t kVolumeSpaceSize = 80;  // both-endian 32-bit, little-endian half first
  if (!image_) return std::nullopt;
  std::array<std::byte, kSectorSize> sector;
  for (Lba s = kFirstDescriptor; s < kFirstDescriptor + kDescriptorArea; ++s) {
    const std::uint64_t lba = std::uint64_t{sessionStart} + s;
    if (lba >= imageSectors) break;
    IoResult read = image_->ReadAt(lba * kSectorSize, sector);
    if (!read.ok || read.bytes != kSectorSize) continue;
    const auto type = static_cast<std::uint8_t>(sector[0]);
    const bool identifier = std::memcmp(sector.data() + 1, "CD001", 5) == 0;
    if (!identifier) continue;              // damaged, or not a descriptor
    if (type == 0xFF) break;                // the set ends
    if (type != 1 && type != 2) continue;   // primary or supplementary descriptors carry the size
    std::uint64_t size = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      size |= std::uint64_t{static_cast<std::uint8_t>(sector[kVolumeSpaceSize + i])} << (8 * i);
    }
    if (size == 0) continue;
    const std::uint64_t end =
        disc::SessionEndBySize(sessionStart, static_cast<std::uint32_t>(size), imageSectors);
    return static_cast<Lba>(std::min<std::uint64_t>(end, imageSectors));
  }
  return std::nullopt;
}

void EmulatedDrive::Hold(const std::string& file) {
  constexpr auto kPoll = std::chrono::milliseconds(10);
  constexpr auto kLongest = std::chrono::minutes(2);
  std::ofstream{file};
  const auto until = std::chrono::steady_clock::now() + kLongest;
  std::error_code error;
  while (std::filesystem::exists(file, error) && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(kPoll);
  }
}

void EmulatedDrive::Eject() {
  answersAtOnce_ = true;
  disc_.reset();
  image_.reset();
  layout_ = DiscLayout();
}

EmulatedDrive::SectorRead EmulatedDrive::ReadSector(Lba lba, std::span<std::byte> sector,
                                                    std::optional<bool> mode2Form1) {
  if (gone_) return {SectorStatus::kGone};
  const Session* session = layout_.SessionOf(lba);
  if (session == nullptr) return {SectorStatus::kMissing};
  const SectorFault* fault = nullptr;
  if (auto found = disc_->faults.find(lba); found != disc_->faults.end()) fault = &found->second;
  if (fault && fault->kind == FaultKind::kDriveGone) {
    gone_ = true;
    return {SectorStatus::kGone};
  }
  if (fault && (fault->holdAtRead > 0 || fault->kind == FaultKind::kFlaky)) {
    const std::uint32_t read = ++faultReads_[lba];
    if (read == fault->holdAtRead) Hold(fault->holdFile);
    if (fault->kind == FaultKind::kFlaky && read < fault->tries) return {SectorStatus::kUnreadable};
  }
  if (fault && fault->kind == FaultKind::kUnreadable) return {SectorStatus::kUnreadable};
  // The areas of a mapfile: readable up to the first byte not finished.
  std::uint32_t mapBytes = kSectorSize;
  if (!fault && disc_->badAreas) {
    const std::uint64_t begin = std::uint64_t{lba} * kSectorSize;
    if (begin < disc_->badAreas->extent()) {
      mapBytes = static_cast<std::uint32_t>(
          disc_->badAreas->FirstNotIn(begin, begin + kSectorSize, disc::AreaStatus::kFinished) -
          begin);
      if (mapBytes == 0) return {SectorStatus::kUnreadable};
    }
  }
  if (fault && fault->kind == FaultKind::kCheckCondition) return {SectorStatus::kCheckCondition};
  if (mode2Form1 && *mode2Form1 != session->xa) return {SectorStatus::kWrongMode};
  if (lba >= layout_.imageSectors() || !image_) return {SectorStatus::kMissing};
  if (fault && fault->kind == FaultKind::kSlow) std::this_thread::sleep_for(fault->delay);
  IoResult read = image_->ReadAt(static_cast<std::uint64_t>(lba) * kSectorSize, sector);
  if (!read.ok || read.bytes != kSectorSize) return {SectorStatus::kMissing};
  if (fault && fault->kind == FaultKind::kShortRead) {
    return {SectorStatus::kRead, std::min(fault->shortBytes, kSectorSize)};
  }
  return {SectorStatus::kRead, mapBytes};
}

IoResult EmulatedDrive::ReadAt(std::uint64_t offset, std::span<std::byte> buffer) {
  log_->Record(
      {.kind = RecordedCommand::Kind::kCookedRead, .offset = offset, .length = buffer.size()});
  if (gone_) return Failure(ENODEV);
  if (!disc_) return Failure(ENOMEDIUM);
  std::uint64_t end = static_cast<std::uint64_t>(layout_.leadOut()) * kSectorSize;
  IoResult result;
  result.ok = true;
  if (offset >= end) return result;  // end of the medium
  std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - offset));
  std::array<std::byte, kSectorSize> sector;
  while (result.bytes < wanted) {
    std::uint64_t at = offset + result.bytes;
    auto lba = static_cast<Lba>(at / kSectorSize);
    auto within = static_cast<std::size_t>(at % kSectorSize);
    SectorRead read = ReadSector(lba, sector, std::nullopt);
    if (read.status != SectorStatus::kRead) {
      if (result.bytes == 0) return Failure(read.status == SectorStatus::kGone ? ENODEV : EIO);
      break;
    }
    if (read.bytes > within) {
      std::size_t count = std::min<std::size_t>(read.bytes - within, wanted - result.bytes);
      std::memcpy(buffer.data() + result.bytes, sector.data() + within, count);
      result.bytes += count;
    }
    if (read.bytes < kSectorSize) break;  // a short sector ends the read
  }
  return result;
}

std::optional<std::uint64_t> EmulatedDrive::Size() const {
  if (!disc_) return std::nullopt;
  return static_cast<std::uint64_t>(layout_.leadOut()) * kSectorSize;
}

std::optional<Toc> EmulatedDrive::ReadToc() {
  log_->Record({.kind = RecordedCommand::Kind::kReadToc});
  if (!disc_ || gone_) return std::nullopt;
  const std::vector<Session>& sessions = layout_.sessions();
  Toc toc;
  toc.firstTrack = sessions.front().trackNumber;
  toc.lastTrack = sessions.back().trackNumber;
  for (const Session& session : sessions) {
    toc.entries.push_back(EntryAt(session.trackNumber, session.startFrames));
  }
  toc.entries.push_back(EntryAt(kLeadOutTrack, layout_.leadOut() + kLeadInFrames));
  return toc;
}

DriveStatus EmulatedDrive::Status() const {
  if (gone_) return DriveStatus::kGone;
  return disc_ ? DriveStatus::kReady : DriveStatus::kNoDisc;
}

bool EmulatedDrive::SetMediumRemoval(bool prevent) {
  log_->Record({.kind = RecordedCommand::Kind::kTrayLock, .prevent = prevent});
  if (gone_) return false;
  trayLocked_ = prevent;
  return true;
}

ScsiResult EmulatedDrive::Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn) {
  Answer answer = Run(cdb, dataIn);
  log_->Record({.kind = RecordedCommand::Kind::kCdb,
                .length = dataIn.size(),
                .cdb = {cdb.begin(), cdb.end()},
                .accepted = !answer.malformed});
  return answer.result;
}

ScsiResult EmulatedDrive::ExecuteOut(std::span<const std::uint8_t> cdb,
                                     std::span<const std::byte> dataOut) {
  Answer answer;
  DecodedCdb decoded = DecodeCdb(cdb, 0);
  if (gone_) {
    answer = {NotCarried(ENODEV)};
  } else if (const auto* rejection = std::get_if<CdbRejection>(&decoded)) {
    answer = {CheckCondition(*rejection), true};
  } else if (const auto* select = std::get_if<ModeSelectRequest>(&decoded)) {
    answer = ModeSelect(*select, dataOut);
  } else {
    // Only MODE SELECT carries data to the drive.
    answer = {CheckCondition(kInvalidFieldInCdb), true};
  }
  std::vector<std::uint8_t> bytes(dataOut.size());
  std::transform(dataOut.begin(), dataOut.end(), bytes.begin(),
                 [](std::byte b) { return static_cast<std::uint8_t>(b); });
  log_->Record({.kind = RecordedCommand::Kind::kCdb,
                .length = dataOut.size(),
                .cdb = {cdb.begin(), cdb.end()},
                .dataOut = std::move(bytes),
                .accepted = !answer.malformed});
  return answer.result;
}

EmulatedDrive::Answer EmulatedDrive::ModeSense(const ModeSenseRequest& request,
                                               std::span<std::byte> dataIn) {
  if (request.page != disc::kErrorRecoveryPage) return {CheckCondition(kInvalidFieldInCdb)};
  // The mode parameter header (no block descriptor), then the page.
  std::vector<std::uint8_t> answer(disc::kModeHeader10Size + errorRecoveryPage_.size(), 0);
  const std::size_t dataLength = answer.size() - 2;
  answer[0] = static_cast<std::uint8_t>(dataLength >> 8);
  answer[1] = static_cast<std::uint8_t>(dataLength);
  std::copy(errorRecoveryPage_.begin(), errorRecoveryPage_.end(),
            answer.begin() + disc::kModeHeader10Size);
  const std::size_t count = std::min({answer.size(), request.allocationLength, dataIn.size()});
  std::memcpy(dataIn.data(), answer.data(), count);
  return {Good(count)};
}

EmulatedDrive::Answer EmulatedDrive::ModeSelect(const ModeSelectRequest& request,
                                                std::span<const std::byte> dataOut) {
  constexpr disc::SenseCode kInvalidFieldInParameterList{disc::kSenseIllegalRequest, 0x26, 0x00};
  const auto u8 = [&](std::size_t at) { return static_cast<std::uint8_t>(dataOut[at]); };
  const std::size_t pageAt = disc::kModeHeader10Size;
  if (request.parameterLength != dataOut.size() ||
      dataOut.size() != pageAt + errorRecoveryPage_.size()) {
    return {CheckCondition(kInvalidFieldInParameterList), true};
  }
  // The mode data length is reserved in MODE SELECT; no block descriptors; the
  // page as the drive knows it, its PS bit clear.
  if (u8(0) != 0 || u8(1) != 0 || u8(6) != 0 || u8(7) != 0 ||
      u8(pageAt) != disc::kErrorRecoveryPage || u8(pageAt + 1) != errorRecoveryPage_[1]) {
    return {CheckCondition(kInvalidFieldInParameterList), true};
  }
  for (std::size_t i = 2; i < errorRecoveryPage_.size(); ++i) errorRecoveryPage_[i] = u8(pageAt + i);
  return {Good(0)};
}

EmulatedDrive::Answer EmulatedDrive::Run(std::span<const std::uint8_t> cdb,
                                         std::span<std::byte> dataIn) {
  DecodedCdb decoded = DecodeCdb(cdb, dataIn.size());
  if (gone_) return {NotCarried(ENODEV)};
  if (const auto* rejection = std::get_if<CdbRejection>(&decoded)) {
    return {CheckCondition(*rejection), true};
  }
  if (const auto* sense = std::get_if<ModeSenseRequest>(&decoded)) return ModeSense(*sense, dataIn);
  if (const auto* speed = std::get_if<SetCdSpeedRequest>(&decoded)) {
    readSpeed_ = speed->readSpeed;
    return {Good(0)};
  }
  // MODE SELECT needs its parameter list, which comes with data out.
  if (std::holds_alternative<ModeSelectRequest>(decoded)) {
    return {CheckCondition(kInvalidFieldInCdb), true};
  }
  if (const auto* inquiry = std::get_if<InquiryRequest>(&decoded)) {
    // A CD/DVD device with removable media, by the program's own name.
    static constexpr char kInquiryData[] = "\x05\x80\x05\x02\x1f\0\0\0ORVANE  EMULATED DRIVE  2.0 ";
    const std::size_t count =
        std::min({sizeof kInquiryData - 1, inquiry->allocationLength, dataIn.size()});
    std::memcpy(dataIn.data(), kInquiryData, count);
    return {Good(count)};
  }
  if (!disc_) return {CheckCondition(kMediumNotPresent)};
  if (const auto* readCd = std::get_if<ReadCdRequest>(&decoded)) {
    return {ReadBlocks(readCd->lba, readCd->count, readCd->mode2Form1, dataIn)};
  }
  if (const auto* read10 = std::get_if<Read10Request>(&decoded)) {
    return {ReadBlocks(read10->lba, read10->count, std::nullopt, dataIn)};
  }

  const auto& readToc = std::get<ReadFullTocRequest>(decoded);
  if (readToc.startSession > layout_.sessions().size()) {
    return {CheckCondition(kInvalidFieldInCdb), true};
  }
  // A drive that knows no full TOC refuses the format, not the command block.
  if (disc_->fullTocUnsupported) return {CheckCondition(kInvalidFieldInCdb)};
  std::vector<std::uint8_t> toc = BuildFullToc(layout_, disc_->tocStyle, readToc.startSession);
  std::size_t count = std::min({toc.size(), readToc.allocationLength, dataIn.size()});
  std::memcpy(dataIn.data(), toc.data(), count);
  return {Good(count)};
}

ScsiResult EmulatedDrive::ReadBlocks(Lba lba, std::uint32_t count, std::optional<bool> mode2Form1,
                                     std::span<std::byte> dataIn) {
  // The drive checks the whole range before it seeks.
  if (static_cast<std::uint64_t>(lba) + count > layout_.leadOut()) {
    return CheckCondition(kLbaOutOfRange);
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    std::span<std::byte> sector =
        dataIn.subspan(static_cast<std::size_t>(i) * kSectorSize, kSectorSize);
    SectorRead read = ReadSector(lba + i, sector, mode2Form1);
    switch (read.status) {
      case SectorStatus::kRead:
        if (read.bytes < kSectorSize) {
          return Good(static_cast<std::size_t>(i) * kSectorSize + read.bytes);
        }
        break;
      case SectorStatus::kMissing:
      case SectorStatus::kCheckCondition:
        return CheckCondition(kUnrecoveredReadError);
      case SectorStatus::kUnreadable:
        return NotCarried(EIO);
      case SectorStatus::kGone:
        return NotCarried(ENODEV);
      case SectorStatus::kWrongMode:
        return CheckCondition(kIllegalModeForTrack);
    }
  }
  return Good(static_cast<std::size_t>(count) * kSectorSize);
}

}  // namespace velmora::platform::emulated
