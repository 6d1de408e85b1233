#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/TrackNode.h"

namespace velmora::testing {

// The TOC counts LBA 0 as frame 150, the two seconds of pregap before it.
inline constexpr std::uint32_t kPregapFrames = 150;
// Between two sessions of a CD lie the lead-out of the one before (6750 blocks
// after the first session, 2250 after a later one), the next session's lead-in
// (4500) and its track's pregap (150).
inline constexpr std::uint32_t kFirstSessionGap = 6750 + 4500 + 150;
inline constexpr std::uint32_t kLaterSessionGap = 2250 + 4500 + 150;

// A multi-session CD laid out as its blocks sit on the disc: block N of the disc is
// block N of the image file.
struct MultiSessionDisc {
  std::filesystem::path image;
  // One node per session: trackNumber k (from 1), start = the session's first LBA
  // + 150 (frames, as the TOC gives it), end = the LBA just past the session's data
  // (its first LBA + its volume space size).
  std::vector<disc::TrackNode> tracks;
};

// Writes one session per folder of sessions with genisoimage (ISO 9660 + Joliet +
// Rock Ridge, volume id SESSION_k, recorded in UTC). Session 1 starts at block 0;
// each later one starts gapSectors after the end of the one before, and the gap
// holds 0xF6 bytes. Every session sees the files of all earlier ones, as a
// multi-session writer imports them.
//
// Each later session is made by `genisoimage -M <disc so far> -C <last start>,<next
// start>`: -M reads the previous session's descriptors at <last start> + 16 and its
// directories at the absolute blocks they name, which is why -M gets the growing
// image and not the previous session's own output; the new session's addresses
// start at <next start> while its output file starts at its own block 0.
// Rock Ridge is written because genisoimage carries earlier files' names over from
// Rock Ridge (or the ISO 9660 names, upper-cased in the Joliet tree too).
//
// xorriso is not used here: writing several sessions to a plain file, it emulates
// overwritable media, starting session 1 at block 32 and keeping a copy of the
// newest session's descriptors in blocks 0-31, so its layout and its -toc do not
// describe a CD.
MultiSessionDisc MakeMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                      const std::filesystem::path& out, std::uint32_t gapSectors);
// The same with a gap of its own before each later session: gaps[k - 1] before
// session k + 1; the last gap given holds for the sessions after it.
MultiSessionDisc MakeMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                      const std::filesystem::path& out,
                                      const std::vector<std::uint32_t>& gaps);
// A disc laid out as a CD writer lays it: kFirstSessionGap before session 2,
// kLaterSessionGap before every later one.
MultiSessionDisc MakeCdMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                        const std::filesystem::path& out);

// Appends one session to image (made when missing) with `xorriso -dev image
// ACTIONS -commit`, in UTC. xorriso grows a plain file as it grows overwritable
// media: the first session at block 32, each later one at the next multiple of
// 32 blocks after the one before, and the newest descriptors copied to block 16.
void AppendXorrisoSession(const std::filesystem::path& image,
                          const std::vector<std::string>& actions);
// The session starts `xorriso -indev image -toc` reports, oldest first.
std::vector<std::uint32_t> XorrisoSessionStarts(const std::filesystem::path& image);

}  // namespace velmora::testing
