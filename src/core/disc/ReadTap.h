#pragma once

#include <cstdint>
#include <span>

#include "media/Sector.h"

namespace velmora::disc {

// What a rescue knows of the sectors of the medium. While the scan of its
// first pass reads the volume's descriptors, path tables and folders, every
// read goes through it: a sector the rescue holds is served from its copy and
// never read again, a sector it knows to fail is not asked for, and what the
// medium gives goes into the copy.
class ReadTap {
 public:
  enum class Known { kHeld, kBad, kUnknown };

  virtual ~ReadTap() = default;
  // What is known of sector lba; runEnd is set to the end of the sectors from
  // lba on, before limit, that are known the same way.
  virtual Known Lookup(Lba lba, Lba limit, Lba& runEnd) = 0;
  // Copies the held sectors [lba, lba + count) into buffer; false when the copy
  // cannot be read.
  virtual bool CopyHeld(Lba lba, std::uint32_t count, std::span<std::byte> buffer) = 0;
  // The medium's answer to a read of count sectors from lba: ok, with the
  // bytes delivered from lba on (fewer than asked when the read broke off).
  virtual void Took(Lba lba, std::uint32_t count, bool ok, std::span<const std::byte> delivered) = 0;
};

}  // namespace velmora::disc
