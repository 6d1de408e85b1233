#include "DiscImage.h"

#include <cstring>
#include <filesystem>

namespace softdrive {
namespace {

constexpr char kSignature[] = "12345abbgtpogpkicupog6789";
constexpr std::size_t kSignatureLength = sizeof kSignature - 1;
constexpr std::size_t kFlagAt = 26;
constexpr std::size_t kCountAt = 27;
constexpr std::size_t kRecordsAt = 28;
constexpr std::size_t kRecordSize = 9;
// What a CD writer leaves between two sessions: lead-out, lead-in and pregap;
// the first lead-out is longer than the later ones.
constexpr std::uint32_t kFirstSessionGap = 6750 + 4500 + 150;
constexpr std::uint32_t kLaterSessionGap = 2250 + 4500 + 150;

std::uint32_t Le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace

std::unique_ptr<DiscImage> DiscImage::Load(const std::string& path,
                                           const std::map<unsigned, std::uint32_t>& sessionEnds,
                                           std::string& error) {
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  auto disc = std::make_unique<DiscImage>();
  disc->file_.open(path, std::ios::binary);
  if (sizeError || !disc->file_) {
    error = "cannot read the disc image " + path;
    return nullptr;
  }
  disc->blocks_ = static_cast<std::uint32_t>(size / kBlock);
  if (disc->blocks_ == 0) {
    error = path + " holds no sector";
    return nullptr;
  }
  unsigned char last[kBlock];
  disc->file_.seekg(static_cast<std::streamoff>(disc->blocks_ - 1) * kBlock);
  disc->file_.read(reinterpret_cast<char*>(last), kBlock);
  std::vector<Session> sessions;
  if (disc->file_ && std::memcmp(last, kSignature, kSignatureLength) == 0) {
    --disc->blocks_;
    const std::size_t count = last[kCountAt];
    if (last[kFlagAt] != 0 && count > 0) {
      if (kRecordsAt + count * kRecordSize > kBlock) {
        error = path + ": the track list does not fit its block";
        return nullptr;
      }
      for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* record = last + kRecordsAt + i * kRecordSize;
        const std::uint32_t frames = Le32(record + 1);
        if (frames < kPregapFrames || (!sessions.empty() && frames - kPregapFrames <= sessions.back().start)) {
          error = path + ": the track starts do not ascend";
          return nullptr;
        }
        sessions.push_back({record[0], frames - kPregapFrames, 0});
      }
    }
  }
  disc->file_.clear();
  if (sessions.empty()) sessions.push_back({1, 0, 0});
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    Session& session = sessions[i];
    if (auto given = sessionEnds.find(static_cast<unsigned>(i + 1)); given != sessionEnds.end()) {
      session.end = given->second;
    } else if (i + 1 == sessions.size()) {
      session.end = disc->blocks_;
    } else {
      const std::uint32_t next = sessions[i + 1].start;
      const std::uint32_t gap = i == 0 ? kFirstSessionGap : kLaterSessionGap;
      session.end = next > session.start + gap ? next - gap : next;
    }
    if (session.end <= session.start) {
      error = path + ": session " + std::to_string(i + 1) + " ends before it starts";
      return nullptr;
    }
  }
  disc->sessions_ = std::move(sessions);
  return disc;
}

const Session* DiscImage::SessionOf(std::uint32_t lba) const {
  for (const Session& session : sessions_) {
    if (lba >= session.start && lba < session.end) return &session;
  }
  return nullptr;
}

bool DiscImage::ReadSector(std::uint32_t lba, unsigned char* out) {
  if (lba >= blocks_) return false;
  file_.seekg(static_cast<std::streamoff>(lba) * kBlock);
  file_.read(reinterpret_cast<char*>(out), kBlock);
  const bool whole = file_.gcount() == kBlock;
  file_.clear();
  return whole;
}

}  // namespace softdrive
