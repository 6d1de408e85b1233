#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/FileSink.h"
#include "recovery/ForwardingSink.h"
#include "recovery/RecoveryReport.h"

namespace velmora::disc {

// The new file of a resumed recovery, compared as it is written with the files
// an earlier recovery may have left for the same disc file (partial or
// stopped). The disc's bytes go into the new file only; an earlier file is
// read, never written. Once the copy is done, an earlier file that every
// compared byte agrees with is proven to be an earlier copy of this disc file:
// it gives the bytes this run did not read, and the new file may take its
// place. A byte of other data shows a file that is not one (the user's own
// file of that name): it is left as it is, and the new file keeps its own name.
class ResumedFile final : public ForwardingSink {
 public:
  // file: the new file; earlier: the files to compare, by their priority.
  ResumedFile(platform::FileSink& file, std::vector<platform::FoundFile*> earlier);

  bool Append(std::span<const std::byte> bytes, platform::SinkError& error) override;
  bool Skip(std::uint64_t count, platform::SinkError& error) override;

  // The first earlier file proven to be an earlier copy: no compared byte
  // differs where it holds data, and at least one byte of data agrees (a file
  // of zeros proves nothing).
  std::optional<std::size_t> Proven() const;
  // The first earlier file that holds exactly what was written: the disc's
  // whole file, every byte read this time, whatever it is.
  std::optional<std::size_t> Same(std::uint64_t size) const;
  // Writes into the new file, from earlier file k, what this run skipped and
  // what lies past where it ended, as far as that file holds it.
  bool FillFrom(std::size_t k, platform::SinkError& error);

 private:
  struct Earlier {
    platform::FoundFile* file;
    bool differs = false;        // a byte of data there is not the disc's
    bool agrees = false;         // a byte of data there is the disc's
    bool zeroWhereRead = false;  // a zero there where the disc's byte is not
  };
  // Copies earlier bytes first..last (within its size) into the new file,
  // leaving runs of zeros as they are.
  bool Copy(platform::FoundFile& from, std::uint64_t first, std::uint64_t last,
            platform::SinkError& error);

  std::vector<Earlier> earlier_;
  std::uint64_t offset_ = 0;
  std::vector<ByteRange> skipped_;
  std::vector<std::byte> old_;
};

}  // namespace velmora::disc
