#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/ByteProgress.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::disc {
namespace {

using namespace std::chrono_literals;
using Clock = ByteProgress::Clock;

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;

// One stretch of a copy: for a while it does bytesPerSecond, as a drive does
// over good sectors, slowly over bad ones, or not at all while stuck.
struct Stretch {
  std::chrono::milliseconds lasting;
  std::uint64_t bytesPerSecond;
};

// Runs a copy of total bytes through its stretches, asking for the figures
// every 50 ms as the window's pump does, and gives the last figures.
std::string Figures(ByteProgress& progress, std::uint64_t total,
                    const std::vector<Stretch>& stretches, std::uint64_t doneAtStart = 0) {
  const Clock::time_point start{};
  progress.Start(total, start, doneAtStart);
  Clock::time_point now = start;
  std::uint64_t done = doneAtStart;
  std::u16string text = progress.Text(done, now);
  for (const Stretch& stretch : stretches) {
    for (auto step = 0ms; step < stretch.lasting; step += 50ms) {
      now += 50ms;
      done += stretch.bytesPerSecond / 20;
      text = progress.Text(done, now);
    }
  }
  return text::ToUtf8(text);
}

// What a user reads while a copy runs: nothing but the bytes before the copy
// says anything about its speed, the drive's speed now, and a time left that
// neither a bad area passed nor a stuck drive turns into nonsense.
TEST(ByteProgressTest, FiguresOverACopy) {
  struct Case {
    const char* name;
    std::uint64_t total;
    std::vector<Stretch> stretches;
    std::string expected;
    std::uint64_t doneAtStart = 0;
  };
  const Case cases[] = {
      {"the first moment", 640 * MiB, {}, "0.00 of 640.00 MB"},
      {"too early for a rate", 640 * MiB, {{1750ms, 10 * MiB}}, "17.50 of 640.00 MB"},
      {"steady", 640 * MiB, {{4s, 10 * MiB}}, "40.00 of 640.00 MB, 10.00 MB/s, 1:00 left"},
      {"stuck in a bad area",
       640 * MiB,
       {{4s, 10 * MiB}, {30s, 0}},
       "40.00 of 640.00 MB, 0 bytes/s"},
      // The average since the start would say 6:18.
      {"soon after a long bad area",
       640 * MiB,
       {{4s, 10 * MiB}, {60s, 0}, {6s, 10 * MiB}},
       "100.00 of 640.00 MB, 10.00 MB/s, 0:54 left"},
      // Unreadable sectors are counted as the image skips them, slowly: the
      // rate says so, the time left keeps to the average (20 KB/s would say 8.5 h).
      {"crawling over bad sectors",
       640 * MiB,
       {{4s, 10 * MiB}, {20s, 20 * KiB}},
       "40.39 of 640.00 MB, 20.00 KB/s, 5:56 left"},
      {"hours",
       4658 * MiB + 768 * KiB,
       {{4s, 1280 * KiB}},
       "0.00 of 4.54 GB, 1.25 MB/s, 1:02:03 left"},
      // The bytes of an earlier run count for neither the rate nor the time.
      {"resumed",
       640 * MiB,
       {{4s, 10 * MiB}},
       "360.00 of 640.00 MB, 10.00 MB/s, 0:28 left",
       320 * MiB},
      {"done", 40 * MiB, {{4s, 10 * MiB}}, "40.00 of 40.00 MB, 10.00 MB/s"},
      {"counted past the whole", 30 * MiB, {{4s, 10 * MiB}}, "30.00 of 30.00 MB, 7.50 MB/s"},
      {"bytes", 900, {{2s, 100}}, "200 of 900 bytes, 100 bytes/s, 0:07 left"},
      {"kilobytes", 15 * KiB, {{250ms, 20 * KiB}}, "5.00 of 15.00 KB"},
      {"an empty copy", 0, {{3s, 0}}, "0 of 0 bytes, 0 bytes/s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteProgress progress;
    EXPECT_EQ(Figures(progress, c.total, c.stretches, c.doneAtStart), c.expected);
  }
}

TEST(ByteProgressTest, BuiltAFewTimesASecondAndAtTheEnd) {
  ByteProgress progress;
  const Clock::time_point start{};
  progress.Start(640 * MiB, start);
  EXPECT_EQ(text::ToUtf8(progress.Text(MiB, start)), "1.00 of 640.00 MB");
  // A sector later the figures stay as they were built...
  EXPECT_EQ(text::ToUtf8(progress.Text(MiB + 2048, start + 1ms)), "1.00 of 640.00 MB");
  EXPECT_EQ(text::ToUtf8(progress.Text(2 * MiB, start + 249ms)), "1.00 of 640.00 MB");
  // ...until a quarter of a second has gone, or the copy is whole.
  EXPECT_EQ(text::ToUtf8(progress.Text(3 * MiB, start + 250ms)), "3.00 of 640.00 MB");
  EXPECT_EQ(text::ToUtf8(progress.Text(640 * MiB, start + 251ms)), "640.00 of 640.00 MB");
  // Bytes one short of the whole never read as the whole.
  EXPECT_EQ(text::ToUtf8(progress.Text(640 * MiB - 1, start + 600ms)), "639.99 of 640.00 MB");
  // A new copy starts with figures of its own.
  progress.Start(2 * MiB, start + 700ms);
  EXPECT_EQ(text::ToUtf8(progress.Text(MiB, start + 701ms)), "1.00 of 2.00 MB");
}

TEST(ByteProgressTest, TimeLeftLeftOutWhereBytesLeftAreNotTheWorkLeft) {
  ByteProgress progress;
  progress.SetTimeLeftShown(false);
  EXPECT_EQ(Figures(progress, 640 * MiB, {{4s, 10 * MiB}}), "40.00 of 640.00 MB, 10.00 MB/s");
}

TEST(ByteProgressTest, FiguresFollowTheLanguage) {
  text::SetTextSource([](std::uint16_t id) -> std::u16string {
    switch (id) {
      case text::kDecimalSeparator:
        return u",";
      case text::kCopyBytesRateLeft:
        return u"%1 sur %2 %3, %4, reste %5";
      case text::kUnitMegabytes:
        return u"Mo";
      case text::kRatePerSecond:
        return u"%1 %2/s";
      default:
        return u"";
    }
  });
  ByteProgress progress;
  const std::string figures = Figures(progress, 640 * MiB, {{4s, 10 * MiB}});
  text::SetTextSource({});
  EXPECT_EQ(figures, "40,00 sur 640,00 Mo, 10,00 Mo/s, reste 1:00");
}

}  // namespace
}  // namespace velmora::disc
