#include "image/RescueCopier.h"

#include <algorithm>

namespace velmora::disc {
namespace {

constexpr std::uint64_t Bytes(Lba lba) { return std::uint64_t{lba} * kSectorSize; }

// The sector that holds byte pos, and the first sector past byte end.
Lba SectorOf(std::uint64_t pos) { return static_cast<Lba>(pos / kSectorSize); }
Lba SectorsUpTo(std::uint64_t end) { return static_cast<Lba>((end + kSectorSize - 1) / kSectorSize); }

constexpr auto kShowInterval = std::chrono::milliseconds(100);
constexpr auto kRateWindow = std::chrono::seconds(2);

}  // namespace

RescueCopier::RescueCopier(CCDReader& reader, AppState& state, ScanHost& host,
                           RescueImageFile& image, RescueMap& map, MapWriter& writer,
                           Lba mediumSectors)
    : reader_(reader),
      state_(state),
      host_(host),
      image_(image),
      map_(map),
      writer_(writer),
      mediumSectors_(mediumSectors),
      // As ddrescue skips: a hundred-thousandth of the medium, at least 64 KiB,
      // growing to a hundredth of it.
      initialSkip_(std::max<Lba>(kClusterSectors, mediumSectors / 100000)),
      maxSkip_(std::max<Lba>(initialSkip_, mediumSectors / 100)),
      buffer_(std::size_t{kClusterSectors} * kSectorSize) {}

AreaStatus RescueCopier::StatusOf(Lba lba) const {
  const std::uint64_t begin = Bytes(lba);
  const std::uint64_t firstNotRead =
      map_.FirstNotIn(begin, begin + kSectorSize, AreaStatus::kFinished);
  if (firstNotRead >= begin + kSectorSize) return AreaStatus::kFinished;
  return map_.StatusAt(firstNotRead).value_or(AreaStatus::kFinished);
}

std::vector<SectorArea> RescueCopier::RunsOf(AreaStatus status,
                                             const std::vector<SectorArea>* within) const {
  std::vector<SectorArea> runs;
  map_.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus s) {
    if (s != status) return;
    const Lba first = SectorOf(begin);
    const Lba last = std::min(SectorsUpTo(end), mediumSectors_);
    if (first >= last) return;
    if (!runs.empty() && runs.back().end >= first) {
      runs.back().end = std::max(runs.back().end, last);
    } else {
      runs.push_back({first, last});
    }
  });
  if (!within) return runs;
  std::vector<SectorArea> inside;
  for (const SectorArea& area : *within) {
    for (const SectorArea& run : runs) {
      const Lba begin = std::max(area.begin, run.begin);
      const Lba end = std::min(area.end, run.end);
      if (begin < end) inside.push_back({begin, end});
    }
  }
  std::sort(inside.begin(), inside.end(),
            [](const SectorArea& a, const SectorArea& b) { return a.begin < b.begin; });
  return inside;
}

bool RescueCopier::Stopped() {
  host_.PumpPendingMessages();
  return state_.stopRequested;
}

bool RescueCopier::Record(Lba lba, std::uint32_t count, bool ok,
                          std::span<const std::byte> delivered) {
  if (!ok) delivered = {};
  delivered = delivered.first(std::min<std::size_t>(delivered.size(), Bytes(count)));
  const auto whole = static_cast<Lba>(delivered.size() / kSectorSize);
  const std::size_t part = delivered.size() % kSectorSize;
  if (whole > 0) {
    if (!image_.WriteAt(Bytes(lba), delivered.first(Bytes(whole)))) return false;
    map_.Set(Bytes(lba), Bytes(lba + whole), AreaStatus::kFinished);
    rateBytes_ += Bytes(whole);
    passBytes_ += Bytes(whole);
  }
  if (whole == count) return true;
  // The sector the read broke off at failed: alone it is a bad sector; in a
  // large read it is not known which one failed, so the rest of that read is
  // left to trimming.
  const Lba broken = lba + whole;
  const AreaStatus failed = count == 1 ? AreaStatus::kBadSector : AreaStatus::kNonTrimmed;
  if (part > 0) {
    std::vector<std::byte> block(kSectorSize, kUnreadByte);
    std::copy(delivered.end() - static_cast<std::ptrdiff_t>(part), delivered.end(), block.begin());
    if (!image_.WriteAt(Bytes(broken), block)) return false;
    map_.Set(Bytes(broken), Bytes(broken) + part, AreaStatus::kFinished);
    map_.Set(Bytes(broken) + part, Bytes(broken + 1), failed);
  } else {
    map_.Set(Bytes(broken), Bytes(broken + 1), failed);
  }
  if (broken + 1 < lba + count) map_.Set(Bytes(broken + 1), Bytes(lba + count), AreaStatus::kNonTrimmed);
  return true;
}

void RescueCopier::RecordRead(Lba lba, std::uint32_t count, bool ok,
                              std::span<const std::byte> delivered) {
  ++reads_;
  if (!ok || delivered.size() < Bytes(count)) ++failedReads_;
  if (!Record(lba, count, ok, delivered)) writeFailed_ = true;
  SaveMap();
  Show(false);
}

RescueCopier::End RescueCopier::ReadAndRecord(Lba lba, std::uint32_t count,
                                              std::uint32_t& wholeSectors) {
  std::span<std::byte> buffer(buffer_.data(), Bytes(count));
  std::fill(buffer.begin(), buffer.end(), kUnreadByte);
  std::uint32_t bytesRead = 0;
  const bool ok = reader_.ReadForRescue(lba, count, buffer, bytesRead);
  ++reads_;
  if (!ok || bytesRead < Bytes(count)) ++failedReads_;
  wholeSectors = ok ? std::min<std::uint32_t>(count, bytesRead / kSectorSize) : 0;
  if (!Record(lba, count, ok, buffer.first(ok ? bytesRead : 0))) {
    writeFailed_ = true;
    return End::kWriteFailed;
  }
  pass_.position = Bytes(lba);
  map_.currentPos = Bytes(lba);
  SaveMap();
  Show(false);
  return End::kDone;
}

RescueCopier::End RescueCopier::CopyForwards(const std::vector<SectorArea>& areas) {
  Lba skip = initialSkip_;
  for (const SectorArea& run : RunsOf(AreaStatus::kNonTried, &areas)) {
    Lba pos = run.begin;
    while (pos < run.end) {
      if (StatusOf(pos) != AreaStatus::kNonTried) {
        ++pos;
        continue;
      }
      if (Stopped()) return End::kStopped;
      const Lba nonTried = SectorOf(map_.FirstNotIn(Bytes(pos), Bytes(run.end), AreaStatus::kNonTried));
      const Lba count = std::min({kClusterSectors, run.end - pos, std::max<Lba>(1, nonTried - pos)});
      std::uint32_t whole = 0;
      if (End end = ReadAndRecord(pos, count, whole); end != End::kDone) return end;
      pos += count;
      if (whole == count) {
        skip = initialSkip_;
        continue;
      }
      // Away from the failing area: what is skipped waits for the later passes.
      pos = static_cast<Lba>(std::min<std::uint64_t>(run.end, std::uint64_t{pos} + skip));
      skip = std::min(skip * 2, maxSkip_);
    }
  }
  return End::kDone;
}

RescueCopier::End RescueCopier::CopyBackwards(const std::vector<SectorArea>& areas) {
  const std::vector<SectorArea> runs = RunsOf(AreaStatus::kNonTried, &areas);
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    Lba pos = run->end;
    while (pos > run->begin) {
      if (StatusOf(pos - 1) != AreaStatus::kNonTried) {
        --pos;
        continue;
      }
      if (Stopped()) return End::kStopped;
      Lba start = pos - 1;
      while (start > run->begin && pos - start < kClusterSectors &&
             StatusOf(start - 1) == AreaStatus::kNonTried) {
        --start;
      }
      std::uint32_t whole = 0;
      if (End end = ReadAndRecord(start, pos - start, whole); end != End::kDone) return end;
      if (whole != pos - start) break;  // the rest of the area waits for the sweep
      pos = start;
    }
  }
  return End::kDone;
}

RescueCopier::End RescueCopier::Sweep(const std::vector<SectorArea>& areas) {
  for (const SectorArea& run : RunsOf(AreaStatus::kNonTried, &areas)) {
    Lba pos = run.begin;
    while (pos < run.end) {
      if (StatusOf(pos) != AreaStatus::kNonTried) {
        ++pos;
        continue;
      }
      if (Stopped()) return End::kStopped;
      const Lba nonTried = SectorOf(map_.FirstNotIn(Bytes(pos), Bytes(run.end), AreaStatus::kNonTried));
      const Lba count = std::min({kClusterSectors, run.end - pos, std::max<Lba>(1, nonTried - pos)});
      std::uint32_t whole = 0;
      if (End end = ReadAndRecord(pos, count, whole); end != End::kDone) return end;
      pos += count;
    }
  }
  return End::kDone;
}

RescueCopier::End RescueCopier::Trim() {
  for (const SectorArea& run : RunsOf(AreaStatus::kNonTrimmed, nullptr)) {
    // The leading edge, forwards up to the first bad sector.
    Lba interiorBegin = run.begin;
    const bool leadTrimmed = run.begin > 0 && StatusOf(run.begin - 1) == AreaStatus::kBadSector;
    if (!leadTrimmed) {
      interiorBegin = run.end;
      for (Lba k = run.begin; k < run.end; ++k) {
        if (StatusOf(k) != AreaStatus::kNonTrimmed) continue;
        if (Stopped()) return End::kStopped;
        std::uint32_t whole = 0;
        if (End end = ReadAndRecord(k, 1, whole); end != End::kDone) return end;
        if (whole == 0) {
          interiorBegin = k + 1;
          break;
        }
      }
    }
    if (interiorBegin >= run.end) continue;
    // The trailing edge, backwards down to the first bad sector.
    Lba interiorEnd = run.end;
    const bool trailTrimmed =
        run.end < mediumSectors_ && StatusOf(run.end) == AreaStatus::kBadSector;
    if (!trailTrimmed) {
      while (interiorEnd > interiorBegin) {
        const Lba k = interiorEnd - 1;
        interiorEnd = k;
        if (StatusOf(k) != AreaStatus::kNonTrimmed) continue;
        if (Stopped()) return End::kStopped;
        std::uint32_t whole = 0;
        if (End end = ReadAndRecord(k, 1, whole); end != End::kDone) return end;
        if (whole == 0) break;
      }
    }
    // What lies between the two bad sectors waits for scraping.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> interior;
    map_.ForEachRun([&](std::uint64_t begin, std::uint64_t end, AreaStatus status) {
      begin = std::max(begin, Bytes(interiorBegin));
      end = std::min(end, Bytes(interiorEnd));
      if (status == AreaStatus::kNonTrimmed && begin < end) interior.emplace_back(begin, end);
    });
    for (const auto& [begin, end] : interior) map_.Set(begin, end, AreaStatus::kNonScraped);
  }
  return End::kDone;
}

RescueCopier::End RescueCopier::Scrape() {
  for (const SectorArea& run : RunsOf(AreaStatus::kNonScraped, nullptr)) {
    for (Lba k = run.begin; k < run.end; ++k) {
      if (StatusOf(k) != AreaStatus::kNonScraped) continue;
      if (Stopped()) return End::kStopped;
      std::uint32_t whole = 0;
      if (End end = ReadAndRecord(k, 1, whole); end != End::kDone) return end;
    }
  }
  return End::kDone;
}

RescueCopier::End RescueCopier::Retry(bool forwards) {
  std::vector<Lba> bad;
  for (const SectorArea& run : RunsOf(AreaStatus::kBadSector, nullptr)) {
    for (Lba k = run.begin; k < run.end; ++k) bad.push_back(k);
  }
  if (!forwards) std::reverse(bad.begin(), bad.end());
  for (Lba k : bad) {
    if (StatusOf(k) == AreaStatus::kFinished) continue;
    if (Stopped()) return End::kStopped;
    std::uint32_t whole = 0;
    if (End end = ReadAndRecord(k, 1, whole); end != End::kDone) return end;
  }
  return End::kDone;
}

void RescueCopier::SaveMap() {
  // After every read: a rescue killed at any moment never reads again a
  // sector it had read. A map that cannot be saved is saved again at the end,
  // which tells.
  writer_.Save(map_);
}

void RescueCopier::StartPass(RescuePass pass, int number, bool forwards) {
  pass_ = RescueProgress{};
  pass_.pass = pass;
  pass_.passNumber = number;
  pass_.forwards = forwards;
  map_.pass = number;
  switch (pass) {
    case RescuePass::kTrimming:
      map_.phase = RescuePhase::kTrimming;
      break;
    case RescuePass::kScraping:
      map_.phase = RescuePhase::kScraping;
      break;
    case RescuePass::kRetrying:
      map_.phase = RescuePhase::kRetrying;
      break;
    default:
      map_.phase = RescuePhase::kCopying;
      break;
  }
  rateStart_ = std::chrono::steady_clock::now();
  rateBytes_ = 0;
  passStart_ = rateStart_;
  passBytes_ = 0;
  lastShown_ = {};
  Show(false);
}

void RescueCopier::EndPass() {
  writer_.Save(map_);
  Show(true);
}

RescueProgress RescueCopier::Progress() const {
  RescueProgress progress = pass_;
  std::uint64_t outside = 0;
  if (domain_) outside = domain_->BytesOf(AreaStatus::kNonTried);
  progress.domain = map_.extent() - outside;
  progress.rescued = map_.BytesOf(AreaStatus::kFinished);
  const std::uint64_t nonTried = map_.BytesOf(AreaStatus::kNonTried);
  progress.nonTried = nonTried > outside ? nonTried - outside : 0;
  progress.nonTrimmed = map_.BytesOf(AreaStatus::kNonTrimmed);
  progress.nonScraped = map_.BytesOf(AreaStatus::kNonScraped);
  progress.badSector = map_.BytesOf(AreaStatus::kBadSector);
  progress.badAreas = map_.RunsOf(AreaStatus::kBadSector);
  progress.readErrors = failedReads_;
  progress.currentRate = rate_;
  const std::uint64_t left = progress.domain - std::min(progress.domain, progress.rescued);
  if (rate_ > 0) progress.secondsLeft = static_cast<double>(left) / rate_;
  return progress;
}

void RescueCopier::Show(bool passEnded) {
  const auto now = std::chrono::steady_clock::now();
  if (now - rateStart_ >= kRateWindow) {
    rate_ = static_cast<double>(rateBytes_) /
            std::chrono::duration<double>(now - rateStart_).count();
    rateStart_ = now;
    rateBytes_ = 0;
  }
  if (!shown_ || (!passEnded && now - lastShown_ < kShowInterval)) return;
  lastShown_ = now;
  RescueProgress progress = Progress();
  progress.passEnded = passEnded;
  // A pass shorter than the rate's window would end on the rate of the pass
  // before it, or on none: its end gives its own average (0 when it read
  // nothing).
  if (passEnded) {
    const double seconds = std::chrono::duration<double>(now - passStart_).count();
    progress.currentRate =
        passBytes_ == 0 ? 0 : static_cast<double>(passBytes_) / std::max(seconds, 1e-3);
  }
  shown_(progress);
}

}  // namespace velmora::disc
