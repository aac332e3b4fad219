// The contents builder over the fixture folder builder_data/ (sections and chapters, nesting by a
// topic's own links, keyword groups, a malformed page, links out of the folder, character
// references) and over small folders written for one behaviour each.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "guideview/core/helpcontents.h"
#include "guideview/core/pagescanner.h"
#include "testfolder.h"

namespace guideview {
namespace {

namespace fs = std::filesystem;
using test::TestFolder;

const fs::path kFixture = fs::path(GUIDEVIEW_TEST_DATA) / "builder_data";

struct NodeRow {
  std::string key, text, image, selectedImage, parentKey;
};

std::vector<NodeRow> NodeRows(const HelpContents& contents) {
  std::vector<NodeRow> rows;
  for (const HelpNode& n : contents.nodes)
    rows.push_back({n.key, n.text, n.image, n.selectedImage, n.parentKey});
  return rows;
}

void ExpectNodes(const HelpContents& contents, const std::vector<NodeRow>& expected) {
  auto rows = NodeRows(contents);
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("node " + std::to_string(i) + " " + expected[i].key);
    EXPECT_EQ(rows[i].key, expected[i].key);
    EXPECT_EQ(rows[i].text, expected[i].text);
    EXPECT_EQ(rows[i].image, expected[i].image);
    EXPECT_EQ(rows[i].selectedImage, expected[i].selectedImage);
    EXPECT_EQ(rows[i].parentKey, expected[i].parentKey);
  }
}

TEST(HelpContentsTest, FixtureTreeFollowsContentsOrderMarkersAndNesting) {
  HelpContents contents = LoadContents(kFixture / "default.htm");
  ExpectNodes(
      contents,
      {
          {"default.htm", "Fixture Help & Guide", "Section", "Opened", ""},
          // A title replaces the link text; lines of a title are one text with a blank between.
          {"intro.htm", "Getting Started", "Section", "Opened", "default.htm"},
          // Linked by intro.htm before they were read: they hang under it.
          {"entering.htm", "Entering Notes", "Chapter", "Chapter", "intro.htm"},
          {"rests.htm", "Rests \u2013 silence\u00A0too", "Chapter", "Chapter", "intro.htm"},
          // other/entering.htm shares the key "entering.htm": no node of its own.
          // No title: the link text, its tags dropped and its reference decoded.
          {"lyrics.htm", "Lyrics & words", "Chapter", "Chapter", "default.htm"},
          // An unclosed title runs to the page's end and replaces the earlier one.
          {"broken.htm", "Broken", "Chapter", "Chapter", "default.htm"},
          // The broken page's well-formed link re-parents chords.htm; its picture is ignored there.
          {"chords.htm", "Chords", "Chapter", "Chapter", "broken.htm"},
          // "BOOK.GIF" after the chords link on its line counts; "DOC.GIF" before the playback link
          // on its own line is never seen, as the link is found first.
          {"playback.htm", "Playback", "Section", "Opened", "default.htm"},
      });
  EXPECT_EQ(contents.nodes[2].path, contents.helpFolder / "notes" / "entering.htm");
  EXPECT_EQ(contents.helpFolder, fs::canonical(kFixture));
}

TEST(HelpContentsTest, FixtureIndexIsSortedByKeywordPath) {
  HelpContents contents = LoadContents(kFixture / "default.htm");
  struct Row {
    std::string text, sort, url;
  };
  const fs::path f = contents.helpFolder;
  const std::vector<Row> expected = {
      {"Basics", "Basics", ""},
      {"Starting", "Basics,Starting", ""},
      {"      Getting Started", "Basics,Starting,Getting Started", (f / "intro.htm").string()},
      {"Broken", "Broken", ""},
      {"Page", "Broken,Page", ""},
      {"      Broken", "Broken,Page,Broken", (f / "broken.htm").string()},
      {"Chords", "Chords", ""},
      {"   Chords", "Chords,Chords", (f / "chords.htm").string()},
      {"   Playback", "Chords,Playback", (f / "playback.htm").string()},
      // "%Root%" files the page at the top level, unindented.
      {"Entering Notes", "Entering Notes", (f / "notes/entering.htm").string()},
      {"Fixture Help & Guide", "Fixture Help & Guide", (f / "default.htm").string()},
      {"Notes", "Notes", ""},
      // The page without a node of its own is still in the index.
      {"   Another Page Named Entering", "Notes,Another Page Named Entering",
       (f / "other/entering.htm").string()},
      {"Entering", "Notes,Entering", ""},
      {"      Entering Notes", "Notes,Entering,Entering Notes",
       (f / "notes/entering.htm").string()},
      {"Rests \u2013 silence\u00A0too", "Rests \u2013 silence\u00A0too",
       (f / "notes/rests.htm").string()},
      {"Words", "Words", ""},
      {"Lyrics", "Words,Lyrics", ""},
      {"      Lyrics & words", "Words,Lyrics,Lyrics & words", (f / "lyrics.htm").string()},
  };
  const auto& items = contents.index.Items();
  ASSERT_EQ(items.size(), expected.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i) + " " + expected[i].sort);
    EXPECT_EQ(items[i].text, expected[i].text);
    EXPECT_EQ(items[i].sort, expected[i].sort);
    EXPECT_EQ(items[i].url, expected[i].url);
    EXPECT_EQ(items[i].kind,
              expected[i].url.empty() ? IndexItemKind::Keyword : IndexItemKind::Topic);
  }
}

TEST(HelpContentsTest, LinksLeavingTheFolderAreNeverRead) {
  // "../builder_outside.htm" exists beside the fixture folder; it must not be read.
  ASSERT_TRUE(fs::exists(kFixture / ".." / "builder_outside.htm"));
  HelpContents contents = LoadContents(kFixture / "default.htm");
  for (const HelpNode& n : contents.nodes) EXPECT_NE(n.text, "Outside The Help Folder");
  for (const IndexItem& item : contents.index.Items()) {
    EXPECT_NE(item.text, "Outside");
    if (!item.url.empty()) {
      EXPECT_EQ(item.url.rfind(contents.helpFolder.string() + "/", 0), 0u) << item.url;
    }
  }
}

TEST(HelpContentsTest, SymbolicLinkOutOfTheFolderIsNotFollowed) {
  TestFolder outside;
  outside.Write("secret.htm", "<TITLE>Secret</TITLE>\n<IDX GROUP=\"Secret\">\n");
  TestFolder help;
  help.Write("default.htm",
             "<TITLE>Help</TITLE>\n<A HREF=\"link.htm\">Link</A>\n"
             "<A HREF=\"inside.htm\">Inside</A>\n");
  help.Write("real.htm", "<TITLE>Inside</TITLE>\n");
  fs::create_symlink(outside.Path() / "secret.htm", help.Path() / "link.htm");
  fs::create_symlink(help.Path() / "real.htm", help.Path() / "inside.htm");
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  ExpectNodes(contents, {{"default.htm", "Help", "Section", "Opened", ""},
                         {"inside.htm", "Inside", "Section", "Opened", "default.htm"}});
}

TEST(HelpContentsTest, BaseFolderIsTheContentsPagesFolderEvenWhenItsNameRepeatsTheFile) {
  // Cut at the first "default.htm" in the path, the base would be ".../" and every target
  // would miss; the page's own folder is the base.
  TestFolder root;
  fs::path folder = "default.htm.pages";
  root.Write((folder / "default.htm").string(),
             "<TITLE>Contents</TITLE>\n<A HREF=\"a.htm\">A</A>\n");
  root.Write((folder / "a.htm").string(), "<TITLE>Page A</TITLE>\n");
  root.Write("a.htm", "<TITLE>Wrong A</TITLE>\n");
  HelpContents contents = LoadContents(root.Path() / folder / "default.htm");
  ExpectNodes(contents, {{"default.htm", "Contents", "Section", "Opened", ""},
                         {"a.htm", "Page A", "Section", "Opened", "default.htm"}});
}

TEST(HelpContentsTest, ContentsPageWithoutTitleGivesAnEmptyTreeAndAFilledIndex) {
  TestFolder help;
  help.Write("default.htm", "<A HREF=\"a.htm\">A</A>\n<A HREF=\"b.htm\">B</A>\n");
  help.Write("a.htm", "<TITLE>Alpha</TITLE>\n");
  help.Write("b.htm", "<IDX GROUP=\"K\">\n");
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  EXPECT_TRUE(contents.nodes.empty());
  ASSERT_EQ(contents.index.Items().size(), 3u);
  EXPECT_EQ(contents.index.Items()[0].text, "Alpha");
  EXPECT_EQ(contents.index.Items()[1].text, "K");
  EXPECT_EQ(contents.index.Items()[2].text, "   B");
}

TEST(HelpContentsTest, OnlyTopicsNotYetReadAreMovedUnderAPage) {
  // b.htm links a.htm, which was read before it: a.htm stays under the contents page. c.htm,
  // read after b.htm, moves under it; d.htm links a page the contents page never names.
  TestFolder help;
  help.Write("default.htm",
             "<TITLE>Top</TITLE>\n<A HREF=\"a.htm\">A</A><A HREF=\"b.htm\">B</A>\n"
             "<A HREF=\"c.htm\">C</A>\n<A HREF=\"d.htm\">D</A>\n");
  help.Write("a.htm", "<TITLE>A</TITLE>\n");
  help.Write("b.htm", "<TITLE>B</TITLE>\n<A HREF=\"a.htm\">a</A> <A HREF=\"c.htm\">c</A>\n");
  help.Write("c.htm", "<TITLE>C</TITLE>\n");
  help.Write("d.htm", "<TITLE>D</TITLE>\n<A HREF=\"e.htm\">e</A>\n");
  help.Write("e.htm", "<TITLE>E</TITLE>\n");
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  ExpectNodes(contents, {{"default.htm", "Top", "Section", "Opened", ""},
                         {"a.htm", "A", "Section", "Opened", "default.htm"},
                         {"b.htm", "B", "Section", "Opened", "default.htm"},
                         {"c.htm", "C", "Section", "Opened", "b.htm"},
                         {"d.htm", "D", "Section", "Opened", "default.htm"}});
}

TEST(HelpContentsTest, KeywordsDecodeReferencesAsTitlesDo) {
  TestFolder help;
  help.Write("default.htm",
             "<TITLE>Rests &amp; Pauses</TITLE>\n"
             "<IDX GROUP=\"Chords &amp; Diagrams\\Caf&eacute;\">\n"
             "<IDX GROUP=\" %root% \">\n");
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  std::vector<std::string> texts;
  for (const IndexItem& i : contents.index.Items()) texts.push_back(i.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Chords & Diagrams", "Caf\u00E9",
                                             "      Rests & Pauses", "Rests & Pauses"}));
}

TEST(HelpContentsTest, MissingContentsPageGivesNothing) {
  TestFolder help;
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  EXPECT_TRUE(contents.nodes.empty());
  EXPECT_TRUE(contents.index.Items().empty());
  contents = LoadContents(help.Path());  // a folder is no page
  EXPECT_TRUE(contents.nodes.empty());
}

TEST(HelpContentsTest, HostilePagesEndQuicklyWithBoundedResults) {
  TestFolder help;
  std::string contentsPage = "<TITLE>Top</TITLE>\n";
  const char* pages[] = {"garbage.htm",  "anchors.htm", "quotes.htm", "groups.htm",
                         "unclosed.htm", "links.htm",   "nested.htm"};
  for (const char* p : pages) contentsPage += std::string("<A HREF=\"") + p + "\">" + p + "</A>\n";
  // One line of a megabyte with thousands of links to one page, and a text left open.
  std::string manyLinks;
  while (manyLinks.size() < (1u << 20)) manyLinks += "<A HREF=\"garbage.htm\">x</A>";
  contentsPage += manyLinks + "\n<A HREF=\"unclosed.htm\">never closed";
  help.Write("default.htm", contentsPage);

  std::string garbage;
  std::mt19937 random(7);
  for (int i = 0; i < (1 << 20); ++i) garbage += static_cast<char>(random() & 0xFF);
  help.Write("garbage.htm", garbage);
  std::string anchors;
  while (anchors.size() < (1u << 20)) anchors += "<A <A HREF <a href";
  help.Write("anchors.htm", anchors);
  std::string quotes = "<TITLE>Quotes</TITLE>\n";
  while (quotes.size() < (1u << 20)) quotes += "<A HREF=\"x<IDX GROUP=\"y<IMG SRC=\"";
  help.Write("quotes.htm", quotes);
  std::string groups = "<TITLE>Groups</TITLE>\n";
  while (groups.size() < (1u << 20)) groups += "<IDX GROUP=k>";
  help.Write("groups.htm", groups);
  help.Write("unclosed.htm", "<TITLE>" + std::string(1u << 20, 'u'));
  std::string links = "<TITLE>Links</TITLE>\n";
  while (links.size() < (1u << 20)) links += "<A HREF=\"a\">";
  help.Write("links.htm", links);
  // 20,000 list items nested in one another, each with links to a topic the contents do not
  // name: 8 MiB read of a page, and hundreds of thousands of links looked up among the topics.
  std::string nested = "<TITLE>Nested</TITLE>\n";
  for (int i = 0; i < 20000; ++i) {
    nested += "<UL><LI>";
    for (int k = 0; k < 20; ++k) nested += "<A HREF=\"missing.htm\">x</A>";
    nested += "\n";
  }
  help.Write("nested.htm", nested);

  auto start = std::chrono::steady_clock::now();
  HelpContents contents = LoadContents(help.Path() / "default.htm");
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  // Topics are capped; the unclosed title is cut; a keyword named once per page is one item.
  EXPECT_LE(contents.index.Items().size(), kMaxTopics + 2 * kMaxKeywordPaths);
  for (const HelpNode& n : contents.nodes) EXPECT_LE(n.text.size(), kMaxConstructText);
  auto unclosed = contents.FindNode("unclosed.htm");
  ASSERT_TRUE(unclosed);
  EXPECT_EQ(contents.nodes[*unclosed].text, std::string(kMaxConstructText, 'u'));
  EXPECT_TRUE(contents.FindNode("groups.htm"));
  auto nestedNode = contents.FindNode("nested.htm");
  ASSERT_TRUE(nestedNode);
  EXPECT_EQ(contents.nodes[*nestedNode].text, "Nested");
}

}  // namespace
}  // namespace guideview
