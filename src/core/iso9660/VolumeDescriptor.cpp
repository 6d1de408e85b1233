#include "iso9660/VolumeDescriptor.h"

#include <algorithm>

#include "media/ByteReader.h"

namespace velmora::disc {

bool IsVolumeDescriptor(std::span<const std::byte> sector) {
  static constexpr char kStandardId[] = "CD001";
  if (sector.size() < 7) return false;
  auto type = static_cast<std::uint8_t>(sector[0]);
  if (type != kPrimaryDescriptor && type != kSupplementaryDescriptor) return false;
  for (std::size_t i = 0; i < 5; ++i) {
    if (sector[1 + i] != static_cast<std::byte>(kStandardId[i])) return false;
  }
  return sector[6] == std::byte{1};
}

bool IsJolietDescriptor(std::span<const std::byte> sector) {
  constexpr std::size_t kEscapes = 88, kEscapesEnd = 120;
  if (sector.size() < kEscapesEnd || static_cast<std::uint8_t>(sector[0]) != kSupplementaryDescriptor) {
    return false;
  }
  // The field may hold several sequences; a writer that puts Joliet's after
  // another one still means UCS-2.
  for (std::size_t i = kEscapes; i + 3 <= kEscapesEnd; ++i) {
    if (sector[i] == std::byte{'%'} && sector[i + 1] == std::byte{'/'} &&
        (sector[i + 2] == std::byte{'@'} || sector[i + 2] == std::byte{'C'} ||
         sector[i + 2] == std::byte{'E'})) {
      return true;
    }
  }
  return false;
}

std::optional<VolumeInfo> ParseVolumeInfo(std::span<const std::byte> sector) {
  ByteReader reader(sector);
  if (!reader.Has(0, 170)) return std::nullopt;
  VolumeInfo info;
  std::copy_n(sector.begin(), info.head.size(), info.head.begin());
  info.type = reader.U8(0);
  // Both-endian fields (7.2.3, 7.3.3): the little-endian half is taken, as
  // writers that get one half wrong mostly get that one right.
  info.volumeSpaceSize = reader.U32Le(80);
  info.volumeSetSize = reader.U16Le(120);
  info.volumeSequenceNumber = reader.U16Le(124);
  info.logicalBlockSize = reader.U16Le(128);
  info.pathTableSize = reader.U32Le(132);
  info.typeLPathTable = reader.U32Le(140);
  info.optionalTypeLPathTable = reader.U32Le(144);
  info.typeMPathTable = reader.U32Be(148);
  info.optionalTypeMPathTable = reader.U32Le(152);
  info.rootRecordLength = reader.U8(156);
  info.rootExtendedAttributeLength = reader.U8(157);
  info.rootExtent = reader.U32Le(158);
  info.rootDataLength = reader.U32Le(166);
  return info;
}

}  // namespace velmora::disc
