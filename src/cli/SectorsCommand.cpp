#include "SectorsCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

#include "ExitCode.h"
#include "CliSession.h"
#include "StopSignal.h"
#include "platform/Terminal.h"

namespace velmora::cli {
namespace {

bool WriteOut(std::span<const std::byte> bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

std::string StdoutFailure() {
  return "cannot write to standard output: " + std::generic_category().message(errno);
}

}  // namespace

int RunSectors(const CliOptions& options, platform::Machine& machine, Console& console) {
  if (platform::StdoutIsTerminal()) {
    console.Message("sectors writes binary data; send standard output to a file or a pipe");
    return kExitBadInput;
  }
  CliSession session(options, machine, console);
  if (!session.OpenSource()) return session.openFailure;
  // A drive is waited for while it spins its disc up, and its TOC read then.
  if (!session.state.readingImage && !session.scan.PrepareDrive()) {
    return session.DiscFailure().value_or(kExitStopped);
  }

  // 0 when neither the TOC nor the file tells where the medium ends.
  const std::uint64_t mediumEnd = session.reader.MediumSectors();
  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t unreadable = 0;
  Lba firstUnreadable = 0;
  std::optional<std::uint64_t> pastEnd;
  std::uint32_t written = options.sectorCount;
  for (std::uint32_t i = 0; i < options.sectorCount; ++i) {
    if (StopSignalRaised()) {
      std::fflush(stdout);
      console.Message("stopped after " + std::to_string(i) + " of " +
                      std::to_string(options.sectorCount) + " sectors");
      return kExitStopped;
    }
    const std::uint64_t lba = std::uint64_t{options.firstSector} + i;
    if (mediumEnd != 0 && lba >= mediumEnd) {
      pastEnd = lba;
      written = i;
      break;
    }
    // One sector per read, so that a bad sector costs only itself; the reader
    // picks the file or the pass-through reader as the disc needs.
    std::uint32_t bytesRead = 0;
    const bool ok = session.reader.ReadSectors(static_cast<Lba>(lba), 1, sector, bytesRead);
    if (const disc::MediumLoss loss = session.reader.mediumLoss(); loss != disc::MediumLoss::kNone) {
      // Nothing of another disc, and no block for a sector that was never read.
      std::fflush(stdout);
      session.prompts.ShowError(disc::MediumLossError(loss));
      console.Message(std::to_string(i) + " of " + std::to_string(options.sectorCount) +
                      " sectors written");
      return kExitPartial;
    }
    if (!ok || bytesRead < kSectorSize) {
      if (unreadable++ == 0) firstUnreadable = static_cast<Lba>(lba);
      std::fill(sector.begin() + std::min(bytesRead, kSectorSize), sector.end(), kUnreadByte);
    }
    if (!WriteOut(sector)) {
      console.Message(StdoutFailure());
      return kExitPartial;
    }
  }
  if (std::fflush(stdout) != 0) {
    console.Message(StdoutFailure());
    return kExitPartial;
  }
  if (unreadable > 0) {
    console.Message(std::to_string(unreadable) + " of " + std::to_string(written) +
                    " sectors did not read whole (the first at LBA " +
                    std::to_string(firstUnreadable) + "); filled with 0xF6");
  }
  if (pastEnd) {
    console.Message("LBA " + std::to_string(*pastEnd) + " is past the end of the medium (" +
                    std::to_string(mediumEnd) + " sectors); " + std::to_string(written) + " of " +
                    std::to_string(options.sectorCount) + " sectors written");
  }
  return unreadable > 0 || pastEnd ? kExitPartial : kExitOk;
}

}  // namespace velmora::cli
