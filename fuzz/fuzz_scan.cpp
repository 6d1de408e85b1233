// A whole scan of a disc made of the input: the image opener's checks, the
// descriptor search, the volume reader's walks and, when no descriptor
// serves, the recovery scans; then the listings written from the table.

#include <sstream>

#include "FuzzMachine.h"
#include "browse/EntryListing.h"
#include "image/ImageSource.h"

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
  std::ostringstream out;
  browse::WriteTsvListing(engine.table, out);
  browse::WriteTreeListing(engine.table, out);
  return 0;
}
