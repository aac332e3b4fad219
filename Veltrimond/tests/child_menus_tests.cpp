// The score window's menus: the built menus against their table, every command once with
// the items' enabled states, the page's pop-ups and the shortcuts, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include "Veltrimond/core/scoremenutable.h"
#include "child_commands_fixture.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/scoreevents.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/scorepagewidget.h"
#include "qstring_printer.h"

namespace veltrimond::testing {
namespace {

using notecraft::Score;

class MenusTest : public CommandsFixture {
protected:
  static std::shared_ptr<notecraft::Voice> FirstVoice(chdVLTMain& window) {
    return window.Score().Staff(1)->Voice(1);
  }
  static std::shared_ptr<notecraft::Note> FirstNote(chdVLTMain& window) {
    return FirstVoice(window)->Notes().ByIndex(1);
  }
  // Events of a kind in a list.
  static int CountOf(const notecraft::GlobalEvents& list, int type) {
    int n = 0;
    for (const auto& e : list) n += e->EventType() == type;
    return n;
  }
  // A pixel on the first staff where the score reads a pitch, about x twips in.
  static QPoint StaffPoint(chdVLTMain& window, int x = 3000) {
    Score& score = window.Score();
    for (int px = x / 15; px < x / 15 + 200; ++px)
      for (int py = 0; py < score.PageHeightTwips() / 15 / 2; ++py)
        if (score.GetNoteValueByHit(px * 15, py * 15) > 0) return {px, py};
    return {-1, -1};
  }
  // The pixel of the first note's head: the point on the staff that reads its pitch.
  static QPoint FirstNotePoint(chdVLTMain& window) {
    Score& score = window.Score();
    const auto note = FirstNote(window);
    for (int px = note->X() / 15 - 5; px < note->X() / 15 + 20; ++px)
      for (int py = 0; py < score.PageHeightTwips() / 15 / 2; ++py) {
        int time = 0, duration = 0;
        if (score.OnNote(px * 15, py * 15, time, duration) && time == note->NoteTime())
          return {px, py};
      }
    return {-1, -1};
  }
};

// Walks a built menu against its table rows: separators, submenus, captions, shortcuts and
// the states at load.
void ExpectMenuMatches(QMenu* menu, const MenuSpec& spec) {
  QList<QAction*> actions;
  for (QAction* a : menu->actions()) {
    actions << a;
    if (a->menu())
      for (QAction* sub : a->menu()->actions()) actions << sub;
  }
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(spec.Items.size())) << spec.Name.toStdString();
  for (std::size_t i = 0; i < spec.Items.size(); ++i) {
    const MenuItemSpec& item = spec.Items[i];
    QAction* a = actions[static_cast<qsizetype>(i)];
    const std::string where = spec.Name.toStdString() + " row " + std::to_string(i) + " " +
                              item.Name.toStdString();
    EXPECT_EQ(a->isSeparator(), item.Separator()) << where;
    if (!item.Name.isEmpty()) {
      EXPECT_EQ(a->objectName(), item.Name) << where;
    }
    EXPECT_EQ(a->isVisible(), !(item.Flags & kMenuHidden)) << where;
    if (item.Separator()) continue;
    EXPECT_EQ(a->text(), item.Caption) << where;
    EXPECT_EQ(a->shortcuts().size(), item.Shortcut.isEmpty() ? 0 : 1) << where;
    EXPECT_EQ(a->shortcut(), QKeySequence(item.Shortcut, QKeySequence::PortableText)) << where;
    EXPECT_EQ(a->isCheckable(), bool(item.Flags & kMenuCheckable)) << where;
    EXPECT_EQ(a->isChecked(), (item.Flags & kMenuChecked) == kMenuChecked) << where;
    // Cut and Copy wait for a selection from the start, Clear File History for a recent file;
    // the table has them on at load. A hidden item never reads enabled.
    if (item.Name == "mnuEditCut" || item.Name == "mnuEditCopy" ||
        item.Name == "mnuToolsClearHist" || (item.Flags & kMenuHidden))
      continue;
    EXPECT_EQ(a->isEnabled(), !(item.Flags & kMenuOff)) << where;
  }
}

TEST_F(MenusTest, TheMenusAreTheTableWithItsCaptionsShortcutsAndStates) {
  auto window = std::make_unique<chdVLTMain>(Context, Frame);
  const QList<QMenu*> menus = window->Menus();
  const std::vector<MenuSpec>& table = ScoreMenuTable();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(table.size()));
  for (std::size_t m = 0; m < table.size(); ++m) {
    QMenu* menu = menus[static_cast<qsizetype>(m)];
    EXPECT_EQ(menu->title(), table[m].Caption);
    ExpectMenuMatches(menu, table[m]);
  }
  // The pop-ups the page shows are the menu bar's menus.
  EXPECT_EQ(window->mnuNote.data(), menus[7]);
  EXPECT_EQ(window->mnuScore.data(), menus[3]);
  EXPECT_EQ(window->mnuMeasure.data(), menus[6]);
}

TEST_F(MenusTest, FrameCommandsAreForwarded) {
  auto window = ShownWindow();
  Context.History.Add(QStringLiteral("/tmp/One.sco"));
  Context.History.Add(QStringLiteral("/tmp/Two.sco"));
  Frame.Calls.clear();
  // The recent files show when the File menu opens.
  emit Menus(*window).Menu(QStringLiteral("mnuFile"))->aboutToShow();
  EXPECT_TRUE(Item(*window, "mnuFileHist0")->isVisible());
  EXPECT_EQ(Item(*window, "mnuFileHist2")->text(), QStringLiteral("&2 One.sco"));
  EXPECT_FALSE(Item(*window, "mnuFileHist3")->isVisible());
  EXPECT_TRUE(Item(*window, "mnuToolsClearHist")->isEnabled());
  for (const char* name :
       {"mnuFileNew", "mnuFileOpen", "mnuFileSetup", "mnuFileHist2", "mnuFileExit",
        "mnuViewToolBar", "mnuViewStatusBar", "mnuScoreOptions", "mnuScorePlay", "mnuScoreStop",
        "mnuToolsChordMapper", "mnuToolsStyleEditor", "mnuWindowTileH", "mnuWindowTileV",
        "mnuWindowCascade", "mnuHelpTOC", "mnuHelpIndex", "mnuHelpAbout", "mnuHelpUpdate",
        "mnuToolsClearHist"})
    Item(*window, name)->trigger();
  EXPECT_EQ(Frame.Calls,
            (QStringList{"DoFunction NEW", "DoFunction OPEN", "DoFunction SETUP", "OpenHistory 2",
                         "DoFunction EXIT", "ViewToolBar", "ViewStatusBar", "ScoreDefaults",
                         "ClickTransport 2", "ClickTransport 3", "ToolsChordMapper",
                         "ToolsStyleEditor", "Arrange 1", "Arrange 2", "Arrange 0", "HelpContents",
                         "HelpIndex", "HelpAbout", "HelpUpdate", "ToolsClearHistory"}));
  // The items without a command of their own do nothing.
  Frame.Calls.clear();
  for (const char* name : {"mnuFilePreview", "mnuNoteInsert", "mnuNoteSetTrip", "mnuSetNoteDup",
                           "mnuNoteOrnTurn"})
    Item(*window, name)->trigger();
  EXPECT_TRUE(Frame.Calls.isEmpty());
  EXPECT_FALSE(window->Score().Changed());
}

TEST_F(MenusTest, ViewHandlesToolboxAndVoice) {
  auto window = ShownWindow();
  Item(*window, "mnuViewHandles")->trigger();
  EXPECT_TRUE(window->Score().Handles());
  Item(*window, "mnuViewHandles")->trigger();
  EXPECT_FALSE(window->Score().Handles());
  Item(*window, "mnuViewToolbox")->trigger();
  EXPECT_FALSE(window->ToolboxVisible());
  EXPECT_FALSE(window->pctToolBox->isVisible());
  Item(*window, "mnuViewToolbox")->trigger();
  EXPECT_TRUE(window->pctToolBox->isVisible());

  Item(*window, "mnuVoiceCur2")->trigger();
  EXPECT_EQ(window->Score().Voice(), 3);
  EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->text(), QStringLiteral("3"));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Item(*window, ("mnuVoiceCur" + std::to_string(i)).c_str())->isChecked(), i == 2);
}

TEST_F(MenusTest, ClearingCommandsAskFirstAndClearEveryStaff) {
  auto window = ShownWindow();
  Score& score = window->Score();
  Button(*window, "InsStaff")->trigger();
  ASSERT_EQ(score.Staffs(), 2);
  for (int s = 1; s <= 2; ++s) {
    score.Staff(s)->GlobalEvents().Add(64, notecraft::evtKeyChange, 2);
    score.Staff(s)->GlobalEvents().Add(0, notecraft::evtLyric, 0, 0, "la");
  }
  score.AllGlobals().Add(64, notecraft::evtMeasureSize, 3);
  score.AllGlobals().Add(128, notecraft::evtLineEnd);
  score.Staff(1)->SetSelected(true);
  score.SetChanged(false);

  struct Case {
    const char* item;
    const char* question;
    std::function<int()> count;
  };
  auto onStaves = [&score](int type) {
    return [&score, type] {
      return CountOf(score.Staff(1)->GlobalEvents(), type) +
             CountOf(score.Staff(2)->GlobalEvents(), type);
    };
  };
  auto inGlobals = [&score](int type) { return [&score, type] { return CountOf(score.AllGlobals(), type); }; };
  const Case cases[] = {
      {"mnuScoreResetWidth", "reset all width overrides", inGlobals(notecraft::evtMeasureSize)},
      {"mnuScoreResetLine", "reset all line breaks", inGlobals(notecraft::evtLineEnd)},
      {"mnuScoreDelLyrics", "delete all lyrics", onStaves(notecraft::evtLyric)},
      {"mnuScoreClearKey", "clear all key changes", onStaves(notecraft::evtKeyChange)},
  };
  for (const Case& c : cases) {
    const int before = c.count();
    ASSERT_GT(before, 0) << c.item;
    Asked.clear();
    for (int answer : {7, 2}) {
      Answer = answer;
      Item(*window, c.item)->trigger();
      EXPECT_EQ(c.count(), before) << c.item << " answered " << answer;
    }
    EXPECT_FALSE(score.Changed()) << c.item;
    Answer = 6;
    Item(*window, c.item)->trigger();
    EXPECT_EQ(c.count(), 0) << c.item;
    EXPECT_TRUE(score.Changed()) << c.item;
    score.SetChanged(false);
    ASSERT_EQ(Asked.size(), 3);
    EXPECT_EQ(Asked[0], QStringLiteral("Score: Are you sure you want to ") + c.question +
                            QLatin1Char('?'));
  }
  // The staff selected before is selected again.
  EXPECT_TRUE(score.Staff(1)->Selected());
  EXPECT_FALSE(score.Staff(2)->Selected());

  Answer = 6;
  Item(*window, "mnuScoreClearTime")->trigger();
  EXPECT_EQ(Asked.last(), QStringLiteral("Score: Are you sure you want to clear all time changes?"));
  Item(*window, "mnuScoreRefresh")->trigger();
  Item(*window, "mnuScoreProperties")->trigger();
  EXPECT_EQ(Dialogs.Calls.last(), QStringLiteral("ShowProperties 0"));
}

TEST_F(MenusTest, DeletingTheActiveMeasuresEventsMarksTheScoreChanged) {
  auto window = ShownWindow();
  Score& score = window->Score();
  FillQuarters(*window, 4);
  auto& staffEvents = score.Staff(1)->GlobalEvents();
  for (int t : {64, 96, 128, 160, 176}) {
    staffEvents.Add(t, notecraft::evtDynamic, 1);
    staffEvents.Add(t, notecraft::evtText, 0, 0, "text");
    score.AllGlobals().Add(t, notecraft::evtChord, 1);
  }

  // The active staff was deleted since: dynamics and text stay.
  Button(*window, "InsStaff")->trigger();
  window->ActiveStaff(score.Staff(2));
  notecraft::DelStaff(score, 2);
  ASSERT_EQ(window->ActiveStaffNumber(), 2);
  ASSERT_EQ(score.Staffs(), 1);
  score.SetChanged(false);
  window->ActiveMeasure(3);
  ASSERT_EQ(window->CurMeasure(), 3);
  Item(*window, "mnuMeasureDelDyn")->trigger();
  Item(*window, "mnuMeasureDelText")->trigger();
  EXPECT_EQ(CountOf(staffEvents, notecraft::evtDynamic), 5);
  EXPECT_EQ(CountOf(staffEvents, notecraft::evtText), 5);
  EXPECT_FALSE(score.Changed());

  window->ActiveStaff(score.Staff(1));
  struct Case {
    const char* item;
    const notecraft::GlobalEvents* list;
    int type;
  };
  const Case cases[] = {{"mnuMeasureDelDyn", &staffEvents, notecraft::evtDynamic},
                        {"mnuMeasureDelText", &staffEvents, notecraft::evtText},
                        {"mnuMeasureDelChords", &score.AllGlobals(), notecraft::evtChord}};
  for (const Case& c : cases) {
    score.SetChanged(false);
    // Painting the page again makes the measure painted first the active one.
    window->ActiveMeasure(3);
    Item(*window, c.item)->trigger();
    // Only measure 3 (times 128..191) loses its events; measure 2 keeps its own.
    EXPECT_EQ(CountOf(*c.list, c.type), 2) << c.item;
    EXPECT_TRUE(c.list->Find(96, c.type, true)) << c.item;
    EXPECT_FALSE(c.list->Find(160, c.type, true)) << c.item;
    EXPECT_TRUE(score.Changed()) << c.item << ": the deletion must not be lost unsaved";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score *"));
  }
  // Nothing left in the measure: nothing marked.
  score.SetChanged(false);
  Item(*window, "mnuMeasureDelDyn")->trigger();
  EXPECT_FALSE(score.Changed());
}

TEST_F(MenusTest, StaffAndMeasureCommandsActAtTheLastPointPressed) {
  auto window = ShownWindow();
  Score& score = window->Score();
  FillQuarters(*window, 8);
  // A press on the first note makes its staff and measure the active ones.
  window->SetTool(QStringLiteral("Point"));
  const QPoint at = StaffPoint(*window);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  EXPECT_EQ(window->CurMeasure(), 1);
  EXPECT_EQ(window->ActiveStaffNumber(), 1);
  EXPECT_FALSE(Item(*window, "mnuEditUndo")->isEnabled());

  // Each event command adds an undoable event where the page was pressed.
  for (const char* name : {"mnuStaffSpaceInc", "mnuStaffSpaceRst", "mnuStaffSpaceDec",
                           "mnuMeasureWidthInc", "mnuMeasureWidthRst", "mnuMeasureWidthDec",
                           "mnuMeasureLine", "mnuMeasureNotateT0", "mnuMeasureNotateT5"}) {
    // Spacing moves the staff: press where it is now.
    QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, StaffPoint(*window));
    const int undo = score.UndoCount();
    Item(*window, name)->trigger();
    EXPECT_EQ(score.UndoCount(), std::min(undo + 1, 10)) << name;
  }
  EXPECT_TRUE(Item(*window, "mnuEditUndo")->isEnabled());
  while (score.CanUndo()) Item(*window, "mnuEditUndo")->trigger();
  EXPECT_FALSE(Item(*window, "mnuEditUndo")->isEnabled());

  // Insert and delete ask through the engine's prompts; Insert Style goes to the frame.
  const int staves = score.Staffs();
  Item(*window, "mnuStaffInsert")->trigger();
  EXPECT_EQ(score.Staffs(), staves + 1);
  score.Staff(staves + 1)->SetSelected(true);  // Delete proposes the staff worked on
  Item(*window, "mnuStaffDelete")->trigger();
  EXPECT_EQ(score.Staffs(), staves);
  EXPECT_EQ(FirstVoice(*window)->Notes().Count(), 32) << "the first staff stays";
  const int end = score.EndTime();
  Item(*window, "mnuMeasureInsert")->trigger();
  EXPECT_EQ(score.EndTime(), end + 64);
  Item(*window, "mnuMeasureDelete")->trigger();
  EXPECT_EQ(score.EndTime(), end);
  Item(*window, "mnuStaffProperties")->trigger();
  Item(*window, "mnuMeasureProperties")->trigger();
  EXPECT_EQ(Dialogs.Calls,
            (QStringList{"AskInsertStaff", "AskDeleteStaff 2", "AskInsertMeasure 1",
                         "AskDeleteMeasure 1", "ShowProperties 1", "ShowProperties 3"}));
  window->ActiveMeasure(2);
  Frame.Calls.clear();
  Item(*window, "mnuMeasureStyle")->trigger();
  EXPECT_EQ(Frame.Calls, QStringList{"InsertStyle 1 2 -1"});
}

TEST_F(MenusTest, AnEntryThatLaysThePageOutAgainKeepsTheMeasureWorkedIn) {
  auto window = ShownWindow();
  Score& score = window->Score();
  // Six measures of quarters over two systems and an empty seventh inserted after them: a
  // whole note entered after measure 7's first beat reaches past its bar line, so the page is
  // laid out again.
  FillQuarters(*window, 6);
  notecraft::AddMeasure(score, 6, true, false);
  auto& notes = FirstVoice(*window)->Notes();
  QPoint at(-1, -1);
  for (const auto& band : score.Bands(notecraft::Internal{})) {
    if (band->Staff() != 1) continue;
    const int y = (band->Top() + band->PadTop() + 2 * band->IncY()) / 15;  // the middle line
    for (int x = band->Left() / 15; x < band->Right() / 15 && at.x() < 0; ++x)
      if (score.TimeByHit(x * 15, y * 15) == 6 * 64 + 16) at = {x, y};
  }
  ASSERT_GE(at.x(), 0) << "measure 7 is not on the page";
  struct Paints : notecraft::ScoreEvents {
    int cleared = 0;
    void WindowCleared() override { ++cleared; }
  } paints;
  score.AddListener(&paints);
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(1);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  score.RemoveListener(&paints);
  ASSERT_EQ(notes.Count(), 6 * 4 + 1);
  ASSERT_GT(paints.cleared, 0) << "the page was not painted again";

  EXPECT_EQ(window->Panel(QStringLiteral("Measure"))->text(), QStringLiteral("M:7"));
  EXPECT_EQ(window->CurMeasure(), 7);
  Dialogs.Cancel = true;
  Item(*window, "mnuMeasureDelete")->trigger();
  Item(*window, "mnuMeasureInsert")->trigger();
  EXPECT_EQ(Dialogs.Calls, (QStringList{"AskDeleteMeasure 7", "AskInsertMeasure 7"}));
  // So does a refresh of the whole page.
  Item(*window, "mnuScoreRefresh")->trigger();
  EXPECT_EQ(window->Panel(QStringLiteral("Measure"))->text(), QStringLiteral("M:7"));
  EXPECT_EQ(score.SelectedMeasure(), 7);
}

TEST_F(MenusTest, NoteCommandsNeedASelectionAndChangeTheSelectedNotes) {
  auto window = ShownWindow();
  Score& score = window->Score();
  auto voice = FirstVoice(*window);
  voice->Notes().Add(0, 71, 16, 0);
  voice->Notes().Add(16, 71, 16, 0);
  score.RestartPagination(1);
  score.PaintWindow();
  window->EnableNoteMenu();

  // Without a selection: only Insert Note is on, and the note commands change nothing.
  for (const char* off : {"mnuNoteDelete", "mnuNoteMakeRest", "mnuNoteSetValue", "mnuNoteTie",
                          "mnuNoteSet", "mnuNoteStem", "mnuNoteOrn", "mnuEditCut", "mnuEditCopy"})
    EXPECT_FALSE(Item(*window, off)->isEnabled()) << off;
  EXPECT_TRUE(Item(*window, "mnuNoteInsert")->isEnabled());
  Item(*window, "mnuNoteSetW")->trigger();
  Item(*window, "mnuNoteMakeRest")->trigger();
  EXPECT_EQ(FirstNote(*window)->Duration(), 16);
  EXPECT_EQ(FirstNote(*window)->Value(0), 71);

  SelectAllShown(*window);
  ASSERT_TRUE(window->HasSelection());
  for (const char* on : {"mnuNoteInsert", "mnuNoteDelete", "mnuNoteMakeRest", "mnuNoteSetValue",
                         "mnuNoteTie", "mnuNoteSet", "mnuNoteStem", "mnuNoteOrn", "mnuEditCut",
                         "mnuEditCopy"})
    EXPECT_TRUE(Item(*window, on)->isEnabled()) << on;

  struct Case {
    const char* item;
    std::function<bool(const notecraft::Note&)> holds;
  };
  using N = const notecraft::Note&;
  const Case cases[] = {
      {"mnuNoteSetE", [](N n) { return n.Duration() == 8; }},
      {"mnuNoteSetAddDot", [](N n) { return (n.Flags() & notecraft::nteDot) != 0; }},
      {"mnuNoteSetRemDot", [](N n) { return (n.Flags() & notecraft::nteDot) == 0; }},
      {"mnuNoteStemUp", [](N n) { return (n.Flags() & notecraft::nteForceUp) != 0; }},
      {"mnuNoteStemDown", [](N n) { return (n.Flags() & notecraft::nteForceDown) != 0; }},
      {"mnuNoteOrnAct", [](N n) { return (n.Flags() & notecraft::nteAccent) != 0; }},
      {"mnuNoteOrnStac", [](N n) { return (n.Flags() & notecraft::nteStacato) != 0; }},
      {"mnuNoteOrnUp", [](N n) { return (n.Flags() & notecraft::nteBowUp) != 0; }},
      {"mnuNoteOrnDown", [](N n) { return (n.Flags() & notecraft::nteBowDown) != 0; }},
      {"mnuNoteOrnTrill", [](N n) { return (n.Flags() & notecraft::nteTrill) != 0; }},
      {"mnuNoteOrnFermata", [](N n) { return (n.Flags() & notecraft::nteFermata) != 0; }},
      {"mnuNoteSetQ", [](N n) { return n.Duration() == 16; }},
  };
  // Each change repaints the page, which forgets the selection: select again each time.
  for (const Case& c : cases) {
    SelectAllShown(*window);
    Item(*window, c.item)->trigger();
    EXPECT_TRUE(c.holds(*FirstNote(*window))) << c.item;
    EXPECT_FALSE(Item(*window, "mnuNoteSet")->isEnabled()) << c.item;
  }
  // Set Pitch: the dialog's value, 3 semitones up.
  Menus(*window).Prompts.SetPitch = [](const QRect& band) {
    EXPECT_FALSE(band.isEmpty());
    return std::optional<int>(256 + 3);
  };
  SelectAllShown(*window);
  Item(*window, "mnuNoteSetValue")->trigger();
  EXPECT_EQ(FirstNote(*window)->Value(0), 74);
  SelectAllShown(*window);
  Item(*window, "mnuNoteTie")->trigger();
  EXPECT_TRUE(score.Changed());
  SelectAllShown(*window);
  Item(*window, "mnuNoteMakeRest")->trigger();
  EXPECT_NE(FirstNote(*window)->Value(0), 74);
  SelectAllShown(*window);
  Item(*window, "mnuNoteDelete")->trigger();
  EXPECT_EQ(voice->Notes().Count(), 0);
}

TEST_F(MenusTest, TheMeasurePopupOffersTheNotationItemsOnlyWhileItIsOpen) {
  auto window = ShownWindow();
  FirstVoice(*window)->Notes().Add(0, 71, 16, 0);
  window->Score().RestartPagination(1);
  window->Score().PaintWindow();
  QStringList shown;
  Menus(*window).Prompts.Popup = [&](QMenu* menu) {
    shown << menu->objectName() + QLatin1Char(' ') +
                 QString::number(Item(*window, "mnuMeasureNotate")->isVisible());
    if (menu->objectName() == QLatin1String("mnuMeasure"))
      Item(*window, "mnuMeasureNotateT2")->trigger();
  };
  const int undo = window->Score().UndoCount();
  // A right click on the staff in an empty measure, then on the note.
  const QPoint empty = StaffPoint(*window, 7000);
  ASSERT_GE(empty.x(), 0);
  auto moveTo = [&](QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, window->pctScore->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->pctScore, &move);
  };
  moveTo(empty);
  QTest::mouseClick(window->pctScore, Qt::RightButton, {}, empty);
  moveTo(FirstNotePoint(*window));
  QTest::mouseClick(window->pctScore, Qt::RightButton, {}, FirstNotePoint(*window));
  EXPECT_EQ(shown, (QStringList{"mnuMeasure 1", "mnuNote 0"}));
  EXPECT_FALSE(Item(*window, "mnuMeasureNotate")->isVisible());
  EXPECT_FALSE(Item(*window, "mnuMeasureBar3")->isVisible());
  EXPECT_EQ(window->Score().UndoCount(), undo + 1) << "rallentando added where clicked";
}

TEST_F(MenusTest, ToolsRunOnlyThroughTheirDialogs) {
  auto window = ShownWindow();
  QStringList ran;
  Menus(*window).Prompts.Transpose = [&] {
    ran << QStringLiteral("Transpose");
    return true;
  };
  Menus(*window).Prompts.CopyMove = [&] {
    ran << QStringLiteral("CopyMove");
    return false;
  };
  Item(*window, "mnuToolsTranspose")->trigger();
  Item(*window, "mnuToolsCopyMove")->trigger();
  EXPECT_EQ(ran, (QStringList{"Transpose", "CopyMove"}));
}

TEST_F(MenusTest, TheWindowMenuListsTheOpenWindowsWithTheActiveOneChecked) {
  QMdiArea area;
  area.resize(1200, 900);
  auto* first = new chdVLTMain(Context, Frame);
  auto* second = new chdVLTMain(Context, Frame);
  area.addSubWindow(first);
  area.addSubWindow(second);
  area.show();
  area.setActiveSubWindow(area.subWindowList().at(1));
  QCoreApplication::processEvents();
  first->setWindowTitle(QStringLiteral("Alpha & Co"));
  second->setWindowTitle(QStringLiteral("Beta *"));
  QMenu* menu = Menus(*first).Menu(QStringLiteral("mnuWindow"));
  for (int twice = 0; twice < 2; ++twice) {
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction* a : menu->actions())
      entries << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + (a->isChecked() ? QStringLiteral(" [x]") : ""));
    EXPECT_EQ(entries, (QStringList{"Tile &Horizontally", "Tile &Vertically", "&Cascade", "-",
                                    "&1 Alpha && Co", "&2 Beta * [x]"}));
  }
  menu->actions().at(4)->trigger();
  EXPECT_EQ(area.activeSubWindow()->widget(), first);
}

// Shortcuts work while the window's menus are on the menu bar, as in the frame.
TEST_F(MenusTest, ShortcutsReachTheirCommands) {
  QMainWindow frame;
  auto* area = new QMdiArea(&frame);
  frame.setCentralWidget(area);
  auto* window = new chdVLTMain(Context, Frame);
  ScoreMenus& menus = Menus(*window);
  menus.Prompts.YesNoCancel = [](const QString&, const QString&) { return 6; };
  for (QMenu* menu : window->Menus()) frame.menuBar()->addMenu(menu);
  QMdiSubWindow* sub = area->addSubWindow(window);
  frame.resize(1300, 1000);
  frame.show();
  sub->showMaximized();
  QApplication::setActiveWindow(&frame);
  QCoreApplication::processEvents();
  window->Score().Staff(1)->Voice(1)->Notes().Add(0, 71, 16, 0);
  window->Score().RestartPagination(1);
  window->Score().PaintWindow();
  SelectAllShown(*window);
  ASSERT_TRUE(window->HasSelection());
  QWidget* page = window->pctScore;
  page->setFocus();
  QCoreApplication::processEvents();

  struct Case {
    QKeyCombination keys;
    int duration;
  };
  const Case cases[] = {{Qt::CTRL | Qt::Key_W, 64}, {Qt::CTRL | Qt::Key_H, 32},
                        {Qt::CTRL | Qt::Key_Q, 16}, {Qt::CTRL | Qt::Key_E, 8},
                        {Qt::CTRL | Qt::Key_S, 4},  {Qt::CTRL | Qt::Key_T, 2}};
  for (const Case& c : cases) {
    SelectAllShown(*window);
    page->setFocus();
    QTest::keyClick(page, c.keys.key(), c.keys.keyboardModifiers());
    EXPECT_EQ(FirstNote(*window)->Duration(), c.duration) << QKeySequence(c.keys).toString().toStdString();
  }
  SelectAllShown(*window);
  QTest::keyClick(page, Qt::Key_U, Qt::ControlModifier);
  EXPECT_TRUE(FirstNote(*window)->Flags() & notecraft::nteForceUp);
  QTest::keyClick(page, Qt::Key_F9);
  QTest::keyClick(page, Qt::Key_F9, Qt::ShiftModifier);
  QTest::keyClick(page, Qt::Key_F9, Qt::ControlModifier);
  QTest::keyClick(page, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Dialogs.Calls, (QStringList{"ShowProperties 0", "ShowProperties 1", "ShowProperties 3",
                                        "AskInsertStaff"}));
  QTest::keyClick(page, Qt::Key_F11);
  QTest::keyClick(page, Qt::Key_F12);
  EXPECT_EQ(Frame.CallsStartingWith(QStringLiteral("ClickTransport")),
            (QStringList{"ClickTransport 2", "ClickTransport 3"}));
  SelectAllShown(*window);
  QTest::keyClick(page, Qt::Key_Delete);
  EXPECT_EQ(window->Score().Staff(1)->Voice(1)->Notes().Count(), 0);
  frame.close();
}

}  // namespace
}  // namespace veltrimond::testing
