#include "platform/linux/SgTransport.h"

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "platform/linux/OsError.h"

namespace velmora::platform {

namespace {

// Driver status: only the low nibble is the driver's verdict (older kernels put
// suggestions in the high one), and "sense data follows" is not a failure.
constexpr unsigned kDriverStatusMask = 0x0F;
constexpr unsigned kDriverSense = 0x08;
// The host adapter gave up waiting for the drive.
constexpr unsigned kHostTimeOut = 0x03;

}  // namespace

std::unique_ptr<SgTransport> SgTransport::Open(const std::string& path, OpenError& error) {
  int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  // The sr driver takes SG_IO for reading commands on a read-only handle too,
  // so a user with read access only still gets pass-through reads.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) {
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    error = MakeOpenError(path, errno);
    return nullptr;
  }
  int version = 0;
  if (ioctl(fd, SG_GET_VERSION_NUM, &version) != 0) {
    error.error = errno;
    error.reason = path + " is not a SCSI pass-through device";
    close(fd);
    return nullptr;
  }
  return std::unique_ptr<SgTransport>(new SgTransport(fd));
}

SgTransport::~SgTransport() { close(fd_); }

ScsiResult SgTransport::Execute(std::span<const std::uint8_t> cdb, std::span<std::byte> dataIn,
                                std::chrono::milliseconds timeout) {
  return Transfer(cdb, dataIn.data(), dataIn.size(),
                  dataIn.empty() ? SG_DXFER_NONE : SG_DXFER_FROM_DEV, timeout);
}

ScsiResult SgTransport::ExecuteOut(std::span<const std::uint8_t> cdb,
                                   std::span<const std::byte> dataOut,
                                   std::chrono::milliseconds timeout) {
  // The kernel only reads data going to the device.
  return Transfer(cdb, const_cast<std::byte*>(dataOut.data()), dataOut.size(),
                  dataOut.empty() ? SG_DXFER_NONE : SG_DXFER_TO_DEV, timeout);
}

ScsiResult SgTransport::Transfer(std::span<const std::uint8_t> cdb, void* data, std::size_t size,
                                 int direction, std::chrono::milliseconds timeout) {
  ScsiResult result;
  if (cdb.empty() || cdb.size() > std::numeric_limits<unsigned char>::max() ||
      size > std::numeric_limits<unsigned int>::max()) {
    result.error = EINVAL;
    result.reason = ErrnoText(EINVAL);
    return result;
  }
  const auto milliseconds = std::clamp<std::chrono::milliseconds::rep>(
      timeout.count(), 0, std::numeric_limits<unsigned int>::max());

  sg_io_hdr_t header{};
  header.interface_id = 'S';
  header.dxfer_direction = direction;
  header.cmd_len = static_cast<unsigned char>(cdb.size());
  // The kernel only reads the command block; the field is not const in its header.
  header.cmdp = const_cast<unsigned char*>(cdb.data());
  header.mx_sb_len = static_cast<unsigned char>(result.sense.size());
  header.sbp = result.sense.data();
  header.dxfer_len = static_cast<unsigned int>(size);
  header.dxferp = data;
  header.timeout = static_cast<unsigned int>(milliseconds);

  int rc = 0;
  do {
    rc = ioctl(fd_, SG_IO, &header);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    result.error = errno;
    result.reason = ErrnoText(errno);
    return result;
  }

  result.status = header.status;
  result.senseLength = std::min<std::size_t>(header.sb_len_wr, result.sense.size());
  const std::size_t resid = header.resid > 0 ? static_cast<std::size_t>(header.resid) : 0;
  result.bytesTransferred = size - std::min(resid, size);

  const unsigned driverFailure = header.driver_status & kDriverStatusMask & ~kDriverSense;
  if (header.host_status != 0 || driverFailure != 0) {
    char text[80];
    std::snprintf(text, sizeof text, "transport failure (host status 0x%02X, driver status 0x%02X)",
                  static_cast<unsigned>(header.host_status),
                  static_cast<unsigned>(header.driver_status));
    result.error = EIO;
    result.reason = text;
    result.timedOut = header.host_status == kHostTimeOut;
    return result;
  }
  result.delivered = true;
  return result;
}

}  // namespace velmora::platform
