#pragma once

#include <cstdint>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/Entry.h"
#include "recovery/RecoveryReport.h"
#include "host/ScanHost.h"
#include "platform/FileSink.h"

namespace velmora::disc {

struct CopyResult {
  std::uint64_t bytesRead = 0;        // bytes of the file that came from the disc
  std::vector<ByteRange> unreadable;  // the others, zeros in the file
  bool stopped = false;               // Stop came before the last read
  bool writeFailed = false;
  platform::SinkError writeError;
};

// Copies a file's data from its extent into a destination file through the
// reader rule (CCDReader::ReadSectors).
//
// The extent is read in runs of kRunSectors; a run that fails, or delivers
// less than it was asked for, is read again sector by sector, so a bad sector
// costs only itself. What a sector delivers is kept, even a short part of it;
// the bytes it does not deliver become zeros in the file and are listed as
// unreadable; what lies past the medium's end is not read, listed as
// unreadable and skipped (zeros that cost no writing). Between reads the host lets messages through; when Stop arrives
// the rest of the file is left unread and unwritten: the file ends with what
// was written.
class ExtentCopier {
 public:
  static constexpr std::uint32_t kRunSectors = 64;  // 128 KiB

  ExtentCopier(CCDReader& reader, ScanHost& host, const AppState& state);

  CopyResult Copy(Lba extent, std::uint32_t size, platform::FileSink& sink);
  // Copies the whole of a file: its extent at File ID and, for a file recorded
  // in several extents, the others after it in order. The unreadable ranges
  // are offsets in the whole file.
  CopyResult CopyFile(const Entry& entry, platform::FileSink& sink);

 private:
  // Reads sector lba (size bytes wanted of it) alone and writes what it gives,
  // then zeros for the rest; at is the file offset of the sector.
  bool CopySector(std::uint64_t lba, std::uint64_t at, std::uint32_t wanted,
                  platform::FileSink& sink, CopyResult& result);
  // Copy; boundByMedium does not read what lies past the medium's end: it is
  // listed as unreadable and skipped.
  CopyResult CopyPart(Lba extent, std::uint32_t size, platform::FileSink& sink, bool boundByMedium);
  bool KeepGoing();

  CCDReader& reader_;
  ScanHost& host_;
  const AppState& state_;
  std::vector<std::byte> run_;
};

}  // namespace velmora::disc
