// Where the window opens, and which tool bar moves the page on show allows.
#include <gtest/gtest.h>

#include "guideview/core/placement.h"
#include "guideview/core/topicposition.h"
#include "testfolder.h"

namespace guideview {
namespace {

TEST(PlacementTest, WindowRect) {
  const TwipRect big{0, 0, 19200, 14400};  // 1280 x 960 pixels
  const TwipRect small{0, 0, 7500, 5000};
  struct Case {
    const char* name;
    TwipRect stored, primary;
    std::vector<TwipRect> screens;
    TwipRect expected;
  };
  const Case cases[] = {
      {"stored rectangle kept", {1000, 800, 8000, 5000}, big, {big}, {1000, 800, 8000, 5000}},
      {"nothing stored: 9000 x 6000 centred", {}, big, {big}, {5100, 4200, 9000, 6000}},
      {"width 2999: reset whatever the height",
       {100, 100, 2999, 9000},
       big,
       {big},
       {5100, 4200, 9000, 6000}},
      {"height 1799: reset", {100, 100, 9000, 1799}, big, {big}, {5100, 4200, 9000, 6000}},
      {"smallest size kept", {100, 100, 3000, 1800}, big, {big}, {100, 100, 3000, 1800}},
      {"small screen: filled from (0,0)", {}, small, {small}, {0, 0, 7500, 5000}},
      {"off every screen: reset", {40000, 100, 8000, 5000}, big, {big}, {5100, 4200, 9000, 6000}},
      {"on a second screen: kept",
       {21000, 100, 8000, 5000},
       big,
       {big, {19200, 0, 19200, 14400}},
       {21000, 100, 8000, 5000}},
      {"primary screen not at the origin",
       {},
       {19200, 0, 19200, 14400},
       {{19200, 0, 19200, 14400}},
       {24300, 4200, 9000, 6000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ResolveWindowRect(c.stored, c.primary, c.screens), c.expected);
  }
}

TEST(TopicPositionTest, PrevAndNextFollowTheFirstNodeWithThePagesTitle) {
  std::vector<HelpNode> nodes(3);
  nodes[0].text = "Contents";
  nodes[1].text = "Getting Started";
  nodes[2].text = "Getting Started";  // a second page with the same title is never found
  struct Case {
    const char* title;
    std::optional<std::size_t> node;
    bool prev, next;
  };
  const Case cases[] = {
      {"Contents", 0, false, true},           {"Getting Started", 1, true, true},
      {"Getting\n  Started ", 1, true, true}, {"getting started", std::nullopt, false, false},
      {"", std::nullopt, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TopicPosition p = LocateTopic(nodes, c.title);
    EXPECT_EQ(p.node, c.node);
    EXPECT_EQ(p.prevEnabled, c.prev);
    EXPECT_EQ(p.nextEnabled, c.next);
  }
  nodes.resize(2);
  EXPECT_FALSE(LocateTopic(nodes, "Getting Started").nextEnabled);  // the last node
}

TEST(TopicPositionTest, HomeIsOffOnlyOnTheContentsPage) {
  test::TestFolder help;
  auto contents = help.Write("default.htm", "x");
  auto page = help.Write("lt.htm", "x");  // a name that is a suffix of the contents path
  auto other = help.Write("sub/default.htm", "x");
  EXPECT_FALSE(HomeEnabled(contents, contents));
  EXPECT_FALSE(HomeEnabled(help.Path() / "sub" / ".." / "default.htm", contents));
  EXPECT_TRUE(HomeEnabled(page, contents));
  EXPECT_TRUE(HomeEnabled(other, contents));
  EXPECT_FALSE(HomeEnabled({}, contents));
}

}  // namespace
}  // namespace guideview
