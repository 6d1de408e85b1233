#include <gtest/gtest.h>

#include <string>

#include "text/StringTable.h"

namespace velmora::text {
namespace {

// Texts with arguments: each placeholder takes the argument of its number,
// wherever the language puts it, and an argument is never read as a text.
TEST(StringTableTest, FormatTextPutsEachArgumentInItsPlace) {
  struct Case {
    const char* name;
    std::string expected;
    std::string actual;
  };
  const Case cases[] = {
      {"three arguments", "a.cd: the image's track list names sectors past its 38 sectors; 2 "
                          "session(s) cut to the image",
       FormatTextUtf8(kReasonSessionsCutToImage, {"a.cd", "38", "2"})},
      {"an argument holding a placeholder", "%2 does not exist",
       FormatTextUtf8(kReasonDoesNotExist, {"%2", "x"})},
      {"a missing argument stays as written", "%1 does not exist",
       FormatTextUtf8(kReasonDoesNotExist, {})},
      {"a path keeps its bytes", "\xff\xfe.iso: no disc in the drive",
       FormatTextUtf8(kReasonNoDisc, {"\xff\xfe.iso"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
  EXPECT_EQ(FormatText(kReasonSystem, {u"/dev/sr0", u"Input/output error"}),
            u"/dev/sr0: Input/output error");
}

TEST(StringTableTest, TranslationMayPutTheArgumentsInAnotherOrder) {
  SetTextSource([](std::uint16_t id) -> std::u16string {
    return id == kReasonCannotCreateImage ? u"%2 — l’image %1 n’a pu être créée" : u"";
  });
  EXPECT_EQ(FormatText(kReasonCannotCreateImage, {u"/x/a.cd", u"Permission denied"}),
            u"Permission denied — l’image /x/a.cd n’a pu être créée");
  // A text the translation lacks is English.
  EXPECT_EQ(FormatText(kReasonDoesNotExist, {u"a.iso"}), u"a.iso does not exist");
  SetTextSource({});
  EXPECT_EQ(FormatText(kReasonCannotCreateImage, {u"/x/a.cd", u"Permission denied"}),
            u"cannot create the image /x/a.cd: Permission denied");
}

}  // namespace
}  // namespace velmora::text
