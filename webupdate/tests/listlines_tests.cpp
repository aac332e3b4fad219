// The listings' line rules: every line-end convention, the skipped header, trimming, words.
#include <gtest/gtest.h>

#include "webupdate/listlines.h"

namespace webupdate {
namespace {

TEST(SplitLines, ReadsEveryLineEnd) {
  const struct {
    const char* name;
    QByteArray text;
    QStringList lines;
  } cases[] = {
      {"CRLF", "a\r\nb\r\n", {"a", "b"}},
      {"CR only", "a\rb\r", {"a", "b"}},
      {"LF only", "a\nb\n", {"a", "b"}},
      {"mixed, last line open", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"blank lines kept", "a\n\nb", {"a", "", "b"}},
      {"CR eats one control character", "a\r\tb", {"a", "b"}},
      {"UTF-8", "\xc3\xa9t\xc3\xa9\n", {QString::fromUtf8("\xc3\xa9t\xc3\xa9")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

TEST(ListEntries, SkipsTheHeaderAndEmptyLinesAndSplitsWords) {
  const QList<QStringList> expected = {{"SP1"}, {"SP2", "extra", "words"}, {"SP3"}};
  EXPECT_EQ(ListEntries("Service packs\r\nSP1\r\n  SP2  extra\twords \r\n\r\n   \r\nSP3"),
            expected);
  EXPECT_EQ(ListEntries("Service packs\nSP1\nSP2 extra words\n\nSP3\n"), expected);
  EXPECT_TRUE(ListEntries("header only\r\n").isEmpty());
  EXPECT_TRUE(ListEntries("").isEmpty());
}

}  // namespace
}  // namespace webupdate
