// The score window's keys, staff-spacing handles, drum panel, lyric entry, text labels and
// chord symbols on the offscreen platform with a recording frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <set>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_drumpanel.h"
#include "Veltrimond/child/chdvltmain_handles.h"
#include "Veltrimond/child/chdvltmain_keys.h"
#include "Veltrimond/child/chdvltmain_labels.h"
#include "Veltrimond/child/chdvltmain_lyrics.h"
#include "Veltrimond/shell/appcontext.h"
#include "child_inplace_fixture.h"
#include "fakeframe.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/scorepagewidget.h"
#include "qstring_printer.h"
#include "settings_fixture.h"

namespace veltrimond::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(StaffHeights, InPlaceSizeTest,
                         ::testing::Values(OptionSettings{}.StaffHeight, 0.4), StaffHeightName);

// --- Keys ---

TEST_F(InPlaceTest, NoteValueKeysPickTheNoteToolUnlessAnEnabledMenuItemCarriesTheKey) {
  const std::vector<std::pair<Qt::Key, int>> keys = {{Qt::Key_W, 1},  {Qt::Key_H, 2},
                                                     {Qt::Key_Q, 4},  {Qt::Key_E, 8},
                                                     {Qt::Key_S, 16}, {Qt::Key_T, 32}};
  for (const auto& [key, value] : keys) {
    window->SetTool(QStringLiteral("Clef"));
    Type(key, Qt::ControlModifier);
    EXPECT_EQ(window->Palette().ToolGroup(), 6) << value;
    EXPECT_EQ(window->Palette().SubTool(), value);
  }
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Note"));

  // A menu item of the window with the key wins while it is enabled.
  auto* setWhole = new QAction(QStringLiteral("Whole"), window.get());
  setWhole->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  window->addAction(setWhole);
  int triggered = 0;
  QObject::connect(setWhole, &QAction::triggered, [&triggered] { ++triggered; });
  window->SetSubTool(4);
  Type(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(triggered, 1);
  EXPECT_EQ(window->Palette().SubTool(), 4);
  setWhole->setEnabled(false);
  Type(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(triggered, 1);
  EXPECT_EQ(window->Palette().SubTool(), 1);
  EXPECT_TRUE(window->isVisible());  // Ctrl+W never closes the window
}

TEST_F(InPlaceTest, CtrlWAndCtrlQKeepTheirNoteValuesInAWindowOfTheMdiArea) {
  window.reset();
  QMdiArea area;
  auto* child = new chdVLTMain(Context, Frame);
  QMdiSubWindow* sub = area.addSubWindow(child);
  area.resize(1000, 800);
  area.show();
  sub->showMaximized();
  QCoreApplication::processEvents();
  area.setActiveSubWindow(sub);
  child->pctScore->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(child->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(area.subWindowList().size(), 1);
  EXPECT_EQ(child->Palette().ToolGroup(), 6);
  EXPECT_EQ(child->Palette().SubTool(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(child->Palette().SubTool(), 4);
  EXPECT_EQ(area.subWindowList().size(), 1);
}

TEST_F(InPlaceTest, VoiceDotPointerAndSelectionKeys) {
  Type(Qt::Key_3, Qt::NoModifier);
  EXPECT_EQ(S().Voice(), 3);
  EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->text(), QStringLiteral("3"));
  EXPECT_TRUE(window->mnuVoice[2]->isChecked());

  auto* dot = window->tbrOptions->findChild<QToolButton*>(QStringLiteral("Dot"));
  ASSERT_TRUE(dot);
  const bool before = window->Palette().OptionPressed(QStringLiteral("Dot"));
  Type(Qt::Key_D, Qt::ControlModifier);
  EXPECT_NE(window->Palette().OptionPressed(QStringLiteral("Dot")), before);
  Type(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(window->Palette().OptionPressed(QStringLiteral("Dot")), before);

  // Ctrl+R with the pointer tool: swallowed, nothing changes; with another tool: pointer.
  window->SetTool(QStringLiteral("Point"));
  window->Panel(QStringLiteral("Status"))->setText(QStringLiteral("marker"));
  Type(Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("marker"));
  window->SetTool(QStringLiteral("Dyn"));
  Type(Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(window->Palette().ToolGroup(), 1);

  // Digits typed into the page box stay there.
  window->txtPage->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(window->txtPage->hasFocus());
  Type(Qt::Key_1, Qt::NoModifier);
  EXPECT_EQ(S().Voice(), 3);
}

TEST_F(InPlaceTest, ArrowsNudgeTheLastNoteWithTheNoteTool) {
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(4);
  const QPoint at = PitchPoint(3000, 71);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_EQ(Voice1()->Notes().Count(), 1);
  window->pctScore->setFocus();
  Type(Qt::Key_Up);
  EXPECT_EQ(Voice1()->Notes().ByIndex(1)->Value(0), 72);
  Type(Qt::Key_Down);
  Type(Qt::Key_Down);
  EXPECT_EQ(Voice1()->Notes().ByIndex(1)->Value(0), 70);
  const int time = Voice1()->Notes().ByIndex(1)->NoteTime();
  Type(Qt::Key_Right);
  EXPECT_GT(Voice1()->Notes().ByIndex(1)->NoteTime(), time);

  // Another tool: the arrows are not the window's.
  window->SetTool(QStringLiteral("Clef"));
  Type(Qt::Key_Up);
  EXPECT_EQ(Voice1()->Notes().ByIndex(1)->Value(0), 70);
}

TEST_F(InPlaceTest, PlusAndMinusWidenAndNarrowTheMeasurePressedUnlessTheChordPanelIsOpen) {
  window->SetTool(QStringLiteral("Point"));
  const QPoint at = PitchPoint(3000, 71);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  Type(Qt::Key_Plus, Qt::NoModifier);
  EXPECT_EQ(CountEvents(S().AllGlobals(), notecraft::evtMeasureSize), 1);
  Type(Qt::Key_Minus, Qt::NoModifier);  // back to no adjustment
  EXPECT_EQ(CountEvents(S().AllGlobals(), notecraft::evtMeasureSize), 0);

  window->SetTool(QStringLiteral("Chord"));
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().ChordPanelOpen());
  Type(Qt::Key_Plus, Qt::NoModifier);
  EXPECT_EQ(CountEvents(S().AllGlobals(), notecraft::evtMeasureSize), 0);
}

// --- Staff-spacing handles ---

TEST_F(InPlaceTest, DraggingAStaffSpaceHandleAddsWholeStepsOnly) {
  S().SetHandles(true);
  Relayout();
  ASSERT_FALSE(window->HandleMarks().empty());
  const int y = window->HandleMarks().front().Y;
  const auto staff = S().Staff(1);
  auto spacing = [&] { return staff->GlobalEvents().Find(1 << 23, notecraft::evtStaffSpace); };
  auto drag = [&](int dyTwips) {
    const QPoint from(5, y / kTpp);
    const QPoint to(5, (y + dyTwips) / kTpp);
    QTest::mousePress(window->pctScore, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, window->pctScore->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->pctScore, &move);
    QTest::mouseRelease(window->pctScore, Qt::LeftButton, {}, to);
  };

  drag(45);  // rounds to no step: the staff's spacing is left alone
  EXPECT_EQ(spacing(), nullptr);
  EXPECT_FALSE(S().CanUndo());

  drag(90);
  auto event = spacing();
  ASSERT_TRUE(event);
  EXPECT_EQ(event->Value1(), 1);
  window->EditUndo();
  EXPECT_EQ(spacing(), nullptr);

  drag(-180);
  event = spacing();
  ASSERT_TRUE(event);
  EXPECT_EQ(event->Value2(), 2);

  // A press right of the strip is no handle press.
  EXPECT_FALSE(window->Handles().StartDrag(361, y));
}

// --- Drum panel ---

std::shared_ptr<notecraft::Staff> AddKit(notecraft::Score& score, int row,
                                         const std::vector<int>& codes) {
  auto staff = notecraft::AddStaff(score);
  staff->Clear();
  auto kit = score.AllInstruments().Add(score.AllInstruments().NewID(), row);
  for (std::size_t i = 0; i < codes.size(); ++i)
    kit->SetDrumCode(static_cast<int>(i) + 1, codes[i]);
  staff->AddVoice(kit);
  staff->SetDescription("Drums");
  return staff;
}

TEST_F(InPlaceTest, TheDrumPanelListsEachDrumStaffAndGivesTheChosenSlot) {
  window->Drums().Refresh();
  EXPECT_FALSE(window->pctDrums->isVisible());
  EXPECT_EQ(window->Drums().Panel().Count(), 1);

  const auto a = AddKit(S(), 129, {130, 139, 139, 143});
  const auto b = AddKit(S(), 130, {143, 150});
  window->Drums().Refresh();
  const DrumPanel& panel = window->Drums().Panel();
  ASSERT_EQ(panel.Count(), 2);
  EXPECT_TRUE(window->pctDrums->isVisible());
  EXPECT_EQ(panel.Label(0)->text(), QStringLiteral("2: Drums"));
  EXPECT_EQ(panel.Label(1)->y() - panel.Label(0)->y(), 600 / kTpp);
  ASSERT_EQ(panel.Combo(0)->count(), 3);
  ASSERT_EQ(panel.Combo(1)->count(), 2);  // staff B keeps its first sound

  // The third listed sound of kit A is its slot 4.
  panel.Combo(0)->setCurrentIndex(2);
  window->ActiveStaff(a);
  window->Drums().ChooseDrum();
  EXPECT_EQ(S().DrumIX(), 4);
  panel.Combo(1)->setCurrentIndex(0);
  window->ActiveStaff(b);
  window->Drums().ChooseDrum();
  EXPECT_EQ(S().DrumIX(), 1);
  // A staff without drums leaves the slot.
  window->ActiveStaff(S().Staff(1));
  window->Drums().ChooseDrum();
  EXPECT_EQ(S().DrumIX(), 1);

  // A press with the note tool on kit A's staff takes the sound chosen there.
  Relayout();
  QPoint onA(-1, -1);
  for (int py = 0; py < S().PageHeightTwips() / kTpp && onA.x() < 0; ++py) {
    const auto band = S().InRegion(300 * kTpp, py * kTpp);
    if (band && band->Staff() == a->Index()) onA = QPoint(300, py);
  }
  ASSERT_GE(onA.y(), 0);
  window->SetTool(QStringLiteral("Note"));
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, onA);
  EXPECT_EQ(window->ActiveStaffNumber(), a->Index());
  EXPECT_EQ(S().DrumIX(), 4);

  notecraft::DelStaff(S(), 2);
  notecraft::DelStaff(S(), 2);
  window->Drums().Refresh();
  EXPECT_EQ(window->Drums().Panel().Count(), 1);
  EXPECT_FALSE(window->pctDrums->isVisible());
}

// --- Lyrics ---

// The syllables of the active verse, note by note, as the caret walks every page.
std::vector<std::string> Syllables(notecraft::Score& score) {
  std::vector<std::string> out;
  for (int page = 1; page <= score.LastPage(); ++page) {
    score.SetCurPage(page);
    int time = 0, x = 0, y = 0;
    std::string text;
    for (bool more = score.FirstActiveXY(time, x, y, text); more;
         more = score.NextActiveXY(time, x, y, text))
      out.push_back(text);
  }
  return out;
}

TEST_P(InPlaceSizeTest, TwoVersesTypedInPlaceAcrossASystemBreakAreSavedAndReopened) {
  // Enough measures for more than one system and more than one page.
  const int measures = 64;
  AddQuarterNotes(S(), measures);
  S().Staff(1)->SetSelected(true);
  Relayout();
  ASSERT_GE(S().LastPage(), 2);
  const int notes = measures * 4;

  std::vector<std::string> verses[2];
  for (int i = 0; i < notes; ++i) {
    verses[0].push_back(i % 2 == 0 ? "la-" : "lo");
    verses[1].push_back("v" + std::to_string(i));
  }
  std::set<int> rows;  // the box's tops: more than one system
  std::set<int> pages;
  for (int verse : {1, 2}) {
    S().SetVerse(verse);
    S().SetCurPage(1);  // entry starts at the page shown
    window->Panel(QStringLiteral("Status"))->setText(QStringLiteral("Point"));
    ASSERT_TRUE(window->Lyrics().Start());
    Paginate(S());  // a new verse lays the score out again while the first syllable is typed
    EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Lyrics"));
    EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->toolTip(), QStringLiteral("Verse"));
    InPlaceBox* box = window->Lyrics().txtLyric;
    ASSERT_TRUE(box->hasFocus());
    for (const std::string& word : verses[verse - 1]) {
      ASSERT_TRUE(window->Lyrics().Active()) << word << " on page " << S().CurPage();
      rows.insert(window->Lyrics().Entry().Top());
      pages.insert(S().CurPage());
      const QString text = QString::fromStdString(word);
      if (text.endsWith(QLatin1Char('-'))) {
        QTest::keyClicks(box, text.chopped(1));
        QTest::keyClick(box, Qt::Key_Minus);
      } else {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Space);
      }
    }
    EXPECT_FALSE(window->Lyrics().Active());
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(window->pctScore->hasFocus());
    EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), window->Palette().ToolKey());
    EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->toolTip(), QStringLiteral("Voice"));
  }
  EXPECT_GT(rows.size(), 1u);
  EXPECT_EQ(pages.size(), static_cast<std::size_t>(S().LastPage()));

  auto reopened = SavedAndReopened(QStringLiteral("Lyrics.sco"));
  ASSERT_TRUE(reopened);
  notecraft::Score& back = reopened->Score();
  back.Staff(1)->SetSelected(true);
  for (int verse : {1, 2}) {
    back.SetVerse(verse);
    EXPECT_EQ(Syllables(back), verses[verse - 1]) << "verse " << verse;
  }
}

// The verse is chosen while typing: Ctrl+Down and Ctrl+Up in the box, or a click on the
// Verse panel, which always shows the verse typed into.
TEST_P(InPlaceSizeTest, CtrlUpDownAndTheVersePanelChooseTheVerseAndBothVersesAreReopened) {
  AddQuarterNotes(S(), 2);
  S().Staff(1)->SetSelected(true);
  Relayout();
  window->Hooks.StartLyricEntry();  // the toolbar's Lyrics button
  ASSERT_TRUE(window->Lyrics().Active());
  InPlaceBox* box = window->Lyrics().txtLyric;
  QLabel* verse = window->Panel(QStringLiteral("Voice"));
  EXPECT_EQ(verse->text(), QStringLiteral("1"));
  const int firstLine = window->Lyrics().Entry().Top();

  QTest::keyClicks(box, QStringLiteral("Sing"));
  QTest::keyClick(box, Qt::Key_Space);
  QTest::keyClicks(box, QStringLiteral("on"));
  QTest::keyClick(box, Qt::Key_Down, Qt::ControlModifier);  // stores "on", same note
  Paginate(S());
  ASSERT_TRUE(window->Lyrics().Active());
  EXPECT_EQ(verse->text(), QStringLiteral("2"));
  EXPECT_EQ(S().Verse(), 2);
  EXPECT_EQ(window->Lyrics().Entry().Time(), 16);
  EXPECT_GT(window->Lyrics().Entry().Top(), firstLine) << "the second verse's line";
  EXPECT_TRUE(box->text().isEmpty());
  QTest::keyClicks(box, QStringLiteral("more"));
  QTest::keyClick(box, Qt::Key_Tab, Qt::ShiftModifier);  // stores "more", back to the first note
  QTest::keyClicks(box, QStringLiteral("Dance"));
  QTest::keyClick(box, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(verse->text(), QStringLiteral("1"));
  EXPECT_EQ(box->text(), QStringLiteral("Sing"));
  EXPECT_EQ(window->Lyrics().Entry().Top(), firstLine);
  QTest::keyClick(box, Qt::Key_Up, Qt::ControlModifier);  // no verse above the first
  EXPECT_EQ(S().Verse(), 1);

  // A click on the panel goes on to the next verse: 2, then a new third one, then back to 1.
  for (const char* expected : {"2", "3", "1"}) {
    QTest::mouseClick(verse, Qt::LeftButton);
    EXPECT_EQ(verse->text(), QLatin1String(expected));
    EXPECT_TRUE(box->hasFocus()) << "entry stays open";
  }
  EXPECT_EQ(box->text(), QStringLiteral("Sing"));
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_FALSE(window->Lyrics().Active());
  EXPECT_EQ(verse->toolTip(), QStringLiteral("Voice"));

  const auto& events = S().Staff(1)->GlobalEvents();
  ASSERT_TRUE(events.Find(0, notecraft::evtLyric, true));
  EXPECT_EQ(events.Find(0, notecraft::evtLyric, true)->Text(), "Sing\rDance");
  EXPECT_EQ(events.Find(16, notecraft::evtLyric, true)->Text(), "on\rmore");

  // Saved and reopened, both verses are there to be edited again.
  auto reopened = SavedAndReopened(QStringLiteral("Verses.sco"));
  ASSERT_TRUE(reopened);
  reopened->Hooks.StartLyricEntry();
  ASSERT_TRUE(reopened->Lyrics().Active());
  InPlaceBox* again = reopened->Lyrics().txtLyric;
  EXPECT_EQ(again->text(), QStringLiteral("Sing"));
  QTest::keyClick(again, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(again->text(), QStringLiteral("Dance"));
  EXPECT_EQ(reopened->Panel(QStringLiteral("Voice"))->text(), QStringLiteral("2"));
  QTest::keyClick(again, Qt::Key_Tab);
  EXPECT_EQ(again->text(), QStringLiteral("more"));
}

// In a window of the frame's MDI area a click anywhere in the window may take the focus to
// the sub-window: a click on the Verse panel must still leave the box with it.
TEST_P(InPlaceSizeTest, TheVersePanelChoosesTheVerseInAWindowOfTheMdiArea) {
  window.reset();
  QMdiArea area;
  auto* child = new chdVLTMain(Context, Frame);
  QMdiSubWindow* sub = area.addSubWindow(child);
  area.resize(1000, 800);
  area.show();
  sub->showMaximized();
  QCoreApplication::processEvents();
  area.setActiveSubWindow(sub);
  QCoreApplication::processEvents();
  AddQuarterNotes(child->Score(), 2);
  child->Score().Staff(1)->SetSelected(true);
  child->Score().RestartPagination(1);
  child->Score().PaintWindow();
  Paginate(child->Score());
  child->Hooks.StartLyricEntry();
  ASSERT_TRUE(child->Lyrics().Active());
  InPlaceBox* box = child->Lyrics().txtLyric;
  ASSERT_TRUE(box->hasFocus());
  QTest::keyClicks(box, QStringLiteral("Sing"));
  QTest::keyClick(box, Qt::Key_Space);
  QTest::keyClicks(box, QStringLiteral("on"));

  QLabel* verse = child->Panel(QStringLiteral("Voice"));
  QTest::mouseClick(verse, Qt::LeftButton, {}, verse->rect().center());
  Paginate(child->Score());
  EXPECT_TRUE(child->Lyrics().Active()) << "entry goes on";
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(verse->text(), QStringLiteral("2"));
  EXPECT_EQ(child->Score().Verse(), 2);
  EXPECT_EQ(child->Lyrics().Entry().Time(), 16) << "at the same note";
  QTest::keyClicks(box, QStringLiteral("more"));
  QTest::keyClick(box, Qt::Key_Escape);
  const auto& events = child->Score().Staff(1)->GlobalEvents();
  ASSERT_TRUE(events.Find(16, notecraft::evtLyric, true));
  EXPECT_EQ(events.Find(16, notecraft::evtLyric, true)->Text(), "on\rmore");
  // Once entry has ended a click on the panel changes nothing.
  QTest::mouseClick(verse, Qt::LeftButton, {}, verse->rect().center());
  EXPECT_EQ(child->Score().Verse(), 2);
  EXPECT_FALSE(child->Lyrics().Active());
}

// Each measure ends on a G6, drawn high above its staff: over the system before's bottom.
TEST_P(InPlaceSizeTest, TheLyricBoxSitsOnTheRowOfTheSystemThatHoldsItsNote) {
  const int measures = 16;
  auto voice = S().Staff(1)->Voice(1);
  for (int t = 0; t < measures * 64; t += 16) voice->Notes().Add(t, t % 64 == 48 ? 91 : 67, 16, 0);
  S().Staff(1)->SetSelected(true);
  Relayout();
  // The lyric row of staff 1 in the system that holds time (page twips).
  auto rowOf = [this](int time, int x) {
    std::shared_ptr<notecraft::Region> holder;
    for (int y = 0; y < S().PageHeightTwips(); y += kTpp) {
      const auto band = S().InRegion(x, y);
      if (band && band->Staff() == 1 && band->Measure(0)->High() <= time) holder = band;
    }
    return holder ? holder->LyricLine() / kTpp * kTpp : -1;
  };
  for (int verse : {1, 2}) {
    S().SetVerse(verse);
    S().SetCurPage(1);
    ASSERT_TRUE(window->Lyrics().Start());
    Paginate(S());
    InPlaceBox* box = window->Lyrics().txtLyric;
    std::set<int> rows;
    int highNotes = 0;
    while (window->Lyrics().Active() && S().CurPage() == 1) {
      const int time = window->Lyrics().Entry().Time();
      QTest::keyClicks(box, QStringLiteral("sing"));
      Paginate(S());
      const auto note = voice->Notes().Lookup(time);
      const int row = rowOf(time, note->X());
      ASSERT_GT(row, 0) << time;
      const int want = row + (verse - 1) * notecraft::kLyricLineTwips;
      EXPECT_EQ(window->Lyrics().Entry().Top(), want) << "verse " << verse << ", time " << time;
      EXPECT_EQ(box->y(), want / kTpp) << "verse " << verse << ", time " << time;
      rows.insert(row);
      if (note->Value(0) == 91) ++highNotes;
      QTest::keyClick(box, Qt::Key_Space);
    }
    EXPECT_GT(rows.size(), 2u) << "three systems or more";
    EXPECT_GT(highNotes, 2);
    QTest::keyClick(box, Qt::Key_Escape);
  }
}

// A window destroyed while a box on its page has the focus: the box loses the focus as the
// window goes, and nothing of that may reach the window or its score (the address and
// undefined-behaviour sanitizers watch this).
TEST_P(InPlaceSizeTest, AWindowDestroyedWhileABoxIsOpenEndsTheEntryFirst) {
  AddQuarterNotes(S(), 2);
  S().Staff(1)->SetSelected(true);
  Relayout();
  window->Hooks.StartLyricEntry();
  ASSERT_TRUE(window->Lyrics().Active());
  QTest::keyClicks(window->Lyrics().txtLyric, QStringLiteral("la"));
  ASSERT_TRUE(window->Lyrics().txtLyric->hasFocus());
  window.reset();

  window = std::make_unique<chdVLTMain>(Context, Frame);
  window->show();
  QCoreApplication::processEvents();
  window->SetTool(QStringLiteral("Text"));
  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  QTest::keyClicks(window->Labels().txtLabel, QStringLiteral("dolce"));
  window.reset();

  window = std::make_unique<chdVLTMain>(Context, Frame);
  window->show();
  QCoreApplication::processEvents();
  window->SetTool(QStringLiteral("Chord"));
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, PitchPoint(3000, 79));
  ASSERT_TRUE(window->Labels().ChordPanelOpen());
  window.reset();
}

TEST_P(InPlaceSizeTest, TabAndShiftTabStayInTheLyricBoxAndEscEndsEntry) {
  AddQuarterNotes(S(), 2);
  S().Staff(1)->SetSelected(true);
  S().SetVerse(1);
  Relayout();
  window->Hooks.StartLyricEntry();  // the toolbar's Lyrics button
  ASSERT_TRUE(window->Lyrics().Active());
  InPlaceBox* box = window->Lyrics().txtLyric;
  const int first = window->Lyrics().Entry().Time();
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_TRUE(box->hasFocus());
  EXPECT_GT(window->Lyrics().Entry().Time(), first);
  QTest::keyClick(box, Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(window->Lyrics().Entry().Time(), first);
  QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);  // before the first: ends
  EXPECT_FALSE(window->Lyrics().Active());
  EXPECT_TRUE(window->pctScore->hasFocus());

  ASSERT_TRUE(window->Lyrics().Start());
  QTest::keyClicks(window->Lyrics().txtLyric, QStringLiteral("yo"));
  QTest::keyClick(window->Lyrics().txtLyric, Qt::Key_Escape);
  EXPECT_FALSE(window->Lyrics().Active());
  EXPECT_EQ(Syllables(S()).front(), "yo");
  EXPECT_FALSE(S().Changed() == false);
}

// --- Text labels and chord symbols ---

TEST_P(InPlaceSizeTest, ATextLabelIsTypedStoredOnceEditedElsewhereInItsMeasureAndUndone) {
  window->SetTool(QStringLiteral("Text"));
  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  InPlaceBox* box = window->Labels().txtLabel;
  EXPECT_TRUE(box->hasFocus());
  EXPECT_GE(window->Labels().Entry().Width(), 390);
  EXPECT_EQ(box->width(), (window->Labels().Entry().Width() + kTpp / 2) / kTpp);
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Text"));
  QTest::keyClicks(box, QStringLiteral("Allegro"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_FALSE(window->Labels().LabelActive());
  EXPECT_FALSE(box->isVisible());
  const auto& events = S().Staff(1)->GlobalEvents();
  ASSERT_EQ(CountEvents(events, notecraft::evtText), 1);
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Allegro");
  EXPECT_EQ(S().UndoCount(), 1);  // one commit, one record
  EXPECT_EQ(window->Palette().ToolGroup(), 10);

  // Reopened in the same measure: the label's text, edited, replaces it in place.
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  EXPECT_EQ(box->text(), QStringLiteral("Allegro"));
  QTest::keyClicks(box, QStringLiteral("Presto"));
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_FALSE(window->Labels().LabelActive());
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Allegro");
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  QTest::keyClicks(box, QStringLiteral("Presto"));
  QTest::keyClick(box, Qt::Key_Enter);
  EXPECT_EQ(CountEvents(events, notecraft::evtText), 1);
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Presto");

  // Edited from another point of its measure, the label is replaced where it stands.
  const int time = events.Find(1 << 23, notecraft::evtText)->EventTime();
  const QPoint other = ElsewhereInMeasure(at, time);
  ASSERT_GE(other.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, other);
  ASSERT_TRUE(window->Labels().LabelActive());
  EXPECT_EQ(box->text(), QStringLiteral("Presto"));
  QTest::keyClicks(box, QStringLiteral("Adagio"));
  QTest::keyClick(box, Qt::Key_Return);
  ASSERT_EQ(CountEvents(events, notecraft::evtText), 1);
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Adagio");
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->EventTime(), time);

  window->EditUndo();
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Presto");
  window->EditUndo();
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Allegro");
  window->EditUndo();
  EXPECT_EQ(CountEvents(events, notecraft::evtText), 0);
}

// A click with the text tool right of a system's last measure names no measure: no box
// opens there, for what was typed into it could not be stored (it used to open on the
// measure clicked before, and drop the text on Enter).
TEST_P(InPlaceSizeTest, ALabelClickedOffEveryMeasureOpensNoBox) {
  window->SetTool(QStringLiteral("Text"));
  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  QTest::keyClicks(window->Labels().txtLabel, QStringLiteral("Allegro"));
  QTest::keyClick(window->Labels().txtLabel, Qt::Key_Return);
  const auto& events = S().Staff(1)->GlobalEvents();
  ASSERT_EQ(CountEvents(events, notecraft::evtText), 1);

  const auto band = S().InRegion(at.x() * kTpp, at.y() * kTpp);
  ASSERT_TRUE(band);
  const QPoint beyond(band->Right() / kTpp + 10, at.y());
  ASSERT_LT(beyond.x(), window->pctScore->width());
  ASSERT_EQ(S().TimeByHit(beyond.x() * kTpp, beyond.y() * kTpp), -1);
  const int undo = S().UndoCount();
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, beyond);
  EXPECT_FALSE(window->Labels().LabelActive());
  EXPECT_FALSE(window->Labels().txtLabel->isVisible());
  EXPECT_EQ(S().UndoCount(), undo);
  EXPECT_EQ(events.Find(1 << 23, notecraft::evtText)->Text(), "Allegro");
}

// A label placed high over a high note keeps its place once the note is gone (the band keeps
// room for the label itself): reopened from the staff, the box goes where the label stands,
// and the edited text replaces the label there.
TEST_P(InPlaceSizeTest, ALabelIsEditedWhereItStandsAfterTheNoteThatMadeRoomForItIsGone) {
  AddQuarterNotes(S(), 8);
  Voice1()->Notes().Remove(0);
  Voice1()->Notes().Add(0, 100, 16, 0);  // E7, far above the staff
  Relayout();
  // Staff 1's band of the first system.
  auto firstBand = [this] {
    std::shared_ptr<notecraft::Region> band;
    for (int y = 0; y < S().PageHeightTwips() && !band; y += kTpp) band = S().InRegion(3000, y);
    return band;
  };
  auto band = firstBand();
  ASSERT_TRUE(band);
  const int padBefore = band->PadTop();

  // The label goes near the top of the room the high note made.
  window->SetTool(QStringLiteral("Text"));
  const QPoint top(3000 / kTpp, (band->Top() + 2 * kTpp) / kTpp + 1);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, top);
  ASSERT_TRUE(window->Labels().LabelActive());
  QTest::keyClicks(window->Labels().txtLabel, QStringLiteral("Maestoso"));
  QTest::keyClick(window->Labels().txtLabel, Qt::Key_Return);
  const auto& events = S().Staff(1)->GlobalEvents();
  ASSERT_EQ(CountEvents(events, notecraft::evtText), 1);
  const auto label = events.Find(1 << 23, notecraft::evtText);
  const int time = label->EventTime();
  const int offset = label->Value1();

  Voice1()->Notes().Remove(0);
  Voice1()->Notes().Add(0, 67, 16, 0);
  Relayout();
  band = firstBand();
  ASSERT_TRUE(band);
  // The band keeps room for the label itself, so it still reaches that high.
  EXPECT_EQ(band->PadTop(), padBefore);

  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(window->Labels().LabelActive());
  InPlaceBox* box = window->Labels().txtLabel;
  EXPECT_EQ(box->text(), QStringLiteral("Maestoso"));
  QTest::keyClicks(box, QStringLiteral("Grave"));
  QTest::keyClick(box, Qt::Key_Return);
  ASSERT_EQ(CountEvents(events, notecraft::evtText), 1);
  EXPECT_EQ(label->Text(), "Grave");
  EXPECT_EQ(label->EventTime(), time);
  EXPECT_EQ(label->Value1(), offset);
  window->EditUndo();
  EXPECT_EQ(label->Text(), "Maestoso");
}

TEST_P(InPlaceSizeTest, AChordSymbolIsPickedFromThePanelAndANameTheTableLacksIsRefused) {
  window->SetTool(QStringLiteral("Chord"));
  const QPoint at = PitchPoint(3000, 79);
  ASSERT_GE(at.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ChordPanel* panel = window->Labels().pctChords;
  ASSERT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->cboChord->hasFocus());
  ASSERT_GT(panel->cboChord->count(), 0);
  const auto table = S().LoadChordList();
  ASSERT_FALSE(table.empty());

  auto numberOf = [&table](const std::string& name) {
    for (const auto& [entry, number] : table)
      if (entry == name) return number;
    return -1;
  };
  ASSERT_GE(numberOf("C#m7"), 0) << "the shipped table spells its chords compactly";

  // The roots are the roots, the qualities the qualities: C#, Minor, 7, with a bass note.
  EXPECT_EQ(panel->cboChord->findText(QStringLiteral("C#m7")), -1);
  panel->cboChord->setCurrentIndex(panel->cboChord->findText(QStringLiteral("C#")));
  ASSERT_EQ(panel->cboChord->currentText(), QStringLiteral("C#"));
  panel->chkChord->setChecked(true);
  QListWidget* minor = panel->lstQual[1];
  const QList<QListWidgetItem*> sevenths = minor->findItems(QStringLiteral("7"), Qt::MatchExactly);
  ASSERT_EQ(sevenths.size(), 1);
  minor->setCurrentItem(sevenths.front());
  panel->txtBass->setFocus();
  QTest::keyClicks(panel->txtBass, QStringLiteral("fbx"));
  EXPECT_EQ(panel->txtBass->text(), QStringLiteral("Fb"));
  panel->txtBass->setFocus();
  QTest::keyClick(panel->txtBass, Qt::Key_Return);  // Enter commits from the shown list
  const auto chord = S().AllGlobals().Find(1 << 23, notecraft::evtChord);
  ASSERT_TRUE(chord);
  EXPECT_EQ(chord->Value1(), numberOf("C#m7"));
  EXPECT_EQ(chord->Text(), "Fb");
  QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 1000);
  EXPECT_FALSE(window->Labels().ChordPanelOpen());

  // Minor on a chord a table has no minor form of: refused, the panel stays open.
  panel->SetChordTable(
      {{QStringLiteral("C"), 0}, {QStringLiteral("C 7"), 1}, {QStringLiteral("Dm"), 2}});
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at + QPoint(40, 0));
  ASSERT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->txtBass->text().isEmpty());
  panel->cboChord->setCurrentIndex(panel->cboChord->findText(QStringLiteral("C")));
  panel->chkChord->setChecked(true);
  const int undo = S().UndoCount();
  panel->CommitFrom(1);
  EXPECT_EQ(S().UndoCount(), undo);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(window->Panel(QStringLiteral("Msg"))->text().contains(QStringLiteral("no chord")));

  // Tabbing between the panel's controls keeps it open; a click on the page closes it.
  panel->cboChord->setFocus();
  QTest::keyClick(panel->cboChord, Qt::Key_Tab);
  QTest::qWait(250);
  EXPECT_TRUE(panel->isVisible());
  window->pctScore->setFocus();
  QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 1000);
  EXPECT_EQ(S().UndoCount(), undo);

  // Esc closes the panel without a chord.
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at + QPoint(40, 0));
  ASSERT_TRUE(panel->isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 1000);
  EXPECT_EQ(S().UndoCount(), undo);

  window->EditUndo();
  EXPECT_EQ(S().AllGlobals().Find(1 << 23, notecraft::evtChord), nullptr);
}

// A click just above a staff, in the room between two systems that no staff band holds,
// stores the chord at the measure of the staff below; far from every staff nothing opens.
TEST_P(InPlaceSizeTest, AChordClickedAboveAStaffIsStoredAtItsMeasure) {
  AddQuarterNotes(S(), 12);
  Relayout();
  // The second system's band of staff 1, and the room above it that no band holds.
  auto bandsAt = [this](int x) {
    std::vector<std::shared_ptr<notecraft::Region>> bands;
    for (int y = 0; y < S().PageHeightTwips(); y += kTpp) {
      const auto band = S().InRegion(x, y);
      if (band && (bands.empty() || bands.back() != band)) bands.push_back(band);
    }
    return bands;
  };
  const int x = 3000;
  auto bands = bandsAt(x);
  ASSERT_GE(bands.size(), 2u);
  ASSERT_GT(bands[1]->Top() - bands[0]->Bottom(), 2 * kTpp) << "a gap between the systems";
  const QPoint above(x / kTpp, bands[1]->Top() / kTpp - 1);
  ASSERT_FALSE(S().InRegion(above.x() * kTpp, above.y() * kTpp));
  const int time = S().TimeByHit(x, bands[1]->Top() + bands[1]->PadTop());
  ASSERT_GE(time, bands[1]->Measure(0)->High());

  window->SetTool(QStringLiteral("Chord"));
  ChordPanel* panel = window->Labels().pctChords;
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, above);
  ASSERT_TRUE(panel->isVisible());
  ASSERT_GT(panel->cboChord->count(), 0);
  panel->cboChord->setCurrentIndex(0);
  panel->CommitFrom(0);
  const auto chord = S().AllGlobals().Find(1 << 23, notecraft::evtChord);
  ASSERT_TRUE(chord) << "stored";
  EXPECT_EQ(chord->EventTime(), time);
  EXPECT_EQ(S().SelectedMeasure(), time / 64 + 1);
  QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 1000);

  // In the top margin, far above the first staff: no panel, nothing stored.
  bands = bandsAt(x);
  const QPoint margin(x / kTpp, 10);
  ASSERT_LT(margin.y() * kTpp + 8 * bands[0]->IncY(), bands[0]->Top());
  const int undo = S().UndoCount();
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, margin);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(window->Labels().ChordPanelOpen());
  EXPECT_EQ(S().UndoCount(), undo);
}

}  // namespace
}  // namespace veltrimond::testing
