#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::testing {

// Third-party readers' view of an image, for checking the engine against.
//
// No one reader gives everything, so three are combined:
// - `isoinfo -l [-J] [-T start]` (genisoimage) gives the tree: ISO 9660 names exactly
//   as recorded, sizes, extents, and it reads a later session of a whole-disc image.
//   It prints dates without the time ("Dec 10 2026") and Joliet names one byte per
//   UCS-2 unit (the unit up to 0xFF, "_" above; its -j takes 8-bit code pages only).
// - `iso-info -l` (libcdio) gives the time to the second. Its names are no use: ISO
//   9660 names come out lower-cased without version (or as Rock Ridge names), and a
//   Joliet name is cut to its recorded byte length in UTF-8, so "日本語.txt" loses
//   characters. It converts recorded times to its own zone using the recorded offset.
// - `7zz l -slt` spells Joliet names in full UTF-8 but gives no extents; each is
//   matched to isoinfo's record of the same folder, kind and size whose lossy
//   spelling it fits.
// isoinfo and iso-info list a directory in recorded order, so they are joined per
// directory (found by the extent of its "." record) and record by record; their
// extents and sizes must agree or the oracle throws. iso-info and 7-Zip read only the
// session whose descriptors sit at block 16; for a later session they are handed a
// copy with that session's descriptors moved there.

struct OracleRecord {
  // UTF-8, "/" between names, no leading "/"; a file's ";N" removed, and an
  // ISO 9660 file name's dot before an empty extension
  std::string path;
  bool isDirectory = false;
  std::uint64_t size = 0;  // data length as recorded (for a folder, its directory's length)
  std::uint32_t extent = 0;
  std::string date;  // "YYYY-MM-DD hh:mm:ss", the recorded time, as local to the recorder
};

// Every file and folder under the root of the ISO 9660 tree (joliet false) or the
// Joliet tree of the session whose descriptors are at sessionStart + 16; folders come
// before their contents, each folder's records in recorded order. recordingZone is the POSIX TZ the
// image was made in: "UTC0" for xorriso and for MakeMultiSessionDisc, IsoOptions::timeZone for
// genisoimage. Throws std::runtime_error when a tool fails, the readers disagree, or joliet is
// asked of an image without a Joliet tree.
std::vector<OracleRecord> IsoinfoListing(const std::filesystem::path& image, bool joliet,
                                         std::uint32_t sessionStart = 0,
                                         const std::string& recordingZone = "UTC0");

inline constexpr const char* kListingFile = "file";
inline constexpr const char* kListingFolder = "folder";

// The records as the engine's listing prints them, one line each, sorted:
// path TAB type TAB size TAB date TAB extent, type being kListingFile or
// kListingFolder and size 0 for a folder, as the engine's entries hold it.
std::vector<std::string> ListingTsv(const std::vector<OracleRecord>& records);

// Fields of the primary volume descriptor at sessionStart + 16, as `isoinfo -d -debug`
// prints them. Extents and path table locations are absolute block numbers.
struct VolumeInfo {
  std::string volumeId;
  std::uint32_t volumeSpaceSize = 0;  // blocks
  std::uint32_t rootExtent = 0;
  std::uint32_t pathTableSize = 0;  // bytes
  std::uint32_t typeLPathTable = 0;
  std::uint32_t optionalTypeLPathTable = 0;
  std::uint32_t typeMPathTable = 0;
  std::uint32_t optionalTypeMPathTable = 0;
};
VolumeInfo IsoinfoVolume(const std::filesystem::path& image, std::uint32_t sessionStart = 0);

// Extent of the root directory of the ISO 9660 or the Joliet tree, from the "."
// record isoinfo lists first.
std::uint32_t IsoinfoRootExtent(const std::filesystem::path& image, bool joliet,
                                std::uint32_t sessionStart = 0);

// Extracts the image's files with `7zz x -y -o<outDir>` (7-Zip takes the Joliet
// tree when there is one, and reads the session at block 16 only). Throws when
// 7-Zip reports any error.
void SevenZipExtract(const std::filesystem::path& image, const std::filesystem::path& outDir);

}  // namespace velmora::testing
