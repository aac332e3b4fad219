#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "platform/installfolder.h"
#include "platform/settingsstore.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

class InstallFolderTest : public ::testing::Test {
protected:
  InstallFolderTest() : oldHome_(qgetenv("VELTRIMOND_HOME")) { qunsetenv("VELTRIMOND_HOME"); }
  ~InstallFolderTest() override {
    if (oldHome_.isEmpty())
      qunsetenv("VELTRIMOND_HOME");
    else
      qputenv("VELTRIMOND_HOME", oldHome_);
  }

  QString MakeInstall(const QString& name) {
    const QString folder = sandbox_.Root() + '/' + name;
    QDir().mkpath(folder + "/Common/Config");
    return folder;
  }

  QByteArray oldHome_;
  testing::XdgSandbox sandbox_;
};

TEST_F(InstallFolderTest, EnvironmentVariableWins) {
  qputenv("VELTRIMOND_HOME", "/opt/elsewhere/");
  EXPECT_EQ(InstallFolder(), "/opt/elsewhere");
}

TEST_F(InstallFolderTest, FoundBesideAboveOrInShareOrRecorded) {
  const QString root = sandbox_.Root();
  MakeInstall("beside/bin");
  MakeInstall("above");
  QDir().mkpath(root + "/above/bin");
  MakeInstall("usr/share/veltrimond");
  QDir().mkpath(root + "/usr/bin");
  QDir().mkpath(root + "/lost/bin");
  EXPECT_EQ(FindInstallFolder(root + "/beside/bin"), root + "/beside/bin");
  EXPECT_EQ(FindInstallFolder(root + "/above/bin"), root + "/above");
  EXPECT_EQ(FindInstallFolder(root + "/usr/bin"), root + "/usr/share/veltrimond");
  // Nothing near the program: the parent, until the editor has recorded its folder.
  EXPECT_EQ(FindInstallFolder(root + "/lost/bin"), root + "/lost");
  WriteSetting("Main", "Path", root + "/above/");
  EXPECT_EQ(FindInstallFolder(root + "/lost/bin"), root + "/above");
  // A recorded folder that no longer holds the data is not used.
  WriteSetting("Main", "Path", root + "/usr");
  EXPECT_EQ(FindInstallFolder(root + "/lost/bin"), root + "/lost");
}

TEST_F(InstallFolderTest, RecordWritesMainPathWithoutTrailingSlash) {
  const QString install = MakeInstall("opt/veltrimond");
  qputenv("VELTRIMOND_HOME", (install + "/").toUtf8());
  RecordInstallFolder();
  EXPECT_EQ(ReadSetting("Main", "Path"), install);
}

TEST_F(InstallFolderTest, ProgramFolderIsTheTestBinarysFolder) {
  EXPECT_TRUE(QFileInfo(ProgramFolder() + "/platform_tests").isExecutable());
}

}  // namespace
}  // namespace platform
