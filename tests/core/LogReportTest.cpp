#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "log/LogReport.h"
#include "platform/LocaleText.h"
#include "support/TempDir.h"

namespace velmora::log {
namespace {

const std::string kHeading = std::string(19, '-') + "Message Log Report of Orvane Velmora CDROM" +
                             std::string(19, '-') + "\r\n\r\n";
const std::string kSeparator = std::string(79, '-') + "\r\n";
const std::string kIndent(20, ' ');

struct ReportCase {
  const char* name;
  std::vector<LogRow> rows;
  std::string body;  // what follows the heading and the empty line
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class LogReportFormat : public ::testing::TestWithParam<ReportCase> {};

TEST_P(LogReportFormat, WritesTheRowsInTheReportLayout) {
  EXPECT_EQ(FormatLogReport(GetParam().rows), kHeading + GetParam().body);
}

const std::u16string kLongText(600, u'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, LogReportFormat,
    ::testing::Values(ReportCase{"EmptyLog", {}, ""},
                      // A scan's rows: the blank Activity of the second row is an Activity, so
                      // it gets its separator and its own line.
                      ReportCase{"ScanStartedAndCompleted",
                                 {{u"Info", u"Creating Tree Structure", u"Process Started"},
                                  {u" ", u" ", u"Process Completed"}},
                                 "Info\r\n" + kIndent + "Creating Tree Structure\r\n" + kIndent +
                                     "Process Started\r\n" + kSeparator + " \r\n" + kIndent +
                                     " \r\n" + kIndent + "Process Completed\r\n"},
                      // A row with nothing in it writes nothing; an empty Activity continues the
                      // block above without a separator.
                      ReportCase{"EmptyFieldsWriteNoLines",
                                 {{u"Info", u"Recovering File", u""},
                                  {u"", u"", u""},
                                  {u"", u"", u"File Recovered Successfully"}},
                                 "Info\r\n" + kIndent + "Recovering File\r\n" + kIndent +
                                     "File Recovered Successfully\r\n"},
                      // The first row with an Activity after empty ones still gets the
                      // separator: only row 0 goes without.
                      ReportCase{"SeparatorGoesByRowNumber",
                                 {{u"", u"", u"Process Started"}, {u"Info", u"", u""}},
                                 kIndent + "Process Started\r\n" + kSeparator + "Info\r\n"},
                      ReportCase{"CharactersOutsideTheCodePageBecomeQuestionMarks",
                                 {{u"\u00C4rger \u20AC", u"\u65E5\u672C.txt", u"\U0001F4BF"}},
                                 "\xC4rger \x80\r\n" + kIndent + "??.txt\r\n" + kIndent + "??\r\n"},
                      // A name from the disc keeps to its line, escaped as the listings do.
                      ReportCase{"LineBreaksTabsAndBackslashesAreEscaped",
                                 {{u"Info", u"a\r\nb\tc\\d", u"\n"}},
                                 "Info\r\n" + kIndent + "a\\r\\nb\\tc\\\\d\r\n" + kIndent +
                                     "\\n\r\n"},
                      ReportCase{"LongTextsAreWrittenWhole",
                                 {{kLongText, kLongText, u""}},
                                 std::string(600, 'x') + "\r\n" + kIndent + std::string(600, 'x') +
                                     "\r\n"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LogReportWrite, WritesTheReportAtThePathAsGivenOrSaysWhyNot) {
  testing::TempDir dir;
  std::ofstream(dir / "older.txt") << std::string(4096, 'z');
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::vector<LogRow> rows{{u"Info", u"Creating Tree Structure", u"Process Started"}};
  struct Case {
    const char* name;
    std::filesystem::path path;
    bool written;
    const char* reason;  // part of the reason when not written
  };
  const Case cases[] = {
      // No extension is added: the report lands exactly where it was asked.
      {"PlainName", dir / "report", true, ""},
      {"ReplacesALongerFile", dir / "older.txt", true, ""},
      {"MissingFolder", dir / "missing" / "report.txt", false, "No such file or directory"},
      {"FolderInTheWay", dir.path(), false, "Is a directory"},
      // Nobody reads it: opened to wait for a reader, the window would hang.
      {"Fifo", dir / "fifo", false, "a fifo, not a file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string reason;
    ASSERT_EQ(WriteLogReport(c.path.string(), rows, reason), c.written) << reason;
    if (c.written) {
      EXPECT_EQ(FileBytes(c.path), FormatLogReport(rows));
    } else {
      EXPECT_NE(reason.find(c.path.string()), std::string::npos) << reason;
      EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
  }
}


// The desktop program writes the report in the locale's encoding: names in any
// script survive a UTF-8 locale, and only what a narrower one cannot hold
// becomes its default character.
TEST(LogReportEncoding, LocaleEncodingKeepsWhatTheLocaleCanHold) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  const std::vector<LogRow> rows = {
      {u"Info", u"\u041e\u0442\u0447\u0451\u0442 \u5149\u789f.txt", u"Process Started",
       LogIcon::kInformation}};
  struct Case {
    const char* locale;
    std::string text;
  };
  const Case cases[] = {
      {"C.UTF-8", "\xd0\x9e\xd1\x82\xd1\x87\xd1\x91\xd1\x82 \xe5\x85\x89\xe7\xa2\x9f.txt"},
      {"C", "????? ??.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    if (!std::setlocale(LC_CTYPE, c.locale)) GTEST_SKIP() << c.locale << " is not installed";
    const std::string report = FormatLogReport(rows, &platform::EncodeForLocale);
    EXPECT_EQ(report, kHeading + "Info\r\n" + kIndent + c.text + "\r\n" + kIndent +
                          "Process Started\r\n");
  }
  std::setlocale(LC_CTYPE, saved.c_str());
}

}  // namespace
}  // namespace velmora::log
