#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "iso9660/DirectoryRecord.h"

namespace velmora::disc {

// Bounds a hostile system use area can never push past.
inline constexpr std::size_t kMaxRockRidgeName = 255;       // bytes of an NM name in total
inline constexpr std::size_t kMaxLinkComponents = 256;      // SL components of one link
inline constexpr std::size_t kMaxLinkTargetBytes = 4096;    // PATH_MAX
inline constexpr std::uint32_t kMaxContinuationAreas = 32;  // CE areas of one record

// One component of a symbolic link (RRIP 4.1.3.1): a name, or the root, the
// parent or the current folder.
struct LinkComponent {
  static constexpr std::uint8_t kContinue = 0x01;
  static constexpr std::uint8_t kCurrent = 0x02;
  static constexpr std::uint8_t kParent = 0x04;
  static constexpr std::uint8_t kRoot = 0x08;
  std::uint8_t flags = 0;
  std::string text;
};

// A continuation area (SUSP 5.1): the system use entries go on there.
struct ContinuationArea {
  std::uint32_t extent = 0;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// A ZF entry: the file's data is compressed, and how.
struct CompressedData {
  char algorithm[2] = {};     // "pz": zisofs
  std::uint32_t realSize = 0;  // the file's size uncompressed
};

// What the system use area of one directory record (and its continuation
// areas) says, entry by entry. Entries add up across the areas of a record.
struct RockRidgeRecord {
  // Damage met; each bit gives a log row and the entry a safe name.
  enum Damage : std::uint32_t {
    kNameTooLong = 1u << 0,       // NM names over 255 bytes in total: cut there
    kNameUnsafe = 1u << 1,        // a "/" or NUL in the name: replaced
    kLinkTooLong = 1u << 2,       // SL over its bounds: the link dropped
    kEntryMalformed = 1u << 3,    // an entry too short for its signature
    kContinuationLoop = 1u << 4,  // a CE chain back into itself, too long or past the medium
    kContinuationUnread = 1u << 5,
    kLinkUnsafe = 1u << 6,        // a NUL in a link's target: replaced
    kEntriesCut = 1u << 7,        // an NM or SL that goes on, with nothing after it
  };

  // SUSP indicator (SUSP 5.3), only in the root's "." record.
  bool hasSharingProtocol = false;
  std::uint8_t skipLength = 0;
  // Extension reference identifiers (SUSP 5.5), such as "RRIP_1991A".
  std::vector<std::string> extensions;
  // True once any RRIP entry (NM, PX, TF, SL, CL, PL, RE, RR) was met.
  bool hasRockRidge = false;

  std::optional<std::string> name;  // NM, the parts joined
  bool nameCurrent = false;         // NM flag 0x02: the name is "."
  bool nameParent = false;          // NM flag 0x04: the name is ".."
  bool nameGoesOn = false;          // the last NM read has its continue flag
  bool linkGoesOn = false;          // the last SL read, or its last component, goes on
  std::optional<std::uint32_t> mode;  // PX: file type and permission bits (POSIX st_mode)
  std::optional<RecordingTime> modified;  // TF modification time
  bool isLink = false;                    // an SL entry was met
  std::vector<LinkComponent> link;        // SL components, those continued joined
  std::optional<std::uint32_t> childLink;   // CL: the relocated folder's extent
  std::optional<std::uint32_t> parentLink;  // PL: the real parent's extent
  bool relocated = false;                   // RE: this folder was moved here
  std::optional<CompressedData> compressed;  // ZF
  std::optional<ContinuationArea> continuation;  // the last CE of the area parsed
  bool stopped = false;                          // ST ended the entries
  std::uint32_t damage = 0;

  // The link's target as a path ("../a/b", "/usr/bin"), empty when no SL.
  std::string LinkTarget() const;
};

// The system use area of a directory record: the bytes after its file
// identifier (and the pad byte of an even-length one, ECMA-119 9.1.12), less
// the first skip bytes that the SP entry names.
std::span<const std::byte> SystemUseArea(std::span<const std::byte> recordBytes,
                                         std::uint8_t skip);

// Parses the entries of one area into record. An entry of length below 4, or
// one that runs past the area, ends the area; an unknown one is skipped by its
// length. Sets record.continuation to the area's CE, if any.
void ParseSystemUseEntries(std::span<const std::byte> area, RockRidgeRecord& record);

// Reads the block at extent into sector (2048 bytes); false when it does not read.
using ContinuationReader = std::function<bool(std::uint32_t extent, std::vector<std::byte>& sector)>;

// Parses a record's system use area, then follows its continuation areas:
// each is read once, at most kMaxContinuationAreas, none at or past
// mediumEnd (0: no bound known).
RockRidgeRecord ReadRockRidge(std::span<const std::byte> systemUse, const ContinuationReader& read,
                              std::uint32_t mediumEnd);

// The name to show for the record: the NM name with "/" and NUL replaced by
// "_" (and the damage marked), nothing when the record has no usable name.
// Names that are not valid UTF-8 are read in the code page of 8-bit names.
std::optional<std::u16string> RockRidgeName(RockRidgeRecord& record);

// The target of the record's symbolic link, decoded as names are, a NUL
// replaced by "_" (and the damage marked); nothing when the record is no link
// or its target is empty (an SL dropped as too long).
std::optional<std::u16string> RockRidgeLinkTarget(RockRidgeRecord& record);

}  // namespace velmora::disc
