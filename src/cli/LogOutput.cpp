#include "LogOutput.h"

#include <span>

#include "StandardStreamSink.h"
#include "log/LogReport.h"
#include "platform/LocaleText.h"

namespace velmora::cli {

LogOutput::LogOutput(const std::optional<std::string>& path, Console& console)
    : path_(path), console_(console) {}

bool LogOutput::Start() {
  started_ = true;
  const platform::OutputCheck check = platform::CheckOutputPath(*path_);
  if (check.place == platform::OutputPlace::kFile) {
    platform::FileResult opened = platform::OpenReportFile(*path_);
    out_ = std::move(opened.file);
    platform::SinkError error;
    // An earlier log of that name is replaced from its first byte.
    if (!out_ || !out_->Resize(0, error)) {
      failure_ = *path_ + ": " + (out_ ? error.reason : opened.error.reason);
      out_.reset();
      return false;
    }
  } else {
    out_ = StandardStreamSink::Of(check.place, console_);
  }
  // The log is text in the user's locale encoding, as the window saves it.
  Write(log::FormatLogHeading(&platform::EncodeForLocale));
  return out_ != nullptr;
}

void LogOutput::Add(const log::LogRow& row) {
  if (!path_ || (!started_ && !Start()) || !out_) return;
  Write(log::FormatLogRow(row, rows_++ == 0, &platform::EncodeForLocale));
}

void LogOutput::Write(const std::string& text) {
  platform::SinkError error;
  if (out_->Append(std::as_bytes(std::span(text.data(), text.size())), error)) return;
  failure_ = *path_ + ": " + error.reason;
  out_.reset();
}

std::optional<std::string> LogOutput::Finish() {
  if (!path_) return std::nullopt;
  if (!started_) Start();
  platform::SinkError error;
  // A full disk may only show when the file is closed.
  if (out_ && !out_->Close(error) && failure_.empty()) failure_ = *path_ + ": " + error.reason;
  out_.reset();
  if (failure_.empty()) return std::nullopt;
  return failure_;
}

}  // namespace velmora::cli
