#include "disc/DriveEvents.h"

#include <cstdio>

#include "text/StringTable.h"

namespace velmora::disc {
namespace {

std::uint16_t SenseKeyText(std::uint8_t key) {
  switch (key) {
    case 0x02: return text::kSenseNotReady;
    case 0x03: return text::kSenseMediumError;
    case 0x04: return text::kSenseHardwareError;
    case 0x05: return text::kSenseIllegalRequest;
    case 0x06: return text::kSenseUnitAttention;
    case 0x0B: return text::kSenseAbortedCommand;
    default: return text::kSenseLabel;
  }
}

// The additional sense codes a reading drive gives most; 0 for the others,
// which the codes in brackets still tell.
std::uint16_t AdditionalSenseText(std::uint8_t asc, std::uint8_t ascq) {
  switch (asc) {
    case 0x02: return text::kAscNoSeekComplete;
    case 0x04: return ascq == kAscqBecomingReady ? text::kAscBecomingReady : 0;
    case 0x11:
      return ascq == 0x05 ? text::kAscLecUncorrectable
             : ascq == 0x06 ? text::kAscCircUnrecovered
                            : text::kAscUnrecoveredReadError;
    case 0x20: return text::kAscInvalidOpcode;
    case 0x21: return text::kAscLbaOutOfRange;
    case 0x24: return text::kAscInvalidField;
    case 0x28: return text::kAscMediumChanged;
    case 0x29: return text::kAscReset;
    case 0x3A: return text::kAscMediumNotPresent;
    case 0x64: return text::kAscIllegalModeForTrack;
    default: return 0;
  }
}

}  // namespace

std::u16string SenseReason(SenseCode sense) {
  std::u16string reason = text::LoadText(SenseKeyText(sense.key));
  if (const std::uint16_t detail = AdditionalSenseText(sense.asc, sense.ascq); detail != 0) {
    reason += u": " + text::LoadText(detail);
  }
  char codes[16];
  std::snprintf(codes, sizeof codes, " (%02X/%02X/%02X)", sense.key, sense.asc, sense.ascq);
  return reason + std::u16string(codes, codes + std::char_traits<char>::length(codes));
}

int MediumLossError(MediumLoss loss) {
  switch (loss) {
    case MediumLoss::kNone: return 0;
    case MediumLoss::kChanged: return static_cast<int>(text::ErrorCode::kDiscChanged);
    case MediumLoss::kNoDisc: return static_cast<int>(text::ErrorCode::kNoDisc);
    case MediumLoss::kGone: return static_cast<int>(text::ErrorCode::kDriveGone);
  }
  return 0;
}

}  // namespace velmora::disc
