// The page scanner line by line: which construct a line yields, in which order, with which value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guideview/core/pagescanner.h"

namespace guideview {
namespace {

using Kind = PageConstruct::Kind;

// A construct as one readable word: "L:target|text", "I:picture", "G:path", "T:title", with "+"
// after a text whose closing tag never came.
std::string Describe(const PageConstruct& c) {
  switch (c.kind) {
    case Kind::Link:
      return "L:" + c.value + "|" + c.text + (c.closed ? "" : "+");
    case Kind::Image:
      return "I:" + c.value;
    case Kind::KeywordGroup:
      return "G:" + c.value;
    case Kind::Title:
      return "T:" + c.text + (c.closed ? "" : "+");
  }
  return {};
}

std::vector<std::string> Scan(const std::string& page, bool contents) {
  std::vector<std::string> out;
  for (const PageConstruct& c : ScanPage(page, contents)) out.push_back(Describe(c));
  return out;
}

struct Case {
  const char* name;
  const char* page;
  bool contents;
  std::vector<std::string> expected;
};

TEST(PageScannerTest, Constructs) {
  const Case cases[] = {
      {"tag words in any case",
       "<a Href=\"x.htm\">X</A><TiTlE>T</title>",
       false,
       {"L:x.htm|X", "T:T"}},
      {"link needs the blank after <A", "<A\tHREF=\"x.htm\">X</A>", false, {}},
      {"unquoted value runs to > and takes later attributes",
       "<A HREF=x.htm TARGET=main>X</A>",
       false,
       {"L:x.htm TARGET=main|X"}},
      {"quoted value ends at its quote, text at the first > after it",
       "<A HREF=\"x.htm\" CLASS=\"c\">X</A>",
       false,
       {"L:x.htm|X"}},
      {"quote not right after = is part of an unquoted value",
       "<A HREF= \"x\">X</A>",
       false,
       {"L: \"x\"|X"}},
      {"link text over lines keeps its line ends",
       "<A HREF=\"x\">one\r\ntwo\nthree</A> tail",
       false,
       {"L:x|one\ntwo\nthree"}},
      {"title over lines", "<TITLE>Getting\n  Started</TITLE>", false, {"T:Getting\n  Started"}},
      {"inner tags and references are kept as written",
       "<A HREF=\"x\"><B>a&amp;b</B></A>",
       false,
       {"L:x|<B>a&amp;b</B>"}},
      {"several links on one line",
       "<A HREF=\"a\">A</A> and <A HREF=\"b\">B</A>",
       false,
       {"L:a|A", "L:b|B"}},
      {"pictures only on the contents page",
       "<IMG SRC=\"BOOK.GIF\">\n<IDX GROUP=\"k\">",
       true,
       {"I:BOOK.GIF", "G:k"}},
      {"elsewhere a picture line is read for the rest",
       "<IMG SRC=\"BOOK.GIF\"><IDX GROUP=k>",
       false,
       {"G:k"}},
      {"a picture before a link on its line is never seen",
       "<IMG SRC=\"DOC.GIF\"><A HREF=\"a\">A</A>",
       true,
       {"L:a|A"}},
      {"a picture after a link on its line is seen",
       "<A HREF=\"a\">A</A><IMG SRC=\"DOC.GIF\">",
       true,
       {"L:a|A", "I:DOC.GIF"}},
      {"a link hides a keyword group before it on its line",
       "<IDX GROUP=\"k\"><A HREF=\"a\">A</A>",
       false,
       {"L:a|A"}},
      {"a keyword group hides a title on its line",
       "<TITLE>t</TITLE><IDX GROUP=\"k\">",
       false,
       {"G:k"}},
      {"\"<A \" without HREF on the line: nothing", "<A NAME=\"top\">x</A>", false, {}},
      {"HREF of a later tag counts", "<A NAME=\"top\"></A><A HREF=\"b\">B</A>", false, {"L:b|B"}},
      {"a value's quote runs to the next quote, wherever it stands",
       "<A HREF=\"x>X</A><IDX GROUP=\"g\">",
       false,
       {"L:x>X</A><IDX GROUP=|+"}},
      {"unclosed quote, later constructs on the line still found",
       "<A HREF=\"x>X</A>\n<IDX GROUP=k>",
       false,
       {"G:k"}},
      {"no > after an unquoted value", "<A HREF=x.htm", false, {}},
      {"no > after a quoted value", "<A HREF=\"x.htm\"", false, {}},
      {"link text never closed", "<A HREF=\"x\">open\nstill", false, {"L:x|open\nstill+"}},
      {"title never closed", "<TITLE>open", false, {"T:open+"}},
      {"empty lines and line ends of every kind", "\r\n\r<TITLE>t</TITLE>\r\r\n", false, {"T:t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Scan(c.page, c.contents), c.expected);
  }
}

TEST(PageScannerTest, TextIsCappedButTheClosingTagStillEndsIt) {
  std::string page = "<TITLE>" + std::string(3 * kMaxConstructText, 'a') + "\n" +
                     std::string(kMaxConstructText, 'b') + "</TITLE>\n<IDX GROUP=\"after\">";
  auto constructs = ScanPage(page, false);
  ASSERT_EQ(constructs.size(), 2u);
  EXPECT_EQ(constructs[0].text, std::string(kMaxConstructText, 'a'));
  EXPECT_TRUE(constructs[0].closed);
  EXPECT_EQ(constructs[1].value, "after");
}

}  // namespace
}  // namespace guideview
