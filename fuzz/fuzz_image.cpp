// The .cd image: the input is the whole file, trailer last. OpenImage's checks
// of the trailer against the file, then the scan of what it opened and an
// image made of it into memory's stand-in, /dev/null.

#include "FuzzMachine.h"
#include "image/ImageSource.h"
#include "media/ImageTrailer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::span<const std::byte> bytes = fuzz::Bytes(data, size);
  if (size >= kSectorSize) {
    const std::span<const std::byte> last = bytes.last(kSectorSize);
    if (auto trailer = disc::ParseImageTrailer(last)) {
      disc::EndsToLba(*trailer, static_cast<Lba>(size / kSectorSize - 1));
      disc::FitTrailerToImage(*trailer, static_cast<Lba>(size / kSectorSize - 1));
      disc::BuildImageTrailer(*trailer);
    }
  }
  fuzz::FuzzEngine engine(bytes);
  std::string reason;
  if (disc::OpenImageSource(engine.reader, engine.machine, "input", reason) !=
      disc::ImageOpenResult::kOpened) {
    return 0;
  }
  engine.state.readingImage = true;
  engine.scan.Scan();
  return 0;
}
