#pragma once

#include <string>
#include <string_view>

namespace velmora::select {

// A wildcard matched against a whole text: "*" stands for any run of characters
// (none included), "?" for exactly one, and every other character for itself.
// Characters are code points (a surrogate pair is one). With letter case
// ignored, both sides compare through Unicode's simple case folding. The
// pattern is read once; Matches may then be called for any number of texts.
class Wildcard {
 public:
  enum class Case { kIgnore, kMatch };
  // kNameRule: a pattern ending in ".*" also matches a text without any dot,
  // as a file name without an extension ("abc.*" takes "ABC"; "*.*" takes every
  // name).
  enum class DotStar { kPlain, kNameRule };

  explicit Wildcard(std::u16string_view pattern, Case letterCase = Case::kIgnore,
                    DotStar dotStar = DotStar::kPlain);

  bool Matches(std::u16string_view text) const;

 private:
  bool MatchesPoints(std::u32string_view pattern, std::u32string_view text) const;

  std::u32string pattern_;
  Case case_;
  bool dotStarRule_ = false;
};

// True when name matches pattern as a whole, letters without regard to case
// (Wildcard with Case::kIgnore and DotStar::kPlain).
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);

// Wildcard over the whole name for a name term as the file filter and the file
// mask read one: a term with "*" or "?" is a wildcard as it stands; a term with
// no dot, or one that starts with a dot, names an extension ("txt" and ".txt"
// stand for "*.txt", ".tar.gz" for "*.tar.gz"); any other term is one whole
// file name. term must not be empty.
std::u16string NameTermWildcard(std::u16string_view term);

}  // namespace velmora::select
