#pragma once

#include <string>
#include <string_view>

#include "media/MmcCommands.h"
#include "media/Sector.h"

namespace velmora::disc {

// What ended the reading of the disc in the drive.
enum class MediumLoss {
  kNone,
  kChanged,  // another disc is in the drive now
  kNoDisc,   // the disc was taken out
  kGone,     // the drive left the machine
};

// What the reader tells the process that reads a drive. Both are told as the
// read that met them returns.
class DriveListener {
 public:
  virtual ~DriveListener() = default;
  // Sector lba did not read; reason: the drive's answer in the user's words.
  // Told once per sector of a disc.
  virtual void SectorFailed(Lba lba, std::u16string_view reason) = 0;
  // From now on nothing is read from the drive until its disc is taken up
  // anew (a new TOC read): two discs never mix in one tree or image.
  virtual void MediumLost(MediumLoss loss) = 0;
  // The drive refused READ CD; its sessions are read with READ(10) from now on.
  virtual void ReadCdRefused() = 0;
};

// The sense a drive returned, in the user's words, with its codes:
// "Medium error: L-EC uncorrectable error (03/11/05)".
std::u16string SenseReason(SenseCode sense);

// The error-dialog code that tells the user of a lost medium.
int MediumLossError(MediumLoss loss);

}  // namespace velmora::disc
