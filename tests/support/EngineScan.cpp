#include "support/EngineScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "image/ImageSource.h"
#include "support/IsoOracle.h"
#include "text/Utf.h"

namespace velmora::testing {

EngineScan::EngineScan(std::unique_ptr<platform::Machine> machineIn)
    : machine(std::move(machineIn)), reader(*machine), scan(reader, state, table, host) {}

void EngineScan::ScanImage(const std::string& path) {
  std::string reason;
  ASSERT_EQ(disc::OpenImageSource(reader, *machine, path, reason), disc::ImageOpenResult::kOpened)
      << reason;
  state.readingImage = true;
  scan.Scan();
}

void EngineScan::ScanDrive() { scan.OnOpenDrive(); }

std::string EngineScan::PathOf(std::size_t index) const {
  std::vector<std::string> names;
  std::size_t at = index;
  for (int depth = 0; depth < 1000; ++depth) {
    const disc::Entry& entry = table[at];
    if (entry.parentId < 0) break;  // Root
    names.push_back(text::ToUtf8(entry.name));
    std::size_t from = table.SessionNodeIndex(entry.session);
    std::size_t parent = table.FindFolder(static_cast<std::uint32_t>(entry.parentId),
                                          from == disc::EntryTable::kNone ? 0 : from);
    if (parent == disc::EntryTable::kNone) {
      names.push_back("?");
      break;
    }
    at = parent;
  }
  std::string path;
  for (auto it = names.rbegin(); it != names.rend(); ++it) path += (path.empty() ? "" : "/") + *it;
  return path;
}

std::vector<std::string> EngineScan::ListingTsv() const {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const disc::Entry& e = table[i];
    if (e.parentId < 0 || (e.IsFolder() && e.year == 0 && e.parentId == 0 && e.session == 0)) {
      continue;  // Root and Session nodes
    }
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", e.year, e.month, e.day,
                  e.hour, e.minute, e.second);
    lines.push_back(PathOf(i) + "\t" + (e.IsFolder() ? kListingFolder : kListingFile) + "\t" +
                    std::to_string(e.size) + "\t" + date + "\t" + std::to_string(e.fileId));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace velmora::testing
