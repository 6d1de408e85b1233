#include "StandardStreamSink.h"

#include <cerrno>
#include <iostream>
#include <string>
#include <string_view>

namespace velmora::cli {

bool StandardStreamSink::Append(std::span<const std::byte> bytes, platform::SinkError& error) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  written_ = written_ || !text.empty();
  // Through the same stream as the listing and the messages, so that lines
  // never cross.
  const bool ok = stream_ == Stream::kOutput ? static_cast<bool>(std::cout << text)
                                             : console_.Write(text);
  if (!ok) error = Failed();
  return ok;
}

bool StandardStreamSink::Resize(std::uint64_t size, platform::SinkError& error) {
  if (size == 0 && !written_) return true;
  return Refuse(error);
}

bool StandardStreamSink::Close(platform::SinkError& error) {
  std::ostream& out = stream_ == Stream::kOutput ? std::cout : std::cerr;
  if (out.flush()) return true;
  error = Failed();
  return false;
}

platform::SinkError StandardStreamSink::Failed() const {
  return {EIO, std::string("cannot write to standard ") +
                   (stream_ == Stream::kOutput ? "output" : "error")};
}

bool StandardStreamSink::Refuse(platform::SinkError& error) {
  error = {EINVAL, "not possible on a stream"};
  return false;
}

}  // namespace velmora::cli
