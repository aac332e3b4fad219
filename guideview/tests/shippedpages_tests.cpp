// The help pages shipped in data/Common/Help: every link and picture of every page names a file
// that exists inside the help folder, and every page is reached from the contents tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "guideview/core/helpcontents.h"
#include "guideview/core/helptarget.h"
#include "guideview/core/pagetext.h"

namespace guideview {
namespace {

namespace fs = std::filesystem;

const fs::path kHelp = GUIDEVIEW_SOURCE_HELP;

bool IsPage(const fs::path& p) {
  std::string ext = AsciiLower(p.extension().string());
  return ext == ".htm" || ext == ".html";
}

// Every quoted value of an attribute (HREF or SRC) in a page, in any letter case.
std::vector<std::string> AttributeValues(const std::string& text, const std::string& attribute) {
  std::vector<std::string> values;
  std::string lower = AsciiLower(text);
  std::string needle = attribute + "=\"";
  for (std::size_t at = lower.find(needle); at != std::string::npos;
       at = lower.find(needle, at + 1)) {
    std::size_t start = at + needle.size();
    std::size_t end = text.find('"', start);
    if (end == std::string::npos) break;
    values.push_back(text.substr(start, end - start));
  }
  return values;
}

TEST(ShippedPagesTest, EveryLinkAndPictureResolvesInsideTheHelpFolder) {
  const fs::path folder = fs::canonical(kHelp);
  int links = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!IsPage(entry.path())) continue;
    auto text = ReadPageText(entry.path());
    ASSERT_TRUE(text) << entry.path();
    for (const char* attribute : {"href", "src"}) {
      for (const std::string& value : AttributeValues(*text, attribute)) {
        SCOPED_TRACE(entry.path().string() + ": " + value);
        ++links;
        std::string target = value.substr(0, value.find('#'));
        if (target.empty()) continue;  // an anchor on the same page
        fs::path pageFolder = entry.path().parent_path();
        auto resolved = ResolveHelpTarget(pageFolder, target);
        ASSERT_TRUE(resolved) << "leaves the help folder or is an address";
        EXPECT_TRUE(IsInsideFolder(folder, *resolved));
        EXPECT_TRUE(fs::is_regular_file(*resolved)) << "missing";
      }
    }
  }
  EXPECT_GT(links, 0);
}

TEST(ShippedPagesTest, EveryPageHasANodeAndAnIndexEntry) {
  HelpContents contents = LoadContents(kHelp / "default.htm");
  ASSERT_FALSE(contents.nodes.empty());
  EXPECT_EQ(contents.nodes.front().key, "default.htm");
  std::set<fs::path> withNode, inIndex;
  for (const HelpNode& n : contents.nodes) withNode.insert(fs::canonical(n.path));
  for (const IndexItem& i : contents.index.Items())
    if (!i.url.empty()) inIndex.insert(fs::canonical(i.url));
  for (const auto& entry : fs::recursive_directory_iterator(kHelp)) {
    if (!IsPage(entry.path())) continue;
    SCOPED_TRACE(entry.path().string());
    EXPECT_TRUE(withNode.contains(fs::canonical(entry.path()))) << "not in the contents tree";
    EXPECT_TRUE(inIndex.contains(fs::canonical(entry.path()))) << "not in the index";
  }
  for (const char* picture : {"BOOK.GIF", "DOC.GIF"})
    EXPECT_TRUE(fs::is_regular_file(kHelp / picture)) << picture;
}

// The manual's shape: the contents page's books stand at the top, each chapter under a book.
// A page's link to a chapter of its own book that is read later would pull that chapter under
// the page; this catches such a link.
TEST(ShippedPagesTest, ChaptersHangUnderTheirBooks) {
  HelpContents contents = LoadContents(kHelp / "default.htm");
  ASSERT_GT(contents.nodes.size(), 20u);
  EXPECT_GT(contents.index.Items().size(), contents.nodes.size());
  int books = 0;
  for (const HelpNode& n : contents.nodes) {
    SCOPED_TRACE(n.key);
    EXPECT_FALSE(n.text.empty());
    if (n.key == "default.htm") continue;
    auto parent = contents.FindNode(n.parentKey);
    ASSERT_TRUE(parent);
    if (n.image == "Section") {
      ++books;
      EXPECT_EQ(n.parentKey, "default.htm");
    } else {
      EXPECT_EQ(n.image, "Chapter");
      EXPECT_EQ(contents.nodes[*parent].image, "Section") << "under " << n.parentKey;
    }
  }
  EXPECT_GE(books, 5);
}

}  // namespace
}  // namespace guideview
