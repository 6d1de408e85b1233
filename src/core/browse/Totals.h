#pragma once

#include <cstdint>
#include <string>

namespace velmora::browse {

// Bytes, files and folders of one scope: the whole disc, what a mask shows, or
// what is marked. Bytes are summed in 64 bits; a disc of many files overflows 32.
struct Totals {
  std::uint64_t bytes = 0;
  std::uint32_t files = 0;
  std::uint32_t folders = 0;

  bool IsZero() const { return bytes == 0 && files == 0 && folders == 0; }
  friend bool operator==(const Totals&, const Totals&) = default;
};

// The status-bar text of totals in the current language: "Total  512 Bytes in 3
// Files in 1 Folders" (the prefix word carries its own blank), "Marked 1.50 KB in
// 1 Files in 0 Folders". Below 1024 bytes the count is in bytes; below 1 MB in KB
// with two decimals, the second raised by one when the third is 6 to 9 (a 9 stays
// 9, nothing carries); below 1 GB in MB and from 1 GB on in GB, each with three
// decimals truncated.
std::u16string FormatTotals(const Totals& totals, bool marked);

}  // namespace velmora::browse
