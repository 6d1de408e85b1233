#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/AppState.h"

namespace velmora::select {

// The texts of the file filter, kept for the recovery from Include or Exclude
// until Remove File Filter. Texts are unique (exact comparison) and stay in the
// order in which they were copied from the dialog's list.
//
// What a text means when a file name is tested against it:
// - A text may hold several terms, one per line; blanks (spaces, tabs) around a
//   term are ignored, and empty terms mean nothing.
// - A term with "*" or "?" is a wildcard over the whole name: "*" any run of
//   characters (none included), "?" exactly one ("IMG_00??.JPG", "*.jp*g").
// - A term with no dot, or one that starts with a dot, names an extension:
//   "txt" and ".txt" both take every name ending in ".txt", as "*.txt" does;
//   ".tar.gz" takes the names ending in ".tar.gz".
// - Any other term (a dot inside it, no wildcard) is one whole file name:
//   "IMG_0001.JPG".
// - Letters compare without regard to case: "txt" takes "A.TXT".
// Include keeps the files whose name matches any term; Exclude keeps the files
// whose name matches none. Only files are tested: folders are never filtered
// out. A list without any term filters nothing.
class RecoveryFilterList {
 public:
  // Appends texts in the order given, passing over those already stored, as
  // Include and Exclude copy the dialog's list.
  void Add(std::span<const std::u16string> texts);
  // Include (include true) or Exclude: sets the mode and filterApplied, then
  // copies texts as Add does. The mode applies to every stored text.
  void Apply(std::span<const std::u16string> texts, bool include, AppState& state);
  // Remove File Filter: empties the list, clears filterApplied and
  // pendingFilterCount; the mode keeps its value.
  void Clear(AppState& state);

  const std::vector<std::u16string>& texts() const { return texts_; }
  bool empty() const { return texts_.empty(); }

  // True when fileName matches any term of the stored texts.
  bool Matches(std::u16string_view fileName) const;
  // Whether the recovery takes a file of that name, by the filter as state
  // gives it (filterApplied, recoveryFilterInclude).
  bool Takes(std::u16string_view fileName, const AppState& state) const;

 private:
  std::vector<std::u16string> texts_;
  // Every term of texts_, as a wildcard over the whole name.
  std::vector<std::u16string> patterns_;
};

}  // namespace velmora::select
