#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::log {

// Row icons: 0 a process started, 1 completed, 2 aborted or a failure.
enum class LogIcon : int { kInformation = 0, kCompleted = 1, kFailure = 2 };

struct LogRow {
  std::u16string activity;
  std::u16string text;
  std::u16string status;
  LogIcon icon = LogIcon::kInformation;
};

// The message log: rows in the order the processes wrote them. Views observe it;
// only Clear removes rows.
class MessageLog {
 public:
  using Observer = std::function<void(const LogRow& row, std::size_t index)>;

  void Add(std::u16string_view activity, std::u16string_view text, std::u16string_view status,
           LogIcon icon);
  void Clear();
  const std::vector<LogRow>& rows() const { return rows_; }
  // Called after every added row; the GUI's log dock uses it.
  void SetObserver(Observer observer) { observer_ = std::move(observer); }

 private:
  std::vector<LogRow> rows_;
  Observer observer_;
};

}  // namespace velmora::log
