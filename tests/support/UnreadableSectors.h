#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace velmora::testing {

// Chosen sectors of a plain image that do not read in a velmora-cli run, as a
// scratch makes a disc's: a small library preloaded into the program fails
// each read of them with EIO and writes down every try. Any test can so damage
// any sector of any image a tool wrote, without the emulated drive:
//
//   UnreadableSectors bad(iso, {20, 31}, dir / "tries");
//   RunCommand({VELMORA_CLI_PATH, "ls", iso}, bad.Environment());
//   EXPECT_LE(bad.Tries()[20], 3u);
class UnreadableSectors {
 public:
  UnreadableSectors(std::filesystem::path image, std::vector<std::uint32_t> sectors,
                    std::filesystem::path triesFile);

  // The settings to hand RunCommand.
  std::vector<std::string> Environment() const;
  // The failed tries of each sector so far.
  std::map<std::uint32_t, std::size_t> Tries() const;

 private:
  std::filesystem::path image_;
  std::vector<std::uint32_t> sectors_;
  std::filesystem::path triesFile_;
};

}  // namespace velmora::testing
