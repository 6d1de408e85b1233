// The system use area parser over discs made by pycdlib and genisoimage -r,
// and over entries of hostile shape.
#include "iso9660/RockRidge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "media/ByteReader.h"
#include "media/Sector.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace velmora::disc {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::byte> ReadBlock(std::ifstream& file, std::uint32_t block, std::uint32_t count = 1) {
  std::vector<std::byte> bytes(std::size_t{count} * kSectorSize);
  file.clear();
  file.seekg(std::streamoff{block} * kSectorSize);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return bytes;
}

// The Rock Ridge view of one folder of an image, by ISO identifier.
struct FolderView {
  RockRidgeRecord self;  // the "." record
  std::map<std::string, RockRidgeRecord> children;
  std::map<std::string, std::uint32_t> extents;
  std::map<std::string, std::uint32_t> lengths;
  std::map<std::string, bool> continued;  // the record's own area names a CE
};

FolderView ReadFolderView(std::ifstream& file, std::uint32_t extent, std::uint32_t length,
                          std::uint8_t skip) {
  FolderView view;
  const std::vector<std::byte> data = ReadBlock(file, extent, (length + kSectorSize - 1) / kSectorSize);
  const ContinuationReader read = [&](std::uint32_t block, std::vector<std::byte>& sector) {
    sector = ReadBlock(file, block);
    return sector.size() == kSectorSize;
  };
  std::size_t pos = 0;
  bool first = true;
  while (pos < data.size()) {
    const std::size_t recordLength = static_cast<std::uint8_t>(data[pos]);
    if (recordLength == 0) {
      pos = (pos / kSectorSize + 1) * kSectorSize;
      continue;
    }
    const std::span<const std::byte> bytes = std::span(data).subspan(pos, recordLength);
    const auto record = ParseDirectoryRecord(bytes);
    pos += recordLength;
    if (!record) continue;
    // The root's "." record carries SP before any skip is known.
    RockRidgeRecord rr = ReadRockRidge(SystemUseArea(bytes, first ? 0 : skip), read, 0);
    std::string id(reinterpret_cast<const char*>(record->identifier.data()), record->identifier.size());
    if (first) view.self = rr;
    first = false;
    view.children[id] = rr;
    view.extents[id] = record->extent;
    view.lengths[id] = record->dataLength;
    RockRidgeRecord own;
    ParseSystemUseEntries(SystemUseArea(bytes, first ? 0 : skip), own);
    view.continued[id] = own.continuation.has_value();
  }
  return view;
}

FolderView ReadRootView(const fs::path& image) {
  std::ifstream file(image, std::ios::binary);
  const std::vector<std::byte> pvd = ReadBlock(file, 16);
  ByteReader reader(pvd);
  const std::uint32_t extent = reader.U32Le(156 + 2), length = reader.U32Le(156 + 10);
  FolderView root = ReadFolderView(file, extent, length, 0);
  return ReadFolderView(file, extent, length, root.self.skipLength);
}

TEST(RockRidgeTest, PycdlibContinuationAreasJoinLongNamesLinksAndModes) {
  TempDir dir;
  const fs::path image = dir / "rr.iso";
  const std::string longName(240, 'n');
  const std::string script =
      "import io, sys, pycdlib\n"
      "iso = pycdlib.PyCdlib()\n"
      "iso.new(interchange_level=3, rock_ridge='1.09')\n"
      "iso.add_fp(io.BytesIO(b'long'), 4, '/LONG.TXT;1', rr_name='" + longName + ".Txt', file_mode=0o100640)\n"
      "iso.add_fp(io.BytesIO(b'x'), 1, '/SHORT.TXT;1', rr_name='Short Mixed.txt', file_mode=0o100755)\n"
      "iso.add_directory('/DIR', rr_name='Dir')\n"
      "iso.add_symlink('/LINK.;1', rr_symlink_name='link', rr_path='../up/./Dir/target')\n"
      "iso.write(sys.argv[1])\n";
  testing::RunChecked({"/usr/bin/python3", "-c", script, image.string()});

  const FolderView root = ReadRootView(image);
  EXPECT_TRUE(root.self.hasSharingProtocol);
  ASSERT_FALSE(root.self.extensions.empty());
  EXPECT_TRUE(root.self.extensions[0].starts_with("RRIP"));

  struct Case {
    std::string id;
    std::string name;
    std::uint32_t mode;
    std::string target;
    bool continued;
  };
  const std::vector<Case> cases = {
      {"LONG.TXT;1", longName + ".Txt", 0100640, "", true},
      {"SHORT.TXT;1", "Short Mixed.txt", 0100755, "", false},
      {"DIR", "Dir", 0040555, "", false},
      {"LINK.;1", "link", 0120555, "../up/./Dir/target", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(root.children.contains(c.id));
    RockRidgeRecord rr = root.children.at(c.id);
    EXPECT_TRUE(rr.hasRockRidge);
    EXPECT_EQ(rr.damage, 0u);
    ASSERT_TRUE(rr.name);
    EXPECT_EQ(*rr.name, c.name);
    const auto shown = RockRidgeName(rr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), c.name.size());
    ASSERT_TRUE(rr.mode);
    EXPECT_EQ(*rr.mode & 0170000, c.mode & 0170000);
    if (c.mode != 0040555 && c.mode != 0120555) {
      EXPECT_EQ(*rr.mode & 07777, c.mode & 07777);
    }
    EXPECT_EQ(rr.isLink, !c.target.empty());
    EXPECT_EQ(rr.LinkTarget(), c.target);
    EXPECT_TRUE(rr.modified);
    EXPECT_EQ(root.continued.at(c.id), c.continued);
  }
}

// genisoimage -r: real names of every case and script, a link to an absolute
// path, and a tree nine folders deep, whose deepest folder is relocated.
TEST(RockRidgeTest, GenisoimageDiscsRelocateDeepFoldersWithChildAndParentLinks) {
  TempDir dir;
  const fs::path tree = dir / "tree";
  fs::path deep = tree;
  for (int level = 1; level <= 9; ++level) deep /= "level" + std::to_string(level);
  fs::create_directories(deep);
  std::ofstream(deep / "bottom.txt") << "deep";
  std::ofstream(tree / "Mixed Case Long File Name.Text") << "mixed";
  std::ofstream(tree / "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt") << "unicode";
  fs::create_symlink("/usr/share/doc", tree / "abs-link");
  const fs::path image = dir / "rr.iso";
  testing::RunChecked({"genisoimage", "-quiet", "-r", "-o", image.string(), tree.string()});

  const FolderView root = ReadRootView(image);
  EXPECT_TRUE(root.self.hasSharingProtocol);
  std::map<std::string, RockRidgeRecord> byName;
  for (const auto& [id, rr] : root.children) {
    if (rr.name) byName[*rr.name] = rr;
  }
  for (const std::string name : {"Mixed Case Long File Name.Text",
                                 "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt", "abs-link",
                                 "level1", "rr_moved"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(byName.contains(name));
  }
  EXPECT_EQ(byName["abs-link"].LinkTarget(), "/usr/share/doc");
  EXPECT_EQ(*byName["abs-link"].mode & 0170000, 0120000u);

  // Down the levels until a CL record stands for the next one, moved to
  // rr_moved; that folder has RE and a PL back to the folder holding the CL.
  std::ifstream file(image, std::ios::binary);
  FolderView at = root;
  std::uint32_t parentExtent = 0;
  std::optional<RockRidgeRecord> placeholder;
  for (int level = 1; level <= 9 && !placeholder; ++level) {
    const std::string want = "level" + std::to_string(level);
    std::string found;
    for (const auto& [i, rr] : at.children) {
      if (rr.name && *rr.name == want) found = i;
    }
    ASSERT_FALSE(found.empty()) << want;
    if (at.children.at(found).childLink) {
      placeholder = at.children.at(found);
      break;
    }
    parentExtent = at.extents.at(found);
    at = ReadFolderView(file, at.extents.at(found), at.lengths.at(found), root.self.skipLength);
  }
  ASSERT_TRUE(placeholder);
  ASSERT_TRUE(placeholder->childLink);
  const FolderView moved = ReadFolderView(file, *placeholder->childLink, kSectorSize, root.self.skipLength);
  // RE marks the moved folder's record in rr_moved.
  std::string movedId;
  for (const auto& [i, rr] : root.children) {
    if (rr.name && *rr.name == "rr_moved") movedId = i;
  }
  const FolderView holder = ReadFolderView(file, root.extents.at(movedId), root.lengths.at(movedId),
                                           root.self.skipLength);
  bool relocated = false;
  for (const auto& [i, rr] : holder.children) {
    if (holder.extents.at(i) == *placeholder->childLink) relocated = rr.relocated;
  }
  EXPECT_TRUE(relocated);
  bool parentLinked = false;
  for (const auto& [i, rr] : moved.children) {
    if (i.size() == 1 && i[0] == '\1') parentLinked = rr.parentLink == parentExtent;
  }
  EXPECT_TRUE(parentLinked);
}

// Entries laid out field by field, as a writer (or a hostile one) would.
std::vector<std::byte> Entry(const std::string& signature, const std::vector<std::uint8_t>& fields,
                             const std::string& payload = {}) {
  std::vector<std::byte> entry;
  for (char c : signature) entry.push_back(static_cast<std::byte>(c));
  entry.push_back(static_cast<std::byte>(4 + fields.size() + payload.size()));
  entry.push_back(std::byte{1});
  for (std::uint8_t f : fields) entry.push_back(static_cast<std::byte>(f));
  for (char c : payload) entry.push_back(static_cast<std::byte>(c));
  return entry;
}

std::vector<std::uint8_t> BothEndian(std::uint32_t value) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  for (int i = 3; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return bytes;
}

std::vector<std::byte> Joined(const std::vector<std::vector<std::byte>>& entries) {
  std::vector<std::byte> all;
  for (const auto& e : entries) all.insert(all.end(), e.begin(), e.end());
  return all;
}

std::vector<std::uint8_t> Continuation(std::uint32_t block, std::uint32_t offset, std::uint32_t length) {
  std::vector<std::uint8_t> fields = BothEndian(block);
  for (std::uint32_t v : {offset, length}) {
    const auto b = BothEndian(v);
    fields.insert(fields.end(), b.begin(), b.end());
  }
  return fields;
}

TEST(RockRidgeTest, HostileEntriesEndBoundedWithSafeNames) {
  // A medium of 4 blocks whose block 2 holds a CE pointing at itself, and
  // whose block 3 holds NM parts.
  std::vector<std::vector<std::byte>> medium(4, std::vector<std::byte>(kSectorSize));
  const auto selfCe = Entry("CE", Continuation(2, 0, 28));
  std::copy(selfCe.begin(), selfCe.end(), medium[2].begin());
  const ContinuationReader read = [&](std::uint32_t block, std::vector<std::byte>& sector) {
    if (block >= medium.size()) return false;
    sector = medium[block];
    return true;
  };
  std::string manyComponents;
  for (int i = 0; i < 3000; ++i) manyComponents += std::string{'\0', '\1', 'a'};

  struct Case {
    std::string what;
    std::vector<std::byte> area;
    std::uint32_t damage;
    std::optional<std::string> shown;
  };
  const std::string part(200, 'p');
  std::vector<std::vector<std::byte>> links;
  for (std::size_t at = 0; at < manyComponents.size(); at += 240) {
    links.push_back(Entry("SL", {0x01}, manyComponents.substr(at, 240)));
  }
  const std::vector<Case> cases = {
      {"NM over 255 bytes in total", Joined({Entry("NM", {0x01}, part), Entry("NM", {0}, part)}),
       RockRidgeRecord::kNameTooLong, std::string(255, 'p')},
      {"NM with slash and NUL", Entry("NM", {0}, std::string("a/b\0c", 5)),
       RockRidgeRecord::kNameUnsafe, "a_b_c"},
      {"NM naming the parent", Entry("NM", {0x04}), 0, std::nullopt},
      {"NM of '..' as text", Entry("NM", {0}, ".."), RockRidgeRecord::kNameUnsafe, std::nullopt},
      {"SL of thousands of components", Joined(links), RockRidgeRecord::kLinkTooLong, std::nullopt},
      {"CE into a loop", Entry("CE", Continuation(2, 0, 28)), RockRidgeRecord::kContinuationLoop,
       std::nullopt},
      {"CE beyond the medium", Entry("CE", Continuation(4000, 0, 100)),
       RockRidgeRecord::kContinuationLoop, std::nullopt},
      {"CE running past its block", Entry("CE", Continuation(3, 2000, 100)),
       RockRidgeRecord::kContinuationLoop, std::nullopt},
      {"entry length below its header", Joined({Entry("NM", {0}, "ok"), {std::byte{'X'}, std::byte{'Y'},
                                                                         std::byte{2}, std::byte{1}}}),
       RockRidgeRecord::kEntryMalformed, "ok"},
      {"NM going on where the entries end", Entry("NM", {0x01}, "cut"), RockRidgeRecord::kEntriesCut,
       "cut"},
      {"SL component going on where the entries end", Entry("SL", {0}, std::string{'\1', '\3'} + "abc"),
       RockRidgeRecord::kEntriesCut, std::nullopt},
      {"SL going on in an area that reads empty",
       Joined({Entry("SL", {0x01}, std::string{'\0', '\3'} + "abc"), Entry("CE", Continuation(1, 0, 100))}),
       RockRidgeRecord::kEntriesCut, std::nullopt},
      {"unknown entries skipped by length",
       Joined({Entry("ZZ", {1, 2, 3}), Entry("NM", {0}, "after"), Entry("ST", {}),
               Entry("NM", {0}, "ignored")}),
       0, "after"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RockRidgeRecord rr = ReadRockRidge(c.area, read, 4);
    const auto shown = RockRidgeName(rr);
    EXPECT_EQ(rr.damage, c.damage);
    EXPECT_EQ(shown.has_value(), c.shown.has_value());
    if (shown && c.shown) {
      EXPECT_EQ(shown->size(), c.shown->size());
    }
    EXPECT_LE(rr.link.size(), kMaxLinkComponents);
  }
}

TEST(RockRidgeTest, TimesOfBothFormsCarryTheirGmtOffset) {
  // Short form: creation then modification, 7 bytes each; long form: 17.
  const auto shortTf = Entry("TF", {0x03, 99, 1, 1, 0, 0, 0, 0, 124, 6, 15, 13, 45, 30, 8});
  const std::string digits = "2024061513453000";
  std::vector<std::uint8_t> longFields = {0x82};
  for (char c : digits) longFields.push_back(static_cast<std::uint8_t>(c));
  longFields.push_back(static_cast<std::uint8_t>(-20));
  const auto longTf = Entry("TF", longFields);
  for (const auto& [area, offset] : {std::pair{shortTf, std::int8_t{8}}, std::pair{longTf, std::int8_t{-20}}}) {
    RockRidgeRecord rr = ReadRockRidge(area, nullptr, 0);
    ASSERT_TRUE(rr.modified);
    EXPECT_EQ(rr.modified->year, 2024);
    EXPECT_EQ(rr.modified->month, 6);
    EXPECT_EQ(rr.modified->day, 15);
    EXPECT_EQ(rr.modified->hour, 13);
    EXPECT_EQ(rr.modified->minute, 45);
    EXPECT_EQ(rr.modified->second, 30);
    EXPECT_EQ(rr.modified->gmtOffset, offset);
  }
}

}  // namespace
}  // namespace velmora::disc
