#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace softdrive {

// When a behaviour starts: at the Nth command the drive receives (counted from
// 1, whichever way it came: pass-through, a read of the device, a CD-ROM
// ioctl), or at the first command that reads sector lba.
struct Trigger {
  enum class Kind { kNever, kCommand, kSector };
  Kind kind = Kind::kNever;
  std::uint64_t value = 0;

  // True for command number `command` reading sectors [first, first + count).
  bool Fires(std::uint64_t command, std::uint64_t first, std::uint64_t count) const;
};

// What the software drive holds and how it misbehaves, as its script says.
//
// The script has one directive a line; '#' starts a comment:
//   device PATH               the path that behaves as the drive (required)
//   disc IMAGE                a .cd image with its track list, or a plain image
//   no-medium                 the drive holds no disc (NOT READY, 02/3A/00)
//   log FILE                  one line per command, open and close
//   identity VENDOR MODEL REV what INQUIRY answers ('_' stands for a space)
//   xa                        the data tracks are Mode 2 Form 1 (CD-ROM XA)
//   session-end N LBA         where session N ends (default: 11400 blocks before
//                             the next session for the first, 6900 for the
//                             later ones, the image's end for the last)
//   not-ready N               the first N commands that need the disc answer
//                             NOT READY, becoming ready (02/04/01)
//   change-disc IMAGE TRIGGER the disc is swapped for IMAGE: that command
//                             answers UNIT ATTENTION, medium changed (06/28/00)
//   medium-error SECTORS      MEDIUM ERROR, L-EC uncorrectable (03/11/05)
//   time-out SECTORS          the command times out (host status DID_TIME_OUT);
//                             the reset that follows is a UNIT ATTENTION
//                             (06/29/00) for the next command
//   short LBA BYTES           only BYTES of sector LBA come, with a residual
//   refuse-read-cd            READ CD is an invalid opcode (05/20/00)
//   gone TRIGGER              the drive leaves the bus: from that command on
//                             every ioctl fails with ENODEV, every read with EIO
//   hold TRIGGER              that command waits until the file LOG.release
//                             exists (LOG being the log's path)
//   read-only-access          the user may open the drive for reading only
//   privileged                the process may unlock a tray that other handles
//                             hold open (as with CAP_SYS_ADMIN)
//   faults FILE               a fault map of the emulated drive: 'LBA
//                             unreadable' and 'LBA check' are medium errors,
//                             'LBA short BYTES' short sectors, 'LBA gone' gone;
//                             'LBA slow MS' is ignored (this drive keeps no clock)
// SECTORS is LBA or FIRST-LAST; TRIGGER is 'command N' or 'sector LBA'.
struct DriveScript {
  std::string device;
  std::string disc;
  std::string log;
  std::string vendor = "VELMORA";
  std::string model = "SOFTWARE DRIVE";
  std::string revision = "1.00";
  bool xa = false;
  bool readOnlyAccess = false;
  bool privileged = false;
  bool refuseReadCd = false;
  std::uint32_t notReadyCommands = 0;
  std::map<unsigned, std::uint32_t> sessionEnds;
  std::string secondDisc;
  Trigger change;
  Trigger gone;
  Trigger hold;
  std::set<std::uint32_t> mediumErrors;
  std::set<std::uint32_t> timeOuts;
  std::map<std::uint32_t, std::uint32_t> shortSectors;

  // The script in file path; nothing, with error set, when a line is not
  // understood.
  static std::optional<DriveScript> Load(const std::string& path, std::string& error);
};

}  // namespace softdrive
