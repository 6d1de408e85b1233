#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/AppState.h"
#include "disc/CCDReader.h"
#include "image/ImageFile.h"
#include "image/MapWriter.h"
#include "media/RescueMap.h"
#include "host/ScanHost.h"
#include "scan/ScanProcess.h"

namespace velmora::disc {

// The copy loop of Create Image: block k of the image holds sector k. Per
// sector it looks for a stop, reads, reports "Reading Sector k", writes the
// block whatever the read gave (0xF6 where nothing came) and logs a sector that
// failed or came back short. Sectors are read and written in batches while the
// disc reads well; a batch that fails or comes back short is read again sector
// by sector, so the log rows and the blocks are those of single reads.
class SectorCopier {
 public:
  enum class End {
    kDone,
    kEndOfMedium,  // a read delivered nothing: the disc ends here
    kStopped,      // "Process Aborted" is logged
    kWriteFailed,  // the failure is logged
  };

  SectorCopier(CCDReader& reader, AppState& state, ScanProcess& scan, ScanHost& host,
               ImageFile& file, std::u16string path);

  // Keeps map up to date with what each sector gave (read, failed, or read in
  // part), saved through writer every few seconds.
  void TrackIn(RescueMap& map, MapWriter& writer) {
    map_ = &map;
    writer_ = &writer;
  }

  // The bytes the copy reads, the gaps Fill writes left out: the host is told
  // them now and the bytes read of them as the copy goes (ScanHost::CountBytes).
  void CountReadsOf(std::uint64_t bytesToRead);

  // Copies sectors [blocks(), to). endAtEmptyRead: a read that succeeds with 0
  // bytes ends the copy (a single-track disc read as a file ends that way).
  End Read(Lba to, bool endAtEmptyRead);
  // Writes 0xF6 blocks [blocks(), to) without reading.
  End Fill(Lba to);
  // Writes the trailer after the last block, even after a failed write, so
  // that what was copied still opens.
  void WriteTrailer(const std::vector<std::byte>& trailer);
  void Close();

  // Blocks written so far: the LBA of the next sector.
  Lba blocks() const { return blocks_; }
  std::uint32_t unreadableSectors() const { return unreadable_; }
  std::uint32_t partialSectors() const { return partial_; }
  // A write or the close failed; the first failure is logged.
  bool failed() const { return failed_; }

 private:
  // Reports the first count blocks of batch_, each after a look for a stop,
  // and writes them at blocks().
  End ReportAndWrite(Lba count);
  // Reads, reports, writes and logs sector blocks().
  End CopyOneSector(bool endAtEmptyRead);
  // Writes the first count blocks of batch_ at blocks(); false, logged, when
  // the file refused them.
  bool WriteBlocks(Lba count);
  // Marks [begin, end) of the map (bytes) as status, and saves it when due.
  void Mark(std::uint64_t begin, std::uint64_t end, AreaStatus status);
  void LogFailure();
  void LogAborted();
  void LogSector(std::uint16_t textId, Lba lba);
  void Log(std::u16string_view status, log::LogIcon icon);

  CCDReader& reader_;
  AppState& state_;
  ScanProcess& scan_;
  ScanHost& host_;
  ImageFile& file_;
  std::u16string path_;
  std::vector<std::byte> batch_;
  Lba blocks_ = 0;
  Lba filled_ = 0;  // of blocks_, written by Fill
  bool filling_ = false;
  std::uint64_t bytesToRead_ = 0;
  std::uint32_t unreadable_ = 0;
  std::uint32_t partial_ = 0;
  bool failed_ = false;
  RescueMap* map_ = nullptr;
  MapWriter* writer_ = nullptr;
};

}  // namespace velmora::disc
