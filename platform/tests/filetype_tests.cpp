#include <gtest/gtest.h>

#include <QDir>
#include <QDomDocument>
#include <QFile>

#include "filetypeprobe.h"
#include "platform/filetype.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

// The user's data folder and a system data folder of the sandbox, and no update tools on
// the PATH (they would run detached on the sandbox). The MIME questions go to a fresh
// process (AskFileType), which sees the folders as the test prepared them.
class FileTypeTest : public ::testing::Test {
protected:
  FileTypeTest()
      : oldDirs_(qgetenv("XDG_DATA_DIRS")),
        oldPath_(qgetenv("PATH")),
        oldHome_(qgetenv("VELTRIMOND_HOME")) {
    qputenv("VELTRIMOND_HOME", sandbox_.Root().toUtf8());
    QDir().mkpath(SystemData() + "/mime");
    qputenv("XDG_DATA_DIRS", SystemData().toUtf8());
    qputenv("PATH", "");
  }
  ~FileTypeTest() override {
    qputenv("XDG_DATA_DIRS", oldDirs_);
    qputenv("PATH", oldPath_);
    qputenv("VELTRIMOND_HOME", oldHome_);
  }

  QString SystemData() const { return sandbox_.Root() + "/system"; }
  QString PackagePath() const {
    return sandbox_.DataHome() + "/mime/packages/veltrimond-score.xml";
  }
  QString EntryPath() const { return sandbox_.DataHome() + "/applications/veltrimond.desktop"; }

  static void Write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  testing::XdgSandbox sandbox_;
  QByteArray oldDirs_;
  QByteArray oldPath_;
  QByteArray oldHome_;
};

QByteArray Package(const char* type, const char* glob) {
  return QByteArray(
             "<?xml version=\"1.0\"?>\n<mime-info "
             "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n<mime-type "
             "type=\"") +
         type + "\"><comment>x</comment><glob pattern=\"" + glob + "\"/></mime-type></mime-info>\n";
}

TEST_F(FileTypeTest, InstallsTheTypeAndEntryForTheUser) {
  const testing::FileTypeAnswer answer = testing::AskFileType("/opt/Music Apps/bin/Veltrimond");
  ASSERT_TRUE(answer.Ran);
  EXPECT_EQ(answer.State, FileTypeState::Missing);
  EXPECT_TRUE(answer.Registered);
  EXPECT_EQ(testing::AskFileType().State, FileTypeState::Ours);  // the desktop knows it now

  QDomDocument package;
  ASSERT_TRUE(package.setContent(Read(PackagePath())));
  const QDomElement type = package.documentElement().firstChildElement("mime-type");
  EXPECT_EQ(type.attribute("type"), kScoreMimeType);
  EXPECT_EQ(type.firstChildElement("comment").text(), "Veltrimond Music Composition");
  EXPECT_EQ(type.firstChildElement("glob").attribute("pattern"), "*.sco");
  const QDomElement match = type.firstChildElement("magic").firstChildElement("match");
  EXPECT_EQ(match.attribute("value"), "Vm00");
  EXPECT_EQ(match.attribute("offset"), "0");

  const QByteArray entry = Read(EntryPath());
  EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
  EXPECT_TRUE(entry.contains("\nExec=\"/opt/Music Apps/bin/Veltrimond\" %f\n")) << entry.data();
  EXPECT_TRUE(entry.contains("\nMimeType=application/x-veltrimond-score;audio/midi;\n"));
  EXPECT_TRUE(entry.contains("\nIcon=veltrimond\n")) << entry.data();  // no icon file here
  EXPECT_FALSE(QFile::exists(sandbox_.ConfigHome() + "/mimeapps.list"));
}

TEST_F(FileTypeTest, AKnownTypeIsLeftAsItIs) {
  // The package is there (a system install): nothing is written for the user.
  Write(SystemData() + "/mime/packages/veltrimond-score.xml", Package(kScoreMimeType, "*.sco"));
  const testing::FileTypeAnswer answer = testing::AskFileType("/usr/bin/Veltrimond");
  ASSERT_TRUE(answer.Ran);
  EXPECT_EQ(answer.State, FileTypeState::Ours);
  EXPECT_FALSE(answer.Registered);
  EXPECT_FALSE(QFile::exists(EntryPath()));
  EXPECT_FALSE(QFile::exists(PackagePath()));
}

TEST_F(FileTypeTest, AnotherProgramsAssociationIsNeverOverwritten) {
  Write(sandbox_.DataHome() + "/mime/packages/other.xml", Package("text/x-other-score", "*.sco"));
  const testing::FileTypeAnswer answer = testing::AskFileType("/usr/bin/Veltrimond");
  ASSERT_TRUE(answer.Ran);
  EXPECT_EQ(answer.State, FileTypeState::Other);
  EXPECT_FALSE(answer.Registered);
  EXPECT_FALSE(QFile::exists(PackagePath()));
  EXPECT_FALSE(QFile::exists(EntryPath()));
}

TEST_F(FileTypeTest, TheUsersOwnEntryIsKept) {
  Write(EntryPath(), "[Desktop Entry]\nName=My Veltrimond\nExec=vt %f\n");
  ASSERT_TRUE(testing::AskFileType("/usr/bin/Veltrimond").Ran);
  EXPECT_TRUE(QFile::exists(PackagePath()));
  EXPECT_EQ(Read(EntryPath()), "[Desktop Entry]\nName=My Veltrimond\nExec=vt %f\n");
}

TEST_F(FileTypeTest, AnUnwritableDataFolderWritesNothing) {
  QDir(sandbox_.DataHome()).removeRecursively();
  Write(sandbox_.DataHome(), "a file where the folder should be");
  const testing::FileTypeAnswer answer = testing::AskFileType("/usr/bin/Veltrimond");
  ASSERT_TRUE(answer.Ran);
  EXPECT_FALSE(answer.Registered);
}

TEST_F(FileTypeTest, TheEntryShowsTheInstalledIcon) {
  Write(sandbox_.Root() + "/Common/Icons/Veltrimond.png", "png");
  EXPECT_TRUE(DesktopEntryText("/usr/bin/Veltrimond")
                  .contains("\nIcon=" + sandbox_.Root() + "/Common/Icons/Veltrimond.png\n"));
  EXPECT_TRUE(DesktopEntryText("/usr/bin/Veltrimond", "other").contains("\nIcon=other\n"));
}

TEST(DesktopExecTest, ArgumentsAreQuotedAndEscaped) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"/usr/bin/Veltrimond", "/usr/bin/Veltrimond"},
      {"/opt/My Apps/Veltrimond", "\"/opt/My Apps/Veltrimond\""},
      {"/opt/100%/vt", "/opt/100%%/vt"},
      {"/a$b/`c`/\"d\"/e\\f", "\"/a\\$b/\\`c\\`/\\\"d\\\"/e\\\\f\""},
      {"/it's", "\"/it's\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(DesktopExecArgument(c.in), c.out) << c.in;
  // In the file the value's own escaping doubles the backslashes once more.
  EXPECT_TRUE(DesktopEntryText("/a b/c\\d").contains("\nExec=\"/a b/c\\\\\\\\d\" %f\n"))
      << DesktopEntryText("/a b/c\\d").toStdString();
}

}  // namespace
}  // namespace platform
