// The program itself: command lines that must end it at once, without a window.
#include <gtest/gtest.h>

#include <QProcess>

namespace patchrunner {
namespace {

TEST(PatchrunnerProgram, EndsWithoutAWindowOnAnEmptyOrUnsafeName) {
  const struct {
    const char* name;
    QStringList arguments;
    int exitCode;
  } cases[] = {
      {"no product", {}, 0},
      {"blank product", {" "}, 0},
      {"a name leaving the settings folder", {"../../.bashrc"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QProcess program;
    program.start(QStringLiteral(PROGRAM_PATH), c.arguments);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.exitCode);
  }
}

}  // namespace
}  // namespace patchrunner
