#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/Machine.h"
#include "platform/ScsiTransport.h"

namespace velmora::platform {

// Carries command blocks to a drive through the SG_IO ioctl, which the sr and sg
// drivers both answer.
class SgTransport final : public ScsiTransport {
 public:
  // Returns nullptr and fills error when path cannot be opened or does not take
  // SG_IO.
  static std::unique_ptr<SgTransport> Open(const std::string& path, OpenError& error);

  ~SgTransport() override;
  SgTransport(const SgTransport&) = delete;
  SgTransport& operator=(const SgTransport&) = delete;

  ScsiResult Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                     std::chrono::milliseconds timeout) override;
  ScsiResult ExecuteOut(std::span<const std::uint8_t> cdb, std::span<const std::byte> dataOut,
                        std::chrono::milliseconds timeout) override;

 private:
  explicit SgTransport(int fd) : fd_(fd) {}
  // One SG_IO: data of size bytes in the direction given (SG_DXFER_*).
  ScsiResult Transfer(std::span<const std::uint8_t> cdb, void* data, std::size_t size,
                      int direction, std::chrono::milliseconds timeout);

  int fd_;
};

}  // namespace velmora::platform
