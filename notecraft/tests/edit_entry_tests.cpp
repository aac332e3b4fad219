// Note entry by position: a table of clicks on a painted page (band, measure, time, pitch
// in each clef and key, with snapping on and off), overlap with the notes around, drum
// staves and voices, the events raised, undo, and the choice between a relayout and a
// repaint of the system.
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/instrument.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class NoteEntry : public EditFixture {
public:
  // Two staves (treble and bass) with four measures of quarters on staff 1's voice 1.
  void TwoStaves() {
    AddStaff("Bass").SetDefaultClef(clfBass);
    Refill();
    Paint();
  }
  // Notes from measure 5 on only: the first four measures are empty.
  void Refill() {
    for (int staff = 1; staff <= score.Staffs(); ++staff) {
      VoiceOf(staff)->ResetNotes(Internal{});
      FillQuarters(*score.Staff(staff), 4, staff == 1 ? 79 : 43, 256);
    }
  }
  // Clicks at offset (64ths) of measure i of band b, steps half spaces below its top line.
  void Click(int b, int i, int offset, int steps, int duration = durEighth, int flags = 0,
             int snap = 0) {
    const Region& band = Band(b);
    score.AddNoteByHit(XAt(band, i, offset), YAt(band, steps), duration, flags, snap);
  }
};

TEST_F(NoteEntry, TableOfClicks) {
  struct Case {
    const char* what;
    int clef, key, band, measure, offset, steps, snap;
    int staff, time, pitch;
  };
  const Case cases[] = {
      {"treble top line", clfTreble, 0, 1, 0, 8, 0, 0, 1, 8, 77},
      {"treble bottom line", clfTreble, 0, 1, 1, 24, 8, 0, 1, 88, 64},
      {"treble, snapped", clfTreble, 0, 1, 1, 28, 8, 16, 1, 80, 64},
      {"treble, first space in G", clfTreble, 1, 1, 2, 40, 7, 0, 1, 168, 66},
      {"treble, middle line in F", clfTreble, -1, 1, 3, 56, 4, 0, 1, 248, 70},
      {"bass top line", clfBass, 0, 2, 0, 8, 0, 0, 2, 8, 57},
      {"bass, middle C", clfBass, 0, 2, 0, 8, -2, 8, 2, 8, 60},
      {"bass bottom line in E flat", clfBass, -3, 2, 2, 8, 8, 0, 2, 136, 43},
      {"bass, A sharp in B major", clfBass, 5, 2, 1, 4, 7, 16, 2, 64, 46},
      {"alto middle line", clfAlto, 0, 1, 0, 40, 4, 0, 1, 40, 60},
      {"tenor top line in D", clfTenor, 2, 1, 0, 40, 0, 0, 1, 40, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    score.SetRedraw(false);
    score.SetKey(c.key);
    First().SetDefaultClef(c.clef == clfBass ? clfTreble : c.clef);
    score.SetRedraw(true);
    if (score.Staffs() == 1) TwoStaves();
    Refill();
    Paint();
    const int before = score.UndoCount();
    log.Log.clear();
    Click(c.band, c.measure, c.offset, c.steps, durEighth, 0, c.snap);
    const auto note = NoteAt(c.staff, c.time);
    ASSERT_TRUE(note);
    EXPECT_TRUE(std::find(note->Values().begin(), note->Values().end(), c.pitch) !=
                note->Values().end())
        << "pitch " << int(note->Value(0));
    EXPECT_EQ(score.SelectedMeasure(), c.measure + 1);
    EXPECT_EQ(Editing().Last.Time, c.time);
    EXPECT_EQ(Editing().Last.Value, c.pitch);
    EXPECT_EQ(Editing().Last.Staff, c.staff);
    EXPECT_EQ(score.UndoCount(), std::min(before + 1, 10));
    ASSERT_FALSE(log.Log.empty());
    EXPECT_EQ(log.Log.front(), "staff " + std::to_string(c.staff));
  }
}

TEST_F(NoteEntry, RaisesItsEventsInOrderAndUndoes) {
  // Music to the end of measure 4: the note does not grow the score, so no page is painted
  // again (whose first measure would be announced after these).
  VoiceOf(1)->Notes().Add(192, 67, durWhole, 0);
  Paint();
  score.SetChanged(false);
  log.Log.clear();
  Click(1, 1, 16, 8, durQuarter);
  EXPECT_EQ(log.Log, (std::vector<std::string>{"staff 1", "measure 2", "history 1", "changed 1"}));
  ASSERT_TRUE(NoteAt(1, 80));
  EXPECT_EQ(NoteAt(1, 80)->Value(0), 64);
  EXPECT_TRUE(score.PlaybackStale(Internal{}));

  // A second pitch joins the chord; undo takes back only that pitch, then the note.
  Paint();
  Click(1, 1, 16, 4, durQuarter);
  ASSERT_EQ(NoteAt(1, 80)->ValueCount(), 2);
  score.Undo();
  ASSERT_TRUE(NoteAt(1, 80));
  EXPECT_EQ(NoteAt(1, 80)->ValueCount(), 1);
  score.Undo();
  EXPECT_FALSE(NoteAt(1, 80));
  EXPECT_FALSE(score.CanUndo());
}

TEST_F(NoteEntry, KeepsClearOfTheNotesAround) {
  struct Case {
    const char* what;
    int beforeTime, beforeDuration, beforeFlags;  // a note already there (-1: none)
    int laterTime;                                // a later note (-1: none)
    int offset, duration, flags, snap;
    int time;
    bool laterStays;
  };
  const Case cases[] = {
      {"in the pad: the measure's start", -1, 0, 0, -1, -8, durQuarter, 0, 0, 64, true},
      {"after a dotted quarter", 64, durQuarter, nteDot, -1, 16, durEighth, 0, 0, 88, true},
      // (a half, clicked right of its head inside its written length: a click on a quarter's
      // head would join its chord, and the quarter's triplet length ends under its head)
      {"after a triplet half", 64, durHalf, nteTriplet, -1, 12, durEighth, 0, 0, 85, true},
      {"a later note inside goes", -1, 0, 0, 80, 0, durHalf, 0, 0, 64, false},
      {"a later note after the end stays", -1, 0, 0, 96, 0, durHalf, 0, 0, 64, true},
      {"a dotted half reaches further", -1, 0, 0, 96, 0, durHalf, nteDot, 0, 64, false},
      {"the right edge: the measure's end", -1, 0, 0, -1, 64, durEighth, 0, 0, 128, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VoiceOf(1)->ResetNotes(Internal{});
    if (c.beforeTime >= 0)
      VoiceOf(1)->Notes().Add(c.beforeTime, 67, c.beforeDuration, c.beforeFlags);
    if (c.laterTime >= 0) VoiceOf(1)->Notes().Add(c.laterTime, 69, durQuarter, 0);
    Paint();
    const Region& band = Band(1);
    int x = XAt(band, 1, std::max(c.offset, 0));
    if (c.offset < 0) x = band.Left() + band.Measure(0)->Low() + 10;  // inside the pad
    if (c.offset == 64) x = band.Left() + band.Measure(0)->Low() + band.Measure(1)->Low();
    score.AddNoteByHit(x, YAt(band, 6), c.duration, c.flags, c.snap);
    EXPECT_TRUE(NoteAt(1, c.time)) << ::testing::PrintToString(Times(1));
    if (c.laterTime >= 0) {
      EXPECT_EQ(NoteAt(1, c.laterTime) != nullptr, c.laterStays);
    }
  }
}

TEST_F(NoteEntry, AnEnteredNoteEndsAtTheNextNoteAsTheSavedScoreReopens) {
  // A long value clicked before notes that stay: the page draws the note up to the next
  // one, a saved and reopened score holds it so, and so must the score (what it plays and
  // exports) right after the entry. A later note goes only when it is the one note the new
  // note covers; with others between, it would go for nothing.
  struct Case {
    const char* what;
    int duration, flags;
    std::vector<int> quarters;  // measure 2, staff 1
    int lasts;                  // the entered note's duration; it stands at 64
    std::vector<int> times;     // the voice's notes after the entry
  };
  const Case cases[] = {
      {"a whole note on a quarter's beat", durWhole, 0, {64, 80, 96, 112}, 16, {64, 80, 96, 112}},
      {"a whole note before two quarters", durWhole, 0, {96, 112}, 32, {64, 96, 112}},
      {"a half note over the next quarter", durHalf, 0, {64, 80, 96, 112}, 32, {64, 96, 112}},
      {"a dotted half up to the next note", durHalf, nteDot, {112}, 32, {64, 112}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VoiceOf(1)->ResetNotes(Internal{});
    for (const int t : c.quarters) VoiceOf(1)->Notes().Add(t, 67, durQuarter, 0);
    Paint();
    score.AddNoteByHit(XAt(Band(1), 1, 0), YAt(Band(1), 2), c.duration, c.flags);
    const auto entered = NoteAt(1, 64);
    ASSERT_TRUE(entered) << ::testing::PrintToString(Times(1));
    EXPECT_EQ(entered->Duration(), c.lasts);
    EXPECT_EQ(Times(1), c.times);

    auto held = [](const Notes& notes) {
      std::vector<std::string> text;
      for (const auto& n : notes)
        text.push_back(std::to_string(n->NoteTime()) + "/" + std::to_string(n->Duration()) + "/" +
                       std::to_string(n->Flags()) + "/" + std::to_string(n->ValueCount()));
      return text;
    };
    TempDir dir;
    ASSERT_TRUE(score.SaveFile(dir.File("entry.sco")));
    Score reopened;
    ASSERT_TRUE(reopened.OpenFile(dir.File("entry.sco")));
    EXPECT_EQ(held(reopened.Staff(1)->Voice(1)->Notes()), held(VoiceOf(1)->Notes()));
  }
}

TEST_F(NoteEntry, SnapsWithinTheMeasureClicked) {
  // A measure of 5/8 first: the second measure starts at 40, not on a multiple of 16.
  score.AllGlobals().Remove(0, evtTimeChange);
  score.AllGlobals().Add(0, evtTimeChange, 5, 8);
  score.AllGlobals().Add(40, evtTimeChange, 0, 0);
  Paint();
  score.AddNoteByHit(XAt(Band(1), 1, 10), YAt(Band(1), 6), durEighth, 0, 16);
  // The score grew into measure 2: the page was laid out again, so its bands are new.
  score.AddNoteByHit(XAt(Band(1), 1, 20), YAt(Band(1), 6), durEighth, 0, 16);
  EXPECT_EQ(Times(1), (std::vector<int>{40, 56}));
}

TEST_F(NoteEntry, DrumStavesTakeTheChosenDrumAndVoicesAreLoweredToTheStaff) {
  AddVoice(First());
  score.SetVoice(3);
  Paint();
  Click(1, 0, 16, 4);
  EXPECT_TRUE(NoteAt(1, 16, 2));
  EXPECT_EQ(Editing().Last.Voice, 2);

  const auto drums = VoiceOf(1)->Instrument();
  ASSERT_TRUE(drums);
  drums->SetCategory(Internal{}, catDrums);
  drums->SetDrumValue(3, 42);
  score.SetDrumIX(3);
  score.SetVoice(1);
  Paint();
  Click(1, 1, 0, 0);
  ASSERT_TRUE(NoteAt(1, 64));
  EXPECT_EQ(NoteAt(1, 64)->Value(0), 42);
}

TEST_F(NoteEntry, MissesAndStavesWithoutVoicesChangeNothing) {
  Paint();
  score.SetChanged(false);
  log.Log.clear();
  const Region& band = Band(1);
  score.AddNoteByHit(band.Right() + 100, band.Top() + 100, durQuarter, 0);  // off the staff
  score.AddNoteByHit(band.Left() - 50, band.Top() + 100, durQuarter, 0);    // the name column
  First().Clear();  // the staff keeps no voices
  score.AddNoteByHit(XAt(band, 0, 0), YAt(band, 4), durQuarter, 0);
  EXPECT_TRUE(log.Log.empty()) << ::testing::PrintToString(log.Log);
  EXPECT_FALSE(score.Changed());
  EXPECT_FALSE(score.CanUndo());

  EXPECT_FALSE(score.AddNote(0, 0, 60, durQuarter, 0));
  EXPECT_FALSE(score.AddNote(2, 0, 60, durQuarter, 0));
  EXPECT_FALSE(score.AddNote(1, 0, 128, durQuarter, 0));
  EXPECT_TRUE(score.AddNote(1, 0, 60, durQuarter, 0));
  EXPECT_TRUE(score.Changed());
}

TEST_F(NoteEntry, AChordPitchRepaintsTheSystemANewPositionLaysOutAgain) {
  AddStaff();
  AddStaff();
  FillQuarters(First(), 8);
  VoiceOf(2)->Notes().Add(40, 50, durEighth, 0);  // five positions in the first measure
  Paint();
  ASSERT_GE(Bands().size(), 6u);  // two systems of three staves
  // Another pitch at a time that holds a note: the same note positions.
  surface.ClearRecord();
  const Region& middle = Band(2);
  const int x = XAt(middle, 0, 24);  // clear of the rests drawn at 0 and 32
  const int before = score.AllStaffs().ItemCount(0, 64);
  // (an E under the G: the chord reaches no further than the G did)
  score.AddNoteByHit(XAt(Band(1), 0, 0), YAt(Band(1), 8), durQuarter, 0);
  EXPECT_EQ(score.AllStaffs().ItemCount(0, 64), before);
  EXPECT_EQ(NoteAt(1, 0)->ValueCount(), 2);
  EXPECT_TRUE(surface.Ops(SurfaceOp::Kind::Clear).empty());
  const auto boxes = surface.Ops(SurfaceOp::Kind::Box);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front().Points[0].Y, PixelSnap(Band(1).Top()));
  // Another eighth between two quarters makes six positions: the page is laid out again.
  surface.ClearRecord();
  score.AddNoteByHit(x, YAt(middle, 3), durEighth, 0);
  EXPECT_TRUE(NoteAt(2, 24));
  EXPECT_FALSE(surface.Ops(SurfaceOp::Kind::Clear).empty());
}

}  // namespace
}  // namespace notecraft
