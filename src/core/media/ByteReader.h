#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::disc {

// Bounds-checked reads of on-disc numbers. A read past the end gives 0 and marks
// the reader as overrun, so a parser can test once after it has read a record.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  bool overrun() const { return overrun_; }
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  std::uint8_t U8(std::size_t offset) {
    if (!Has(offset, 1)) return Overrun();
    return static_cast<std::uint8_t>(bytes_[offset]);
  }
  std::uint16_t U16Le(std::size_t offset) {  // ECMA-119 7.2.1
    if (!Has(offset, 2)) return Overrun();
    return static_cast<std::uint16_t>(U8(offset) | (U8(offset + 1) << 8));
  }
  std::uint16_t U16Be(std::size_t offset) {  // 7.2.2
    if (!Has(offset, 2)) return Overrun();
    return static_cast<std::uint16_t>((U8(offset) << 8) | U8(offset + 1));
  }
  std::uint32_t U32Le(std::size_t offset) {  // 7.3.1
    if (!Has(offset, 4)) return Overrun();
    return static_cast<std::uint32_t>(U8(offset)) | (static_cast<std::uint32_t>(U8(offset + 1)) << 8) |
           (static_cast<std::uint32_t>(U8(offset + 2)) << 16) |
           (static_cast<std::uint32_t>(U8(offset + 3)) << 24);
  }
  std::uint32_t U32Be(std::size_t offset) {  // 7.3.2
    if (!Has(offset, 4)) return Overrun();
    return (static_cast<std::uint32_t>(U8(offset)) << 24) |
           (static_cast<std::uint32_t>(U8(offset + 1)) << 16) |
           (static_cast<std::uint32_t>(U8(offset + 2)) << 8) | static_cast<std::uint32_t>(U8(offset + 3));
  }
  std::span<const std::byte> Bytes(std::size_t offset, std::size_t length) {
    if (!Has(offset, length)) {
      overrun_ = true;
      return {};
    }
    return bytes_.subspan(offset, length);
  }

 private:
  std::uint8_t Overrun() {
    overrun_ = true;
    return 0;
  }

  std::span<const std::byte> bytes_;
  bool overrun_ = false;
};

}  // namespace velmora::disc
