// Page bytes to text, and HTML fragments to the plain text shown in the tree and the index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guideview/core/pagetext.h"

namespace guideview {
namespace {

TEST(PageTextTest, DecodesUtf8ElseWindows1252) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"ASCII", "Notes", "Notes"},
      {"UTF-8 kept", "caf\xC3\xA9 \xE2\x80\x93", "caf\xC3\xA9 \xE2\x80\x93"},
      {"byte-order mark dropped", "\xEF\xBB\xBFHelp", "Help"},
      {"Windows-1252 letters", "caf\xE9", "caf\xC3\xA9"},
      {"Windows-1252 punctuation", "\x93q\x94 \x96 \x80",
       "\xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x93 \xE2\x82\xAC"},
      {"one bad byte makes the whole page Windows-1252", "\xC3\xA9 \xE9",
       "\xC3\x83\xC2\xA9 \xC3\xA9"},
      {"overlong UTF-8 is not UTF-8", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"truncated UTF-8 at the end", "ab\xE2\x80", "ab\xC3\xA2\xE2\x82\xAC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodePageBytes(c.bytes), c.expected);
  }
}

TEST(PageTextTest, SplitsAtEveryKindOfLineEnd) {
  auto lines = SplitLines("a\r\nb\nc\rd\n\ne");
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
            (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(SplitLines("a\n").size(), 1u);
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(PageTextTest, HtmlToPlainText) {
  struct Case {
    const char* html;
    const char* expected;
  };
  const Case cases[] = {
      {"Fixture Help &amp; Guide", "Fixture Help & Guide"},
      {"<B>Lyrics</B> &amp;\n  words", "Lyrics & words"},
      {"  Getting\nStarted  ", "Getting Started"},
      {"&lt;b&gt; is bold", "<b> is bold"},
      {"&eacute;t&Eacute; &#233;&#xE9;&#XC9;", "\xC3\xA9t\xC3\x89 \xC3\xA9\xC3\xA9\xC3\x89"},
      {"A&nbsp;B",
       "A\xC2\xA0"
       "B"},
      {"no semicolon &amp here", "no semicolon & here"},
      {"unknown &bogus; and bare & stay", "unknown &bogus; and bare & stay"},
      {"&#0; &#xD800; &#99999999;", "\xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD"},
      {"a < b and c<d", "a < b and c<d"},
      {"<IMG SRC=\"x.gif\">", ""},
      {"open <tag without end", "open <tag without end"},
      {"x<!-- note -->y", "xy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(HtmlToPlainText(c.html), c.expected);
  }
}

}  // namespace
}  // namespace guideview
