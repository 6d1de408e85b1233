#include "support/ScriptedHost.h"

namespace velmora::testing {

std::optional<std::size_t> ScriptedPrompts::SelectDrive(const std::vector<std::string>&) {
  asked.push_back("SelectDrive");
  return driveAnswer;
}

bool ScriptedPrompts::ConfirmInsertDisc() {
  asked.push_back("InsertDisc");
  return insertAnswer;
}

bool ScriptedPrompts::ConfirmOverwrite(const std::string&) {
  asked.push_back("Overwrite");
  return overwriteAnswer;
}

void ScriptedPrompts::ShowError(int code) {
  asked.push_back("Error");
  errors.push_back(code);
}

void ScriptedPrompts::ShowErrorDetail(int code, const std::string& detail) {
  ShowError(code);
  errorDetails.push_back(detail);
}

bool ScriptedPrompts::ConfirmSameMedium() {
  ShowNotice(0);
  return sameMediumAnswer;
}

void ScriptedPrompts::ShowNotice(int type) {
  asked.push_back("Notice");
  notices.push_back(type);
}

std::optional<std::string> ScriptedPrompts::ChooseFolder(const std::u16string&) {
  asked.push_back("ChooseFolder");
  return folderAnswer;
}

std::vector<std::u16string> ScriptedHost::Statuses() const {
  std::vector<std::u16string> statuses;
  for (const auto& row : log.rows()) statuses.push_back(row.status);
  return statuses;
}

}  // namespace velmora::testing
