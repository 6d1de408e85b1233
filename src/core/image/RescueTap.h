#pragma once

#include "disc/ReadTap.h"
#include "image/RescueCopier.h"
#include "image/RescueImageFile.h"
#include "media/RescueMap.h"

namespace velmora::disc {

// The rescue's ReadTap: a sector the map gives as read is served from the
// image, one it gives as failed is not asked for, and the medium's answers
// for the others are recorded as the passes record theirs.
class RescueTap : public ReadTap {
 public:
  RescueTap(const RescueMap& map, RescueImageFile& image, RescueCopier& copier)
      : map_(map), image_(image), copier_(copier) {}

  Known Lookup(Lba lba, Lba limit, Lba& runEnd) override;
  bool CopyHeld(Lba lba, std::uint32_t count, std::span<std::byte> buffer) override;
  void Took(Lba lba, std::uint32_t count, bool ok, std::span<const std::byte> delivered) override;

 private:
  const RescueMap& map_;
  RescueImageFile& image_;
  RescueCopier& copier_;
};

}  // namespace velmora::disc
