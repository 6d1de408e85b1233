#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "disc/DriveEvents.h"
#include "host/AppState.h"
#include "host/Prompts.h"
#include "disc/ReadTap.h"
#include "disc/SectorSet.h"
#include "media/FoundSessions.h"
#include "media/RescueMap.h"
#include "media/MmcCommands.h"
#include "media/Sector.h"
#include "media/TrackNode.h"
#include "platform/Machine.h"

namespace velmora::disc {

// Which of the two readers serves a read.
enum class Reader { kFile, kDisc };

// The disc reader's state: the machine's optical drives, the drive in use, its
// track list, and the two handles through which sectors are read: the drive (or
// an image) opened as a file, and the drive opened for command pass-through.
//
// Every read takes (lba, count, buffer, bytesRead, byteLength, byteMode): in
// byte mode byteLength bytes from the start of sector lba, else count whole
// sectors. buffer must hold what is asked for. Reads return true on success;
// bytesRead is what was delivered (0 on every failure of the disc reader).
//
// A sector of the current medium that failed a read of its own is not asked of
// the medium again until the medium changes (a drive opened, a disc's TOC read
// again, an image put in its place): a read that reaches it delivers what lies
// before it, and fails when it is the first sector asked for. A disc that points
// at one bad sector from many records thus costs one failed read, not one per
// record. An image read with its map (the file of its name with ".map" after it)
// delivers only bytes the map says were read: the others hold no data.
class CCDReader {
 public:
  explicit CCDReader(platform::Machine& machine);
  ~CCDReader();
  CCDReader(const CCDReader&) = delete;
  CCDReader& operator=(const CCDReader&) = delete;

  // Finds the optical drives, asks for one when there are several, opens it and
  // reads its TOC into the track list. Returns false when no drive could be
  // opened (lastOpenError() tells why).
  bool OpenSelectedDrive(Prompts& prompts, AppState& state);
  // Opens one device or file by path in place of the selected drive and reads its
  // TOC; a file that is not a drive reads as a single-track disc.
  bool OpenDevicePath(const std::string& path);
  // Reads the TOC of the open drive again (a new disc may be in it) and arms the
  // full-TOC pass for the next pass-through read.
  void RereadToc();
  // Reopens the selected drive in the file handle (after an image was used).
  bool ReopenSelectedDrive();
  // Puts an opened image file in place of the drive, with its track list, and
  // releases the drive's tray lock. sectors: how many sectors the image holds (a .cd image's last block is its
  // trailer, not a sector); nullopt: every block of the file.
  void UseImage(std::unique_ptr<platform::DeviceFile> image, bool multiTrack,
                std::uint8_t lastTrack, std::vector<TrackNode> tracks,
                std::optional<Lba> sectors = std::nullopt);

  bool ReadFileSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                       std::uint32_t& bytesRead, std::uint32_t byteLength = 0,
                       bool byteMode = false);
  bool ReadDiscSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                       std::uint32_t& bytesRead, std::uint32_t byteLength = 0,
                       bool byteMode = false);
  // Reads through the reader that the reader rule picks.
  bool ReadSectors(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                   std::uint32_t& bytesRead, std::uint32_t byteLength = 0, bool byteMode = false);
  // The reader rule: the file reader for a single-track disc or an open image,
  // the disc reader for a multi-track disc in a drive.
  Reader ChooseReader() const;

  // A rescue's read: count sectors from lba through the reader rule, tried
  // once (the rescue's passes do the retrying), whatever failed before; the
  // sectors before the first that fails are delivered. An image's map is
  // honoured as by every read.
  bool ReadForRescue(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                     std::uint32_t& bytesRead);
  // While set, every read goes through tap (ReadTap.h); nullptr ends that.
  void SetReadTap(ReadTap* tap) { tap_ = tap; }

  // Sends a command block to the drive through the pass-through handle, with
  // data in (dataIn may be empty) or with data out.
  platform::ScsiResult SendCommand(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn);
  platform::ScsiResult SendCommandOut(std::span<const std::uint8_t> cdb,
                                      std::span<const std::byte> dataOut);

  // Raw read for the image trailer: mode 1 reads at offset from the start of the
  // file, any other mode from 2048 bytes before its end.
  bool ReadFileBlock(std::uint64_t offset, std::uint32_t length, int mode,
                     std::span<std::byte> buffer, std::uint32_t& bytesRead);

  // Opens the drive for pass-through when it is not yet, and runs a pending
  // full-TOC pass, so that the session ends are known before the first read.
  // False when the drive cannot be opened that way.
  bool PreparePassThrough();

  // Releasing the tray first closes the pass-through handle: the system
  // refuses to unlock a tray that another handle of the drive holds open.
  bool SetTrayLock(bool prevent);
  void ClosePassThrough();
  void CloseFile();
  void CloseDiscReader();

  // Drive table.
  const std::vector<std::string>& drivePaths() const { return drivePaths_; }
  std::size_t driveCount() const { return drivePaths_.size(); }
  std::uint8_t selectedDrive() const { return selectedDrive_; }
  std::string SelectedDrivePath() const;
  // The device or file the file handle holds (empty when none).
  const std::string& openPath() const { return openPath_; }

  // Track list and disc geometry.
  bool multiTrack() const { return multiTrack_; }
  std::uint8_t lastTrack() const { return lastTrack_; }
  const std::vector<TrackNode>& tracks() const { return tracks_; }
  std::vector<TrackNode>& tracks() { return tracks_; }
  std::size_t currentTrack() const { return currentTrack_; }
  void SetCurrentTrack(std::size_t index) { currentTrack_ = index; }
  std::uint32_t discEnd() const { return discEnd_; }
  void SetDiscEnd(std::uint32_t end) { discEnd_ = end; }
  // The sessions of an open image without a track list, as its descriptor sets
  // gave them (its track list when there are several); nothing for a drive, a
  // .cd image, or an image with nothing to say about its sessions.
  const std::optional<FoundSessions>& foundSessions() const { return foundSessions_; }
  // Set after UseImage, which forgets the sessions of the image before.
  void SetFoundSessions(std::optional<FoundSessions> found) { foundSessions_ = std::move(found); }
  // The map of the open image, set after UseImage, which forgets the map of
  // the image before; nullptr: every block of the image is data.
  const std::shared_ptr<const RescueMap>& imageMap() const { return imageMap_; }
  void SetImageMap(std::shared_ptr<const RescueMap> map) { imageMap_ = std::move(map); }
  // The sectors of the current medium that failed a read of their own.
  const SectorSet& failedSectors() const { return failed_; }
  // Lead-out start in frames from the last TOC read; 0 when the TOC did not read.
  std::uint32_t tocLeadOut() const { return tocLeadOut_; }

  bool imageOpen() const { return imageOpen_; }
  bool trayLocked() const { return trayLocked_; }
  bool fileOpen() const { return file_ != nullptr; }
  // Size in bytes of what the file handle holds, when the OS can tell it.
  std::uint64_t FileSize() const;
  // The sectors of the medium: an open image's sectors, else the lead-out of
  // the TOC, else the blocks the file handle holds (a last one in part counts);
  // 0 when none of them is known.
  Lba MediumSectors() const;
  const platform::OpenError& lastOpenError() const { return lastOpenError_; }
  // Commands of the full-TOC pass sent since the reader was made.
  std::uint32_t fullTocPasses() const { return fullTocPasses_; }

  // The drive in use: what it says of its state; kUnknown for an image.
  platform::DriveStatus DriveState();
  // What the drive in use answers to INQUIRY; nothing for an image, or when
  // the drive does not answer.
  std::optional<DriveIdentity> InquireDrive();
  // Told of sectors that fail on the drive and of a medium that is lost;
  // nullptr stops the telling.
  void SetDriveListener(DriveListener* listener) { listener_ = listener; }
  // Set when the disc in the drive changed, went, or the drive left, while it
  // was read: every read fails from then on without reaching the drive, until
  // the TOC is read anew.
  MediumLoss mediumLoss() const { return mediumLoss_; }
  // The drive refused READ CD: sessions are read with READ(10).
  bool readCdRefused() const { return readCdRefused_; }

 private:
  bool OpenFileHandle(const std::string& path);
  // One read through the file handle, tried up to three times.
  bool ReadFileAt(std::uint64_t offset, std::span<std::byte> buffer, std::uint32_t& bytesRead);
  void ApplyToc();
  void RunFullTocPass();
  // One READ CD of k sectors into chunk; true when the drive answered GOOD, with
  // transferred the bytes it delivered (fewer than asked for at a short sector).
  bool ReadCdChunk(Lba lba, std::uint32_t k, std::span<std::byte> chunk, std::size_t& transferred);
  // One read command through the pass-through handle: READ CD of sectorType,
  // or READ(10) (readCd false, or a drive that refuses READ CD). A reset's
  // UNIT ATTENTION is asked again once; a changed, missing or gone disc is
  // lost. False, told to the listener, when the drive did not answer GOOD.
  struct ReadFailure {
    std::optional<SenseCode> sense;
    std::optional<Lba> at;  // the block the drive named
    bool timedOut = false;
  };
  bool PassThroughRead(Lba lba, std::uint32_t k, std::span<std::byte> chunk, bool readCd,
                       std::uint8_t sectorType, std::size_t& transferred, ReadFailure& failure);
  // Tells the listener why a read of k sectors from lba failed, when the
  // drive said why and the sector it failed at is known.
  void TellFailure(Lba lba, std::uint32_t k, const ReadFailure& failure);
  // The read of a drive as a file: once, then a single sector once more
  // through pass-through, which says why it does not read.
  bool ReadDriveAsFile(Lba lba, std::uint64_t offset, std::span<std::byte> buffer,
                       std::uint32_t& bytesRead);
  // After a read of the drive as a file failed: whether the disc or the drive
  // went (the medium is then lost); true when the disc is still there.
  bool DiscStillThere(int error);
  void LoseMedium(MediumLoss loss);
  // Forgets the loss and the sectors told of: a new disc is taken up.
  void TakeUpDisc();
  // Empties the track list and what came with the last TOC.
  void ForgetToc();
  bool OpenPassThroughHandle();
  std::size_t TrackIndexOf(Lba lba) const;
  // How many of the wanted bytes from sector lba on may be asked of the medium:
  // those before the first failed sector, and for an image with a map, before
  // the first byte the map does not give as read.
  std::uint32_t UsableBytes(Lba lba, std::uint32_t wanted) const;
  // The medium changed: nothing known of its sectors holds any longer.
  void ForgetMedium();
  // A read while a tap is set: held sectors from the tap's copy, the others
  // from the medium (once, handed to the tap), up to the first known to fail.
  bool ReadThroughTap(Lba lba, std::uint32_t count, std::span<std::byte> buffer,
                      std::uint32_t& bytesRead, std::uint32_t byteLength, bool byteMode);

  platform::Machine& machine_;
  std::vector<std::string> drivePaths_;
  std::uint8_t selectedDrive_ = 0;
  std::string openPath_;
  std::uint32_t discEnd_ = 0;
  std::uint32_t tocLeadOut_ = 0;
  bool multiTrack_ = false;
  std::uint8_t lastTrack_ = 0;
  std::vector<TrackNode> tracks_;
  std::size_t currentTrack_ = 0;
  // Tracks that refused Mode 1 and are read as Mode 2 Form 1 (CD-ROM XA).
  std::vector<bool> xaTracks_;
  bool trayLocked_ = false;
  bool imageOpen_ = false;
  std::optional<Lba> imageSectors_;
  std::optional<FoundSessions> foundSessions_;
  std::shared_ptr<const RescueMap> imageMap_;
  SectorSet failed_;
  ReadTap* tap_ = nullptr;
  bool fullTocPending_ = false;
  std::uint32_t fullTocPasses_ = 0;
  std::unique_ptr<platform::DeviceFile> file_;
  std::unique_ptr<platform::ScsiTransport> passThrough_;
  platform::OpenError lastOpenError_;
  DriveListener* listener_ = nullptr;
  MediumLoss mediumLoss_ = MediumLoss::kNone;
  bool readCdRefused_ = false;
  // Sectors of this disc whose failure was told.
  std::set<Lba> toldFailures_;
};

}  // namespace velmora::disc
