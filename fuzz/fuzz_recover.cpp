// A scan of a disc made of the input, then Recover All into a fresh temporary
// folder: names, folders and extents from the input become files there, and
// nothing may be written outside it.

#include <stdlib.h>

#include <filesystem>

#include "FuzzMachine.h"
#include "image/ImageSource.h"
#include "recovery/RecoveryEngine.h"
#include "select/RecoveryFilterList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  fuzz::FuzzEngine engine(fuzz::Bytes(data, size));
  std::string reason;
  if (disc::OpenImageSource(engine.reader, engine.machine, "input", reason) !=
      disc::ImageOpenResult::kOpened) {
    return 0;
  }
  engine.state.readingImage = true;
  engine.scan.Scan();
  char pattern[] = "/tmp/velmora-fuzz-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (dir == nullptr) return 0;
  const std::filesystem::path dest = std::filesystem::path(dir) / "dest";
  engine.host.quiet.folder = dest.string();
  engine.state.recoverAll = true;
  disc::RecoveryEngine recovery(engine.reader, engine.machine, engine.state, engine.host,
                                engine.scan);
  recovery.Run(engine.table, select::RecoveryFilterList(), (std::filesystem::path(dir) / "report").string());
  // Everything written lies in the temporary folder: it goes with it.
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  return 0;
}
