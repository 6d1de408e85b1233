#include "iso9660/DirectoryRecord.h"

#include <algorithm>

#include "media/ByteReader.h"

namespace velmora::disc {

std::optional<DirectoryRecord> ParseDirectoryRecord(std::span<const std::byte> bytes) {
  ByteReader reader(bytes);
  DirectoryRecord record;
  record.length = reader.U8(0);
  if (record.length < kMinDirectoryRecord || !reader.Has(0, record.length)) return std::nullopt;
  record.extent = reader.U32Le(2);
  record.dataLength = reader.U32Le(10);
  record.time.year = reader.U8(18) + 1900;
  record.time.month = reader.U8(19);
  record.time.day = reader.U8(20);
  record.time.hour = reader.U8(21);
  record.time.minute = reader.U8(22);
  record.time.second = reader.U8(23);
  record.time.gmtOffset = static_cast<std::int8_t>(reader.U8(24));
  record.flags = reader.U8(25);
  std::size_t identifierLength = std::min<std::size_t>(reader.U8(32), record.length - 33u);
  record.identifier = reader.Bytes(33, identifierLength);
  // An even-length identifier is followed by a pad byte (9.1.12).
  const std::size_t systemUseStart = 33 + identifierLength + (identifierLength % 2 == 0 ? 1 : 0);
  if (systemUseStart < record.length) {
    record.systemUse = reader.Bytes(systemUseStart, record.length - systemUseStart);
  }
  return record;
}

bool IsSelfRecord(const DirectoryRecord& record, std::uint32_t extent) {
  return record.extent == extent && record.identifier.size() == 1 &&
         record.identifier[0] == std::byte{0} && record.IsDirectory();
}

}  // namespace velmora::disc
