// Which link targets stay inside the help folder.
#include <gtest/gtest.h>

#include "guideview/core/helptarget.h"
#include "testfolder.h"

namespace guideview {
namespace {

namespace fs = std::filesystem;

TEST(HelpTargetTest, OnlyRelativePathsInsideTheFolder) {
  test::TestFolder root;
  root.Write("help/sub/page.htm", "x");
  root.Write("secret.htm", "x");
  fs::create_symlink(root.Path() / "secret.htm", root.Path() / "help" / "escape.htm");
  const fs::path help = fs::canonical(root.Path() / "help");
  struct Case {
    const char* target;
    const char* inside;  // the resolved path below the folder, or nullptr when refused
  };
  const Case cases[] = {
      {"page.htm", "page.htm"},
      {"sub/page.htm", "sub/page.htm"},
      {"sub/../page.htm", "page.htm"},
      {"./sub/page.htm", "sub/page.htm"},
      {"page.htm#part", "page.htm#part"},  // allowed, but names no file
      {"../secret.htm", nullptr},
      {"sub/../../secret.htm", nullptr},
      {"escape.htm", nullptr},  // a symbolic link out of the folder
      {"/etc/hosts", nullptr},
      {"C:\\x.htm", nullptr},
      {"http://host/x.htm", nullptr},
      {"file:///etc/hosts", nullptr},
      {"mailto:a@b", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    auto resolved = ResolveHelpTarget(help, c.target);
    if (c.inside == nullptr) {
      EXPECT_FALSE(resolved);
    } else {
      ASSERT_TRUE(resolved);
      EXPECT_EQ(*resolved, help / c.inside);
    }
  }
}

}  // namespace
}  // namespace guideview
