#include "support/MultiSessionBuilder.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "support/BytePatcher.h"
#include "support/RunCommand.h"

namespace velmora::testing {
namespace {

std::uint32_t SectorsIn(const std::filesystem::path& path) {
  return static_cast<std::uint32_t>(std::filesystem::file_size(path) / kSectorSize);
}

void Append(const std::filesystem::path& disc, const std::filesystem::path& session) {
  std::ofstream out(disc, std::ios::binary | std::ios::app);
  std::ifstream in(session, std::ios::binary);
  out << in.rdbuf();
  if (!out) throw std::runtime_error("cannot append " + session.string() + " to " + disc.string());
}

}  // namespace

MultiSessionDisc MakeMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                      const std::filesystem::path& out, std::uint32_t gapSectors) {
  return MakeMultiSessionDisc(sessions, out, std::vector<std::uint32_t>{gapSectors});
}

MultiSessionDisc MakeCdMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                        const std::filesystem::path& out) {
  return MakeMultiSessionDisc(sessions, out, {kFirstSessionGap, kLaterSessionGap});
}

MultiSessionDisc MakeMultiSessionDisc(const std::vector<std::filesystem::path>& sessions,
                                      const std::filesystem::path& out,
                                      const std::vector<std::uint32_t>& gaps) {
  if (sessions.empty()) throw std::invalid_argument("a disc needs at least one session");
  if (gaps.empty()) throw std::invalid_argument("the gaps between sessions are missing");
  std::filesystem::remove(out);
  std::ofstream(out, std::ios::binary).flush();
  const std::filesystem::path sessionFile = out.string() + ".session";

  MultiSessionDisc disc{out, {}};
  std::uint32_t lastStart = 0;
  for (std::size_t k = 0; k < sessions.size(); ++k) {
    const std::uint32_t gapSectors = k == 0 ? 0 : gaps[std::min(k, gaps.size()) - 1];
    const std::uint32_t start = k == 0 ? 0 : SectorsIn(out) + gapSectors;
    std::vector<std::string> argv{"genisoimage",
                                  "-quiet",
                                  "-input-charset",
                                  "utf-8",
                                  "-J",
                                  "-R",
                                  "-V",
                                  "SESSION_" + std::to_string(k + 1)};
    if (k > 0) {
      FillSectors(out, SectorsIn(out), gapSectors, std::byte{0xF6});
      argv.insert(argv.end(), {"-M", out.string(), "-C",
                               std::to_string(lastStart) + "," + std::to_string(start)});
    }
    argv.insert(argv.end(), {"-o", sessionFile.string(), sessions[k].string()});
    RunChecked(argv, {"TZ=UTC0"});

    const std::uint32_t length = SectorsIn(sessionFile);
    Append(out, sessionFile);
    disc.tracks.push_back(
        {static_cast<std::uint8_t>(k + 1), start + kPregapFrames, start + length});
    lastStart = start;
  }
  std::filesystem::remove(sessionFile);
  return disc;
}

void AppendXorrisoSession(const std::filesystem::path& image,
                          const std::vector<std::string>& actions) {
  std::vector<std::string> argv{"xorriso", "-abort_on", "FAILURE", "-dev", image.string()};
  argv.insert(argv.end(), actions.begin(), actions.end());
  argv.emplace_back("-commit");
  RunChecked(argv, {"TZ=UTC0"});
}

std::vector<std::uint32_t> XorrisoSessionStarts(const std::filesystem::path& image) {
  // "ISO session  :   2 ,        64 ,        25s , ISOIMAGE"
  const CommandResult result = RunChecked({"xorriso", "-indev", image.string(), "-toc"});
  std::vector<std::uint32_t> starts;
  std::istringstream lines(result.out + result.err);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("ISO session")) continue;
    const std::size_t first = line.find(',');
    if (first == std::string::npos) continue;
    starts.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(first + 1))));
  }
  return starts;
}

}  // namespace velmora::testing
