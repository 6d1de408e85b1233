#pragma once

// The table a benchmark prints: one row per tool.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Measurement.h"

namespace velmora::bench {

struct Row {
  std::string tool;
  Run run;
  std::string check;  // what the output looked like: "ok" or what was wrong
  bool engine = false;
  std::string ratioLabel;  // for an engine row: the heading of its ratio column
};

// One line per tool: seconds, CPU seconds, MB/s (10^6 bytes of file data, or of
// image), files per second when files is not 0, peak KiB, and per engine row
// the ratio of its time to that row's time (above 1: the engine is slower).
inline void PrintTable(const std::vector<Row>& rows, std::uint64_t bytes, std::uint64_t files) {
  std::printf("%-37s %8s %8s %8s", "tool", "seconds", "cpu s", "MB/s");
  if (files != 0) std::printf(" %10s", "files/s");
  std::printf(" %10s", "peak KiB");
  for (const Row& e : rows) {
    if (e.engine) std::printf(" %12s", e.ratioLabel.c_str());
  }
  std::printf("  %s\n", "check");
  long floorKiB = 0;
  for (const Row& row : rows) {
    const double s = row.run.seconds;
    std::printf("%-37s %8.3f %8.3f %8.1f", row.tool.c_str(), s, row.run.cpuSeconds,
                static_cast<double>(bytes) / 1e6 / s);
    if (files != 0) std::printf(" %10.0f", static_cast<double>(files) / s);
    std::printf(" %10ld", row.run.peakKiB);
    for (const Row& e : rows) {
      if (!e.engine) continue;
      if (&e == &row) {
        std::printf(" %12s", "-");
      } else {
        std::printf(" %12.2f", e.run.seconds / s);
      }
    }
    std::printf("  %s\n", row.check.c_str());
    floorKiB = std::max(floorKiB, row.run.floorKiB);
  }
  std::printf("a peer's peak KiB cannot be below this process's %ld KiB at the spawn\n", floorKiB);
}

}  // namespace velmora::bench
