// The frame at work: its menus, the recent files, the score windows it keeps, the progress
// display, and closing with a window that will not close.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>

#include "editor_fixture.h"
#include "platform/settingsstore.h"
#include "qstring_printer.h"

namespace veltrimond {
namespace {

using platform::ReadSetting;
using platform::WriteSetting;

class FrameTest : public testing::EditorFixture {
protected:
  mdiVLTMain* frame = nullptr;

  void Ready() { frame = StartReady(); }
  // Runs a DoFunction command to its end.
  void Run(const QString& command, const QString& path = {}) {
    frame->DoFunction(command, path);
    QCoreApplication::processEvents();
  }
  QAction* Item(const char* name) { return frame->findChild<QAction*>(name); }
  QStringList MenuCaptions(const char* menu) {
    QStringList captions;
    for (QAction* a : frame->findChild<QMenu*>(menu)->actions())
      captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
  }
};

TEST_F(FrameTest, MenusCarryTheirCaptionsMnemonicsShortcutsAndStates) {
  Ready();
  QStringList top;
  for (QAction* a : frame->menuBar()->actions()) top << a->text();
  EXPECT_EQ(top, (QStringList{"&File", "&Edit", "&View", "&Score", "&Tools", "&Help"}));
  EXPECT_EQ(MenuCaptions("mnuEdit"), (QStringList{"&Undo", "-", "C&ut", "&Copy", "&Paste"}));
  EXPECT_EQ(MenuCaptions("mnuHelp"),
            (QStringList{"&Contents...", "&Index...", "-", "&About Veltrimond...",
                         "Update &Help from Internet..."}));
  EXPECT_EQ(Item("mnuFileNew")->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(Item("mnuScoreOptions")->shortcut(), QKeySequence("F4"));
  EXPECT_EQ(Item("mnuHelpTOC")->shortcut(), QKeySequence("F1"));
  for (const char* name : {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuFilePreview",
                           "mnuEditUndo", "mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
    EXPECT_FALSE(Item(name)->isEnabled()) << name;
  EXPECT_TRUE(Item("mnuFileSetup")->isEnabled());
  EXPECT_TRUE(Item("mnuViewToolBar")->isChecked());
  EXPECT_TRUE(Item("mnuViewStatusBar")->isChecked());
  // Every toolbar key has its picture; the two tile keys their tooltips.
  for (const char* key : {"New", "Open", "Undo", "Redo", "Cut", "Copy", "Paste", "TileH", "TileV",
                          "Cascade", "Exit", "Help"})
    EXPECT_FALSE(frame->ToolbarButton(key)->icon().isNull()) << key;
  EXPECT_EQ(frame->ToolbarButton("TileH")->toolTip(), "Tile Horizontal");
  EXPECT_EQ(frame->ToolbarButton("New")->toolTip(), "New Score");
}

TEST_F(FrameTest, MenuItemsShowTheToolbarsPicturesUntilTheFrameCloses) {
  WriteSetting("History", "1Path", QStringLiteral("/m/a.sco"));
  Ready();
  for (const char* m : {"mnuFile", "mnuEdit", "mnuHelp"})
    frame->findChild<QMenu*>(m)->aboutToShow();
  EXPECT_FALSE(Item("mnuFileOpen")->icon().isNull());
  EXPECT_FALSE(Item("mnuFileNew")->icon().isNull());
  EXPECT_FALSE(Item("mnuEditCut")->icon().isNull());   // disabled, still pictured
  EXPECT_FALSE(Item("mnuHelpTOC")->icon().isNull());   // the Help key's picture
  EXPECT_TRUE(Item("mnuHelpAbout")->icon().isNull());  // no picture of its own
  EXPECT_TRUE(frame->mnuFileHist[1]->icon().isNull());
  ASSERT_TRUE(frame->close());
  EXPECT_TRUE(Item("mnuFileOpen")->icon().isNull());
}

TEST_F(FrameTest, TheRecentFileMenuShowsTheListAndOpensFromIt) {
  WriteSetting("History", "1Path", QStringLiteral("/m/Rock & Roll.sco"));
  WriteSetting("History", "2Path", QStringLiteral("/m/b.mid"));
  Ready();
  frame->findChild<QMenu*>("mnuFile")->aboutToShow();
  EXPECT_TRUE(frame->mnuFileHist[0]->isVisible());
  EXPECT_EQ(frame->mnuFileHist[1]->text(), "&1 Rock && Roll.sco");
  EXPECT_EQ(frame->mnuFileHist[2]->text(), "&2 b.mid");
  EXPECT_TRUE(frame->mnuFileHist[2]->isVisible());
  EXPECT_FALSE(frame->mnuFileHist[3]->isVisible());
  EXPECT_TRUE(frame->mnuToolsClearHist->isEnabled());

  frame->mnuFileHist[2]->trigger();
  QCoreApplication::processEvents();
  ASSERT_EQ(Windows.size(), 1);
  EXPECT_EQ(Windows[0]->Calls, QStringList{"Open /m/b.mid"});
  EXPECT_EQ(ReadSetting("Files", "Type"), "2");

  // A file opened elsewhere shows as soon as the menu opens again.
  Context.History.Add(QStringLiteral("/m/new.sco"));
  frame->findChild<QMenu*>("mnuFile")->aboutToShow();
  EXPECT_EQ(frame->mnuFileHist[1]->text(), "&1 new.sco");
  EXPECT_TRUE(frame->mnuFileHist[3]->isVisible());

  frame->mnuToolsClearHist->trigger();
  for (int n = 0; n <= 5; ++n) EXPECT_FALSE(frame->mnuFileHist[n]->isVisible()) << n;
  EXPECT_FALSE(frame->mnuToolsClearHist->isEnabled());
  EXPECT_EQ(ReadSetting("History", "1Path", "gone"), "");
  EXPECT_EQ(ReadSetting("History", "3Path", "gone"), "");
}

TEST_F(FrameTest, WindowsGetUniqueTagsAndTheFrameAsParent) {
  Ready();
  Run("new");
  Run("NEW");
  ASSERT_EQ(Windows.size(), 2);
  EXPECT_EQ(Windows[0]->Frame(), frame);
  EXPECT_NE(Windows[0]->Tag(), Windows[1]->Tag());
  for (const auto& w : Windows)
    EXPECT_TRUE(QRegularExpression("^SW\\d{6}$").match(w->Tag()).hasMatch());
  EXPECT_EQ(frame->ScoreWindows().size(), 2);
  EXPECT_TRUE(frame->ToolbarButton("TileV")->isEnabled());
  frame->ReloadDefaults();
  EXPECT_EQ(Windows[0]->Reloads + Windows[1]->Reloads, 2);
}

TEST_F(FrameTest, AnActiveWindowsMenusReplaceTheFramesWhileItIsOpen) {
  Ready();
  auto titles = [&] {
    QStringList t;
    for (QAction* a : frame->menuBar()->actions()) t << a->text();
    return t;
  };
  const QStringList frameMenus = titles();
  NextWindow.OwnMenus = true;
  Context.State.ChildrenMaximized = true;
  Run("NEW");
  EXPECT_EQ(titles(), QStringList{"&Score Window"});
  EXPECT_TRUE(Windows[0]->parentWidget()->isMaximized());
  Windows[0]->parentWidget()->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(titles(), frameMenus);
}

TEST_F(FrameTest, ClosingTheLastWindowDisablesWhatNeedsOne) {
  Ready();
  Run("NEW");
  Run("NEW");
  auto* pctPlay = frame->findChild<QWidget*>("pctPlay");
  EXPECT_TRUE(pctPlay->isVisible());
  frame->SetEnableCutCopy(true);
  frame->SetEnablePaste(true);
  frame->SetEnableUndo(true);
  Windows[0]->parentWidget()->close();
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame->ToolbarButton("Cascade")->isEnabled());  // one is left
  Windows[1]->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(frame->ScoreWindows().isEmpty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !pctPlay->isVisible(); }, 1000));
  for (const char* key : {"TileH", "TileV", "Cascade", "Cut", "Copy", "Paste", "Undo"})
    EXPECT_FALSE(frame->ToolbarButton(key)->isEnabled()) << key;
}

TEST_F(FrameTest, TheToolbarsEditKeysReachTheActiveWindow) {
  Ready();
  Run("NEW");
  frame->SetEnableCutCopy(true);
  frame->SetEnablePaste(true);
  frame->SetEnableUndo(true);
  EXPECT_TRUE(frame->EnableCutCopy());
  for (const char* key : {"Cut", "Copy", "Paste", "Undo"}) frame->ToolbarButton(key)->trigger();
  EXPECT_EQ(Windows[0]->Calls, (QStringList{"Cut", "Copy", "Paste", "Undo"}));
  EXPECT_FALSE(frame->ToolbarButton("Redo")->isEnabled());
}

TEST_F(FrameTest, AFileThatFailsAfterStartingProgressLeavesNothingBehind) {
  Ready();
  NextWindow.OpenSucceeds = false;
  NextWindow.ReportsProgress = true;
  EXPECT_FALSE(frame->OpenScoreFile(QStringLiteral("/m/broken.sco"), 0));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(Windows[0].isNull());
  EXPECT_TRUE(frame->ScoreWindows().isEmpty());
  EXPECT_FALSE(frame->Progress().Active());
  EXPECT_FALSE(frame->findChild<QProgressBar*>("pbrMain")->isVisible());
  EXPECT_TRUE(frame->mnuViewStatusBar->isEnabled());

  // The next file shows its progress again, which ends when its window comes up.
  NextWindow.OpenSucceeds = true;
  EXPECT_TRUE(frame->OpenScoreFile(QStringLiteral("/m/good.sco"), 0));
  EXPECT_EQ(Windows[1]->Calls, (QStringList{"Open /m/good.sco", "Progress"}));
  EXPECT_FALSE(frame->Progress().Active());
}

TEST_F(FrameTest, TheProgressDisplayHoldsTheStatusBarWhileItRuns) {
  Ready();
  ASSERT_TRUE(frame->InitStatus(200, QStringLiteral("Opening:")));
  EXPECT_FALSE(frame->InitStatus(10, {}));
  auto* bar = frame->findChild<QProgressBar*>("pbrMain");
  frame->UpdateStatus(150);
  frame->UpdateStatus(20);
  EXPECT_EQ(bar->value(), 150);
  // Hiding the status bar now would leave the display with no way to end.
  frame->ViewStatusBar();
  EXPECT_TRUE(frame->mnuViewStatusBar->isChecked());
  frame->TerminateStatus();
  frame->ViewStatusBar();
  EXPECT_FALSE(frame->mnuViewStatusBar->isChecked());
  EXPECT_FALSE(frame->InitStatus(10, {}));
}

TEST_F(FrameTest, AWindowThatRefusesToCloseKeepsTheProgramAsItWas) {
  Ready();
  NextWindow.RefusesClose = true;
  Run("NEW");
  const QString before = SettingsText();
  EXPECT_FALSE(frame->close());
  EXPECT_FALSE(frame->Closed());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_NE(frame->Sound(), nullptr);  // the sound output is still open
  EXPECT_EQ(SettingsText(), before);   // nothing written to Main
  Windows[0]->SetRefusesClose(false);
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(frame->Sound(), nullptr);
}

TEST_F(FrameTest, ExitFromAWindowsOwnHandlerClosesOnceItReturned) {
  Ready();
  Run("NEW");
  QPointer<testing::FakeScoreWindow> window = Windows[0];
  window->Frame()->DoFunction(QStringLiteral("exit"));
  // Still there: the window's handler has not returned yet.
  EXPECT_FALSE(window.isNull());
  EXPECT_FALSE(frame->Closed());
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame->Closed());
}

TEST_F(FrameTest, OpenAsksForAFileAndTakesTheChosenFilter) {
  Ready();
  QString askedIn;
  int askedFilter = 0;
  frame->SetOpenPrompt([&](const QString& folder, int filter) {
    askedIn = folder;
    askedFilter = filter;
    return std::optional<mdiVLTMain::OpenChoice>({QStringLiteral("/m/x.sco"), 3});
  });
  Run("OPEN");
  EXPECT_EQ(askedIn, Folder());  // no Files/Path yet: the documents folder
  EXPECT_EQ(askedFilter, 1);
  ASSERT_EQ(Windows.size(), 1);
  EXPECT_EQ(ReadSetting("Files", "Type"), "1");  // "All Files": the name decides

  frame->SetOpenPrompt([](const QString&, int) { return std::optional<mdiVLTMain::OpenChoice>(); });
  Run("OPEN");
  EXPECT_EQ(Windows.size(), 1);  // cancelled
}

TEST_F(FrameTest, TileVerticalPutsWindowsSideBySide) {
  Ready();
  Run("NEW");
  Run("NEW");
  frame->ToolbarButton("TileV")->trigger();
  auto* area = frame->findChild<QMdiArea*>("mdiArea");
  const QList<QMdiSubWindow*> subs = area->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 2);
  const int half = area->viewport()->width() / 2;
  EXPECT_EQ(subs[0]->geometry(), QRect(0, 0, half, area->viewport()->height()));
  EXPECT_EQ(subs[1]->geometry().left(), half);
  frame->ToolbarButton("TileH")->trigger();
  EXPECT_EQ(subs[1]->geometry().top(), area->viewport()->height() / 2);
  EXPECT_EQ(subs[1]->geometry().width(), area->viewport()->width());
}

}  // namespace
}  // namespace veltrimond
