// Which pages the page view is spared: those whose nesting, lists, tables, element count or
// size would hold the window up, judged before the view lays them out.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "guideview/core/helpcontents.h"
#include "guideview/core/pagecost.h"

namespace guideview {
namespace {

std::string Repeat(std::string_view piece, int n) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

std::string Page(const std::string& body) {
  return "<HTML><HEAD><TITLE>Deep &amp; wide</TITLE></HEAD><BODY>" + body + "</BODY></HTML>";
}

TEST(PageCostTest, RefusesPagesTooCostlyToLayOut) {
  struct Case {
    const char* name;
    std::string html;
    const char* reason;  // part of the refusal
  } cases[] = {
      {"20,000 nested list items",
       Page(Repeat("<UL><LI>item", 20000) + Repeat("</LI></UL>", 20000)), "more than 100 deep"},
      {"nested without end tags", Page(Repeat("<ul><li>item\n", 101)), "more than 100 deep"},
      {"inline elements", Page(Repeat("<b>x", 150)), "more than 100 deep"},
      // An apostrophe inside an unquoted value opens no quote that would hide the rest.
      {"after an unquoted value", Page("<a href=don't.htm>x</a>" + Repeat("<b>x", 150)),
       "more than 100 deep"},
      {"nine tables in tables", Page(Repeat("<table><tr><td>x", 9)), "tables more than 8 deep"},
      {"one long list", Page("<ol>" + Repeat("<li>item</li>", 2001) + "</ol>"),
       "more than 2,000 items"},
      {"too many elements", Page(Repeat("<p>line</p>", 10001)), "more than 10,000 elements"},
      {"rows of a table five tables deep",
       Page(Repeat("<table><tr><td>x<td>", 4) + "<table>" + Repeat("<tr><td>a<td>b", 700)),
       "more than 10,000 elements"},
      {"a long word", Page("<p>" + std::string(10001, 'x')), "a word of more than 10,000"},
      {"a long word across tags", Page(Repeat("<b>xxxxxxxxx</b>", 1112)),
       "a word of more than 10,000"},
      {"too large", Page(Repeat("a word ", 80000)), "too large to show: 547 KB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto refusal = RefusePage(c.html);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find(c.reason), std::string::npos) << *refusal;
  }
}

// Only the start of a large page is read; the refusal names the file's own size, not what
// was read of it.
TEST(PageCostTest, TheRefusalNamesThePagesOwnSize) {
  const std::string start(8 * 1024 * 1024, 'x');
  const auto refusal = RefusePage(start, {}, std::uintmax_t(600) << 20);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(*refusal,
            "This page is too large to show: 614,400 KB, where a help page may take 512 KB.");
  EXPECT_NE(RefusePage(Page(Repeat("a word ", 80000)), {}, 0)->find("547 KB"), std::string::npos);
}

TEST(PageCostTest, ShowsPagesWithinTheLimits) {
  struct Case {
    const char* name;
    std::string html;
  } cases[] = {
      // Items and paragraphs whose end tags are left out follow one another, they do not nest.
      {"a long list without end tags", Page("<ul>" + Repeat("<li>item\n", 2000) + "</ul>")},
      {"paragraphs without end tags", Page(Repeat("<p>text", 5000))},
      {"table rows without end tags",
       Page("<table>" + Repeat("<tr><td>a<td>b", 1000) + "</table>")},
      {"many lists of many items", Page(Repeat("<ul>" + Repeat("<li>i</li>", 1000) + "</ul>", 5))},
      {"rows of a table in a table",
       Page("<table><tr><td><table>" + Repeat("<tr><td>a<td>b", 1500))},
      {"long words", Page(Repeat(std::string(9999, 'x') + " ", 40))},
      {"100 levels", Page(Repeat("<div>", 100) + Repeat("</div>", 100))},
      // An end tag closes what is still open inside its element.
      {"unclosed inline elements closed by their block",
       Page(Repeat("<div><font color=red><b>x</div>", 500))},
      {"eight tables in tables",
       Page(Repeat("<table><tr><td>x", 8) + Repeat("</td></tr></table>", 8))},
      // Markup in comments, scripts, styles and quoted values is not counted.
      {"hidden markup", Page("<!-- " + Repeat("<div>", 200) + " -->" + "<script>var s='" +
                             Repeat("<div>", 200) + "';</script><style>/*" + Repeat("<table>", 20) +
                             "*/</style><a title=\"" + Repeat("<div>", 200) + "\" href=x>y</a>")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto refusal = RefusePage(c.html);
    EXPECT_FALSE(refusal) << *refusal;
  }
  // And every page shipped with the program.
  for (const auto& entry : std::filesystem::directory_iterator(GUIDEVIEW_SOURCE_HELP)) {
    if (entry.path().extension() != ".htm") continue;
    SCOPED_TRACE(entry.path().string());
    auto text = ReadPageText(entry.path());
    ASSERT_TRUE(text);
    EXPECT_FALSE(RefusePage(*text));
  }
}

TEST(PageCostTest, TheNoticeKeepsThePageTitle) {
  const std::string notice =
      RefusalNotice("<html><head><title>Deep &amp; <i>wide</i></title></head>", "Too <deep>.");
  EXPECT_NE(notice.find("<title>Deep &amp; wide</title>"), std::string::npos) << notice;
  EXPECT_NE(notice.find("Too &lt;deep&gt;."), std::string::npos) << notice;
  EXPECT_FALSE(RefusePage(notice));
}

}  // namespace
}  // namespace guideview
