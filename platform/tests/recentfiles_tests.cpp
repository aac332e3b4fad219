#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "platform/recentfiles.h"
#include "platform/settingsstore.h"
#include "xdgsandbox.h"

namespace platform {
namespace {

class RecentFilesTest : public ::testing::Test {
protected:
  static QStringList Slots() {
    QStringList stored;
    for (int n = 1; n <= 5; ++n)
      stored << (HasSetting("History", QString("%1Path").arg(n))
                     ? ReadSetting("History", QString("%1Path").arg(n))
                     : QString("<none>"));
    return stored;
  }

  static QStringList Captions(const RecentFiles& recent) {
    QStringList captions;
    for (int n = 1; n <= recent.Count(); ++n) captions << recent.Caption(n);
    return captions;
  }

  testing::XdgSandbox sandbox_;
};

TEST_F(RecentFilesTest, NewestFirstAtMostFive) {
  RecentFiles recent;
  for (const char* name : {"/s/a.sco", "/s/b.sco", "/s/c.sco", "/s/d.sco", "/s/e.sco"})
    recent.Add(name);
  EXPECT_EQ(recent.Count(), 5);
  recent.Add("/s/f.mid");  // the sixth pushes the oldest out
  EXPECT_EQ(Slots(), QStringList({"/s/f.mid", "/s/e.sco", "/s/d.sco", "/s/c.sco", "/s/b.sco"}));
  EXPECT_EQ(Captions(recent),
            QStringList({"&1 f.mid", "&2 e.sco", "&3 d.sco", "&4 c.sco", "&5 b.sco"}));

  // A listed file moves to the top; the list keeps its length.
  recent.Add("/s/c.sco");
  EXPECT_EQ(Slots(), QStringList({"/s/c.sco", "/s/f.mid", "/s/e.sco", "/s/d.sco", "/s/b.sco"}));
  recent.Add("/s/c.sco");
  EXPECT_EQ(recent.Count(), 5);

  // A name that differs only in letter case is another file and gets its own entry.
  recent.Add("/s/C.SCO");
  EXPECT_EQ(Slots(), QStringList({"/s/C.SCO", "/s/c.sco", "/s/f.mid", "/s/e.sco", "/s/d.sco"}));

  // A second list (another window) reads what the first wrote.
  RecentFiles other;
  other.Load();
  EXPECT_EQ(Captions(other), Captions(recent));
}

TEST_F(RecentFilesTest, SlotGapsShowUntilTheListIsWritten) {
  WriteSetting("History", "1Path", "/s/one.sco");
  WriteSetting("History", "2Path", "");
  WriteSetting("History", "3Path", "/s/three.sco");
  RecentFiles recent;
  recent.Load();
  ASSERT_EQ(recent.Count(), 2);
  EXPECT_EQ(Captions(recent), QStringList({"&1 one.sco", "&3 three.sco"}));
  EXPECT_EQ(recent.Path(2), "/s/three.sco");  // row 2 opens what the menu's second item shows
  for (int outside : {-1, 0, 3, 6}) {
    EXPECT_EQ(recent.Path(outside), "") << outside;
    EXPECT_EQ(recent.Caption(outside), "") << outside;
  }

  recent.Add("/s/new.sco");
  EXPECT_EQ(Captions(recent), QStringList({"&1 new.sco", "&2 one.sco", "&3 three.sco"}));
  EXPECT_EQ(Slots(), QStringList({"/s/new.sco", "/s/one.sco", "/s/three.sco", "<none>", "<none>"}));
}

TEST_F(RecentFilesTest, ClearEmptiesOnlyTheSlotsInUse) {
  WriteSetting("History", "2Path", "/s/two.sco");
  WriteSetting("History", "4Path", "/s/four.sco");
  RecentFiles recent;
  recent.Load();
  recent.Clear();
  EXPECT_EQ(recent.Count(), 0);
  EXPECT_EQ(Slots(), QStringList({"<none>", "", "<none>", "", "<none>"}));
  recent.Add("/s/again.sco");
  EXPECT_EQ(Slots(), QStringList({"/s/again.sco", "", "<none>", "", "<none>"}));
}

TEST_F(RecentFilesTest, DeadFilesStayListedUntilRemoved) {
  RecentFiles recent;
  recent.Add("/no/such/folder/gone.sco");
  recent.Add("/s/kept.sco");
  recent.Load();
  EXPECT_EQ(recent.Count(), 2);  // listing never checks the disk
  recent.Remove("/no/such/folder/gone.sco");
  EXPECT_EQ(Slots(), QStringList({"/s/kept.sco", "", "<none>", "<none>", "<none>"}));
  recent.Remove("/s/not-listed.sco");
  EXPECT_EQ(recent.Count(), 1);
}

TEST_F(RecentFilesTest, CaptionsShowTheFileNameAsWritten) {
  RecentFiles recent;
  const QString longFolder = "/home/user/" + QString(300, 'x');
  recent.Add(longFolder + "/Rock & Roll.sco");
  recent.Add("relative/Étude.sco");
  recent.Add("   ");  // a name of blanks is still a name; an empty path is not
  recent.Add("");
  EXPECT_EQ(recent.Count(), 3);
  EXPECT_EQ(recent.Caption(2), QString::fromUtf8("&2 Étude.sco"));
  EXPECT_EQ(recent.Path(2),
            QDir::current().absoluteFilePath(QString::fromUtf8("relative/Étude.sco")));
  EXPECT_EQ(recent.Caption(3), "&3 Rock && Roll.sco");
  EXPECT_EQ(recent.Path(3), longFolder + "/Rock & Roll.sco");
}

}  // namespace
}  // namespace platform
