#pragma once

// The benchmarks' discs: generated files, the image xorriso makes of them, and
// the totals an extracted tree is checked against.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace velmora::bench {

namespace fs = std::filesystem;

inline void RequireFreeSpace(const fs::path& work, std::uintmax_t bytes) {
  const std::uintmax_t available = fs::space(work).available;
  if (available < bytes) {
    std::cerr << work << " has " << available / 1'000'000 << " MB free; this benchmark needs "
              << bytes / 1'000'000 << " MB\n";
    std::exit(1);
  }
}

// A file of size bytes, none of them zero (a zero-filled file could be stored
// or copied sparsely), from a seeded generator: fast, and the same every time.
inline void WritePseudoRandomFile(const fs::path& path, std::uint64_t size, std::uint64_t seed) {
  constexpr std::size_t kChunk = 1 << 20;
  std::vector<unsigned char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size)));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::cerr << "cannot create " << path << "\n";
    std::exit(1);
  }
  std::uint64_t state = seed * 0x9E3779B97F4A7C15u + 1;
  for (std::uint64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size - done));
    for (std::size_t i = 0; i < n; i += 8) {
      // splitmix64
      std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
      z ^= z >> 31;
      for (std::size_t b = 0; b < 8 && i + b < n; ++b) {
        const auto byte = static_cast<unsigned char>(z >> (8 * b));
        chunk[i + b] = byte == 0 ? 0x5A : byte;
      }
    }
    if (std::fwrite(chunk.data(), 1, n, file) != n) {
      std::cerr << "cannot write " << path << "\n";
      std::exit(1);
    }
    done += n;
  }
  std::fclose(file);
}

// The image of tree with Joliet and Rock Ridge names, as a mastering program
// writes a data CD.
inline void MakeIso(const fs::path& tree, const fs::path& image) {
  const std::string command = "xorriso -as mkisofs -quiet -J -R -o '" + image.string() + "' '" +
                              tree.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::cerr << "xorriso failed\n";
    std::exit(1);
  }
}

struct TreeTotals {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  bool operator==(const TreeTotals&) const = default;
};

inline TreeTotals CountTree(const fs::path& root) {
  TreeTotals totals;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file(error)) {
      ++totals.files;
      totals.bytes += it->file_size(error);
    }
  }
  return totals;
}

}  // namespace velmora::bench
