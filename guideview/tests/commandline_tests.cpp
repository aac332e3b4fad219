// The viewer's argument list and the product name that picks its settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guideview/core/commandline.h"

namespace guideview {
namespace {

TEST(CommandLineTest, Arguments) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string contents, product, title;
    bool index;
  };
  const Case cases[] = {
      {"as the editor passes it",
       {"/opt/veltrimond/Common/Help/default.htm", "/K", "Veltrimond", "/T", "Veltrimond - Help",
        "/I", "TOC"},
       "/opt/veltrimond/Common/Help/default.htm",
       "Veltrimond",
       "Veltrimond - Help",
       false},
      {"/I ix in lower case opens the index",
       {"a.htm", "/i", "ix"},
       "a.htm",
       "guideview",
       "guideview",
       true},
      {"value joined to the switch",
       {"a.htm", "/IIX", "/KProduct", "/TTitle"},
       "a.htm",
       "Product",
       "Title",
       true},
      {"empty /I", {"a.htm", "/I"}, "a.htm", "guideview", "guideview", false},
      {"/I followed by another switch takes no value",
       {"a.htm", "/I", "/K", "P"},
       "a.htm",
       "P",
       "guideview",
       false},
      {"nothing at all", {}, "", "guideview", "guideview", false},
      {"a title typed in words",
       {"a.htm", "/T", "Veltrimond", "-", "Help", "/K", "P"},
       "a.htm",
       "P",
       "Veltrimond - Help",
       false},
      {"a later switch of a letter wins",
       {"a.htm", "/T", "One", "/t", "Two", "/I", "IX", "/I", "TOC"},
       "a.htm",
       "guideview",
       "Two",
       false},
      {"switches before the page", {"/I", "ix", "/T", "T", "x"}, "", "guideview", "T x", true},
      {"unknown letters are ignored with their value",
       {"a.htm", "/Q", "x", "/K", "P"},
       "a.htm",
       "P",
       "guideview",
       false},
      {"blanks around values are trimmed; an empty title keeps the default",
       {"  a.htm ", "/T", "  ", "/K", " P "},
       "a.htm",
       "P",
       "guideview",
       false},
      {"a path with folders is no switch",
       {"/Khelp/default.htm", "/I", "IX"},
       "/Khelp/default.htm",
       "guideview",
       "guideview",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HelpViewerCommandLine line = ParseHelpViewerCommandLine(c.args);
    EXPECT_EQ(line.contentsFile, c.contents);
    EXPECT_EQ(line.product, c.product);
    EXPECT_EQ(line.windowTitle, c.title);
    EXPECT_EQ(line.openOnIndex, c.index);
  }
}

TEST(CommandLineTest, SafeProductName) {
  struct Case {
    std::string product;
    std::string expected;
  };
  const Case cases[] = {
      {"Veltrimond", "Veltrimond"},
      {"My Product 2.1_beta-3", "My Product 2.1_beta-3"},
      {"../../etc", "guideview"},
      {"a/b", "guideview"},
      {"a\\b", "guideview"},
      {"..", "guideview"},
      {".hidden", "guideview"},
      {"a..b", "guideview"},
      {"tab\there", "guideview"},
      {"line\nbreak", "guideview"},
      {"caf\xC3\xA9", "guideview"},
      {"", "guideview"},
      {std::string(65, 'x'), "guideview"},
      {std::string(64, 'x'), std::string(64, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product);
    EXPECT_EQ(SafeProductName(c.product), c.expected);
  }
}

}  // namespace
}  // namespace guideview
