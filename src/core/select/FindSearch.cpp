#include "select/FindSearch.h"

#include "text/StringTable.h"

namespace velmora::select {

std::optional<std::size_t> FindSearch::Search(const disc::EntryTable& table,
                                              std::size_t from) const {
  for (std::size_t i = from; i < table.size(); ++i) {
    if (pattern_->Matches(table[i].name)) return i;
  }
  return std::nullopt;
}

FindStep FindSearch::Start(const disc::EntryTable& table, std::u16string_view pattern,
                           bool matchCase, AppState& state) {
  if (pattern.empty()) return {};
  pattern_.emplace(pattern, matchCase ? Wildcard::Case::kMatch : Wildcard::Case::kIgnore,
                   Wildcard::DotStar::kNameRule);
  findCursor_ = 0;
  foundBefore_ = false;
  state.findNextAvailable = true;
  state.lastFindMatched = true;
  const std::optional<std::size_t> hit = Search(table, 0);
  firstSearchHit_ = hit.has_value();
  if (!hit) {
    state.lastFindMatched = false;
    return {std::nullopt, static_cast<int>(text::ErrorCode::kNoMatchingEntry)};
  }
  findCursor_ = *hit;
  foundBefore_ = true;
  return {hit, 0};
}

FindStep FindSearch::Next(const disc::EntryTable& table, AppState& state) {
  if (pattern_ && firstSearchHit_ && findCursor_ < table.size()) {
    if (const std::optional<std::size_t> hit = Search(table, findCursor_ + 1)) {
      findCursor_ = *hit;
      return {hit, 0};
    }
  }
  pattern_.reset();
  firstSearchHit_ = false;
  state.lastFindMatched = false;
  state.findNextAvailable = false;
  return {std::nullopt, static_cast<int>(text::ErrorCode::kNoMoreEntries)};
}

void FindSearch::Reset(AppState& state) {
  pattern_.reset();
  findCursor_ = 0;
  foundBefore_ = false;
  firstSearchHit_ = false;
  state.findNextAvailable = false;
  state.lastFindMatched = false;
}

}  // namespace velmora::select
