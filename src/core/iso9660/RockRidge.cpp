#include "iso9660/RockRidge.h"

#include <algorithm>
#include <set>
#include <utility>

#include "media/ByteReader.h"
#include "media/Sector.h"
#include "text/CodePage.h"

namespace velmora::disc {
namespace {

constexpr std::size_t kEntryHeader = 4;  // signature, length, version (SUSP 4.1)

bool Is(std::span<const std::byte> entry, char a, char b) {
  return static_cast<char>(entry[0]) == a && static_cast<char>(entry[1]) == b;
}

std::string Text(std::span<const std::byte> bytes) {
  std::string text(bytes.size(), '\0');
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](std::byte b) { return static_cast<char>(b); });
  return text;
}

// A date and time in 7 bytes as in a directory record (ECMA-119 9.1.5).
RecordingTime ShortTime(ByteReader& reader, std::size_t at) {
  RecordingTime time;
  time.year = reader.U8(at) + 1900;
  time.month = reader.U8(at + 1);
  time.day = reader.U8(at + 2);
  time.hour = reader.U8(at + 3);
  time.minute = reader.U8(at + 4);
  time.second = reader.U8(at + 5);
  time.gmtOffset = static_cast<std::int8_t>(reader.U8(at + 6));
  return time;
}

// Digits of a 17-byte date and time (ECMA-119 8.4.26.1); -1 when one is no digit.
int Digits(ByteReader& reader, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t c = reader.U8(at + i);
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<RecordingTime> LongTime(ByteReader& reader, std::size_t at) {
  RecordingTime time;
  const int year = Digits(reader, at, 4), month = Digits(reader, at + 4, 2),
            day = Digits(reader, at + 6, 2), hour = Digits(reader, at + 8, 2),
            minute = Digits(reader, at + 10, 2), second = Digits(reader, at + 12, 2);
  if (std::min({year, month, day, hour, minute, second}) < 0) return std::nullopt;
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = static_cast<std::uint8_t>(hour);
  time.minute = static_cast<std::uint8_t>(minute);
  time.second = static_cast<std::uint8_t>(second);
  time.gmtOffset = static_cast<std::int8_t>(reader.U8(at + 16));
  return time;
}

// TF (RRIP 4.1.6): the stamps present follow in the order of their flag bits;
// the modification time is the second (bit 1), after a creation time (bit 0).
void ParseTimes(std::span<const std::byte> entry, RockRidgeRecord& record) {
  ByteReader reader(entry);
  const std::uint8_t flags = reader.U8(4);
  if (!(flags & 0x02)) return;
  const bool longForm = (flags & 0x80) != 0;
  const std::size_t stamp = longForm ? 17 : 7;
  const std::size_t at = kEntryHeader + 1 + ((flags & 0x01) ? stamp : 0);
  if (!reader.Has(at, stamp)) {
    record.damage |= RockRidgeRecord::kEntryMalformed;
    return;
  }
  if (longForm) {
    record.modified = LongTime(reader, at);
  } else {
    record.modified = ShortTime(reader, at);
  }
}

// SL (RRIP 4.1.3): components, each flags, length and text; a component whose
// continue flag is set goes on in the next one, across SL entries too.
void ParseLink(std::span<const std::byte> entry, RockRidgeRecord& record) {
  record.isLink = true;
  if (record.damage & RockRidgeRecord::kLinkTooLong) return;
  ByteReader reader(entry);
  std::size_t pos = kEntryHeader + 1;
  std::size_t textBytes = 0;
  for (const LinkComponent& c : record.link) textBytes += c.text.size() + 1;
  while (reader.Has(pos, 2)) {
    const std::uint8_t flags = reader.U8(pos);
    const std::uint8_t length = reader.U8(pos + 1);
    if (!reader.Has(pos + 2, length)) {
      record.damage |= RockRidgeRecord::kEntryMalformed;
      break;
    }
    const std::string text = Text(reader.Bytes(pos + 2, length));
    pos += 2u + length;
    textBytes += text.size() + 1;
    const bool joins = !record.link.empty() && (record.link.back().flags & LinkComponent::kContinue);
    if (!joins && record.link.size() >= kMaxLinkComponents) textBytes = kMaxLinkTargetBytes + 1;
    if (textBytes > kMaxLinkTargetBytes) {
      record.damage |= RockRidgeRecord::kLinkTooLong;
      record.link.clear();
      return;
    }
    if (joins) {
      record.link.back().text += text;
      record.link.back().flags = flags;
    } else {
      record.link.push_back(LinkComponent{flags, text});
    }
  }
  record.linkGoesOn = (reader.U8(kEntryHeader) & 0x01) != 0 ||
                      (!record.link.empty() && (record.link.back().flags & LinkComponent::kContinue));
}

void ParseName(std::span<const std::byte> entry, RockRidgeRecord& record) {
  const auto flags = static_cast<std::uint8_t>(entry[4]);
  if (flags & 0x02) record.nameCurrent = true;
  if (flags & 0x04) record.nameParent = true;
  record.nameGoesOn = (flags & 0x01) != 0;
  std::string part = Text(entry.subspan(5));
  std::string& name = record.name ? *record.name : record.name.emplace();
  if (name.size() + part.size() > kMaxRockRidgeName) {
    record.damage |= RockRidgeRecord::kNameTooLong;
    part.resize(kMaxRockRidgeName - std::min(name.size(), kMaxRockRidgeName));
  }
  name += part;
}

// An 8-byte both-endian number at offset (ECMA-119 7.3.3); the little-endian
// half is taken, as for directory records.
std::uint32_t BothEndian32(std::span<const std::byte> entry, std::size_t offset) {
  ByteReader reader(entry);
  return reader.U32Le(offset);
}

// Rock Ridge names and targets are the recording system's bytes: UTF-8 from
// most systems today, else its own 8-bit character set, which the code page
// chosen for 8-bit names stands for.
std::u16string DecodeRecordedText(const std::string& bytes) {
  return text::DecodeEightBitName(
      std::span(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()));
}

}  // namespace

std::string RockRidgeRecord::LinkTarget() const {
  std::string target;
  for (std::size_t i = 0; i < link.size(); ++i) {
    const LinkComponent& c = link[i];
    if (c.flags & LinkComponent::kRoot) {
      target = "/";
      continue;
    }
    if (!target.empty() && target.back() != '/') target += '/';
    if (c.flags & LinkComponent::kCurrent) {
      target += '.';
    } else if (c.flags & LinkComponent::kParent) {
      target += "..";
    } else {
      target += c.text;
    }
  }
  return target;
}

std::span<const std::byte> SystemUseArea(std::span<const std::byte> recordBytes,
                                         std::uint8_t skip) {
  ByteReader reader(recordBytes);
  const std::size_t recordLength = std::min<std::size_t>(reader.U8(0), recordBytes.size());
  const std::size_t identifierLength = reader.U8(32);
  std::size_t start = 33 + identifierLength + (identifierLength % 2 == 0 ? 1 : 0) + skip;
  if (reader.overrun() || start >= recordLength) return {};
  return recordBytes.subspan(start, recordLength - start);
}

void ParseSystemUseEntries(std::span<const std::byte> area, RockRidgeRecord& record) {
  std::size_t pos = 0;
  while (area.size() - pos >= kEntryHeader) {
    const std::span<const std::byte> head = area.subspan(pos);
    const std::size_t length = static_cast<std::uint8_t>(head[2]);
    // A length below the header, or past the area, leaves nothing to trust:
    // the area ends here (a pad byte of zero ends it the same way).
    if (length < kEntryHeader || length > head.size()) {
      if (static_cast<std::uint8_t>(head[0]) != 0) record.damage |= RockRidgeRecord::kEntryMalformed;
      break;
    }
    const std::span<const std::byte> entry = head.first(length);
    pos += length;
    if (Is(entry, 'S', 'P')) {
      if (length >= 7 && static_cast<std::uint8_t>(entry[4]) == 0xBE &&
          static_cast<std::uint8_t>(entry[5]) == 0xEF) {
        record.hasSharingProtocol = true;
        record.skipLength = static_cast<std::uint8_t>(entry[6]);
      }
    } else if (Is(entry, 'E', 'R')) {
      ByteReader reader(entry);
      const std::uint8_t identifierLength = reader.U8(4);
      if (reader.Has(8, identifierLength)) record.extensions.push_back(Text(reader.Bytes(8, identifierLength)));
    } else if (Is(entry, 'C', 'E')) {
      if (length >= 28) {
        record.continuation = ContinuationArea{BothEndian32(entry, 4), BothEndian32(entry, 12),
                                               BothEndian32(entry, 20)};
      } else {
        record.damage |= RockRidgeRecord::kEntryMalformed;
      }
    } else if (Is(entry, 'S', 'T')) {
      record.stopped = true;
      break;
    } else if (Is(entry, 'N', 'M')) {
      record.hasRockRidge = true;
      if (length >= 5) {
        ParseName(entry, record);
      } else {
        record.damage |= RockRidgeRecord::kEntryMalformed;
      }
    } else if (Is(entry, 'P', 'X')) {
      record.hasRockRidge = true;
      if (length >= 12) {
        record.mode = BothEndian32(entry, 4);
      } else {
        record.damage |= RockRidgeRecord::kEntryMalformed;
      }
    } else if (Is(entry, 'T', 'F')) {
      record.hasRockRidge = true;
      if (length >= 5) ParseTimes(entry, record);
    } else if (Is(entry, 'S', 'L')) {
      record.hasRockRidge = true;
      if (length >= 5) ParseLink(entry, record);
    } else if (Is(entry, 'C', 'L') || Is(entry, 'P', 'L')) {
      record.hasRockRidge = true;
      if (length >= 12) {
        (Is(entry, 'C', 'L') ? record.childLink : record.parentLink) = BothEndian32(entry, 4);
      } else {
        record.damage |= RockRidgeRecord::kEntryMalformed;
      }
    } else if (Is(entry, 'R', 'E')) {
      record.hasRockRidge = true;
      record.relocated = true;
    } else if (Is(entry, 'R', 'R')) {
      record.hasRockRidge = true;
    } else if (Is(entry, 'Z', 'F')) {
      // The algorithm, the header's size in 4-byte words, the block size's
      // log2, then the size uncompressed, both byte orders.
      if (length >= 16) {
        record.compressed = CompressedData{{static_cast<char>(entry[4]), static_cast<char>(entry[5])},
                                           BothEndian32(entry, 8)};
      } else {
        record.damage |= RockRidgeRecord::kEntryMalformed;
      }
    }
    // Any other entry (PN, AA, padding PD...) is skipped by its length.
  }
}

RockRidgeRecord ReadRockRidge(std::span<const std::byte> systemUse, const ContinuationReader& read,
                              std::uint32_t mediumEnd) {
  RockRidgeRecord record;
  ParseSystemUseEntries(systemUse, record);
  std::set<std::pair<std::uint32_t, std::uint32_t>> visited;
  std::vector<std::byte> sector;
  for (std::uint32_t areas = 0; record.continuation && !record.stopped; ++areas) {
    const ContinuationArea area = *record.continuation;
    record.continuation.reset();
    // An area lies within one block (SUSP 5.1); one past it, past the medium,
    // seen before or beyond the bound is taken as a loop.
    if (areas >= kMaxContinuationAreas || !visited.emplace(area.extent, area.offset).second ||
        area.offset >= kSectorSize || area.length > kSectorSize - area.offset ||
        (mediumEnd != 0 && area.extent >= mediumEnd)) {
      record.damage |= RockRidgeRecord::kContinuationLoop;
      break;
    }
    sector.assign(kSectorSize, std::byte{0});
    if (!read || !read(area.extent, sector) || sector.size() < kSectorSize) {
      record.damage |= RockRidgeRecord::kContinuationUnread;
      break;
    }
    ParseSystemUseEntries(std::span<const std::byte>(sector).subspan(area.offset, area.length), record);
  }
  record.continuation.reset();
  // A name or link said to go on where the entries end was cut short: by a
  // continuation area that did not read, or one that reads as empty.
  if (record.nameGoesOn || (record.linkGoesOn && !(record.damage & RockRidgeRecord::kLinkTooLong))) {
    record.damage |= RockRidgeRecord::kEntriesCut;
  }
  return record;
}

std::optional<std::u16string> RockRidgeName(RockRidgeRecord& record) {
  if (!record.name || record.nameCurrent || record.nameParent) return std::nullopt;
  std::string name = *record.name;
  for (char& c : name) {
    if (c == '/' || c == '\0') {
      c = '_';
      record.damage |= RockRidgeRecord::kNameUnsafe;
    }
  }
  if (name.empty() || name == "." || name == "..") {
    record.damage |= RockRidgeRecord::kNameUnsafe;
    return std::nullopt;
  }
  return DecodeRecordedText(name);
}

std::optional<std::u16string> RockRidgeLinkTarget(RockRidgeRecord& record) {
  if (!record.isLink) return std::nullopt;
  std::string target = record.LinkTarget();
  if (target.empty()) return std::nullopt;
  // A NUL would end the target where the system takes it.
  for (char& c : target) {
    if (c == '\0') {
      c = '_';
      record.damage |= RockRidgeRecord::kLinkUnsafe;
    }
  }
  return DecodeRecordedText(target);
}

}  // namespace velmora::disc
