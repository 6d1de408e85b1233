#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/LinuxMachine.h"
#include "platform/linux/OsError.h"
#include "support/TempDir.h"

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

class LinuxMachineTest : public ::testing::Test {
 protected:
  fs::path WriteFile(const fs::path& name, const std::string& text) {
    const fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  velmora::testing::TempDir dir_;
};

TEST_F(LinuxMachineTest, OpticalDrivesComeFromCdromInfoElseBlockClassSortedByNumber) {
  // The layout /proc/sys/dev/cdrom/info has on a machine with four drives.
  const std::string fourDrives =
      "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
      "drive name:\t\tsr10\tsr2\tsr1\tsr0\n"
      "drive speed:\t\t48\t24\t8\t1\n"
      "drive # of slots:\t1\t1\t1\t1\n";
  struct Case {
    const char* name;
    std::optional<std::string> cdromInfo;
    std::vector<std::string> blockClass;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"cdrom info lists every drive, block class unused",
       fourDrives,
       {"sr7"},
       {"/dev/sr0", "/dev/sr1", "/dev/sr2", "/dev/sr10"}},
      {"cdrom info missing",
       std::nullopt,
       {"sr3", "sda", "sr0", "loop1", "sr", "srx1"},
       {"/dev/sr0", "/dev/sr3"}},
      {"neither", std::nullopt, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path root = dir_ / std::to_string(&c - cases);
    const fs::path info = root / "proc/sys/dev/cdrom/info";
    const fs::path blockClass = root / "sys/class/block";
    if (c.cdromInfo) WriteFile(info.lexically_relative(dir_.path()), *c.cdromInfo);
    for (const std::string& entry : c.blockClass) fs::create_directories(blockClass / entry);

    LinuxMachine machine(info, blockClass);
    EXPECT_EQ(machine.OpticalDrives(), c.expected);
  }
}

// A folder standing for the machine's root: its lists, and its device nodes.
TEST_F(LinuxMachineTest, UnderRootListsAndNamesTheDrivesOfTheRoot) {
  WriteFile("proc/sys/dev/cdrom/info", "drive name:\t\tsr1\tsr0\n");
  EXPECT_EQ(LinuxMachine::UnderRoot(dir_.path())->OpticalDrives(),
            (std::vector<std::string>{(dir_ / "dev/sr0").string(), (dir_ / "dev/sr1").string()}));
  fs::remove(dir_ / "proc/sys/dev/cdrom/info");
  fs::create_directories(dir_ / "sys/class/block/sr3");
  EXPECT_EQ(LinuxMachine::UnderRoot(dir_.path())->OpticalDrives(),
            std::vector<std::string>{(dir_ / "dev/sr3").string()});
}

// A sparse 5 GiB image with a marker at 4.5 GiB and one in its last bytes.
TEST_F(LinuxMachineTest, ReadAtReachesPast4GiBAndStopsAtEndOfFile) {
  const fs::path path = dir_ / "sparse.img";
  const std::uint64_t size = 5 * kGiB;
  const std::uint64_t middle = 4 * kGiB + kGiB / 2;
  const std::string middleMarker = "extent at 4.5 GiB";
  const std::string endMarker = "last bytes";
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, size);
  {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(middle)) << middleMarker;
    out.seekp(static_cast<std::streamoff>(size - endMarker.size())) << endMarker;
    ASSERT_TRUE(out.good());
  }
  OpenError error;
  auto file = CreateHostMachine()->OpenDevice(path.string(), error);
  ASSERT_NE(file, nullptr) << error.reason;
  EXPECT_EQ(file->Size(), size);

  struct Case {
    const char* name;
    std::uint64_t offset;
    std::size_t length;
    bool ok;
    std::string expected;  // bytes delivered
  };
  const Case cases[] = {
      {"marker past 4 GiB", middle, middleMarker.size(), true, middleMarker},
      {"hole before the marker", middle - 3, 8, true, std::string(3, '\0') + "exten"},
      {"short read at end of file", size - endMarker.size(), 64, true, endMarker},
      {"at end of file", size, 16, true, ""},
      {"past end of file", 6 * kGiB, 16, true, ""},
      {"offset beyond a 64-bit file offset", UINT64_MAX - 8, 16, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::byte> buffer(c.length, std::byte{0x5A});
    const IoResult result = file->ReadAt(c.offset, buffer);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.ok, result.error == 0) << result.reason;
    ASSERT_EQ(result.bytes, c.expected.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), result.bytes), c.expected);
  }
}

TEST_F(LinuxMachineTest, DriveCallsOnAPlainFileFailWithoutHarm) {
  const fs::path path = WriteFile("image.iso", std::string(4096, 'x'));
  auto machine = CreateHostMachine();
  OpenError error;
  auto file = machine->OpenDevice(path.string(), error);
  ASSERT_NE(file, nullptr) << error.reason;
  EXPECT_EQ(file->ReadToc(), std::nullopt);
  EXPECT_FALSE(file->SetMediumRemoval(true));
  EXPECT_FALSE(file->SetMediumRemoval(false));

  EXPECT_EQ(machine->OpenPassThrough(path.string(), error), nullptr);
  EXPECT_EQ(error.error, ENOTTY);
  EXPECT_EQ(error.reason, path.string() + " is not a SCSI pass-through device");

  // The handle still reads after the refused ioctls.
  std::vector<std::byte> buffer(10);
  EXPECT_EQ(file->ReadAt(4090, buffer).bytes, 6u);
}

TEST_F(LinuxMachineTest, OpenFailuresNameThePathAndTheCause) {
  const std::string missing = (dir_ / "no-such-drive").string();
  const std::string folder = dir_.path().string();
  struct Case {
    std::string path;
    int error;
    std::string reason;
  };
  const Case cases[] = {
      {missing, ENOENT, missing + " does not exist"},
      {folder, EISDIR, folder + ": Is a directory"},
  };
  auto machine = CreateHostMachine();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    OpenError error;
    EXPECT_EQ(machine->OpenDevice(c.path, error), nullptr);
    EXPECT_EQ(error.error, c.error);
    EXPECT_EQ(error.reason, c.reason);
  }
  OpenError error;
  EXPECT_EQ(machine->OpenPassThrough(missing, error), nullptr);
  EXPECT_EQ(error.error, ENOENT);
  EXPECT_EQ(error.reason, missing + " does not exist");
}

// An image file the user may not read is a matter of its permissions; the
// advice about the cdrom group is for devices.
TEST_F(LinuxMachineTest, OpenWithoutReadPermissionTellsHowToGetIt) {
  const fs::path locked = WriteFile("locked.iso", "data");
  fs::permissions(locked, fs::perms::none);
  if (std::ifstream(locked).is_open()) GTEST_SKIP() << "running with rights that ignore modes";
  OpenError error;
  EXPECT_EQ(CreateHostMachine()->OpenDevice(locked.string(), error), nullptr);
  EXPECT_EQ(error.error, EACCES);
  EXPECT_EQ(error.reason, locked.string() + ": Permission denied; check the file's permissions");
  EXPECT_EQ(MakeOpenError(locked.string(), EPERM).reason,
            locked.string() + ": Operation not permitted; check the file's permissions");
}

TEST(OpenErrorTextTest, ReasonTellsTheUserWhatToDo) {
  const std::string hint =
      "; the user needs read access to the device (for example membership in the cdrom group)";
  struct Case {
    int error;
    std::string reason;
  };
  const Case cases[] = {
      {EACCES, "/dev/sr0: Permission denied" + hint},
      {EPERM, "/dev/sr0: Operation not permitted" + hint},
      {ENOENT, "/dev/sr0 does not exist"},
      {ENOMEDIUM, "/dev/sr0: no disc in the drive"},
      {EIO, "/dev/sr0: Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    const OpenError error = MakeOpenError("/dev/sr0", c.error);
    EXPECT_EQ(error.error, c.error);
    EXPECT_EQ(error.reason, c.reason);
  }
}

}  // namespace
}  // namespace velmora::platform
