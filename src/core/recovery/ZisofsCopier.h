#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "entries/Entry.h"
#include "host/ScanHost.h"
#include "platform/FileSink.h"
#include "recovery/ExtentCopier.h"

namespace velmora::disc {

// Copies a file compressed with zisofs, decompressed: its header and block
// pointers first, then block by block. A block whose compressed bytes do not
// all read, or do not inflate, is zeros in the file and listed as unreadable
// (its uncompressed bytes); a header or pointer table that does not read
// leaves the whole file unreadable. The file is never saved with the
// compressed bytes. Between blocks the host lets messages through; Stop ends
// the file with what was written.
class ZisofsCopier {
 public:
  ZisofsCopier(CCDReader& reader, ScanHost& host, const AppState& state)
      : reader_(reader), host_(host), state_(state) {}

  CopyResult Copy(const Entry& entry, platform::FileSink& sink);

 private:
  // Reads the bytes at offset of the stored data at extent (storedSize bytes
  // long) into out; false when any of them does not read.
  bool ReadStored(Lba extent, std::uint32_t storedSize, std::uint64_t offset, std::span<std::byte> out);

  CCDReader& reader_;
  ScanHost& host_;
  const AppState& state_;
  std::vector<std::byte> sectors_;
};

}  // namespace velmora::disc
