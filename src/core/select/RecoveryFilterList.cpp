#include "select/RecoveryFilterList.h"

#include <algorithm>

#include "select/WildcardMatcher.h"

namespace velmora::select {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r'; }

std::u16string_view Trimmed(std::u16string_view term) {
  while (!term.empty() && IsBlank(term.front())) term.remove_prefix(1);
  while (!term.empty() && IsBlank(term.back())) term.remove_suffix(1);
  return term;
}

void AppendPatterns(std::u16string_view text, std::vector<std::u16string>& patterns) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.size(), text.find_first_of(u"\r\n"));
    const std::u16string_view term = Trimmed(text.substr(0, end));
    // A lone "." names no extension; it would take names ending in a dot.
    if (!term.empty() && term != u".") patterns.push_back(NameTermWildcard(term));
    text.remove_prefix(end);
    while (!text.empty() && IsLineBreak(text.front())) text.remove_prefix(1);
  }
}

}  // namespace

void RecoveryFilterList::Add(std::span<const std::u16string> texts) {
  for (const std::u16string& text : texts) {
    if (std::find(texts_.begin(), texts_.end(), text) != texts_.end()) continue;
    texts_.push_back(text);
    AppendPatterns(text, patterns_);
  }
}

void RecoveryFilterList::Apply(std::span<const std::u16string> texts, bool include,
                               AppState& state) {
  state.recoveryFilterInclude = include;
  state.filterApplied = true;
  Add(texts);
}

void RecoveryFilterList::Clear(AppState& state) {
  texts_.clear();
  patterns_.clear();
  state.filterApplied = false;
  state.pendingFilterCount = 0;
}

bool RecoveryFilterList::Matches(std::u16string_view fileName) const {
  return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::u16string& pattern) {
    return WildcardMatch(pattern, fileName);
  });
}

bool RecoveryFilterList::Takes(std::u16string_view fileName, const AppState& state) const {
  if (!state.filterApplied || patterns_.empty()) return true;
  return Matches(fileName) == state.recoveryFilterInclude;
}

}  // namespace velmora::select
