#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "select/CivilDate.h"

namespace velmora::select {

// What the File Mask dialog asks for. A criterion applies exactly when its
// active flag is set (its box checked, its radio button chosen), with the
// value its field holds; every value applies as typed.
struct MaskCriteria {
  // "Files of Type": pieces separated by ";" (see MaskTokensOf).
  std::u16string maskText;
  // "Match Case": the pieces compare letters exactly.
  bool matchCase = false;
  // The existence test on an Entry's state2: 1 passes when acceptState1 is set,
  // 2 (every file the scan records) when existingFiles ("Existing Files") is;
  // with both set every file passes.
  bool acceptState1 = true;
  bool existingFiles = true;
  // Size in KB, a file's bytes divided by 1000: "Size from" passes
  // KB >= sizeFrom, "upto" passes KB < sizeUpto.
  bool sizeFromActive = false;
  std::uint32_t sizeFrom = 0;
  bool sizeUptoActive = false;
  std::uint32_t sizeUpto = 0;
  // "in the last N months" / "in the last N days": files dated from that many
  // calendar months or days before today on; 0 sets no window.
  bool monthsActive = false;
  std::uint32_t months = 0;
  bool daysActive = false;
  std::uint32_t days = 0;
  // "between" dateA "and" dateB, in either order, both days included.
  bool betweenActive = false;
  CivilDate dateA;
  CivilDate dateB;
};

// One piece of the mask text, trimmed, with the wildcard it stands for over
// the whole file name (NameTermWildcard: "txt" and ".txt" name an extension,
// "*.gz" takes "archive.tar.gz", "*.*" every name).
struct MaskToken {
  std::u16string text;
  std::u16string wildcard;
};

// The tokens of a mask text: cut at every ";", blanks around each piece
// trimmed, empty pieces dropped.
std::vector<MaskToken> MaskTokensOf(std::u16string_view maskText);

// A number box of the dialog: the decimal digits after any leading blanks (up to the first other
// character), 0 when there are none; values past 2^32 - 1 stay at it.
std::uint32_t MaskNumber(std::u16string_view text);

}  // namespace velmora::select
