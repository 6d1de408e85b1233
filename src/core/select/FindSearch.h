#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "select/WildcardMatcher.h"

namespace velmora::select {

// What one Find or Find Next came to: the entry found, or the error-message code
// to show (3 when the first search finds nothing, 4 when Find Next runs out); no
// hit and code 0 when nothing was searched.
struct FindStep {
  std::optional<std::size_t> hit;
  int errorCode = 0;
};

// The search of the Find dialog, kept for Find Next. It walks the entry table
// in table order (Root, Session nodes, folders and files alike) from
// findCursor: the first search from the head, every Find Next from the entry
// after the last hit. Names match the pattern as a whole (Wildcard with the
// name rule: "abc.*" also takes "ABC"), letters without regard to case unless
// Match Case is on.
//
// Flags, as Find and Find Next leave them:
//   no search yet                         lastFindMatched 0, findNextAvailable 0
//   the last search found an entry        1, 1
//   the first search found nothing (3)    0, 1
//   exhausted (4)                         0, 0
class FindSearch {
 public:
  // OK of the Find dialog. An empty pattern searches nothing and changes
  // nothing. Otherwise the search starts over at the head of table.
  FindStep Start(const disc::EntryTable& table, std::u16string_view pattern, bool matchCase,
                 AppState& state);
  // Find Next: continues after the last hit. Once it has run out (or when the
  // first search found nothing) it shows code 4, now and at every later call,
  // until the next Start.
  FindStep Next(const disc::EntryTable& table, AppState& state);

  // The entry list was replaced (a mask, File Unmask, Open Drive, Open Image):
  // forgets the search as a scan start does, so that Find Next is unavailable
  // until the next Find on the new list.
  void Reset(AppState& state);

  // The entry at which the next search resumes (after it, once a hit exists).
  std::size_t findCursor() const { return findCursor_; }
  bool foundBefore() const { return foundBefore_; }

 private:
  std::optional<std::size_t> Search(const disc::EntryTable& table, std::size_t from) const;

  std::optional<Wildcard> pattern_;
  std::size_t findCursor_ = 0;
  bool foundBefore_ = false;
  bool firstSearchHit_ = false;
};

}  // namespace velmora::select
