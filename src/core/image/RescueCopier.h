#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "disc/CCDReader.h"
#include "host/AppState.h"
#include "host/RescueProgress.h"
#include "host/ScanHost.h"
#include "image/MapWriter.h"
#include "image/RescueImageFile.h"
#include "media/RescueMap.h"

namespace velmora::disc {

// A run of sectors [begin, end).
struct SectorArea {
  Lba begin = 0;
  Lba end = 0;
};

// The passes of a rescue over its map. Each reads only sectors the map does
// not give as read, writes what came into the image at its block, and marks
// the map: '+' read, '*' failed in a large read (not yet trimmed), '/'
// trimmed (not yet scraped), '-' failed when read alone. A good sector is thus
// never read twice. Before every read the host lets a Stop through; after
// every read the map is saved, so that even a rescue that is killed never
// reads again what it had read.
class RescueCopier {
 public:
  // 64 KiB: the large reads of the copying passes.
  static constexpr Lba kClusterSectors = 32;

  enum class End { kDone, kStopped, kWriteFailed };

  RescueCopier(CCDReader& reader, AppState& state, ScanHost& host, RescueImageFile& image,
               RescueMap& map, MapWriter& writer, Lba mediumSectors);

  // Copies the non-tried sectors of the areas (ascending) in large reads. After
  // a read that fails, what is left of it is non-trimmed and a skip (doubled
  // at each error in a row, back to its start after a good read) is left
  // non-tried for the later passes.
  End CopyForwards(const std::vector<SectorArea>& areas);
  // The non-tried sectors left, from the last area to the first and each
  // backwards, in large reads; an area's first error leaves the rest of it
  // for the sweep.
  End CopyBackwards(const std::vector<SectorArea>& areas);
  // The non-tried sectors left, forwards in large reads without skipping.
  End Sweep(const std::vector<SectorArea>& areas);
  // Each non-trimmed run read sector by sector from its leading edge up to the
  // first bad sector, and from its trailing edge back to the first bad sector
  // (an edge next to a bad sector is trimmed already); what lies between is
  // non-scraped.
  End Trim();
  // Each non-scraped sector read alone.
  End Scrape();
  // Each bad sector read alone once more, in the direction given.
  End Retry(bool forwards);

  // Records the medium's answer to a read of count sectors from lba: the
  // whole sectors delivered are written and read, a sector delivered in part
  // is written with 0xF6 after its bytes, and the sector the read broke off at
  // is bad (read alone) or, with the rest of a large read, non-trimmed.
  // False when the image refused the write.
  bool Record(Lba lba, std::uint32_t count, bool ok, std::span<const std::byte> delivered);
  // A read made for the rescue by someone else (the scan of its first pass),
  // counted and recorded; a write the image refused ends the rescue after it.
  void RecordRead(Lba lba, std::uint32_t count, bool ok, std::span<const std::byte> delivered);
  bool writeFailed() const { return writeFailed_; }

  // Progress of the pass that runs.
  void StartPass(RescuePass pass, int number, bool forwards);
  void EndPass();
  void SetProgressShown(std::function<void(const RescueProgress&)> shown) {
    shown_ = std::move(shown);
  }
  // Counts the domain's bytes for the progress (the gaps left out).
  void SetDomain(const RescueMap* domain) { domain_ = domain; }
  RescueProgress Progress() const;

  std::uint64_t reads() const { return reads_; }
  std::uint64_t failedReads() const { return failedReads_; }
  const std::string& writeReason() const { return image_.reason(); }

 private:
  // One read of count sectors at lba, recorded.
  End ReadAndRecord(Lba lba, std::uint32_t count, std::uint32_t& wholeSectors);
  bool Stopped();
  AreaStatus StatusOf(Lba lba) const;
  // The runs of status in the map (inside the areas, when given), as sectors.
  std::vector<SectorArea> RunsOf(AreaStatus status, const std::vector<SectorArea>* within) const;
  void Show(bool passEnded);
  void SaveMap();

  CCDReader& reader_;
  AppState& state_;
  ScanHost& host_;
  RescueImageFile& image_;
  RescueMap& map_;
  MapWriter& writer_;
  Lba mediumSectors_;
  Lba initialSkip_;
  Lba maxSkip_;
  std::vector<std::byte> buffer_;
  std::uint64_t reads_ = 0;
  std::uint64_t failedReads_ = 0;
  bool writeFailed_ = false;
  const RescueMap* domain_ = nullptr;
  std::function<void(const RescueProgress&)> shown_;
  RescueProgress pass_;
  // The rate over the last few seconds.
  std::chrono::steady_clock::time_point rateStart_;
  std::uint64_t rateBytes_ = 0;
  double rate_ = 0;
  // What the pass read, for its average at its end.
  std::chrono::steady_clock::time_point passStart_;
  std::uint64_t passBytes_ = 0;
  std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace velmora::disc
