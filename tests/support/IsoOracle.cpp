#include "support/IsoOracle.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "support/BytePatcher.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace velmora::testing {
namespace {

struct ListedRecord {
  std::string name;
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::uint32_t extent = 0;
  std::string date;  // iso-info only
};

// One directory as a reader lists it: its own extent (from ".") and its records
// other than "." and "..", in recorded order.
struct ListedDirectory {
  std::uint32_t extent = 0;
  std::vector<ListedRecord> records;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void AddRecord(std::vector<ListedDirectory>& directories, ListedRecord record) {
  if (directories.empty()) throw std::runtime_error("record outside a directory listing");
  if (record.name == ".") {
    directories.back().extent = record.extent;
  } else if (record.name != "..") {
    directories.back().records.push_back(std::move(record));
  }
}

// isoinfo -l prints, per directory, "Directory listing of /PATH/" and then lines like
// "d---------   0    0    0            2048 Dec 10 2026 [     28 02]  . "
// with the extent and the file flags in brackets and the name followed by one space.
std::vector<ListedDirectory> ParseIsoinfo(const std::string& text) {
  std::vector<ListedDirectory> directories;
  for (const std::string& line : Lines(text)) {
    if (line.starts_with("Directory listing of ")) {
      directories.emplace_back();
      continue;
    }
    const std::size_t open = line.find('[');
    const std::size_t close = line.find("]  ", open);
    if (open == std::string::npos || close == std::string::npos) continue;
    ListedRecord record;
    unsigned flags = 0;
    std::istringstream(line.substr(open + 1, close - open - 1)) >> record.extent >> std::hex >>
        flags;
    record.isDirectory = (flags & 0x02) != 0;
    std::vector<std::string> fields;
    std::istringstream prefix(line.substr(0, open));
    for (std::string field; prefix >> field;) fields.push_back(field);
    if (fields.size() < 4) throw std::runtime_error("unexpected isoinfo line: " + line);
    record.size = std::stoull(fields[fields.size() - 4]);  // size, month, day, year
    record.name = line.substr(close + 3);
    if (record.name.ends_with(' ')) record.name.pop_back();
    AddRecord(directories, std::move(record));
  }
  return directories;
}

std::string IsoDate(const std::string& month, int day, int year, const std::string& time) {
  static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const auto found = std::find(kMonths.begin(), kMonths.end(), month);
  if (found == kMonths.end()) throw std::runtime_error("unexpected month " + month);
  std::array<char, 40> ymd{};  // room for three ints of any size
  std::snprintf(ymd.data(), ymd.size(), "%04d-%02d-%02d", year,
                static_cast<int>(found - kMonths.begin()) + 1, day);
  return std::string(ymd.data()) + " " + time;
}

// iso-info -l prints lines like
// "  d [LSN     28]      2048 Dec 10 2026 04:31:19  ." (Rock Ridge adds mode, links,
// owner and group before the bracket) and "/PATH/:" above each directory; each
// directory starts with its "." record.
std::vector<ListedDirectory> ParseIsoInfo(const std::string& text) {
  std::vector<ListedDirectory> directories;
  for (const std::string& line : Lines(text)) {
    const std::size_t open = line.find("[LSN");
    const std::size_t close = line.find(']', open);
    if (open == std::string::npos || close == std::string::npos) continue;
    ListedRecord record;
    record.isDirectory = line[line.find_first_not_of(' ')] == 'd';
    std::istringstream(line.substr(open + 4, close - open - 4)) >> record.extent;
    std::istringstream rest(line.substr(close + 1));
    std::string month;
    std::string time;
    int day = 0;
    int year = 0;
    rest >> record.size >> month >> day >> year >> time;
    if (!rest) throw std::runtime_error("unexpected iso-info line: " + line);
    record.date = IsoDate(month, day, year, time);
    record.name = line.substr(close + 1 + static_cast<std::size_t>(rest.tellg()) + 2);
    if (record.name == ".") directories.emplace_back();
    AddRecord(directories, std::move(record));
  }
  return directories;
}

std::string WithoutVersion(const std::string& name) {
  const std::size_t semicolon = name.rfind(';');
  if (semicolon == std::string::npos) return name;
  const bool digits = name.find_first_not_of("0123456789", semicolon + 1) == std::string::npos;
  return digits ? name.substr(0, semicolon) : name;
}

// "NOEXT." is "NOEXT", as 7-Zip, bsdtar and iso-info show an ISO 9660 file
// name whose extension is empty.
std::string WithoutEmptyExtension(const std::string& name) {
  return name.size() > 1 && name.back() == '.' ? name.substr(0, name.size() - 1) : name;
}

std::vector<std::string> IsoinfoCommand(const std::string& mode, const std::filesystem::path& image,
                                        bool joliet, std::uint32_t sessionStart) {
  std::vector<std::string> argv{"isoinfo", mode};
  if (joliet) argv.push_back("-J");
  // -T reads the descriptors at the session's start + 16 and takes the extents it
  // finds as absolute block numbers of the image, which is how our discs are laid out.
  if (sessionStart > 0) argv.insert(argv.end(), {"-T", std::to_string(sessionStart)});
  argv.insert(argv.end(), {"-i", image.string()});
  return argv;
}

// iso-info and 7-Zip read the descriptors at block 16 only. For a later session they
// get a sparse copy holding that session's blocks in place and its descriptors copied
// to block 16 on. The session's directories lie past its own descriptors, so nothing
// they read is overwritten, and a listing reads no blocks of earlier sessions.
std::filesystem::path SessionView(const std::filesystem::path& image, std::uint32_t sessionStart,
                                  const TempDir& dir) {
  const std::filesystem::path view = dir / "session.iso";
  const std::uint64_t imageSize = std::filesystem::file_size(image);
  const std::uint64_t first = sessionStart * kSectorSize;
  std::ofstream(view, std::ios::binary).flush();
  std::filesystem::resize_file(view, imageSize);
  WriteBytes(view, first, ReadBytes(image, first, imageSize - first));
  for (std::uint32_t i = 16;; ++i) {
    const std::vector<std::byte> descriptor = ReadSector(image, sessionStart + i);
    WriteBytes(view, i * kSectorSize, descriptor);
    if (descriptor[0] == std::byte{0xFF}) break;  // the set terminator
  }
  return view;
}

std::vector<ListedDirectory> ListWithIsoInfo(const std::filesystem::path& source, bool joliet,
                                             const std::string& recordingZone) {
  std::vector<std::string> argv{"iso-info", "--no-header", "--no-rock-ridge", "-l"};
  if (!joliet) argv.push_back("--no-joliet");
  argv.push_back(source.string());
  // iso-info turns a recorded time into its own local time using the recorded
  // offset; in the recorder's zone that gives back the recorded fields.
  const CommandResult result = RunChecked(argv, {"TZ=" + recordingZone, "LC_ALL=C.UTF-8"});
  if (joliet && result.out.find("Joliet Level:") == std::string::npos) {
    throw std::runtime_error(source.string() + " has no Joliet tree");
  }
  return ParseIsoInfo(result.out);
}

// 7zz l -slt prints one block of "Key = value" lines per item after a "----------"
// line; paths use "/" and carry no version.
struct SpelledName {
  std::string name;
  bool isDirectory = false;
  std::uint64_t size = 0;
  bool taken = false;
};
using SpellingsByFolder = std::map<std::string, std::vector<SpelledName>>;

SpellingsByFolder ListWithSevenZip(const std::filesystem::path& source) {
  const std::string text = RunChecked({"7zz", "l", "-slt", source.string()}).out;
  SpellingsByFolder byFolder;
  std::string path;
  SpelledName item;
  const auto endItem = [&] {
    if (path.empty()) return;
    const std::size_t slash = path.rfind('/');
    item.name = slash == std::string::npos ? path : path.substr(slash + 1);
    byFolder[slash == std::string::npos ? "" : path.substr(0, slash)].push_back(item);
    path.clear();
    item = {};
  };
  bool inItems = false;
  for (const std::string& line : Lines(text)) {
    if (line == "----------") {
      inItems = true;
    } else if (!inItems) {
      continue;
    } else if (line.starts_with("Path = ")) {
      endItem();
      path = line.substr(7);
    } else if (line.starts_with("Folder = ")) {
      item.isDirectory = line == "Folder = +";
    } else if (line.starts_with("Size = ") && line.size() > 7) {
      item.size = std::stoull(line.substr(7));
    }
  }
  endItem();
  return byFolder;
}

std::u16string Utf16(const std::string& utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (code >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return units;
}

// isoinfo -J prints one byte per UCS-2 unit: the unit itself up to 0xFF, "_" above.
// A spelling fits when it has as many units and agrees wherever isoinfo is exact.
bool FitsIsoinfoSpelling(const std::string& isoinfoName, const std::string& utf8) {
  const std::u16string units = Utf16(utf8);
  if (units.size() != isoinfoName.size()) return false;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto shown = static_cast<unsigned char>(isoinfoName[i]);
    if (shown != '_' && units[i] != shown) return false;
  }
  return true;
}

// The UTF-8 spelling of the record isoinfo lists as `listed` in folder: the first
// unused 7-Zip item of that folder with the same kind, size and a fitting spelling.
std::string JolietSpelling(SpellingsByFolder& spellings, const std::string& folder,
                           const ListedRecord& listed) {
  const std::string isoinfoName = listed.isDirectory ? listed.name : WithoutVersion(listed.name);
  for (SpelledName& item : spellings[folder]) {
    if (item.taken || item.isDirectory != listed.isDirectory) continue;
    if (!item.isDirectory && item.size != listed.size) continue;
    if (!FitsIsoinfoSpelling(isoinfoName, item.name)) continue;
    item.taken = true;
    return item.name;
  }
  throw std::runtime_error("7-Zip lists no name like isoinfo's '" + isoinfoName + "' in /" +
                           folder);
}

std::map<std::uint32_t, const ListedDirectory*> ByExtent(
    const std::vector<ListedDirectory>& directories) {
  std::map<std::uint32_t, const ListedDirectory*> byExtent;
  for (const ListedDirectory& directory : directories) byExtent[directory.extent] = &directory;
  return byExtent;
}

const ListedDirectory& Find(const std::map<std::uint32_t, const ListedDirectory*>& byExtent,
                            std::uint32_t extent, const char* reader) {
  const auto found = byExtent.find(extent);
  if (found == byExtent.end()) {
    throw std::runtime_error(std::string(reader) + " lists no directory at extent " +
                             std::to_string(extent));
  }
  return *found->second;
}

std::uint64_t ValueAfter(const std::string& text, const std::string& label) {
  const std::size_t at = text.find(label);
  if (at == std::string::npos) throw std::runtime_error("isoinfo -d printed no '" + label + "'");
  return std::stoull(text.substr(at + label.size()));
}

}  // namespace

std::vector<OracleRecord> IsoinfoListing(const std::filesystem::path& image, bool joliet,
                                         std::uint32_t sessionStart,
                                         const std::string& recordingZone) {
  const std::vector<ListedDirectory> named =
      ParseIsoinfo(RunChecked(IsoinfoCommand("-l", image, joliet, sessionStart)).out);
  if (named.empty()) throw std::runtime_error("isoinfo listed nothing for " + image.string());
  const TempDir viewDir;
  const std::filesystem::path source =
      sessionStart > 0 ? SessionView(image, sessionStart, viewDir) : image;
  const std::vector<ListedDirectory> dated = ListWithIsoInfo(source, joliet, recordingZone);
  SpellingsByFolder spellings = joliet ? ListWithSevenZip(source) : SpellingsByFolder{};
  const auto namedByExtent = ByExtent(named);
  const auto datedByExtent = ByExtent(dated);

  std::vector<OracleRecord> records;
  std::deque<std::pair<std::uint32_t, std::string>> pending{{named.front().extent, ""}};
  std::set<std::uint32_t> walked;
  while (!pending.empty()) {
    const auto [extent, folder] = pending.front();
    pending.pop_front();
    if (!walked.insert(extent).second) continue;
    const ListedDirectory& fromIsoinfo = Find(namedByExtent, extent, "isoinfo");
    const ListedDirectory& fromIsoInfo = Find(datedByExtent, extent, "iso-info");
    if (fromIsoinfo.records.size() != fromIsoInfo.records.size()) {
      throw std::runtime_error("isoinfo and iso-info disagree on the records of /" + folder);
    }
    const std::string prefix = folder.empty() ? "" : folder + "/";
    for (std::size_t i = 0; i < fromIsoinfo.records.size(); ++i) {
      const ListedRecord& a = fromIsoinfo.records[i];
      const ListedRecord& b = fromIsoInfo.records[i];
      if (a.extent != b.extent || a.size != b.size || a.isDirectory != b.isDirectory) {
        throw std::runtime_error("isoinfo and iso-info disagree on /" + prefix + a.name);
      }
      const std::string name = joliet          ? JolietSpelling(spellings, folder, a)
                               : a.isDirectory ? a.name
                                               : WithoutEmptyExtension(WithoutVersion(a.name));
      OracleRecord record{prefix + name, a.isDirectory, a.size, a.extent, b.date};
      if (record.isDirectory) pending.emplace_back(record.extent, record.path);
      records.push_back(std::move(record));
    }
  }
  return records;
}

std::vector<std::string> ListingTsv(const std::vector<OracleRecord>& records) {
  std::vector<std::string> lines;
  for (const OracleRecord& record : records) {
    lines.push_back(record.path + '\t' + (record.isDirectory ? kListingFolder : kListingFile) +
                    '\t' + std::to_string(record.isDirectory ? 0 : record.size) + '\t' +
                    record.date + '\t' + std::to_string(record.extent));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

VolumeInfo IsoinfoVolume(const std::filesystem::path& image, std::uint32_t sessionStart) {
  std::vector<std::string> argv = IsoinfoCommand("-d", image, false, sessionStart);
  argv.push_back("-debug");  // adds the root extent and the path table locations
  const std::string text = RunChecked(argv).out;
  const auto number = [&text](const char* label) {
    return static_cast<std::uint32_t>(ValueAfter(text, label));
  };
  VolumeInfo info;
  const std::size_t idAt = text.find("Volume id: ");
  if (idAt != std::string::npos) {
    info.volumeId = text.substr(idAt + 11, text.find('\n', idAt) - idAt - 11);
  }
  info.volumeSpaceSize = number("Volume size is: ");
  info.rootExtent = number("Root directory extent: ");
  info.pathTableSize = number("Path table size is: ");
  info.typeLPathTable = number("L Path table start: ");
  info.optionalTypeLPathTable = number("L Path opt table start: ");
  info.typeMPathTable = number("M Path table start: ");
  info.optionalTypeMPathTable = number("M Path opt table start: ");
  return info;
}

std::uint32_t IsoinfoRootExtent(const std::filesystem::path& image, bool joliet,
                                std::uint32_t sessionStart) {
  const std::vector<ListedDirectory> directories =
      ParseIsoinfo(RunChecked(IsoinfoCommand("-l", image, joliet, sessionStart)).out);
  if (directories.empty()) throw std::runtime_error("isoinfo listed nothing for " + image.string());
  return directories.front().extent;
}

void SevenZipExtract(const std::filesystem::path& image, const std::filesystem::path& outDir) {
  RunChecked({"7zz", "x", "-y", "-o" + outDir.string(), image.string()});
}

}  // namespace velmora::testing
