#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Console.h"
#include "log/MessageLog.h"
#include "platform/FileSink.h"

namespace velmora::cli {

// The message log of one command for --log FILE, written row by row as the
// engine adds them, so that no row is kept: a recovery of a deep disc names
// every file by its whole path. FILE is made (or an earlier log replaced)
// with the first row; when FILE is the file standard output or error is open
// on (/dev/stdout, /dev/stderr, where they were redirected), the log goes onto
// that stream after what is there. Without --log the rows go nowhere.
class LogOutput {
 public:
  LogOutput(const std::optional<std::string>& path, Console& console);

  void Add(const log::LogRow& row);
  // Ends the log: one that no row started gets its heading alone. Returns the
  // reason ("FILE: OS text") when it could not be written whole.
  std::optional<std::string> Finish();

 private:
  // Opens FILE, or takes the stream, and writes the heading; false (with
  // failure_ set) when it cannot.
  bool Start();
  void Write(const std::string& text);

  std::optional<std::string> path_;
  Console& console_;
  std::unique_ptr<platform::FileSink> out_;
  bool started_ = false;
  std::size_t rows_ = 0;
  std::string failure_;  // the first reason the log could not be written
};

}  // namespace velmora::cli
