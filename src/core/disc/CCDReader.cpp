#include "disc/CCDReader.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "media/MmcCommands.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

constexpr int kFileReadAttempts = 3;
constexpr std::size_t kBufferAlignment = 4096;

// A zero-filled data buffer on a page boundary, fresh for every command: drives
// and host adapters may demand aligned buffers for direct transfers.
class AlignedBuffer {
 public:
  explicit AlignedBuffer(std::size_t size)
      : size_(size),
        data_(static_cast<std::byte*>(std::aligned_alloc(
            kBufferAlignment, (size + kBufferAlignment - 1) / kBufferAlignment * kBufferAlignment))) {
    if (data_) std::memset(data_.get(), 0, size_);
  }
  bool valid() const { return data_ != nullptr; }
  std::span<std::byte> span() { return {data_.get(), size_}; }

 private:
  struct Free {
    void operator()(std::byte* p) const { std::free(p); }
  };
  std::size_t size_;
  std::unique_ptr<std::byte, Free> data_;
};

std::uint32_t FramesOf(std::uint32_t a0, std::uint32_t m, std::uint32_t s, std::uint32_t f) {
  return ((a0 * 60 + m) * 60 + s) * 75 + f;
}

std::uint32_t WantedBytes(std::uint32_t count, std::uint32_t byteLength, bool byteMode) {
  return byteMode ? byteLength : count * kSectorSize;
}

}  // namespace

CCDReader::CCDReader(platform::Machine& machine) : machine_(machine) {}

CCDReader::~CCDReader() { CloseDiscReader(); }

bool CCDReader::OpenSelectedDrive(Prompts& prompts, AppState& state) {
  multiTrack_ = false;
  tracks_.clear();
  xaTracks_.clear();
  drivePaths_ = machine_.OpticalDrives();  // every drive the machine has
  if (drivePaths_.size() > 1) {
    if (auto choice = prompts.SelectDrive(drivePaths_)) {
      state.driveChoice = static_cast<std::uint8_t>(*choice);
    }
  }
  selectedDrive_ = state.driveChoice;
  if (selectedDrive_ >= drivePaths_.size()) selectedDrive_ = 0;
  if (drivePaths_.empty()) {
    CloseFile();
    lastOpenError_ = {0, "no optical drive found"};
    return false;
  }
  return OpenDevicePath(drivePaths_[selectedDrive_]);
}

bool CCDReader::OpenDevicePath(const std::string& path) {
  ClosePassThrough();
  imageOpen_ = false;
  imageSectors_.reset();
  foundSessions_.reset();
  ForgetMedium();
  readCdRefused_ = false;
  if (!OpenFileHandle(path)) {
    multiTrack_ = false;
    tracks_.clear();
    return false;
  }
  TakeUpDisc();
  ForgetToc();
  // A drive that is spinning its disc up, or holds none, tells its TOC once
  // the process has waited for it.
  const platform::DriveStatus status = file_->Status();
  if (status != platform::DriveStatus::kBecomingReady && status != platform::DriveStatus::kNoDisc &&
      status != platform::DriveStatus::kTrayOpen) {
    ApplyToc();
  }
  return true;
}

bool CCDReader::OpenFileHandle(const std::string& path) {
  CloseFile();
  openPath_ = path;
  lastOpenError_ = {};
  file_ = machine_.OpenDevice(path, lastOpenError_);
  return file_ != nullptr;
}

bool CCDReader::ReopenSelectedDrive() {
  imageOpen_ = false;
  foundSessions_.reset();
  multiTrack_ = false;
  tracks_.clear();
  xaTracks_.clear();
  std::string path = SelectedDrivePath();
  if (path.empty()) {
    CloseFile();
    return false;
  }
  return OpenDevicePath(path);
}

void CCDReader::UseImage(std::unique_ptr<platform::DeviceFile> image, bool multiTrack,
                         std::uint8_t lastTrack, std::vector<TrackNode> tracks,
                         std::optional<Lba> sectors) {
  ClosePassThrough();
  // The image takes the drive's place: the drive need not stay locked.
  if (trayLocked_) SetTrayLock(false);
  file_ = std::move(image);
  imageOpen_ = true;
  imageSectors_ = sectors;
  mediumLoss_ = MediumLoss::kNone;
  toldFailures_.clear();
  foundSessions_.reset();
  ForgetMedium();
  multiTrack_ = multiTrack;
  lastTrack_ = multiTrack ? lastTrack : 0;
  tracks_ = multiTrack ? std::move(tracks) : std::vector<TrackNode>{};
  xaTracks_.assign(tracks_.size(), false);
  currentTrack_ = 0;
  tocLeadOut_ = 0;
  discEnd_ = tracks_.empty() ? 0 : tracks_.back().end;
}

void CCDReader::RereadToc() {
  TakeUpDisc();
  ForgetToc();
  ApplyToc();
}

void CCDReader::TakeUpDisc() {
  mediumLoss_ = MediumLoss::kNone;
  toldFailures_.clear();
  // A change before now is the disc being taken up: it must not end the
  // first read that fails.
  if (file_ && !imageOpen_) file_->MediumChanged();
}

void CCDReader::ForgetToc() {
  multiTrack_ = false;
  lastTrack_ = 0;
  tracks_.clear();
  xaTracks_.clear();
  currentTrack_ = 0;
  tocLeadOut_ = 0;
  discEnd_ = 0;
  // Another disc may be in the drive.
  failed_.Clear();
  // The next pass-through read learns the session ends of this disc.
  fullTocPending_ = true;
}

void CCDReader::ApplyToc() {
  if (!file_) return;
  std::optional<platform::Toc> toc = file_->ReadToc();
  if (!toc || toc->lastTrack < toc->firstTrack) return;
  std::size_t trackCount = static_cast<std::size_t>(toc->lastTrack - toc->firstTrack) + 1;
  // The lead-out entry follows the last track.
  if (toc->entries.size() > trackCount) {
    const platform::TocEntry& leadOut = toc->entries[trackCount];
    tocLeadOut_ = FramesOf(leadOut.reserved, leadOut.minute, leadOut.second, leadOut.frame);
  }
  if (toc->firstTrack == toc->lastTrack) return;  // a single-track disc has no track list
  if (toc->entries.size() <= trackCount) return;
  multiTrack_ = true;
  lastTrack_ = toc->lastTrack;
  for (std::size_t e = 0; e < trackCount; ++e) {
    const platform::TocEntry& entry = toc->entries[e];
    tracks_.push_back(
        TrackNode{entry.trackNumber, FramesOf(entry.reserved, entry.minute, entry.second, entry.frame), 0});
  }
  tracks_.back().end = tocLeadOut_;
  discEnd_ = tocLeadOut_;
  xaTracks_.assign(tracks_.size(), false);
}

Reader CCDReader::ChooseReader() const {
  if (!multiTrack_ || imageOpen_) return Reader::kFile;
  return Reader::kDisc;
}

bool CCDReader::ReadSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                            std::uint32_t& bytesRead, std::uint32_t byteLength, bool byteMode) {
  if (ChooseReader() == Reader::kFile) {
    return ReadFileSectors(lba, count, buffer, bytesRead, byteLength, byteMode);
  }
  return ReadDiscSectors(lba, count, buffer, bytesRead, byteLength, byteMode);
}

bool CCDReader::ReadFileSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                                std::uint32_t& bytesRead, std::uint32_t byteLength, bool byteMode) {
  if (tap_) return ReadThroughTap(lba, count, buffer, bytesRead, byteLength, byteMode);
  bytesRead = 0;
  std::uint32_t wanted = WantedBytes(count, byteLength, byteMode);
  assert(buffer.size() >= wanted);
  if (!file_ || mediumLoss_ != MediumLoss::kNone) return false;
  const std::uint64_t offset = static_cast<std::uint64_t>(lba) * kSectorSize;
  if (imageOpen_ && imageSectors_) {
    // Past the image's last sector lies its trailer: a read there finds the end
    // of the medium, as it would on the disc.
    const std::uint64_t end = std::uint64_t{*imageSectors_} * kSectorSize;
    if (offset >= end) return true;
    wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, end - offset));
  }
  const std::uint32_t usable = UsableBytes(lba, wanted);
  if (usable == 0 && wanted > 0) return false;
  const bool ok = imageOpen_ ? ReadFileAt(offset, buffer.first(usable), bytesRead)
                             : ReadDriveAsFile(lba, offset, buffer.first(usable), bytesRead);
  if (!ok && usable <= kSectorSize) failed_.Insert(lba);
  return ok;
}

std::uint32_t CCDReader::UsableBytes(Lba lba, std::uint32_t wanted) const {
  if (wanted == 0) return 0;
  std::uint64_t usable = wanted;
  if (!failed_.empty()) {
    const std::uint64_t end = std::uint64_t{lba} + (wanted + kSectorSize - 1) / kSectorSize;
    const Lba bad = failed_.FirstIn(lba, static_cast<Lba>(std::min<std::uint64_t>(end, 0xFFFFFFFF)));
    usable = std::min<std::uint64_t>(usable, std::uint64_t{bad - lba} * kSectorSize);
  }
  if (imageMap_) {
    const std::uint64_t begin = std::uint64_t{lba} * kSectorSize;
    usable = imageMap_->FirstNotIn(begin, begin + usable, AreaStatus::kFinished) - begin;
  }
  return static_cast<std::uint32_t>(usable);
}

void CCDReader::ForgetMedium() {
  failed_.Clear();
  imageMap_.reset();
}

bool CCDReader::ReadDriveAsFile(Lba lba, std::uint64_t offset, std::span<std::byte> buffer,
                                std::uint32_t& bytesRead) {
  // A drive is asked once: its own retries of a bad sector take long, and
  // reading it again at once only wears the disc.
  const platform::IoResult result = file_->ReadAt(offset, buffer);
  bytesRead = static_cast<std::uint32_t>(result.bytes);
  if (result.ok) return true;
  if (!DiscStillThere(result.error)) return false;
  ReadFailure failure;
  // The system's read says only "I/O error": a single sector is asked of the
  // drive once more through pass-through, which tells why it does not read,
  // and may yet deliver it.
  if (buffer.size() <= kSectorSize && OpenPassThroughHandle()) {
    AlignedBuffer sector(kSectorSize);
    std::size_t transferred = 0;
    if (!sector.valid()) return false;
    if (PassThroughRead(lba, 1, sector.span(), false, 0, transferred, failure)) {
      bytesRead = static_cast<std::uint32_t>(std::min(buffer.size(), transferred));
      std::memcpy(buffer.data(), sector.span().data(), bytesRead);
      return true;
    }
  }
  TellFailure(lba, static_cast<std::uint32_t>((buffer.size() + kSectorSize - 1) / kSectorSize), failure);
  return false;
}

bool CCDReader::DiscStillThere(int error) {
  if (error == ENODEV || error == ENXIO) {
    LoseMedium(MediumLoss::kGone);
    return false;
  }
  switch (file_->Status()) {
    case platform::DriveStatus::kGone:
      LoseMedium(MediumLoss::kGone);
      return false;
    case platform::DriveStatus::kNoDisc:
    case platform::DriveStatus::kTrayOpen:
      LoseMedium(MediumLoss::kNoDisc);
      return false;
    default:
      break;
  }
  if (file_->MediumChanged()) {
    LoseMedium(MediumLoss::kChanged);
    return false;
  }
  return true;
}

void CCDReader::LoseMedium(MediumLoss loss) {
  if (mediumLoss_ != MediumLoss::kNone) return;
  mediumLoss_ = loss;
  if (listener_) listener_->MediumLost(loss);
}

void CCDReader::TellFailure(Lba lba, std::uint32_t k, const ReadFailure& failure) {
  // The drive's own account only: the system's "I/O error" adds nothing to a
  // sector the process already names as unreadable.
  if (mediumLoss_ != MediumLoss::kNone || !listener_ || (!failure.sense && !failure.timedOut)) return;
  std::optional<Lba> at = failure.at;
  if (!at && k == 1) at = lba;
  if (!at || !toldFailures_.insert(*at).second) return;
  listener_->SectorFailed(*at, failure.sense ? SenseReason(*failure.sense)
                                             : text::LoadText(text::kDriveTimeOut));
}

bool CCDReader::ReadFileAt(std::uint64_t offset, std::span<std::byte> buffer, std::uint32_t& bytesRead) {
  platform::IoResult result;
  for (int attempt = 0; attempt < kFileReadAttempts; ++attempt) {
    result = file_->ReadAt(offset, buffer);
    if (result.ok) break;
  }
  bytesRead = static_cast<std::uint32_t>(result.bytes);
  return result.ok;
}

bool CCDReader::ReadFileBlock(std::uint64_t offset, std::uint32_t length, int mode,
                              std::span<std::byte> buffer, std::uint32_t& bytesRead) {
  bytesRead = 0;
  assert(buffer.size() >= length);
  if (!file_) return false;
  if (mode != 1) {
    std::optional<std::uint64_t> size = file_->Size();
    if (!size || *size < kSectorSize) return false;
    offset = *size - kSectorSize;
  }
  return ReadFileAt(offset, buffer.first(length), bytesRead);
}

bool CCDReader::ReadDiscSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                                std::uint32_t& bytesRead, std::uint32_t byteLength, bool byteMode) {
  if (tap_) return ReadThroughTap(lba, count, buffer, bytesRead, byteLength, byteMode);
  bytesRead = 0;
  if (mediumLoss_ != MediumLoss::kNone || !PreparePassThrough()) return false;
  if (byteMode) count = (byteLength + kSectorSize - 1) / kSectorSize;
  std::uint32_t wanted = WantedBytes(count, byteLength, byteMode);
  assert(buffer.size() >= wanted);
  // A failed sector ends the read before it, as a short sector does.
  if (const std::uint32_t usable = UsableBytes(lba, wanted); usable < wanted) {
    if (usable < kSectorSize) return false;
    count = usable / kSectorSize;
    wanted = count * kSectorSize;
  }

  // Commands of at most four sectors; the chunks are gathered and delivered only
  // when every command came back GOOD. A command that transfers less than it
  // asked for ends the read: what came before the short sector is delivered.
  std::vector<std::byte> gathered;
  if (count > kMaxSectorsPerReadCd) gathered.reserve(static_cast<std::size_t>(count) * kSectorSize);
  std::uint32_t remaining = count;
  Lba at = lba;
  while (remaining > 0) {
    std::uint32_t k = std::min(remaining, kMaxSectorsPerReadCd);
    AlignedBuffer chunk(static_cast<std::size_t>(k) * kSectorSize);
    if (!chunk.valid()) return false;
    std::size_t transferred = 0;
    if (!ReadCdChunk(at, k, chunk.span(), transferred)) {
      // Nothing is copied and bytesRead stays 0; a sector read alone that
      // fails is not asked for again.
      if (count == 1) failed_.Insert(at);
      return false;
    }
    remaining -= k;
    const bool whole = transferred == chunk.span().size();
    if (count <= kMaxSectorsPerReadCd) {
      bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, transferred));
      std::memcpy(buffer.data(), chunk.span().data(), bytesRead);
      return true;
    }
    gathered.insert(gathered.end(), chunk.span().begin(),
                    chunk.span().begin() + static_cast<std::ptrdiff_t>(transferred));
    if (!whole) break;
    at += k;
  }
  bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, gathered.size()));
  std::memcpy(buffer.data(), gathered.data(), bytesRead);
  return true;
}

bool CCDReader::ReadForRescue(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                              std::uint32_t& bytesRead) {
  bytesRead = 0;
  std::uint32_t wanted = count * kSectorSize;
  assert(buffer.size() >= wanted);
  bool ok = false;
  if (ChooseReader() == Reader::kFile) {
    if (!file_) return false;
    const std::uint64_t offset = static_cast<std::uint64_t>(lba) * kSectorSize;
    if (imageOpen_ && imageSectors_) {
      const std::uint64_t end = std::uint64_t{*imageSectors_} * kSectorSize;
      if (offset >= end) return true;
      wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, end - offset));
    }
    if (imageMap_) {
      wanted = static_cast<std::uint32_t>(
          imageMap_->FirstNotIn(offset, offset + wanted, AreaStatus::kFinished) - offset);
      if (wanted == 0) return false;
    }
    const platform::IoResult result = file_->ReadAt(offset, buffer.first(wanted));
    bytesRead = static_cast<std::uint32_t>(result.bytes);
    ok = result.ok;
  } else {
    if (!PreparePassThrough()) return false;
    // Command by command: a command that fails ends the read after what the
    // ones before it delivered.
    Lba at = lba;
    while (at < lba + count) {
      const std::uint32_t k = std::min(lba + count - at, kMaxSectorsPerReadCd);
      AlignedBuffer chunk(static_cast<std::size_t>(k) * kSectorSize);
      if (!chunk.valid()) break;
      std::size_t transferred = 0;
      if (!ReadCdChunk(at, k, chunk.span(), transferred)) break;
      std::memcpy(buffer.data() + bytesRead, chunk.span().data(), transferred);
      bytesRead += static_cast<std::uint32_t>(transferred);
      if (transferred < chunk.span().size()) break;
      at += k;
    }
    ok = bytesRead > 0 || count == 0;
  }
  if (!ok && count == 1) failed_.Insert(lba);
  return ok;
}

bool CCDReader::ReadThroughTap(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                               std::uint32_t& bytesRead, std::uint32_t byteLength,
                               bool byteMode) {
  bytesRead = 0;
  const std::uint32_t wanted = WantedBytes(count, byteLength, byteMode);
  assert(buffer.size() >= wanted);
  const std::uint32_t sectors = (wanted + kSectorSize - 1) / kSectorSize;
  // Whole sectors, as the tap holds them; the caller gets the bytes it asked for.
  std::vector<std::byte> whole(static_cast<std::size_t>(sectors) * kSectorSize, kUnreadByte);
  std::size_t got = 0;
  bool failed = false;
  Lba at = lba;
  const Lba end = lba + sectors;
  while (at < end) {
    Lba runEnd = at + 1;
    const ReadTap::Known known = tap_->Lookup(at, end, runEnd);
    const std::uint32_t n = runEnd - at;
    std::span<std::byte> into(whole.data() + got, static_cast<std::size_t>(n) * kSectorSize);
    if (known == ReadTap::Known::kHeld) {
      if (!tap_->CopyHeld(at, n, into)) {
        failed = true;
        break;
      }
      got += into.size();
      at = runEnd;
      continue;
    }
    if (known == ReadTap::Known::kBad) {
      failed = true;
      break;
    }
    std::uint32_t delivered = 0;
    const bool ok = ReadForRescue(at, n, into, delivered);
    tap_->Took(at, n, ok, into.first(ok ? delivered : 0));
    if (!ok) {
      failed = true;
      break;
    }
    got += delivered;
    if (delivered < into.size()) break;  // a short sector, or the medium's end
    at = runEnd;
  }
  bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(got, wanted));
  std::memcpy(buffer.data(), whole.data(), bytesRead);
  return bytesRead > 0 || !failed;
}

platform::ScsiResult CCDReader::SendCommand(std::span<const std::uint8_t> cdb,
                                            std::span<std::byte> dataIn) {
  if (!PreparePassThrough()) return {};
  return passThrough_->Execute(cdb, dataIn, kModeTimeout);
}

platform::ScsiResult CCDReader::SendCommandOut(std::span<const std::uint8_t> cdb,
                                               std::span<const std::byte> dataOut) {
  if (!PreparePassThrough()) return {};
  return passThrough_->ExecuteOut(cdb, dataOut, kModeTimeout);
}

bool CCDReader::OpenPassThroughHandle() {
  if (passThrough_) return true;
  std::string path = openPath_.empty() ? SelectedDrivePath() : openPath_;
  if (path.empty()) return false;
  passThrough_ = machine_.OpenPassThrough(path, lastOpenError_);
  return passThrough_ != nullptr;
}

bool CCDReader::PreparePassThrough() {
  if (!OpenPassThroughHandle()) return false;
  if (fullTocPending_) {
    fullTocPending_ = false;
    RunFullTocPass();
  }
  return true;
}

bool CCDReader::ReadCdChunk(Lba lba, std::uint32_t k, std::span<std::byte> chunk,
                            std::size_t& transferred) {
  std::size_t track = TrackIndexOf(lba);
  bool xa = track < xaTracks_.size() && xaTracks_[track];
  ReadFailure failure;
  if (PassThroughRead(lba, k, chunk, true, xa ? kSectorTypeMode2Form1 : kSectorTypeMode1,
                      transferred, failure)) {
    return true;
  }
  // Sessions of a multi-session CD-R are usually Mode 2 Form 1, which a drive
  // refuses as Mode 1: ask again for that type and keep it for the track.
  const bool wrongMode = failure.sense && failure.sense->key == kSenseIllegalRequest &&
                         failure.sense->asc == kAscIllegalModeForTrack;
  if (xa || !wrongMode || mediumLoss_ != MediumLoss::kNone) {
    TellFailure(lba, k, failure);
    return false;
  }
  std::fill(chunk.begin(), chunk.end(), std::byte{0});
  if (!PassThroughRead(lba, k, chunk, true, kSectorTypeMode2Form1, transferred, failure)) {
    TellFailure(lba, k, failure);
    return false;
  }
  if (track < xaTracks_.size()) xaTracks_[track] = true;
  return true;
}

bool CCDReader::PassThroughRead(Lba lba, std::uint32_t k, std::span<std::byte> chunk, bool readCd,
                                std::uint8_t sectorType, std::size_t& transferred,
                                ReadFailure& failure) {
  transferred = 0;
  failure = {};
  bool askedAgain = false;
  for (;;) {
    const bool useReadCd = readCd && !readCdRefused_;
    platform::ScsiResult result;
    if (useReadCd) {
      result = passThrough_->Execute(BuildReadCd(lba, k, sectorType), chunk, kReadCdTimeout);
    } else {
      result = passThrough_->Execute(BuildRead10(lba, k), chunk, kReadCdTimeout);
    }
    if (!result.delivered) {
      if (result.error == ENODEV || result.error == ENXIO) LoseMedium(MediumLoss::kGone);
      failure.timedOut = result.timedOut;
      return false;
    }
    if (result.status == platform::kScsiStatusGood) {
      // The drive's transfer count, not the buffer's size: past it is buffer fill.
      transferred = std::min(result.bytesTransferred, chunk.size());
      return true;
    }
    const std::span<const std::uint8_t> senseBytes(result.sense.data(), result.senseLength);
    const SenseCode sense = ParseSense(senseBytes);
    failure.sense = sense;
    failure.at = SenseInformation(senseBytes);
    if (sense.key == kSenseUnitAttention && sense.asc == kAscMediumChanged) {
      LoseMedium(MediumLoss::kChanged);
      return false;
    }
    if (sense.key == kSenseNotReady && sense.asc == kAscMediumNotPresent) {
      LoseMedium(MediumLoss::kNoDisc);
      return false;
    }
    std::fill(chunk.begin(), chunk.end(), std::byte{0});
    // Any other UNIT ATTENTION (the reset after a time-out, say) is news of
    // the drive, not an answer about the sectors: they are asked for again.
    if (sense.key == kSenseUnitAttention && !askedAgain) {
      askedAgain = true;
      continue;
    }
    // A drive without READ CD still reads the user data with READ(10).
    if (useReadCd && sense.key == kSenseIllegalRequest && sense.asc == kAscInvalidOpcode) {
      readCdRefused_ = true;
      if (listener_) listener_->ReadCdRefused();
      continue;
    }
    return false;
  }
}

std::size_t CCDReader::TrackIndexOf(Lba lba) const {
  std::size_t index = 0;
  for (std::size_t i = 0; i < tracks_.size(); ++i) {
    if (TrackLba(tracks_[i]) <= lba) index = i;
  }
  return index;
}

void CCDReader::RunFullTocPass() {
  ++fullTocPasses_;
  AlignedBuffer response(kFullTocBufferSize);
  if (!response.valid()) return;
  auto cdb = BuildReadFullToc();
  platform::ScsiResult result = passThrough_->Execute(cdb, response.span(), kReadTocTimeout);
  if (!result.delivered || result.status != platform::kScsiStatusGood) return;  // silent
  std::span<const std::byte> bytes = response.span();
  std::size_t dataLength = (static_cast<std::size_t>(bytes[0]) << 8 | static_cast<std::size_t>(bytes[1])) + 2;
  std::size_t end = std::min({dataLength, result.bytesTransferred, bytes.size()});

  // Each descriptor is read by its session byte and POINT: the tracks of a
  // session are its POINTs 1-99, its lead-out start is POINT A2.
  std::map<std::uint8_t, std::uint32_t> sessionEnd;
  std::map<std::uint8_t, std::uint8_t> sessionLastTrack;
  auto u8 = [&](std::size_t at) { return static_cast<std::uint32_t>(bytes[at]); };
  for (std::size_t at = 4; at + 11 <= end; at += 11) {
    auto session = static_cast<std::uint8_t>(u8(at));
    std::uint32_t adr = u8(at + 1) >> 4;
    std::uint32_t point = u8(at + 3);
    if (adr != 1) continue;
    if (point == 0xA2) {
      std::uint32_t frames = FramesOf(u8(at + 7), u8(at + 8), u8(at + 9), u8(at + 10));
      sessionEnd[session] = frames >= kLeadInFrames ? frames - kLeadInFrames : 0;
    } else if (point >= 1 && point <= 99) {
      auto& last = sessionLastTrack[session];
      last = std::max(last, static_cast<std::uint8_t>(point));
    }
  }
  for (const auto& [session, endLba] : sessionEnd) {
    auto last = sessionLastTrack.find(session);
    if (last == sessionLastTrack.end()) continue;
    for (TrackNode& node : tracks_) {
      if (node.trackNumber == last->second) node.end = endLba;
    }
  }
}

bool CCDReader::SetTrayLock(bool prevent) {
  if (!file_ || imageOpen_) return false;
  // Unless the user is privileged, the system refuses to unlock a tray while
  // another handle of the drive is open.
  if (!prevent) ClosePassThrough();
  bool ok = file_->SetMediumRemoval(prevent);
  trayLocked_ = prevent;
  return ok;
}

platform::DriveStatus CCDReader::DriveState() {
  if (!file_ || imageOpen_) return platform::DriveStatus::kUnknown;
  return file_->Status();
}

std::optional<DriveIdentity> CCDReader::InquireDrive() {
  if (!file_ || imageOpen_ || !OpenPassThroughHandle()) return std::nullopt;
  AlignedBuffer data(kInquiryLength);
  if (!data.valid()) return std::nullopt;
  const platform::ScsiResult result = passThrough_->Execute(BuildInquiry(), data.span(), kInquiryTimeout);
  if (!result.delivered || result.status != platform::kScsiStatusGood ||
      result.bytesTransferred < kInquiryLength) {
    return std::nullopt;
  }
  return ParseInquiry(data.span());
}

std::string CCDReader::SelectedDrivePath() const {
  return selectedDrive_ < drivePaths_.size() ? drivePaths_[selectedDrive_] : std::string();
}

std::uint64_t CCDReader::FileSize() const {
  if (!file_) return 0;
  return file_->Size().value_or(0);
}

Lba CCDReader::MediumSectors() const {
  if (imageOpen_ && imageSectors_) return *imageSectors_;
  if (!imageOpen_ && tocLeadOut_ > kLeadInFrames) return tocLeadOut_ - kLeadInFrames;
  // A file that ends inside a block still holds the start of that sector.
  return static_cast<Lba>((FileSize() + kSectorSize - 1) / kSectorSize);
}

void CCDReader::ClosePassThrough() { passThrough_.reset(); }

void CCDReader::CloseFile() {
  file_.reset();
  openPath_.clear();
}

void CCDReader::CloseDiscReader() {
  if (trayLocked_) SetTrayLock(false);
  trayLocked_ = false;
  CloseFile();
  ClosePassThrough();
  tracks_.clear();
  xaTracks_.clear();
  drivePaths_.clear();
  imageOpen_ = false;
  imageSectors_.reset();
  foundSessions_.reset();
  ForgetMedium();
}

}  // namespace velmora::disc
