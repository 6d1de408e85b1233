// A file over 4 GiB on a level-3 disc is recorded as several directory records
// with the Multi-Extent flag: one entry of their summed size, recovered whole.
// The discs are written for real (about 4.3 GB each), so this suite is slow.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "support/BytePatcher.h"
#include "support/EngineScan.h"
#include "support/IsoBuilder.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kBigSize = (std::uint64_t{4} << 30) + (1u << 20);  // 4 GiB + 1 MB

std::string Md5Of(const fs::path& path) {
  const std::string out = testing::RunChecked({"md5sum", path.string()}).out;
  return out.substr(0, out.find(' '));
}

void WriteAt(const fs::path& path, std::uint64_t offset, const std::string& text) {
  testing::WriteBytes(path, offset, {reinterpret_cast<const std::byte*>(text.data()), text.size()});
}

// A sparse file whose bytes differ at its start, across the end of the first
// extent (4 GiB less one block, where the writers cut it), and at its end.
void WriteBigFile(const fs::path& path) {
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, kBigSize);
  WriteAt(path, 0, "the first bytes");
  WriteAt(path, (std::uint64_t{4} << 30) - 2048 - 7, "across the extents");
  WriteAt(path, kBigSize - 9, "last part");
}

struct Writer {
  const char* name;
  void (*make)(const fs::path& source, const fs::path& image);
};

const Writer kWriters[] = {
    {"xorriso",
     [](const fs::path& source, const fs::path& image) {
       testing::IsoOptions options;
       options.tool = testing::IsoTool::kXorriso;
       options.isoLevel = 3;
       testing::MakeIso(source, image, options);
     }},
    // genisoimage refuses a file over 4 GiB at every level ("There is no way do
    // represent this file size"); pycdlib writes the extents as xorriso does.
    {"pycdlib",
     [](const fs::path& source, const fs::path& image) {
       const std::string script =
           "import sys, pycdlib\n"
           "iso = pycdlib.PyCdlib()\n"
           "iso.new(interchange_level=3, joliet=3)\n"
           "iso.add_file(sys.argv[1] + '/big.bin', '/BIG.BIN;1', joliet_path='/big.bin')\n"
           "iso.add_file(sys.argv[1] + '/small.txt', '/SMALL.TXT;1', joliet_path='/small.txt')\n"
           "iso.write(sys.argv[2])\n";
       testing::RunChecked({"/usr/bin/python3", "-c", script, source.string(), image.string()});
     }},
};

TEST(MultiExtentSlowTest, FileOverFourGiBIsOneEntryRecoveredWhole) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "writes gigabytes; the release build runs it";
#endif
  testing::TempDir dir;
  fs::create_directories(dir / "src");
  WriteBigFile(dir / "src" / "big.bin");
  std::ofstream(dir / "src" / "small.txt") << "small";
  const std::string sourceMd5 = Md5Of(dir / "src" / "big.bin");

  for (const Writer& writer : kWriters) {
    SCOPED_TRACE(writer.name);
    const fs::path image = dir / "big.iso";
    writer.make(dir / "src", image);

    testing::EngineScan engine(platform::CreateHostMachine());
    engine.ScanImage(image.string());
    std::vector<std::string> big;
    for (const std::string& line : engine.ListingTsv()) {
      if (line.starts_with("big.bin\t")) big.push_back(line);
    }
    ASSERT_EQ(big.size(), 1u) << ::testing::PrintToString(engine.ListingTsv());
    EXPECT_NE(big[0].find("\tfile\t" + std::to_string(kBigSize) + "\t"), std::string::npos) << big[0];

    const testing::CommandResult recover = testing::RunCommand(
        {VELMORA_CLI_PATH, "recover", image.string(), (dir / "out").string()});
    EXPECT_EQ(recover.exitCode, 0) << recover.err;
    EXPECT_EQ(fs::file_size(dir / "out" / "big.bin"), kBigSize);
    EXPECT_FALSE(fs::exists(dir / "out" / "big (1).bin"));
    EXPECT_EQ(Md5Of(dir / "out" / "big.bin"), sourceMd5);
    fs::remove_all(dir / "out");
    fs::remove(image);
  }
}

}  // namespace
}  // namespace velmora
