// Score windows in the editor's frame: opened from files, and closed with the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "editor_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

class FramedWindowTest : public EditorFixture {
protected:
  mdiVLTMain* StartWithScoreWindows() {
    static const bool fontLoaded = notecraft::LoadMusicFont();
    (void)fontLoaded;
    mdiVLTMain* frame = StartReady();
    Context.NewScoreWindow = [this](AppContext& context, IFrame& parent) -> IScoreWindow* {
      auto* window = new chdVLTMain(context, parent);
      window->Prompts.AskSaveChanges = [this](const QString&, const QString& text) {
        Asked << text;
        return Answer;
      };
      ScoreWindows.append(window);
      return window;
    };
    return frame;
  }

  QString SavedScore(const QString& name) {
    const QString path = m_dir.filePath(name);
    notecraft::Score score;
    score.CreateDefault();
    score.SetTitle(name.toStdString());
    EXPECT_TRUE(score.SaveFile(path.toStdString()));
    return path;
  }

  QTemporaryDir m_dir;
  QList<QPointer<chdVLTMain>> ScoreWindows;
  QStringList Asked;
  int Answer = QMessageBox::No;
};

TEST_F(FramedWindowTest, OpensFilesIntoTheirOwnWindows) {
  mdiVLTMain* frame = StartWithScoreWindows();
  ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QStringLiteral("First.sco")), 0));
  ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QStringLiteral("Second.sco")), 0));
  QCoreApplication::processEvents();
  ASSERT_EQ(ScoreWindows.size(), 2);
  EXPECT_EQ(frame->ScoreWindows().size(), 2);
  EXPECT_EQ(frame->ActiveScoreWindow(), ScoreWindows[1].data());
  EXPECT_EQ(ScoreWindows[0]->windowTitle(), QStringLiteral("First"));
  EXPECT_TRUE(ScoreWindows[1]->WindowActive());
  EXPECT_FALSE(ScoreWindows[0]->WindowActive());
  EXPECT_EQ(ScoreWindows[1]->Score().Title(), "Second.sco");

  // A file that cannot be read gets no window.
  const QString broken = m_dir.filePath(QStringLiteral("Broken.sco"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Vm00 and nothing a score needs");
  file.close();
  EXPECT_FALSE(frame->OpenScoreFile(broken, 0));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->ScoreWindows().size(), 2);
  EXPECT_TRUE(ScoreWindows[2].isNull());
}

TEST_F(FramedWindowTest, CancelAtOneWindowKeepsTheProgramAndAsksAgainNextTime) {
  mdiVLTMain* frame = StartWithScoreWindows();
  ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QStringLiteral("One.sco")), 0));
  ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QStringLiteral("Two.sco")), 0));
  for (const auto& window : ScoreWindows) window->Score().SetComposer("Changed");
  Answer = QMessageBox::Cancel;
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(Asked.size(), 1) << "the windows after the cancelled one are not asked";
  EXPECT_EQ(frame->ScoreWindows().size(), 2);
  EXPECT_TRUE(frame->isVisible());

  Asked.clear();
  Answer = QMessageBox::No;
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(Asked.size(), 2);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (const auto& window : ScoreWindows) EXPECT_TRUE(window.isNull());
}

// A syllable typed into a score that was unchanged: closing the program stores it, so the
// prompt asks about it; Cancel keeps the program, the window and the syllable.
TEST_F(FramedWindowTest, ClosingTheProgramStoresASyllableBeingTypedFirst) {
  mdiVLTMain* frame = StartWithScoreWindows();
  ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QStringLiteral("Song.sco")), 0));
  ASSERT_EQ(ScoreWindows.size(), 1);
  chdVLTMain& window = *ScoreWindows[0];
  notecraft::Score& score = window.Score();
  for (int t = 0; t < 128; t += 16) score.Staff(1)->Voice(1)->Notes().Add(t, 67, 16, 0);
  score.Staff(1)->SetSelected(true);
  score.RestartPagination(1);
  score.FinishPagination();
  score.PaintWindow();
  score.SetChanged(false);
  ASSERT_TRUE(window.Lyrics().Start());
  QTest::keyClicks(window.Lyrics().txtLyric, QStringLiteral("Sing"));

  Answer = QMessageBox::Cancel;
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(Asked, QStringList{QStringLiteral("Save changes to Song?")});
  EXPECT_TRUE(frame->isVisible());
  ASSERT_FALSE(ScoreWindows[0].isNull());
  const auto syllable = score.Staff(1)->GlobalEvents().Find(0, notecraft::evtLyric, true);
  ASSERT_TRUE(syllable);
  EXPECT_EQ(syllable->Text(), "Sing");
  EXPECT_FALSE(window.Lyrics().Active());

  Answer = QMessageBox::No;
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(Asked.size(), 2);
}

TEST_F(FramedWindowTest, CascadeKeepsEveryWindowLargeEnoughToShowItsPage) {
  mdiVLTMain* frame = StartWithScoreWindows();
  for (const char* name : {"One.sco", "Two.sco", "Three.sco"})
    ASSERT_TRUE(frame->OpenScoreFile(SavedScore(QString::fromLatin1(name)), 0));
  QCoreApplication::processEvents();
  auto* area = frame->findChild<QMdiArea*>(QStringLiteral("mdiArea"));
  ASSERT_TRUE(area);
  area->setActiveSubWindow(area->subWindowList(QMdiArea::CreationOrder).at(1));
  QMdiSubWindow* active = area->activeSubWindow();
  ASSERT_TRUE(ScoreWindows[0]->Score().Staffs() > 0);
  ScoreWindows[0]->MenuCommands()->Item(QStringLiteral("mnuWindowCascade"))->trigger();
  QCoreApplication::processEvents();

  const QSize room = area->viewport()->size();
  const QList<QMdiSubWindow*> subs = area->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 3);
  for (qsizetype i = 0; i < subs.size(); ++i) {
    const QRect r = subs[i]->geometry();
    EXPECT_GE(r.width(), room.width() * 2 / 3) << i;
    EXPECT_GE(r.height(), room.height() * 2 / 3) << i;
    EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(r)) << i;
    if (i > 0) {
      EXPECT_GT(r.top(), subs[i - 1]->geometry().top()) << "stepped down";
      EXPECT_GT(r.left(), subs[i - 1]->geometry().left()) << "and right";
    }
    // The page shows in each window.
    auto* window = qobject_cast<chdVLTMain*>(subs[i]->widget());
    ASSERT_TRUE(window);
    EXPECT_GT(window->pctBase->height(), 200) << i;
  }
  EXPECT_EQ(area->activeSubWindow(), active);
}

}  // namespace
}  // namespace veltrimond::testing
