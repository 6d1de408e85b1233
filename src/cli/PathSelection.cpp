#include "PathSelection.h"

#include "browse/EntryListing.h"
#include "select/WildcardMatcher.h"
#include "text/Utf.h"

namespace velmora::cli {

std::vector<std::string> MarkSelected(disc::EntryTable& table,
                                      std::span<const std::string> patterns) {
  const browse::EntryListing listing(table);
  std::vector<std::u16string> wildcards;
  for (const std::string& pattern : patterns) wildcards.push_back(text::FromUtf8(pattern));

  // Every pattern is tried on every path, so that each one that matches is known.
  std::vector<bool> used(patterns.size(), false);
  std::vector<bool> matches(table.size(), false);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i == listing.root()) continue;
    const std::u16string path = text::FromUtf8(listing.PathOf(i));
    for (std::size_t k = 0; k < wildcards.size(); ++k) {
      if (!select::WildcardMatch(wildcards[k], path)) continue;
      used[k] = true;
      matches[i] = true;
    }
  }

  // An entry is marked when it or a folder above it matches. Each chain of
  // parents is walked once up to the first entry already decided (the listing
  // has cut any loop), then decided top down.
  enum class Mark : std::uint8_t { kUndecided, kNo, kYes };
  std::vector<Mark> marks(table.size(), Mark::kUndecided);
  std::vector<std::size_t> chain;
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::size_t at = i;
    for (; at != disc::EntryTable::kNone && marks[at] == Mark::kUndecided;
         at = listing.ParentOf(at)) {
      chain.push_back(at);
    }
    bool marked = at != disc::EntryTable::kNone && marks[at] == Mark::kYes;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      marked = marked || matches[*it];
      marks[*it] = marked ? Mark::kYes : Mark::kNo;
      if (marked) table.at(*it).checkState = disc::kMarked;
    }
    chain.clear();
  }

  std::vector<std::string> unmatched;
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    if (!used[k]) unmatched.push_back(patterns[k]);
  }
  return unmatched;
}

}  // namespace velmora::cli
