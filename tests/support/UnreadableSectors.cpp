#include "support/UnreadableSectors.h"

#include <cstdlib>
#include <fstream>
#include <utility>

namespace velmora::testing {

UnreadableSectors::UnreadableSectors(std::filesystem::path image, std::vector<std::uint32_t> sectors,
                                     std::filesystem::path triesFile)
    : image_(std::move(image)), sectors_(std::move(sectors)), triesFile_(std::move(triesFile)) {}

std::vector<std::string> UnreadableSectors::Environment() const {
  std::string list;
  for (std::uint32_t sector : sectors_) list += (list.empty() ? "" : ",") + std::to_string(sector);
  // A program built with AddressSanitizer wants its runtime first among the
  // libraries; the preloaded one comes before it and is harmless to it.
  const char* asan = std::getenv("ASAN_OPTIONS");
  return {"LD_PRELOAD=" VELMORA_SECTOR_SHIM_PATH,
          "SECTOR_SHIM_IMAGE=" + image_.string(),
          "SECTOR_SHIM_SECTORS=" + list,
          "SECTOR_SHIM_TRIES=" + triesFile_.string(),
          std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") +
              "verify_asan_link_order=0"};
}

std::map<std::uint32_t, std::size_t> UnreadableSectors::Tries() const {
  std::map<std::uint32_t, std::size_t> tries;
  std::ifstream in(triesFile_);
  for (std::uint32_t sector = 0; in >> sector;) ++tries[sector];
  return tries;
}

}  // namespace velmora::testing
