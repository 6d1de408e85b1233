#include "CliPrompts.h"

#include "text/StringTable.h"
#include "text/Utf.h"

namespace velmora::cli {

CliPrompts::CliPrompts(Console& console, const CliOptions& options)
    : console_(console), drive_(options.drive), overwrite_(options.overwrite) {
  if (options.command == Command::kRecover) folder_ = options.target;
}

std::optional<std::size_t> CliPrompts::SelectDrive(const std::vector<std::string>&) {
  return drive_.value_or(0);
}

void CliPrompts::ShowError(int code) {
  if (!errors_.insert(code).second) return;
  std::string message = text::ToUtf8(text::ErrorMessage(code));
  console_.Message(message.empty() ? "error " + std::to_string(code) : message);
}

void CliPrompts::ShowErrorDetail(int code, const std::string& detail) {
  errors_.insert(code);
  console_.Message(detail);
}

void CliPrompts::ShowNotice(int type) {
  // Type 0 is the only notice the program has: saving onto the medium being read.
  if (type != 0) return;
  console_.Message(text::ToUtf8(text::LoadText(text::kSameDriveWarning1)));
  console_.Message(text::ToUtf8(text::LoadText(text::kSameDriveWarning2)));
}

}  // namespace velmora::cli
