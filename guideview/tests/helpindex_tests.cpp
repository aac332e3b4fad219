// Index entries: keyword items shared by text, topic items per page and path, "Sort" order and
// the search box's prefix search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guideview/core/helpindex.h"

namespace guideview {
namespace {

// "text|sort|url" per item, in list order.
std::vector<std::string> Rows(const HelpIndex& index) {
  std::vector<std::string> rows;
  for (const IndexItem& i : index.Items()) rows.push_back(i.text + "|" + i.sort + "|" + i.url);
  return rows;
}

TEST(HelpIndexTest, KeywordPaths) {
  struct Case {
    const char* name;
    const char* path;
    std::vector<std::string> expected;  // unsorted: the order of adding
  };
  const Case cases[] = {
      {"two levels", "A\\B", {"A|A|", "B|A,B|", "      T|A,B,T|f"}},
      {"top level", "", {"T|T|f"}},
      {"blanks around parts are trimmed", "  A \\  B  ", {"A|A|", "B|A,B|", "      T|A,B,T|f"}},
      {"a leading backslash adds no level", "\\A", {"A|A|", "   T|A,T|f"}},
      {"a double backslash adds no level", "A\\\\B", {"A|A|", "B|A,B|", "      T|A,B,T|f"}},
      {"only backslashes", "\\\\", {"T|T|f"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HelpIndex index;
    index.AddIndexEntry("T", c.path, "f");
    EXPECT_EQ(Rows(index), c.expected);
  }
}

TEST(HelpIndexTest, KeywordUnderTwoParentsIsOneItemWithTheLastPath) {
  HelpIndex index;
  index.AddIndexEntry("P1", "A\\K", "1");
  index.AddIndexEntry("P2", "B\\k", "2");  // "k" finds "K" whatever the case
  index.Sort();
  EXPECT_EQ(Rows(index), (std::vector<std::string>{"A|A|", "      P1|A,K,P1|1", "B|B|", "K|B,k|",
                                                   "      P2|B,k,P2|2"}));
}

TEST(HelpIndexTest, TopicWithAKeywordsTextKeepsItsOwnSort) {
  // A top-level topic titled "Chords" must not be taken for the keyword "Chords".
  HelpIndex index;
  index.AddIndexEntry("Chords", "", "chords.htm");
  index.AddIndexEntry("Diagrams", "Chords", "diagrams.htm");
  index.Sort();
  EXPECT_EQ(Rows(index), (std::vector<std::string>{"Chords|Chords|chords.htm", "Chords|Chords|",
                                                   "   Diagrams|Chords,Diagrams|diagrams.htm"}));
  EXPECT_EQ(index.Items()[0].kind, IndexItemKind::Topic);
  EXPECT_EQ(index.Items()[1].kind, IndexItemKind::Keyword);
}

TEST(HelpIndexTest, SubentriesFollowTheirKeywordAndCaseIsIgnored) {
  HelpIndex index;
  index.AddIndexEntry("x", "a b", "1");
  index.AddIndexEntry("y", "A\\Z", "2");
  index.AddIndexEntry("z", "b", "3");
  index.Sort();
  std::vector<std::string> sorts;
  for (const IndexItem& i : index.Items()) sorts.push_back(i.sort);
  EXPECT_EQ(sorts, (std::vector<std::string>{"A", "A,Z", "A,Z,y", "a b", "a b,x", "b", "b,z"}));
}

TEST(HelpIndexTest, PrefixSearchFromTheTop) {
  HelpIndex index;
  index.AddIndexEntry("Entering notes", "Notes", "1");
  index.AddIndexEntry("Lyrics", "", "2");
  index.Sort();
  // Lyrics | Notes | "   Entering notes"
  EXPECT_EQ(index.FindByPrefix("no"), 1u);
  EXPECT_EQ(index.FindByPrefix("LYR"), 0u);
  EXPECT_EQ(index.FindByPrefix("   ent"), 2u);
  EXPECT_EQ(index.FindByPrefix("Entering"), std::nullopt);  // the topic text is indented
  EXPECT_EQ(index.FindByPrefix(""), std::nullopt);
  EXPECT_EQ(index.FindByPrefix("Lyrics and more"), std::nullopt);
}

}  // namespace
}  // namespace guideview
