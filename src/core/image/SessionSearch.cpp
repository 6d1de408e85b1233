#include "image/SessionSearch.h"

#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "iso9660/VolumeDescriptor.h"
#include "media/SessionEnd.h"

namespace velmora::disc {
namespace {

// A session's primary volume descriptor follows its 16-block system area
// (ECMA-119 6.2.1, 8.4).
constexpr Lba kDescriptorOffset = 16;
// Sessions grown in place start at block 32: blocks 0-31 keep a copy of the
// newest session's system area and descriptors.
constexpr Lba kFirstGrownSession = 32;
// The least a session holds: its system area, a descriptor and a directory.
constexpr std::uint32_t kSmallestSession = kDescriptorOffset + 2;
// Blocks read at a time while searching.
constexpr Lba kRunBlocks = 32;

struct DescriptorSet {
  Lba start = 0;
  // start + volume space size: where the session claims to end, perhaps past
  // the file.
  std::uint64_t claimedEnd = 0;
  Lba root = 0;
};

enum class Verdict { kNoDescriptor, kRejected, kSession };

// What a descriptor of type in block (the primary, 16 blocks after start)
// makes of a session starting at start. Its volume space size counts the
// session's own blocks from its start (the copy at block 16 counts from block
// 0, which is the same thing); SessionEndBySize says when it counts from
// block 0 instead.
Verdict Examine(std::span<const std::byte> block, Lba start, Lba fileBlocks, DescriptorSet& set,
                std::uint8_t type = kPrimaryDescriptor) {
  if (!IsVolumeDescriptor(block) || static_cast<std::uint8_t>(block[0]) != type) {
    return Verdict::kNoDescriptor;
  }
  std::optional<VolumeInfo> info = ParseVolumeInfo(block);
  if (!info) return Verdict::kNoDescriptor;
  set.start = start;
  set.claimedEnd = SessionEndBySize(start, info->volumeSpaceSize, fileBlocks);
  set.root = info->rootExtent;
  // Writers put the root directory after the descriptors, inside the session:
  // a copy of another session's descriptors, or a descriptor inside a file
  // that is itself an image, fails this.
  const std::uint64_t end = std::min<std::uint64_t>(set.claimedEnd, fileBlocks);
  if (info->volumeSpaceSize < kSmallestSession || set.root <= start + kDescriptorOffset ||
      set.root >= end) {
    return Verdict::kRejected;
  }
  return Verdict::kSession;
}

// Whole blocks of the file, read a run at a time; a block that does not read
// whole comes back empty and is not read again until the run moves on.
class BlockRuns {
 public:
  BlockRuns(platform::BlockFile& file, Lba blocks) : file_(file), blocks_(blocks) {}

  std::span<const std::byte> Block(std::uint64_t lba) {
    if (lba >= blocks_) return {};
    if (lba < runStart_ || lba >= runStart_ + runBlocks_) {
      runStart_ = lba;
      runBlocks_ = std::min<std::uint64_t>(kRunBlocks, blocks_ - lba);
      run_.resize(runBlocks_ * kSectorSize);
      platform::IoResult result = file_.ReadAt(lba * kSectorSize, run_);
      runGood_ = result.ok ? std::min<std::uint64_t>(result.bytes / kSectorSize, runBlocks_) : 0;
    }
    const std::uint64_t index = lba - runStart_;
    if (index == runGood_) return {};
    if (index > runGood_) {
      // The run's read stopped at a block that did not read: the blocks after
      // it are read one by one.
      single_.resize(kSectorSize);
      const platform::IoResult result = file_.ReadAt(lba * kSectorSize, single_);
      if (!result.ok || result.bytes < kSectorSize) return {};
      return single_;
    }
    return std::span<const std::byte>(run_).subspan(index * kSectorSize, kSectorSize);
  }

 private:
  platform::BlockFile& file_;
  Lba blocks_;
  std::vector<std::byte> run_;
  std::vector<std::byte> single_;
  std::uint64_t runStart_ = 0;
  std::uint64_t runBlocks_ = 0;
  std::uint64_t runGood_ = 0;
};

class Search {
 public:
  Search(BlockRuns& blocks, Lba fileBlocks) : blocks_(blocks), fileBlocks_(fileBlocks) {}

  // The sessions from first on: each next one is the first descriptor set that
  // starts at or after the end of the one before. Starts ascend strictly, so
  // the walk ends, and no block past a session's end is read twice.
  std::vector<DescriptorSet> Walk(const DescriptorSet& first, FoundSessions& found) {
    std::vector<DescriptorSet> chain{first};
    while (chain.back().claimedEnd < fileBlocks_) {
      std::optional<DescriptorSet> next =
          SearchFrom(chain.back().claimedEnd + kDescriptorOffset, found);
      if (!next) break;
      if (chain.size() == kMostSessions) {
        found.limitReached = true;
        break;
      }
      chain.push_back(*next);
    }
    return chain;
  }

 private:
  // The first session whose primary descriptor lies at or after block from.
  // A supplementary descriptor (Joliet's) right after a block that is no
  // descriptor, or did not read, stands for a set whose primary descriptor is
  // damaged: its session starts 17 blocks before it.
  std::optional<DescriptorSet> SearchFrom(std::uint64_t from, FoundSessions& found) {
    bool afterDescriptor = true;  // the block before from belongs to the last session
    for (std::uint64_t b = from; b < fileBlocks_; ++b) {
      std::span<const std::byte> block = blocks_.Block(b);
      const bool damagedBefore = !afterDescriptor;
      afterDescriptor = !block.empty() && IsVolumeDescriptor(block);
      if (block.empty()) continue;
      DescriptorSet set;
      Verdict verdict = Examine(block, static_cast<Lba>(b - kDescriptorOffset), fileBlocks_, set);
      if (verdict == Verdict::kNoDescriptor && damagedBefore) {
        verdict = Examine(block, static_cast<Lba>(b - kDescriptorOffset - 1), fileBlocks_, set,
                          kSupplementaryDescriptor);
        if (verdict == Verdict::kSession) found.withoutPrimary.push_back(static_cast<Lba>(b - 1));
      }
      switch (verdict) {
        case Verdict::kSession:
          return set;
        case Verdict::kRejected:
          ++found.rejectedCount;
          if (found.rejected.size() < kRejectedNamed) found.rejected.push_back(static_cast<Lba>(b));
          break;
        case Verdict::kNoDescriptor:
          break;
      }
    }
    return std::nullopt;
  }

  BlockRuns& blocks_;
  Lba fileBlocks_;
};

}  // namespace

std::optional<FoundSessions> FindImageSessions(platform::BlockFile& file) {
  const std::uint64_t size = file.Size().value_or(0);
  // A start in frames must fit a track node.
  const auto fileBlocks = static_cast<Lba>(
      std::min<std::uint64_t>(size / kSectorSize, std::numeric_limits<Lba>::max() - kLeadInFrames));
  BlockRuns blocks(file, fileBlocks);
  Search search(blocks, fileBlocks);

  DescriptorSet first;
  std::span<const std::byte> block = blocks.Block(kDescriptorOffset);
  if (block.empty() || Examine(block, 0, fileBlocks, first) != Verdict::kSession) {
    return std::nullopt;
  }

  FoundSessions found;
  std::vector<DescriptorSet> chain;
  // Grown in place, block 16 holds the newest session's descriptors and the
  // oldest session starts at block 32. Such a chain is taken only when it ends
  // in the very session that block 16 describes.
  DescriptorSet grown;
  block = blocks.Block(kFirstGrownSession + kDescriptorOffset);
  if (!block.empty() && first.root > kFirstGrownSession + kDescriptorOffset &&
      Examine(block, kFirstGrownSession, fileBlocks, grown) == Verdict::kSession) {
    FoundSessions grownFound;
    grownFound.layout = SessionLayout::kNewestCopiedToStart;
    std::vector<DescriptorSet> grownChain = search.Walk(grown, grownFound);
    if (grownChain.back().root == first.root && grownChain.back().claimedEnd == first.claimedEnd) {
      found = std::move(grownFound);
      chain = std::move(grownChain);
    }
  }
  if (chain.empty()) {
    found.layout = SessionLayout::kOneAfterAnother;
    chain = search.Walk(first, found);
  }

  for (std::size_t k = 0; k < chain.size(); ++k) {
    const auto end = static_cast<Lba>(std::min<std::uint64_t>(chain[k].claimedEnd, fileBlocks));
    found.tracks.push_back(
        TrackNode{static_cast<std::uint8_t>(k + 1), chain[k].start + kLeadInFrames, end});
  }
  found.lastCut = chain.size() > 1 && chain.back().claimedEnd > fileBlocks;
  if (found.tracks.size() < 2 && found.rejectedCount == 0) return std::nullopt;
  return found;
}

}  // namespace velmora::disc
