#pragma once

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace softdrive {

inline constexpr std::uint32_t kBlock = 2048;
// The lead-in before LBA 0: 2 seconds of 75 frames.
inline constexpr std::uint32_t kPregapFrames = 150;

// One session of one data track, its program area [start, end) in LBAs.
struct Session {
  std::uint8_t track = 1;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
};

// A disc as the drive sees it: the sectors of an image file and the sessions
// that hold them. A .cd image's last block is its track list: the signature,
// a zero byte, the multi-track flag, the record count, and 9-byte records of
// track number, start in frames and end (little-endian); its sectors are the
// blocks before it. Any other file is one session over all its whole blocks.
class DiscImage {
 public:
  // Nothing, with error set, when the file cannot be read or its track list
  // makes no sense. sessionEnds: where the script says sessions end (by number).
  static std::unique_ptr<DiscImage> Load(const std::string& path,
                                         const std::map<unsigned, std::uint32_t>& sessionEnds,
                                         std::string& error);

  const std::vector<Session>& sessions() const { return sessions_; }
  // The lead-out: the first LBA past the last session.
  std::uint32_t leadOut() const { return sessions_.back().end; }
  // The session whose program area holds lba; nullptr in a gap or past the end.
  const Session* SessionOf(std::uint32_t lba) const;
  // Reads sector lba (2048 bytes) from the image; false when the image does
  // not hold it.
  bool ReadSector(std::uint32_t lba, unsigned char* out);

 private:
  std::ifstream file_;
  std::uint32_t blocks_ = 0;
  std::vector<Session> sessions_;
};

}  // namespace softdrive
