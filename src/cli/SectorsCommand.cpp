#include "SectorsCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
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
  if (!session.OpenSource()) return kExitBadInput;

  std::vector<std::byte> sector(kSectorSize);
  std::uint32_t unreadable = 0;
  Lba firstUnreadable = 0;
  for (std::uint32_t i = 0; i < options.sectorCount; ++i) {
    if (StopSignalRaised()) {
      std::fflush(stdout);
      console.Message("stopped after " + std::to_string(i) + " of " +
                      std::to_string(options.sectorCount) + " sectors");
      return kExitStopped;
    }
    const Lba lba = options.firstSector + i;
    // One sector per read, so that a bad sector costs only itself; the reader
    // picks the file or the pass-through reader as the disc needs.
    std::uint32_t bytesRead = 0;
    const bool ok = session.reader.ReadSectors(lba, 1, sector, bytesRead);
    if (!ok || bytesRead < kSectorSize) {
      if (unreadable++ == 0) firstUnreadable = lba;
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
    console.Message(std::to_string(unreadable) + " of " + std::to_string(options.sectorCount) +
                    " sectors did not read whole (the first at LBA " +
                    std::to_string(firstUnreadable) + "); filled with 0xF6");
    return kExitPartial;
  }
  return kExitOk;
}

}  // namespace velmora::cli
