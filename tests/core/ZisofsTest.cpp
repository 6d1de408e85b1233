// Files a disc holds compressed with zisofs (a Rock Ridge ZF entry: xorriso's
// zisofs filter, or a tree mkzftree compressed written by genisoimage -z):
// listed with their real size and saved decompressed. A block whose
// compressed bytes do not read, or do not inflate, is zeros in the file and
// named in the report; the compressed bytes are never saved as the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/BytePatcher.h"
#include "support/RunCommand.h"
#include "support/SectorFinder.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "support/UnreadableSectors.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::TempDir;

constexpr std::uint64_t kBlock = 2048;

CommandResult RunCli(std::vector<std::string> args, const std::vector<std::string>& environment = {}) {
  args.insert(args.begin(), VELMORA_CLI_PATH);
  return testing::RunCommand(args, environment);
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream cells(line);
  for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
  return fields;
}

// A report's lines by disc path: status and unreadable ranges.
std::map<std::string, std::pair<std::string, std::string>> ReportLines(const fs::path& report) {
  std::map<std::string, std::pair<std::string, std::string>> lines;
  for (const std::string& line : testing::Lines(testing::FileBytes(report))) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = Fields(line);
    fields.resize(4);
    lines[fields[1]] = {fields[0], fields[2]};
  }
  return lines;
}

// The files of the fixture: text that compresses into many blocks, zeros
// (blocks a writer may record as no bytes at all), a file of exactly two
// 32 KiB blocks, a small one, noise that does not compress, an empty one.
std::map<std::string, std::string> Contents() {
  std::string report;
  for (int i = 0; report.size() < 700000; ++i) {
    report += "line " + std::to_string(i) + " of the yearly report, page " + std::to_string(i / 40) + "\n";
  }
  std::string exact(65536, '\0');
  for (std::size_t i = 0; i < exact.size(); ++i) exact[i] = static_cast<char>("abcab"[i % 5] + (i / 4096));
  std::mt19937 random(7);
  std::string noise(40000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  return {{"docs/report.txt", report},
          {"zeros.bin", std::string(300000, '\0')},
          {"exact.bin", exact},
          {"small.txt", std::string(3000, 'x') + "end\n"},
          {"noise.bin", noise},
          {"empty.txt", ""}};
}

fs::path WriteContents(const fs::path& tree) {
  for (const auto& [path, bytes] : Contents()) {
    fs::create_directories((tree / path).parent_path());
    std::ofstream(tree / path, std::ios::binary) << bytes;
    // A time long past: a partial copy written now is never taken for the
    // disc's file by its time.
    fs::last_write_time(tree / path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  }
  return tree;
}

// xorriso's zisofs filter over the whole tree, with Joliet beside Rock Ridge.
fs::path Xorriso(const fs::path& dir, const std::string& blockSize) {
  const fs::path image = dir / "disc.iso";
  testing::RunChecked({"xorriso", "-no_rc", "-report_about", "SORRY", "-outdev", image.string(),
                       "-rockridge", "on", "-joliet", "on", "-zisofs", "block_size=" + blockSize,
                       "-map", WriteContents(dir / "tree").string(), "/", "--",
                       "-set_filter_r", "--zisofs", "/", "--", "-commit"});
  return image;
}

// mkzftree compresses every file (-f: noise and the empty file too);
// genisoimage -z records ZF entries for what it finds compressed.
fs::path Mkzftree(const fs::path& dir) {
  const fs::path compressed = dir / "compressed";
  testing::RunChecked({"mkzftree", "-f", WriteContents(dir / "tree").string(), compressed.string()});
  const fs::path image = dir / "disc.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-R", "-J", "-z", "-o", image.string(),
                       compressed.string()});
  return image;
}

struct Writer {
  const char* name;
  std::function<fs::path(const fs::path&)> make;
};

const Writer kWriters[] = {
    {"xorriso, 32 KiB blocks", [](const fs::path& dir) { return Xorriso(dir, "32k"); }},
    {"xorriso, 128 KiB blocks", [](const fs::path& dir) { return Xorriso(dir, "128k"); }},
    {"mkzftree and genisoimage -z", Mkzftree},
};

std::uint32_t U32Le(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | std::to_integer<std::uint32_t>(bytes[at + i]);
  return value;
}

// A compressed file's layout, read from the image as the format lays it out:
// the block size and the pointer table's offsets in the file's data.
struct Layout {
  std::uint32_t extent = 0;
  std::uint64_t blockSize = 0;
  std::vector<std::uint32_t> pointers;  // blocks + 1
};

Layout LayoutOf(const fs::path& image, std::uint32_t extent, std::uint64_t size) {
  const std::vector<std::byte> header = testing::ReadBytes(image, extent * kBlock, 16);
  Layout layout{extent, std::uint64_t{1} << std::to_integer<int>(header[13]), {}};
  const std::uint64_t blocks = (size + layout.blockSize - 1) / layout.blockSize;
  const std::vector<std::byte> table = testing::ReadBytes(
      image, extent * kBlock + std::to_integer<std::uint64_t>(header[12]) * 4, (blocks + 1) * 4);
  for (std::uint64_t k = 0; k <= blocks; ++k) layout.pointers.push_back(U32Le(table, k * 4));
  return layout;
}

// The byte ranges ("A-B,C-D") of the blocks whose compressed bytes touch
// [from, to) of the file's data.
std::string LostRanges(const Layout& layout, std::uint64_t size, std::uint64_t from, std::uint64_t to) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  for (std::size_t k = 0; k + 1 < layout.pointers.size(); ++k) {
    if (layout.pointers[k] >= to || layout.pointers[k + 1] <= from) continue;
    const std::uint64_t first = k * layout.blockSize;
    const std::uint64_t last = std::min(first + layout.blockSize, size) - 1;
    if (!ranges.empty() && ranges.back().second + 1 == first) {
      ranges.back().second = last;
    } else {
      ranges.emplace_back(first, last);
    }
  }
  std::string text;
  for (const auto& [first, last] : ranges) {
    if (!text.empty()) text += ',';
    text += std::to_string(first);
    text += '-';
    text += std::to_string(last);
  }
  return text;
}

// The file as it must be saved with ranges ("A-B,...") lost: zeros there.
std::string WithZeros(std::string bytes, const std::string& ranges) {
  std::istringstream parts(ranges);
  for (std::string part; std::getline(parts, part, ',');) {
    const std::uint64_t first = std::stoull(part.substr(0, part.find('-')));
    const std::uint64_t last = std::stoull(part.substr(part.find('-') + 1));
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(first),
              bytes.begin() + static_cast<std::ptrdiff_t>(last + 1), '\0');
  }
  return bytes;
}

// The sizes isoinfo gives the files (the bytes they take on the disc), by name.
std::map<std::string, std::uint64_t> IsoinfoSizes(const fs::path& image) {
  std::map<std::string, std::uint64_t> sizes;
  const std::string listing = testing::RunChecked({"isoinfo", "-R", "-l", "-i", image.string()}).out;
  for (const std::string& line : testing::Lines(listing)) {
    if (line.empty() || line[0] != '-') continue;  // files only
    std::istringstream words(line);
    std::string mode, links, user, group, size;
    words >> mode >> links >> user >> group >> size;
    std::string name = line.substr(line.rfind("]  ") + 3);
    name.erase(name.find_last_not_of(' ') + 1);
    sizes[name] = std::stoull(size);
  }
  return sizes;
}

// ls lists every file with its size uncompressed at the extent isoinfo gives
// it (isoinfo and 7-Zip show the compressed sizes); recover saves every byte,
// as bsdtar extracts it, and a --resume finds every file already there.
TEST(ZisofsTest, CompressedFilesAreListedWithTheirSizeAndSavedDecompressed) {
  const auto contents = Contents();
  for (const Writer& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    TempDir dir;
    const fs::path image = writer.make(dir.path());
    const CommandResult listed = RunCli({"ls", "--tsv", image.string()});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const std::map<std::string, std::uint64_t> stored = IsoinfoSizes(image);
    std::map<std::string, std::uint64_t> sizes;
    std::size_t compressed = 0;
    for (const std::string& line : testing::Lines(listed.out)) {
      const std::vector<std::string> fields = Fields(line);
      ASSERT_GE(fields.size(), 5u) << line;
      if (fields[1] != "f") continue;
      sizes[fields[0]] = std::stoull(fields[2]);
      std::string isoPath = fields[0];
      std::transform(isoPath.begin(), isoPath.end(), isoPath.begin(), ::toupper);
      EXPECT_EQ(std::stoul(fields[4]), testing::FileExtentLba(image, isoPath)) << line;
      const auto oracle = stored.find(fields[0].substr(fields[0].rfind('/') + 1));
      ASSERT_NE(oracle, stored.end()) << line;
      if (oracle->second != sizes[fields[0]]) ++compressed;
    }
    std::map<std::string, std::uint64_t> expected;
    for (const auto& [path, bytes] : contents) expected[path] = bytes.size();
    EXPECT_EQ(sizes, expected);
    // The writers leave what does not shrink as it is (xorriso: noise, the
    // empty and the small file); mkzftree -f compresses all.
    EXPECT_GE(compressed, 3u) << "too few files came out compressed to show anything";

    const fs::path dest = dir / "dest";
    const fs::path report = dir / "report.tsv";
    const CommandResult saved = RunCli({"recover", image.string(), dest.string(), "--report", report.string()});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    // bsdtar decompresses zisofs too (7-Zip gives the compressed bytes).
    const fs::path extracted = dir / "bsdtar";
    fs::create_directories(extracted);
    testing::RunChecked({"bsdtar", "-xf", image.string(), "-C", extracted.string()});
    for (const auto& [path, bytes] : contents) {
      EXPECT_TRUE(testing::FileBytes(dest / path) == bytes) << path;
      EXPECT_TRUE(testing::FileBytes(extracted / path) == bytes) << path << " from bsdtar";
      EXPECT_EQ(ReportLines(report)[path].first, "recovered") << path;
    }
    const CommandResult again =
        RunCli({"recover", "--resume", image.string(), dest.string(), "--report", report.string()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    for (const auto& [path, bytes] : contents) {
      EXPECT_TRUE(testing::FileBytes(dest / path) == bytes) << path;
      EXPECT_NE(ReportLines(report)[path].first, "recovered") << path << " written again";
    }
  }
}

// One sector of the report's compressed data that does not read, a block's
// bytes that do not inflate, the sector of the header and pointer table: the
// blocks they hold are zeros and named (in bytes of the real file), the other
// files whole, exit 1; a --resume from the undamaged disc then makes the file
// whole. Without its header nothing of the file is saved.
TEST(ZisofsTest, BlocksThatDoNotReadOrInflateAreZerosAndSaid) {
  const std::string report = Contents().at("docs/report.txt");
  const std::uint64_t size = report.size();
  for (const Writer& writer : kWriters) {
    TempDir dir;
    const fs::path image = writer.make(dir.path());
    const std::uint32_t extent = testing::FileExtentLba(image, "DOCS/REPORT.TXT");
    const Layout layout = LayoutOf(image, extent, size);
    ASSERT_GE(layout.pointers.size(), 4u);
    const std::uint32_t middle = layout.pointers[layout.pointers.size() / 2];

    const fs::path corrupt = dir / "corrupt.iso";
    fs::copy_file(image, corrupt);
    // A byte in the middle of block 1's stream, flipped: its checksum fails.
    const std::uint64_t flipped = (layout.pointers[1] + layout.pointers[2]) / 2;
    const std::vector<std::byte> old = testing::ReadBytes(corrupt, extent * kBlock + flipped, 1);
    const std::byte changed[] = {old[0] ^ std::byte{0x5A}};
    testing::WriteBytes(corrupt, extent * kBlock + flipped, changed);

    const struct {
      std::string name;
      fs::path image;
      std::vector<std::uint32_t> unreadable;
      std::string lost;  // empty: the whole file is lost
    } cases[] = {
        {"a sector of compressed data", image, {extent + static_cast<std::uint32_t>(middle / kBlock)},
         LostRanges(layout, size, middle / kBlock * kBlock, middle / kBlock * kBlock + kBlock)},
        {"a block that does not inflate", corrupt, {},
         LostRanges(layout, size, flipped, flipped + 1)},
        {"the header and pointer table", image, {extent}, ""},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(writer.name) + ": " + c.name);
      const fs::path dest = dir / ("dest " + c.name);
      const fs::path reportFile = dir / ("report " + c.name);
      testing::UnreadableSectors bad(c.image, c.unreadable, dir / ("tries " + c.name));
      const CommandResult saved = RunCli(
          {"recover", c.image.string(), dest.string(), "--report", reportFile.string()}, bad.Environment());
      EXPECT_EQ(saved.exitCode, 1) << saved.err;
      auto lines = ReportLines(reportFile);
      if (c.lost.empty()) {
        EXPECT_EQ(lines["docs/report.txt"].first, "failed");
        EXPECT_FALSE(fs::exists(dest / "docs/report.txt"));
      } else {
        EXPECT_EQ(lines["docs/report.txt"], std::make_pair(std::string("partial"), c.lost));
        EXPECT_TRUE(testing::FileBytes(dest / "docs/report.txt") == WithZeros(report, c.lost));
      }
      for (const auto& [path, bytes] : Contents()) {
        if (path != "docs/report.txt") {
          EXPECT_TRUE(testing::FileBytes(dest / path) == bytes) << path;
        }
      }
      if (c.lost.empty()) continue;
      const CommandResult resumed =
          RunCli({"recover", "--resume", image.string(), dest.string(), "--report", reportFile.string()});
      EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
      EXPECT_EQ(ReportLines(reportFile)["docs/report.txt"].first, "recovered");
      EXPECT_TRUE(testing::FileBytes(dest / "docs/report.txt") == report);
    }
  }
}

}  // namespace
}  // namespace velmora
