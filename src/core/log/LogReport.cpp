#include "log/LogReport.h"

#include <span>

#include "platform/FileSink.h"
#include "text/CodePage.h"
#include "text/StringTable.h"

namespace velmora::log {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kHeadingDashes = 19;
constexpr std::size_t kSeparatorDashes = 79;
constexpr std::size_t kFieldIndent = 20;

// A tab, line feed, carriage return or backslash as \t, \n, \r, \\, as the
// listings write them: a name from the disc keeps to its line of the report.
std::string Encoded(std::u16string_view field, const ReportEncoder& encode) {
  std::u16string escaped;
  escaped.reserve(field.size());
  for (char16_t c : field) {
    switch (c) {
      case u'\t': escaped += u"\\t"; break;
      case u'\n': escaped += u"\\n"; break;
      case u'\r': escaped += u"\\r"; break;
      case u'\\': escaped += u"\\\\"; break;
      default: escaped += c;
    }
  }
  return encode(escaped);
}

void AppendIndented(std::string& out, std::u16string_view field, const ReportEncoder& encode) {
  if (field.empty()) return;
  out.append(kFieldIndent, ' ');
  out += Encoded(field, encode);
  out += kLineEnd;
}

}  // namespace

std::string FormatLogReport(const std::vector<LogRow>& rows) {
  return FormatLogReport(rows, [](std::u16string_view text) { return text::EncodeWindows1252(text); });
}

std::string FormatLogHeading(const ReportEncoder& encode) {
  std::string out(kHeadingDashes, '-');
  out += encode(text::LoadText(text::kLogReportHeading));
  out.append(kHeadingDashes, '-');
  out += kLineEnd;
  out += kLineEnd;
  return out;
}

std::string FormatLogRow(const LogRow& row, bool first, const ReportEncoder& encode) {
  std::string out;
  // A blank Activity is still an Activity: only an empty one continues the
  // block of the row before.
  if (!row.activity.empty()) {
    if (!first) {
      out.append(kSeparatorDashes, '-');
      out += kLineEnd;
    }
    out += Encoded(row.activity, encode);
    out += kLineEnd;
  }
  AppendIndented(out, row.text, encode);
  AppendIndented(out, row.status, encode);
  return out;
}

std::string FormatLogReport(const std::vector<LogRow>& rows, const ReportEncoder& encode) {
  std::string out = FormatLogHeading(encode);
  for (std::size_t i = 0; i < rows.size(); ++i) out += FormatLogRow(rows[i], i == 0, encode);
  return out;
}

bool WriteLogReport(const std::string& path, const std::vector<LogRow>& rows, std::string& reason) {
  return WriteLogReport(path, rows, reason,
                        [](std::u16string_view text) { return text::EncodeWindows1252(text); });
}

bool WriteLogReport(const std::string& path, const std::vector<LogRow>& rows, std::string& reason,
                    const ReportEncoder& encode) {
  const std::string report = FormatLogReport(rows, encode);
  platform::FileResult opened = platform::OpenReportFile(path);
  platform::SinkError error;
  const auto bytes = std::as_bytes(std::span(report.data(), report.size()));
  // A full disk may only show when the file is closed.
  if (!opened.file || !opened.file->Resize(0, error) || !opened.file->Append(bytes, error) ||
      !opened.file->Close(error)) {
    reason = path + ": " + (opened.file ? error.reason : opened.error.reason);
    return false;
  }
  return true;
}

}  // namespace velmora::log
