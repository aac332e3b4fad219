// The score window on the offscreen platform with a recording frame: note entry by clicking,
// the rubber band, opening and closing, the score's events and the tool pane.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/subtoolstrip.h"
#include "Veltrimond/shell/appcontext.h"
#include "fakeframe.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/scorepagewidget.h"
#include "qstring_printer.h"
#include "settings_fixture.h"

namespace veltrimond::testing {
namespace {

constexpr int kTpp = 15;

class ScoreWindowTest : public SettingsFixture {
protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    static const bool fontLoaded = notecraft::LoadMusicFont();
    (void)fontLoaded;
  }

  std::unique_ptr<chdVLTMain> NewWindow(const QString& tag = QStringLiteral("T1")) {
    // The page points below were measured on 0.4-inch staves; a new score takes its staff
    // height from the defaults.
    Context.State.Options.StaffHeight = 0.4;
    auto window = std::make_unique<chdVLTMain>(Context, Frame);
    window->SetTag(tag);
    window->resize(1000, 800);
    return window;
  }
  // Shown on its own, the window is the active one: its first activation runs.
  std::unique_ptr<chdVLTMain> ShownWindow(const QString& tag = QStringLiteral("T1")) {
    auto window = NewWindow(tag);
    window->show();
    QCoreApplication::processEvents();
    return window;
  }

  // A point (page twips, whole pixels) on staff 1 at about x where the score reads pitch.
  static QPoint PitchPoint(notecraft::Score& score, int x, int pitch) {
    for (int px = x / kTpp; px < x / kTpp + 200; ++px)
      for (int py = 0; py < score.PageHeightTwips() / kTpp / 2; ++py)
        if (score.GetNoteValueByHit(px * kTpp, py * kTpp) == pitch) return {px, py};
    return {-1, -1};
  }

  static void Drag(QWidget* widget, QPoint from, QPoint to) {
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    const QPoint mid = (from + to) / 2;
    for (const QPoint& at : {mid, to}) {
      QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &move);
    }
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
  }

  static std::shared_ptr<notecraft::Voice> FirstVoice(chdVLTMain& window) {
    return window.Score().Staff(1)->Voice(1);
  }

  AppContext Context;
  FakeFrame Frame;
};

TEST_F(ScoreWindowTest, ClickingWithTheNoteToolEntersANote) {
  auto window = ShownWindow();
  EXPECT_TRUE(Frame.Calls.contains(QStringLiteral("ShowPlay")));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score"));
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Point"));
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(8);
  const QPoint at = PitchPoint(window->Score(), 3000, 71);
  ASSERT_GE(at.x(), 0) << "no B on the first staff";
  Frame.Calls.clear();
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);

  ASSERT_EQ(FirstVoice(*window)->Notes().Count(), 1);
  const auto note = FirstVoice(*window)->Notes().ByIndex(1);
  EXPECT_EQ(note->Duration(), 8);
  EXPECT_EQ(note->Value(0), 71);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score *"));
  EXPECT_TRUE(window->mnuEditUndo->isEnabled());
  EXPECT_TRUE(Frame.Undo);
  EXPECT_TRUE(window->Panel(QStringLiteral("Staff"))->text().startsWith(QLatin1Char('1')));
  EXPECT_EQ(window->Panel(QStringLiteral("Measure"))->text(), QStringLiteral("M:1"));
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Note"));
  // Sounded while placed, silenced on release.
  const QStringList plays = Frame.CallsStartingWith(QStringLiteral("PlayNote"));
  ASSERT_EQ(plays.size(), 2);
  EXPECT_TRUE(plays[0].startsWith(QStringLiteral("PlayNote 71 0")));
  EXPECT_EQ(plays[1], QStringLiteral("PlayNote 71 1 0 0"));

  window->EditUndo();
  EXPECT_EQ(FirstVoice(*window)->Notes().Count(), 0);
  EXPECT_FALSE(window->mnuEditUndo->isEnabled());
}

TEST_F(ScoreWindowTest, ANewScoreShowsItsFourMeasuresAndTakesANoteInTheSecond) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  // The measures the page shows, over its systems.
  const auto measuresShown = [&] {
    int measures = 0;
    for (const auto& band : score.Bands(notecraft::Internal{}))
      measures += band->First() ? band->Measures() : 0;
    return measures;
  };
  EXPECT_EQ(measuresShown(), 4);
  window->findChild<QAction*>(QStringLiteral("mnuScoreRefresh"))->trigger();

  EXPECT_EQ(measuresShown(), 4);
  // A quarter note clicked at the start of the second measure lands there.
  const auto band = score.Bands(notecraft::Internal{}).front();
  const int second = band->Left() + band->Measure(0)->Low() + band->MeasurePad(1);
  const QPoint at = PitchPoint(score, second, 71);
  ASSERT_GE(at.x(), 0);
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(16);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  const auto note = FirstVoice(*window)->Notes().Lookup(64);
  ASSERT_TRUE(note);
  EXPECT_EQ(note->NoteTime(), 64);
  EXPECT_EQ(measuresShown(), 4);
}

TEST_F(ScoreWindowTest, ANoteEnteredPastTheLastMeasureShownIsDrawnAtOnce) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  // Whole notes in as many measures as the first system holds: the page ends with them.
  notecraft::Notes& notes = FirstVoice(*window)->Notes();
  const auto firstBand = [&] {
    score.RestartPagination(1);
    score.PaintWindow();
    std::shared_ptr<notecraft::Region> found;
    for (int y = 0; y < score.PageHeightTwips() && !found; y += kTpp) found = score.InRegion(3000, y);
    return found;
  };
  int measures = 0;
  for (; measures < 40; ++measures) {
    notes.Add(measures * 64, 67, 64, 0);
    const auto held = firstBand();
    ASSERT_TRUE(held);
    if (held->Measures() <= measures) {  // this one went on to a second system
      notes.Remove(measures * 64);
      break;
    }
  }
  auto band = firstBand();
  ASSERT_TRUE(band);
  ASSERT_GT(measures, 1);
  ASSERT_EQ(band->Measures(), measures);

  // A quarter note clicked into the last, full measure starts the next one, in a system
  // the page did not have.
  int left = band->Left();
  for (int m = 0; m + 1 < measures; ++m) left += band->Measure(m)->Low();
  const QPoint at = PitchPoint(score, left + band->Measure(measures - 1)->Low() / 2, 71);
  ASSERT_GE(at.x(), 0);
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(16);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  const auto note = FirstVoice(*window)->Notes().Lookup(measures * 64);
  ASSERT_TRUE(note);
  ASSERT_EQ(note->NoteTime(), measures * 64);
  EXPECT_GT(note->X(), 0) << "drawn without a refresh";
  EXPECT_GT(note->Y(), band->Bottom());
  // The page now has the system that holds it.
  std::shared_ptr<notecraft::Region> next;
  for (int y = band->Bottom() + 1; y < band->Bottom() + 6000 && !next; y += kTpp)
    next = score.InRegion(note->X(), y);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->Measure(0)->High(), measures * 64);
}

TEST_F(ScoreWindowTest, APreviewStopsWhenThePageLosesTheFocus) {
  auto window = ShownWindow();
  window->SetTool(QStringLiteral("Note"));
  const QPoint at = PitchPoint(window->Score(), 3000, 71);
  window->pctScore->setFocus();
  Frame.Calls.clear();
  QTest::mousePress(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_EQ(Frame.CallsStartingWith(QStringLiteral("PlayNote")).size(), 1);
  // Focus moves away before the release comes (a window opened on top, say).
  QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(window->pctScore, &focusOut);
  EXPECT_EQ(Frame.CallsStartingWith(QStringLiteral("PlayNote")).last(),
            QStringLiteral("PlayNote 71 1 0 0"));
  QTest::mouseRelease(window->pctScore, Qt::LeftButton, {}, at);
  EXPECT_EQ(Frame.CallsStartingWith(QStringLiteral("PlayNote")).size(), 2) << "stopped once";
}

// A whole note entered over a later half note removes it; Ctrl+Z brings the half note back
// as it was and takes the whole note away.
TEST_F(ScoreWindowTest, CtrlZAfterAnEntryBringsBackTheNoteItRemoved) {
  auto window = ShownWindow();
  notecraft::Score& score = window->Score();
  notecraft::Notes& notes = FirstVoice(*window)->Notes();
  notes.Add(96, 67, notecraft::durHalf, notecraft::nteStacato);  // G4 on beat 3 of measure 2
  notes.Add(192, 60, notecraft::durWhole, 0);
  score.RestartPagination(1);
  score.PaintWindow();
  std::shared_ptr<notecraft::Region> band;
  for (int y = 0; y < score.PageHeightTwips() && !band; y += kTpp) band = score.InRegion(3000, y);
  ASSERT_TRUE(band);
  ASSERT_GE(band->Measures(), 2);

  // Near the start of measure 2, at C5.
  const int x = band->Left() + band->Measure(0)->Low() + band->MeasurePad(1) + 2 * kTpp;
  const QPoint at = PitchPoint(score, x, 72);
  ASSERT_GE(at.x(), 0);
  ASSERT_LT(at.x() * kTpp, notes.Lookup(96)->X() - 2 * band->IncY()) << "clear of the G4";
  window->SetTool(QStringLiteral("Note"));
  window->SetSubTool(1);  // whole notes
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, at);
  ASSERT_TRUE(notes.Lookup(64));
  ASSERT_EQ(notes.Lookup(64)->NoteTime(), 64);
  EXPECT_EQ(notes.Lookup(64)->Value(0), 72);
  EXPECT_NE(notes.Lookup(96)->NoteTime(), 96) << "the G4 is gone";

  window->pctScore->setFocus();
  QTest::keyClick(window->pctScore, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(notes.Count(), 2);
  const auto g4 = notes.ByIndex(1);
  EXPECT_EQ(g4->NoteTime(), 96);
  EXPECT_EQ(g4->ValueCount(), 1);
  EXPECT_EQ(g4->Value(0), 67);
  EXPECT_EQ(g4->Duration(), notecraft::durHalf);
  EXPECT_EQ(g4->Flags(), notecraft::nteStacato);
  EXPECT_EQ(notes.ByIndex(2)->NoteTime(), 192);
  EXPECT_FALSE(window->mnuEditUndo->isEnabled());
  EXPECT_GT(g4->X(), 0) << "drawn again";
}

TEST_F(ScoreWindowTest, RubberBandSelectsTheNotesInside) {
  auto window = ShownWindow();
  window->SetTool(QStringLiteral("Note"));
  QPoint first = PitchPoint(window->Score(), 3000, 71);
  ASSERT_GE(first.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, first);
  // The page may be laid out anew after a note: the second point is found on it.
  QPoint second = PitchPoint(window->Score(), 4500, 72);
  ASSERT_GE(second.x(), 0);
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, second);
  const notecraft::Notes& notes = FirstVoice(*window)->Notes();
  ASSERT_EQ(notes.Count(), 2);
  // The band is dragged around the notes where they are drawn.
  first.setX(notes.ByIndex(1)->X() / kTpp);
  second.setX(notes.ByIndex(2)->X() / kTpp);

  window->SetTool(QStringLiteral("Point"));
  EXPECT_FALSE(Frame.CutCopy);
  Drag(window->pctScore, QPoint(std::min(first.x(), second.x()), std::min(first.y(), second.y())) - QPoint(40, 40),
       QPoint(std::max(first.x(), second.x()), std::max(first.y(), second.y())) + QPoint(40, 40));
  EXPECT_EQ(window->Panel(QStringLiteral("Msg"))->text(), QStringLiteral("2 items selected."));
  EXPECT_TRUE(window->pctScore->Band().has_value());
  EXPECT_TRUE(Frame.CutCopy);
  EXPECT_TRUE(window->mnuEditCopy->isEnabled());
  EXPECT_EQ(window->NoteMenu(), NoteMenuState::BandSelected);

  // Around nothing: the count says so and the band stays until the next press.
  Drag(window->pctScore, QPoint(5, 5), QPoint(30, 20));
  EXPECT_EQ(window->Panel(QStringLiteral("Msg"))->text(), QStringLiteral("No items selected."));
  EXPECT_TRUE(window->pctScore->Band().has_value());
  QTest::mousePress(window->pctScore, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(window->pctScore->Band().has_value());
  QTest::mouseRelease(window->pctScore, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(FirstVoice(*window)->Notes().Count(), 2) << "the pointer places nothing";
}

TEST_F(ScoreWindowTest, OpensASavedScore) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Tune.sco"));
  {
    auto writer = ShownWindow();
    writer->SetTool(QStringLiteral("Note"));
    QTest::mouseClick(writer->pctScore, Qt::LeftButton, {},
                      PitchPoint(writer->Score(), 3000, 69));
    ASSERT_TRUE(writer->Score().SaveFile(path.toStdString()));
  }
  auto window = NewWindow();
  ASSERT_TRUE(window->OpenFile(path));
  window->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Tune"));
  EXPECT_FALSE(window->Untitled());
  ASSERT_EQ(FirstVoice(*window)->Notes().Count(), 1) << "not replaced by a default score";
  EXPECT_EQ(FirstVoice(*window)->Notes().ByIndex(1)->Value(0), 69);
  EXPECT_EQ(Context.History.Path(1), path);
  EXPECT_EQ(window->txtPage->text(), QStringLiteral("1"));
}

TEST_F(ScoreWindowTest, AFileThatFailsToOpenLeavesTheBarsAsTheyWere) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Broken.sco"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Vm00 this is not a score at all, only its first four bytes are");
  file.close();
  auto window = ShownWindow();
  window->ActiveVoice(2);
  const QString staff = window->Panel(QStringLiteral("Staff"))->text();
  const QString voice = window->Panel(QStringLiteral("Voice"))->text();
  // The progress display runs, as it does once a reader has started.
  window->BeforeOpenSave(64);
  Frame.Calls.clear();
  EXPECT_FALSE(window->OpenFile(path));
  EXPECT_EQ(window->Panel(QStringLiteral("Staff"))->text(), staff);
  EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->text(), voice);
  EXPECT_TRUE(window->mnuVoice[1]->isChecked());
  EXPECT_EQ(Frame.Calls.last(), QStringLiteral("TerminateStatus"));
  EXPECT_TRUE(Context.History.Path(1).isEmpty());
}

// --- Closing ---

class CloseTest : public ScoreWindowTest {
protected:
  // A window whose score has a change.
  std::unique_ptr<chdVLTMain> ChangedWindow(const QString& tag) {
    auto window = ShownWindow(tag);
    window->Score().SetTitle("Changed");
    EXPECT_TRUE(window->Score().Changed());
    window->Prompts.AskSaveChanges = [this](const QString& title, const QString& text) {
      Asked << title + QStringLiteral(": ") + text;
      return Answer;
    };
    window->MenuCommands()->Saving().SetSaveAsPrompt(
        [this](const SaveAsOffer&) -> std::optional<SaveAsChoice> {
          if (SaveAsPath.isEmpty()) return std::nullopt;
          return SaveAsChoice{SaveAsPath, 1};
        });
    return window;
  }

  QStringList Asked;
  int Answer = QMessageBox::No;
  QString SaveAsPath;
};

TEST_F(CloseTest, AnswersToTheSavePrompt) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    int answer;
    QString saveAs;
    bool closes;
  };
  const Case cases[] = {
      {"No", QMessageBox::No, {}, true},
      {"Cancel", QMessageBox::Cancel, {}, false},
      {"Yes, saved", QMessageBox::Yes, dir.filePath(QStringLiteral("Saved.sco")), true},
      {"Yes, Save As cancelled", QMessageBox::Yes, {}, false},
      {"Yes, save failed", QMessageBox::Yes, dir.filePath(QStringLiteral("none/Saved.sco")),
       false},
  };
  for (const Case& c : cases) {
    Asked.clear();
    Frame.Calls.clear();
    Answer = c.answer;
    SaveAsPath = c.saveAs;
    auto window = ChangedWindow(QStringLiteral("T9"));
    EXPECT_EQ(window->close(), c.closes) << c.name;
    EXPECT_EQ(Asked, QStringList{QStringLiteral("Exit: Save changes to New Score?")}) << c.name;
    EXPECT_EQ(Frame.Calls.contains(QStringLiteral("UnRegister T9")), c.closes) << c.name;
    // Kept windows keep their changes; a window closed on its own sets nothing for others.
    if (!c.closes) {
      EXPECT_TRUE(window->Score().Changed()) << c.name;
    }
    EXPECT_FALSE(Context.State.CloseCancelled) << c.name;
    if (!c.saveAs.isEmpty() && c.closes) {
      EXPECT_TRUE(QFile::exists(c.saveAs));
    }
    window->Prompts.AskSaveChanges = [](const QString&, const QString&) {
      return int(QMessageBox::No);
    };
    window->close();
  }
}

TEST_F(CloseTest, UnchangedWindowClosesWithoutAsking) {
  auto window = ShownWindow(QStringLiteral("T2"));
  window->Prompts.AskSaveChanges = [this](const QString&, const QString& text) {
    Asked << text;
    return int(QMessageBox::Cancel);
  };
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(Asked.isEmpty());
  EXPECT_TRUE(Frame.Calls.contains(QStringLiteral("UnRegister T2")));
}

TEST_F(CloseTest, CancelWhileClosingAllKeepsTheLaterWindowsWithoutAsking) {
  auto first = ChangedWindow(QStringLiteral("A"));
  auto second = ChangedWindow(QStringLiteral("B"));
  Answer = QMessageBox::Cancel;
  Context.State.ClosingAll = true;
  EXPECT_FALSE(first->close());
  EXPECT_TRUE(Context.State.CloseCancelled);
  EXPECT_FALSE(second->close());
  EXPECT_EQ(Asked.size(), 1);
  Context.State.ClosingAll = false;
  // Closed on its own afterwards, a window asks again.
  Answer = QMessageBox::No;
  EXPECT_TRUE(second->close());
  EXPECT_EQ(Asked.size(), 2);
  EXPECT_FALSE(Context.State.CloseCancelled);
  EXPECT_TRUE(first->close());
}

// --- The score's events ---

TEST_F(ScoreWindowTest, CaptionFollowsTheChangedState) {
  auto window = ShownWindow();
  auto cancel = new QAction(window.get());
  window->tbrCancel = cancel;
  window->ChangeNotify(true);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score *"));
  EXPECT_TRUE(cancel->isEnabled());
  window->ChangeNotify(false);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("New Score"));
  EXPECT_FALSE(cancel->isEnabled());
}

TEST_F(ScoreWindowTest, ActiveStaffVoiceAndMeasurePanels) {
  auto window = ShownWindow();
  const auto staff = window->Score().Staff(1);
  staff->SetDescription("  Piano  ");
  window->ActiveStaff(staff);
  EXPECT_EQ(window->Panel(QStringLiteral("Staff"))->text(), QStringLiteral("1: Piano"));
  staff->SetDescription("");
  window->ActiveStaff(staff);
  EXPECT_EQ(window->Panel(QStringLiteral("Staff"))->text(), QStringLiteral("1"));
  const int program = window->Editor().PreviewProgram();
  // A staff without a voice keeps the preview's sound, and nothing fails.
  window->ActiveStaff(std::make_shared<notecraft::Staff>());
  EXPECT_EQ(window->Editor().PreviewProgram(), program);
  EXPECT_EQ(window->Panel(QStringLiteral("Staff"))->text(), QStringLiteral("0"));

  window->ActiveVoice(2);
  EXPECT_EQ(window->Panel(QStringLiteral("Voice"))->text(), QStringLiteral("2"));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window->mnuVoice[i]->isChecked(), i == 1) << i;
  window->ActiveMeasure(3);
  EXPECT_EQ(window->Panel(QStringLiteral("Measure"))->text(), QStringLiteral("M:3"));
  EXPECT_EQ(window->CurMeasure(), 3);
  EXPECT_EQ(window->MeasureLength(), 64);
}

TEST_F(ScoreWindowTest, HandleMarksKeepOneRowPerPlace) {
  auto window = ShownWindow();
  window->WindowCleared();
  window->MarkHandle(1, 3000);
  window->MarkHandle(2, 3000);
  window->MarkHandle(1, 4500);
  ASSERT_EQ(window->HandleMarks().size(), 2u);
  EXPECT_EQ(window->HandleMarks()[0].Type, 2);
  EXPECT_EQ(window->pctScore->HandleMarks().size(), 3u) << "every mark is drawn";
  window->WindowCleared();
  EXPECT_TRUE(window->HandleMarks().empty());
  EXPECT_EQ(window->Panel(QStringLiteral("Msg"))->text(), QStringLiteral(" "));
}

TEST_F(ScoreWindowTest, NoProgressCallsWhileTheStatusBarIsHidden) {
  auto window = ShownWindow();
  Frame.StatusShown = false;
  Frame.Calls.clear();
  window->BeforeOpenSave(1000);
  window->ProgressReport(500);
  window->AfterOpenSave();
  EXPECT_EQ(Frame.Calls, QStringList{QStringLiteral("InitStatus 1000 Opening:")});
  Frame.StatusShown = true;
  Frame.Calls.clear();
  window->BeforeOpenSave(1000);
  window->ProgressReport(500);
  window->AfterOpenSave();
  EXPECT_EQ(Frame.Calls, (QStringList{QStringLiteral("InitStatus 1000 Opening:"),
                                      QStringLiteral("UpdateStatus 500"),
                                      QStringLiteral("UpdateStatus 1000")}));
}

TEST_F(ScoreWindowTest, ReloadDefaultsRepaintsInTheNewColours) {
  auto window = ShownWindow();
  window->SetTool(QStringLiteral("Note"));
  QTest::mouseClick(window->pctScore, Qt::LeftButton, {}, PitchPoint(window->Score(), 3000, 71));
  const QRgb red = qRgb(200, 0, 0);
  auto countRed = [&] {
    const QImage page = window->pctScore->PageImage()->convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) count += page.pixel(x, y) == red;
    return count;
  };
  EXPECT_EQ(countRed(), 0);
  Context.State.Options.Color[2] = PackRgb(200, 0, 0);  // notes
  window->ReloadDefaults();
  EXPECT_GT(countRed(), 20);
}

TEST_F(ScoreWindowTest, PageScrollsInsideTheViewportWithItsShadow) {
  auto window = NewWindow();
  window->resize(500, 400);
  window->show();
  QCoreApplication::processEvents();
  ASSERT_FALSE(window->vscMain->isHidden());
  ASSERT_FALSE(window->hscMain->isHidden());
  EXPECT_EQ(window->pctScore->pos(), QPoint(4, 4));  // 60 twips in at value 0
  EXPECT_EQ(window->shpScore->geometry(), window->pctScore->geometry().translated(4, 4));
  window->vscMain->setValue(10);
  EXPECT_EQ(window->pctScore->y(), 4 - 10);
  EXPECT_EQ(window->shpScore->y(), window->pctScore->y() + 4);
  // Bringing the page's foot into view scrolls to the end.
  window->SetScrollBars(0, window->Score().PageHeightTwips() - 300, 100, 200);
  EXPECT_EQ(window->vscMain->value(), window->vscMain->maximum());
  EXPECT_EQ(window->pctScore->y() + window->pctScore->height() + 180 / kTpp - 4,
            window->pctBase->height());

  // A landscape page: the page, its shadow and the bars follow.
  const int tallMax = window->vscMain->maximum();
  window->Score().SetPageOrientation(notecraft::pgeLandscape);
  EXPECT_EQ(window->pctScore->width(), window->Score().PageWidthTwips() / kTpp);
  EXPECT_GT(window->pctScore->width(), window->pctScore->height());
  EXPECT_EQ(window->shpScore->size(), window->pctScore->size());
  EXPECT_LT(window->vscMain->maximum(), tallMax);
}

// --- The tool pane and the page box ---

TEST_F(ScoreWindowTest, RightClickOpensStripsOnlyForToolsWithSubTools) {
  auto window = ShownWindow();
  auto* strip = window->findChild<SubToolStrip*>();
  ASSERT_NE(strip, nullptr);
  for (const char* key : {"Point", "Chord", "Text", "Dot", "Stac", "Triplet"}) {
    auto* button = window->findChild<QToolButton*>(QString::fromLatin1(key));
    ASSERT_NE(button, nullptr) << key;
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_FALSE(strip->isVisible()) << key;
  }
  for (const char* key : {"Group", "Clef", "Measure", "Bar", "Note", "Dyn", "Orn", "Snap"}) {
    QTest::mouseClick(window->findChild<QToolButton*>(QString::fromLatin1(key)), Qt::RightButton);
    EXPECT_TRUE(strip->isVisible()) << key;
    QTest::keyClick(strip, Qt::Key_Escape);
    EXPECT_FALSE(strip->isVisible()) << key;
  }
  // Nothing changed by the strips left with Esc.
  EXPECT_EQ(window->Palette().ToolGroup(), tglPoint);
  EXPECT_EQ(window->Palette().ToolImage(tglClef), QStringLiteral("C01"));
}

TEST_F(ScoreWindowTest, StripPicksThePressedCell) {
  auto window = ShownWindow();
  auto* strip = window->findChild<SubToolStrip*>();
  QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("Clef")), Qt::RightButton);
  ASSERT_TRUE(strip->isVisible());
  EXPECT_EQ(window->Palette().ToolGroup(), tglPoint) << "the strip alone changes no tool";
  QTest::mousePress(strip, Qt::LeftButton, {}, strip->CellCentre(2));
  QMouseEvent move(QEvent::MouseMove, strip->CellCentre(4), strip->mapToGlobal(strip->CellCentre(4)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(strip, &move);
  QTest::mouseRelease(strip, Qt::LeftButton, {}, strip->CellCentre(4));
  EXPECT_FALSE(strip->isVisible());
  EXPECT_EQ(window->Palette().ToolGroup(), tglClef);
  EXPECT_EQ(window->Palette().SubTool(), 2);
  EXPECT_EQ(window->Palette().ToolImage(tglClef), QStringLiteral("C02"));
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Clef"));

  QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("Snap")), Qt::RightButton);
  QTest::mouseClick(strip, Qt::LeftButton, {}, strip->CellCentre(3));  // N08
  EXPECT_EQ(window->Palette().OptionImage(QStringLiteral("Snap")), QStringLiteral("N08"));
  EXPECT_TRUE(window->findChild<QToolButton*>(QStringLiteral("Snap"))->isChecked());
  // A note-value key names the note tool, then picks its value.
  window->NameTool(QStringLiteral("Note"));
  window->SetSubTool(2);
  EXPECT_EQ(window->Palette().ToolGroup(), tglNote);
  EXPECT_EQ(window->Palette().NoteDuration(), 32);
  EXPECT_EQ(window->Panel(QStringLiteral("Status"))->text(), QStringLiteral("Note"));
}

TEST_F(ScoreWindowTest, SplitterKeepsThePaneWideEnough) {
  auto window = ShownWindow();
  QTest::mousePress(window->pctSizeVert, Qt::LeftButton, {}, QPoint(1, 10));
  QMouseEvent move(QEvent::MouseMove, QPoint(-500, 10), QPoint(0, 0), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window->pctSizeVert, &move);
  QTest::mouseRelease(window->pctSizeVert, Qt::LeftButton, {}, QPoint(-500, 10));
  EXPECT_EQ(window->pctToolBox->width(), 1320 / kTpp);
  EXPECT_EQ(window->pctMain->x(), window->pctToolBox->width());

  // Wider, the pane puts more tools in a row.
  auto* point = window->findChild<QToolButton*>(QStringLiteral("Point"));
  auto* note = window->findChild<QToolButton*>(QStringLiteral("Note"));
  EXPECT_GT(note->y(), point->y());
  QTest::mousePress(window->pctSizeVert, Qt::LeftButton, {}, QPoint(1, 10));
  QMouseEvent wider(QEvent::MouseMove, QPoint(250, 10), QPoint(0, 0), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window->pctSizeVert, &wider);
  QTest::mouseRelease(window->pctSizeVert, Qt::LeftButton, {}, QPoint(250, 10));
  QCoreApplication::processEvents();
  EXPECT_GT(window->pctToolBox->width(), 300);
  EXPECT_EQ(note->y(), point->y());
}

TEST_F(ScoreWindowTest, PageBoxGoesNoFurtherThanTheLastPage) {
  auto window = ShownWindow();
  window->txtPage->setFocus();
  window->txtPage->setText(QStringLiteral("7"));
  QTest::keyClick(window->txtPage, Qt::Key_Return);
  EXPECT_EQ(window->txtPage->text(), QString::number(window->Score().LastPage()));
  window->txtPage->setText(QStringLiteral("4"));
  QTest::keyClick(window->txtPage, Qt::Key_Escape);
  EXPECT_EQ(window->txtPage->text(), QString::number(window->Score().CurPage()));
  QTest::keyClick(window->txtPage, Qt::Key_A);
  EXPECT_FALSE(window->txtPage->text().contains(QLatin1Char('a')));
}

}  // namespace
}  // namespace veltrimond::testing
