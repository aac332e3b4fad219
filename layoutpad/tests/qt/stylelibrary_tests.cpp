// The styles folder and the rules for style names, on real folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "layoutpad/app/stylelibrary.h"
#include "platform/settingsstore.h"
#include "platform/tests/xdgsandbox.h"

namespace layoutpad {
namespace {

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(StyleEditorFolder, NoFolderSetMeansNoEditor) {
  platform::testing::XdgSandbox sandbox;
  EXPECT_TRUE(ResolveStylesFolder("/nowhere/install").isEmpty()) << "Main/Styles missing";
  for (const char* none : {"(None)", "%NONE", "", "  "}) {
    platform::WriteSetting("Main", "Styles", QString::fromLatin1(none));
    EXPECT_TRUE(ResolveStylesFolder("/nowhere/install").isEmpty()) << none;
  }
}

TEST(StyleEditorFolder, AMissingFolderIsMadeAndAnUnusableOneGivesWayToTheUsersOwn) {
  platform::testing::XdgSandbox sandbox;
  const QString wanted = sandbox.Root() + "/Styles";
  platform::WriteSetting("Main", "Styles", wanted);
  EXPECT_EQ(ResolveStylesFolder("/nowhere/install"), wanted);
  EXPECT_TRUE(QDir(wanted).exists());
  EXPECT_TRUE(ListStyleNames(wanted).isEmpty());

  // Two levels missing: only one is made, so the user's own folder stands in.
  platform::WriteSetting("Main", "Styles", sandbox.Root() + "/a/b");
  const QString fallback = ResolveStylesFolder("/nowhere/install");
  EXPECT_FALSE(QDir(sandbox.Root() + "/a").exists());
  EXPECT_TRUE(fallback.startsWith(sandbox.DataHome())) << fallback.toStdString();
  EXPECT_TRUE(QDir(fallback).exists());
}

TEST(StyleEditorFolder, ListsStyleFilesInAnyLetterCaseByName) {
  QTemporaryDir dir;
  for (const char* name : {"Waltz.sty", "rock.STY", "Ballad.Sty", "notes.txt", ".sty", "x.sco"})
    Touch(dir.path() + "/" + name);
  QDir(dir.path()).mkdir("Folder.sty");
  EXPECT_EQ(ListStyleNames(dir.path()), (QStringList{"Ballad", "rock", "Waltz"}));
  EXPECT_TRUE(ListStyleNames(dir.path() + "/missing").isEmpty());

  EXPECT_EQ(StyleFilePath(dir.path(), "rock"), dir.path() + "/rock.STY") << "the listed file";
  EXPECT_EQ(StyleFilePath(dir.path(), "Waltz"), dir.path() + "/Waltz.sty");
  EXPECT_EQ(StyleFilePath(dir.path(), "New"), dir.path() + "/New.sty");
}

TEST(StyleNames, FromTheChosenFile) {
  const std::pair<const char*, const char*> cases[] = {{"/s/Rock.sty", "Rock"},
                                                       {"/s/Slow.Rock.v2.sty", "Slow.Rock.v2"},
                                                       {"/s/Slow Rock .sty", "Slow Rock"},
                                                       {"/elsewhere/Swing", "Swing"},
                                                       {"/s/.sty", ""},
                                                       {"/s/  .sty", ""},
                                                       {"/s/a.b", "a"}};
  for (const auto& [path, name] : cases)
    EXPECT_EQ(StyleNameFromFile(QString::fromUtf8(path)), QString::fromUtf8(name)) << path;
}

TEST(StyleNames, RefusesNamesTheListCannotHold) {
  for (const char* bad : {"", "(New Style)", "(new style)", ".hidden", ".."})
    EXPECT_FALSE(StyleNameProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
  for (const char* good : {"Rock", "Slow.Rock", "(New Style) 2", "Walzer Nr. 1"})
    EXPECT_TRUE(StyleNameProblem(QString::fromLatin1(good)).isEmpty()) << good;
}

TEST(StyleNames, EntriesMatchWithoutLetterCase) {
  const QStringList names{"(New Style)", "Rock", QString::fromUtf8("Ländler")};
  EXPECT_EQ(FindStyleEntry(names, "ROCK"), 1);
  EXPECT_EQ(FindStyleEntry(names, QString::fromUtf8("LÄNDLER")), 2);
  EXPECT_EQ(FindStyleEntry(names, "(new style)"), 0);
  EXPECT_EQ(FindStyleEntry(names, "Rock2"), -1);
}

}  // namespace
}  // namespace layoutpad
