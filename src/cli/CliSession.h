#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "CliHost.h"
#include "CliOptions.h"
#include "CliPrompts.h"
#include "Console.h"
#include "ExitCode.h"
#include "LogOutput.h"
#include "disc/CCDReader.h"
#include "entries/EntryTable.h"
#include "host/AppState.h"
#include "platform/Machine.h"
#include "scan/ScanProcess.h"

namespace velmora::cli {

// The engine one command works with: the flags, the answers to its questions,
// the reader, the message log, and the scan over the entry table.
struct CliSession {
  CliSession(const CliOptions& optionsIn, platform::Machine& machineIn, Console& consoleIn)
      : options(optionsIn),
        machine(machineIn),
        console(consoleIn),
        prompts(consoleIn, optionsIn),
        reader(machineIn),
        log(optionsIn.logPath, consoleIn),
        host(prompts, consoleIn, state, log),
        scan(reader, state, table, host) {}

  // Opens the command's SOURCE; false, with the reason on the console and the
  // exit status in openFailure, when it cannot be used.
  bool OpenSource();
  // Ends the message log --log asks for; a log that cannot be saved, or a
  // source that opened despite damage, turns a clean result into a partial
  // one (a log that cannot be saved is said on the console).
  int SaveLog(int result);
  // After the scan: false, said on the console, when --names asked for names
  // the disc does not carry.
  bool NamesFound();
  // After the scan: says each kind of damage it met ("N folders did not read
  // whole; ..."), pointing at the log that names them, or at --log; true when
  // there was any.
  bool SayScanDamage();
  // After a process: kExitNoDisc when there was no disc to read (none found,
  // none in the drive, or no drive), kExitPartial when the disc went while it
  // was read; the engine said which. Nothing otherwise.
  std::optional<int> DiscFailure() const;

  const CliOptions& options;
  platform::Machine& machine;
  Console& console;
  AppState state;
  CliPrompts prompts;
  disc::CCDReader reader;
  LogOutput log;
  CliHost host;
  disc::EntryTable table;
  disc::ScanProcess scan;
  // The exit status of a SOURCE that could not be opened: a usage error, or no
  // CDROM when "drive" finds no drive at all.
  int openFailure = kExitBadInput;
  // The image opened with damage to its track list (said and logged).
  bool sourceDamaged = false;
};

}  // namespace velmora::cli
