// The score player's argument list: which argument is the file and when it plays at once.
#include "listenbox/core/commandline.h"

#include <gtest/gtest.h>

namespace listenbox {
namespace {

TEST(CommandLineTest, TheFileAndThePlayAtOnceSwitch) {
  struct Case {
    std::vector<std::string> arguments;
    std::string file;
    bool playAtOnce;
    std::size_t ignored;
  };
  const Case cases[] = {
      {{"/home/me/Styles/Rock 1.sty"}, "/home/me/Styles/Rock 1.sty", false, 0},
      {{"/home/me/Styles/Rock 1.sty", "/s"}, "/home/me/Styles/Rock 1.sty", true, 0},
      {{"/S", "song.sco"}, "song.sco", true, 0},
      {{"song.sco", "-s"}, "song.sco", true, 0},
      {{"/s"}, "", false, 0},                        // nothing to play at once
      {{}, "", false, 0},
      {{"/sound/a.sco"}, "/sound/a.sco", false, 0},  // a path, not the switch
      {{"a.sco", "b.sco", "/x"}, "a.sco", false, 2},
      {{"--verbose", "a.sco"}, "a.sco", false, 1},
      {{"--", "-s"}, "-s", false, 0},                // a file named -s
      {{"a.sco", "/s/"}, "a.sco", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.File, c.file);
    EXPECT_EQ(line.PlayAtOnce, c.playAtOnce);
    EXPECT_EQ(line.Ignored.size(), c.ignored);
  }
}

}  // namespace
}  // namespace listenbox
