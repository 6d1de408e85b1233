#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/emulated/FaultMapFile.h"
#include "support/TempDir.h"

namespace velmora::platform::emulated {
namespace {

std::optional<FaultMap> Read(const std::string& text, std::string& reason) {
  testing::TempDir dir;
  const auto path = dir / "faults";
  std::ofstream(path) << text;
  return ReadFaultMapFile(path.string(), reason);
}

TEST(FaultMapFileTest, ReadsEveryKindAndSkipsCommentsAndBlankLines) {
  std::string reason;
  const auto faults = Read(
      "# two bad sectors in one file\n\n40 unreadable\n41 check\n  42 short 100\n43 slow 5\n"
      "44 gone\n",
      reason);
  ASSERT_TRUE(faults) << reason;
  ASSERT_EQ(faults->size(), 5u);
  EXPECT_EQ(faults->at(40).kind, FaultKind::kUnreadable);
  EXPECT_EQ(faults->at(41).kind, FaultKind::kCheckCondition);
  EXPECT_EQ(faults->at(42).kind, FaultKind::kShortRead);
  EXPECT_EQ(faults->at(42).shortBytes, 100u);
  EXPECT_EQ(faults->at(43).kind, FaultKind::kSlow);
  EXPECT_EQ(faults->at(43).delay.count(), 5);
  EXPECT_EQ(faults->at(44).kind, FaultKind::kDriveGone);
}

TEST(FaultMapFileTest, RejectsMalformedLinesNamingTheLine) {
  const struct {
    const char* text;
    const char* line;
  } cases[] = {
      {"40 unreadable\n41 broken\n", ":2:"},   {"-1 unreadable\n", ":1:"},
      {"40 short\n", ":1:"},                    {"40 short 2048\n", ":1:"},
      {"40 unreadable extra\n", ":1:"},         {"forty unreadable\n", ":1:"},
      {"40 slow 99999999\n", ":1:"},            {"4294967296 unreadable\n", ":1:"},
      {"40 gone 5\n", ":1:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string reason;
    EXPECT_FALSE(Read(c.text, reason));
    EXPECT_NE(reason.find(c.line), std::string::npos) << reason;
  }
}

TEST(FaultMapFileTest, MissingFileIsReported) {
  std::string reason;
  EXPECT_FALSE(ReadFaultMapFile("/nonexistent/faults", reason));
  EXPECT_NE(reason.find("/nonexistent/faults"), std::string::npos);
}

}  // namespace
}  // namespace velmora::platform::emulated
