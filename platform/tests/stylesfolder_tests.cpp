#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/stylesfolder.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

class StylesFolderTest : public ::testing::Test {
protected:
  QString Install() const { return sandbox_.Root() + "/install"; }
  QString UserFolder() const { return sandbox_.DataHome() + "/veltrimond/Styles"; }

  void Ship(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(Install() + "/Styles");
    Write(Install() + "/Styles/" + name, bytes);
  }
  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QStringList UserStyles() const {
    return QDir(UserFolder()).entryList({"*.sty"}, QDir::Files, QDir::Name);
  }

  testing::XdgSandbox sandbox_;
};

TEST_F(StylesFolderTest, FirstUseCreatesTheFolderAndCopiesTheShippedStylesWritable) {
  Ship("Rock1.sty", "rock");
  Ship("Waltz1.sty", "waltz");
  Ship("notes.txt", "not a style");
  QFile::setPermissions(Install() + "/Styles/Rock1.sty", QFileDevice::ReadOwner);

  EXPECT_EQ(UserStylesPath(), UserFolder());
  ASSERT_EQ(UserStylesFolder(Install()), UserFolder());
  EXPECT_EQ(UserStyles(), QStringList({"Rock1.sty", "Waltz1.sty"}));
  EXPECT_FALSE(QFileInfo::exists(UserFolder() + "/notes.txt"));
  EXPECT_EQ(Read(UserFolder() + "/Rock1.sty"), "rock");
  EXPECT_TRUE(QFileInfo(UserFolder() + "/Rock1.sty").permissions() & QFileDevice::WriteOwner);
}

TEST_F(StylesFolderTest, TheUsersChangesSurviveLaterUses) {
  Ship("Rock1.sty", "rock");
  Ship("Waltz1.sty", "waltz");
  QDir().mkpath(UserFolder());
  Write(UserFolder() + "/Rock1.sty", "my rock");  // the user's own before the first seeding
  ASSERT_EQ(UserStylesFolder(Install()), UserFolder());
  EXPECT_EQ(Read(UserFolder() + "/Rock1.sty"), "my rock");
  EXPECT_EQ(Read(UserFolder() + "/Waltz1.sty"), "waltz");

  // Seeded once: a deleted shipped style stays deleted, a new shipped one is not forced in.
  ASSERT_TRUE(QFile::remove(UserFolder() + "/Waltz1.sty"));
  Ship("Swing1.sty", "swing");
  ASSERT_EQ(UserStylesFolder(Install()), UserFolder());
  EXPECT_EQ(UserStyles(), QStringList({"Rock1.sty"}));
}

TEST_F(StylesFolderTest, WithoutShippedStylesTheFolderIsSeededOnceTheyAppear) {
  for (const QString& install : {QString(), Install()}) {
    ASSERT_EQ(UserStylesFolder(install), UserFolder());
    EXPECT_TRUE(QFileInfo(UserFolder()).isDir());
    EXPECT_TRUE(UserStyles().isEmpty());
  }
  Ship("Bass1.sty", "bass");
  ASSERT_EQ(UserStylesFolder(Install()), UserFolder());
  EXPECT_EQ(UserStyles(), QStringList({"Bass1.sty"}));
}

TEST_F(StylesFolderTest, AFolderThatCannotBeMadeGivesEmpty) {
  Ship("Rock1.sty", "rock");
  Write(sandbox_.Root() + "/blocker", "a file where a folder should be");
  qputenv("XDG_DATA_HOME", (sandbox_.Root() + "/blocker/data").toUtf8());
  EXPECT_EQ(UserStylesFolder(Install()), QString());
}

}  // namespace
}  // namespace platform
