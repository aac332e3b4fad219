// The score named on the command line, from the program's argument list.
#include <gtest/gtest.h>

#include <QDir>

#include "Veltrimond/core/commandline.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

TEST(CommandLineScore, TakesTheFirstArgumentThatIsNotASwitch) {
  const QString cwd = QDir::currentPath();
  struct Case {
    const char* Name;
    QStringList Args;
    QString Expected;
  } cases[] = {
      {"nothing", {"Veltrimond"}, {}},
      {"switches only open nothing", {"Veltrimond", "-x", "--verbose"}, {}},
      {"an absolute path, which starts with a slash",
       {"Veltrimond", "/home/a/Song.sco"},
       "/home/a/Song.sco"},
      {"a path with blanks", {"Veltrimond", "/home/a/My Song.sco"}, "/home/a/My Song.sco"},
      {"a switch after the path", {"Veltrimond", "/tmp/a.sco", "-s"}, "/tmp/a.sco"},
      {"a switch before the path", {"Veltrimond", "-s", "/tmp/a.sco"}, "/tmp/a.sco"},
      {"a relative path from the working folder",
       {"Veltrimond", "songs/a.sco"},
       cwd + "/songs/a.sco"},
      {"a file URL from a launcher",
       {"Veltrimond", "file:///home/a/My%20Song.sco"},
       "/home/a/My Song.sco"},
      {"a remote URL is no local file", {"Veltrimond", "file://host/x.sco"}, {}},
      {"after -- a dash begins a name", {"Veltrimond", "--", "-odd.sco"}, cwd + "/-odd.sco"},
      {"a blank argument", {"Veltrimond", "  ", "/tmp/b.sco"}, "/tmp/b.sco"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(CommandLineScore(c.Args), c.Expected);
  }
}

}  // namespace
}  // namespace veltrimond
