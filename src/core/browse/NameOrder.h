#pragma once

#include <string_view>

namespace velmora::browse {

// Orders names as the folder tree and the Name column sort them: letters
// compared without regard to case (ASCII and Latin-1), then by the exact code
// units, so that "Readme" and "README" keep a fixed order. Negative, zero or
// positive.
int CompareNames(std::u16string_view a, std::u16string_view b);

// The comparison without the exact tie-break: zero for "Readme" and "README".
int CompareNamesIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace velmora::browse
