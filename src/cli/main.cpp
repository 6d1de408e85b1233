#include <clocale>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CliMachine.h"
#include "CliOptions.h"
#include "Console.h"
#include "DrivesCommand.h"
#include "ExitCode.h"
#include "FindCommand.h"
#include "ImageCommand.h"
#include "ListCommand.h"
#include "RecoverCommand.h"
#include "SectorsCommand.h"
#include "StopSignal.h"
#include "platform/Heap.h"
#include "platform/Terminal.h"
#include "UsageText.h"
#include "WrittenFiles.h"

int main(int argc, char** argv) {
  using namespace velmora::cli;
  velmora::platform::PrepareHeapForLargeTables();
  // The character set of the user's locale encodes the saved log.
  std::setlocale(LC_CTYPE, "");
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  Console console(velmora::platform::StderrIsTerminal());
  std::string error;
  const std::optional<CliOptions> options = ParseOptions(args, error);
  if (!options) {
    console.Message(error + " (velmora-cli --help lists the commands)");
    return kExitBadInput;
  }
  if (options->command == Command::kHelp) {
    std::cout << UsageText();
    return kExitOk;
  }
  if (options->command == Command::kVersion) {
    std::cout << "velmora-cli " << VELMORA_VERSION << " (GPL-3.0-or-later)\n";
    return kExitOk;
  }
  if (const std::optional<std::string> refusal = RefuseWrittenFiles(*options)) {
    console.Message(*refusal);
    return kExitBadInput;
  }
  std::string damage;
  std::unique_ptr<velmora::platform::Machine> machine =
      CreateMachine(*options, error, damage);
  if (!machine) {
    console.Message(error);
    return kExitBadInput;
  }
  // A drive's disc whose track list was cut: said, and no clean exit.
  if (!damage.empty()) console.Message(damage);
  const auto result = [&damage](int code) {
    return !damage.empty() && code == kExitOk ? kExitPartial : code;
  };
  InstallStopSignal();
  switch (options->command) {
    case Command::kDrives:
      return result(RunDrives(*machine, console));
    case Command::kSectors:
      return result(RunSectors(*options, *machine, console));
    case Command::kList:
      return result(RunList(*options, *machine, console));
    case Command::kFind:
      return result(RunFind(*options, *machine, console));
    case Command::kImage:
      return result(RunImage(*options, *machine, console));
    case Command::kRecover:
      return result(RunRecover(*options, *machine, console));
    case Command::kHelp:
    case Command::kVersion:
      break;
  }
  return kExitOk;
}
