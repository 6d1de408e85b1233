// The byte decoders on their own: a directory record (and its name in both
// encodings), a volume descriptor, and the image trailer.

#include "FuzzMachine.h"
#include "iso9660/DirectoryRecord.h"
#include "iso9660/NameDecoder.h"
#include "iso9660/RecordingTime.h"
#include "iso9660/VolumeDescriptor.h"
#include "media/ImageTrailer.h"
#include "text/NameEscape.h"
#include "text/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::span<const std::byte> bytes = fuzz::Bytes(data, size);
  if (auto record = disc::ParseDirectoryRecord(bytes)) {
    for (bool sixteenBit : {false, true}) {
      const std::u16string name =
          disc::DecodeName(record->identifier, sixteenBit, record->IsDirectory());
      text::EscapeName(text::ToUtf8(name));
      disc::FileVersion(record->identifier, sixteenBit);
    }
    disc::LooksSixteenBit(record->identifier);
    disc::IsRealTime(record->time);
  }
  if (disc::IsVolumeDescriptor(bytes)) disc::ParseVolumeInfo(bytes);
  if (auto trailer = disc::ParseImageTrailer(bytes)) {
    disc::EndsToLba(*trailer, static_cast<Lba>(size));
    disc::FitTrailerToImage(*trailer, static_cast<Lba>(size));
  }
  disc::HasDamagedSignature(bytes);
  return 0;
}
