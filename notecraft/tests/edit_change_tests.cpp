// Changing notes: the note entered last moved by pitch or position, and one change to
// every selected note (delete, tie, stems and properties, durations with re-timing,
// pitches, ornaments), with the notes' times checked afterwards.
#include <string>
#include <vector>

#include "edit_fixtures.h"

namespace notecraft {
namespace {

using namespace testing;

class ChangingNotes : public EditFixture {
public:
  // Staff 1 voice 1: four quarters in each of two measures; staff 2 alike; staff 1 has a
  // second voice of half notes.
  void SetUp() override {
    AddStaff();
    FillQuarters(First(), 2, 67);
    FillQuarters(*score.Staff(2), 2, 55);
    AddVoice(First());
    VoiceOf(1, 2)->Notes().Add(0, 60, durHalf, 0);
    VoiceOf(1, 2)->Notes().Add(32, 62, durHalf, 0);
    Paint();
  }
  // Selects the notes of the active voice of the band's staff from..to (by time).
  int Select(int band, int from, int to) {
    const Region& b = Band(band);
    const int staff = b.Staff();
    return score.SetSelection(NoteAt(staff, from, score.Voice())->X() - 5, b.Top() + 5,
                              NoteAt(staff, to, score.Voice())->X() + 5 + b.IncY(), b.Bottom() - 5);
  }
  // Enters a quarter at offset of measure 1, steps below the top line of band 1.
  void Enter(int offset, int steps, int flags = 0) {
    score.AddNoteByHit(XAt(Band(1), 0, offset), YAt(Band(1), steps), durQuarter, flags);
  }
};

TEST_F(ChangingNotes, ChangeLastMovesThePitchOfTheEntry) {
  Enter(16, 8);  // E above middle C joins the chord at 16
  ASSERT_EQ(Editing().Last.Value, 64);
  EXPECT_TRUE(score.ChangeLast(1));
  EXPECT_TRUE(score.ChangeLast(1));
  EXPECT_EQ(Editing().Last.Value, 66);
  const auto note = NoteAt(1, 16);
  EXPECT_EQ(std::vector<int>(note->Values().begin(), note->Values().end()),
            (std::vector<int>{66, 67}));
  score.SetChanged(false);
  EXPECT_TRUE(score.ChangeLast(-1));
  EXPECT_FALSE(score.Changed());  // not an edit of record
  EXPECT_FALSE(score.CanUndo() && score.UndoCount() > 1);

  // Gone: false, and false from then on.
  VoiceOf(1)->Notes().Remove(16);
  EXPECT_FALSE(score.ChangeLast(1));
  VoiceOf(1)->Notes().Add(16, 65, durQuarter, 0);
  EXPECT_FALSE(score.ChangeLast(1));
}

TEST_F(ChangingNotes, ChangeLastMovesThePositionBetweenItsNeighbours) {
  VoiceOf(1)->ResetNotes(Internal{});
  VoiceOf(1)->Notes().Add(0, 67, durQuarter, nteDot);  // ends at 24
  VoiceOf(1)->Notes().Add(48, 67, durQuarter, 0);
  Paint();
  Enter(24, 6);
  ASSERT_EQ(Editing().Last.Time, 24);
  EXPECT_TRUE(score.ChangeLast(1, true));
  EXPECT_EQ(Times(1), (std::vector<int>{0, 28, 48}));
  EXPECT_TRUE(score.ChangeLast(1, true));
  EXPECT_EQ(Times(1), (std::vector<int>{0, 32, 48}));
  EXPECT_TRUE(score.ChangeLast(1, true));  // would run past 48: stays
  EXPECT_EQ(Times(1), (std::vector<int>{0, 32, 48}));
  EXPECT_TRUE(score.ChangeLast(-3, true));  // not before the dotted quarter's end
  EXPECT_EQ(Times(1), (std::vector<int>{0, 24, 48}));
  EXPECT_EQ(Editing().Last.Time, 24);
  EXPECT_EQ(NoteAt(1, 24)->Value(0), 67);
}

TEST_F(ChangingNotes, DeleteRemovesTheSelectedNotesOnce) {
  ASSERT_EQ(Select(1, 16, 48), 3);
  log.Log.clear();
  EXPECT_EQ(score.ChangeSel(0, 0, 0, 0, true), 3);
  EXPECT_EQ(Times(1), (std::vector<int>{0, 64, 80, 96, 112}));
  EXPECT_EQ(score.SelCount(), 0);
  EXPECT_EQ(std::count(log.Log.begin(), log.Log.end(), "cleared"), 1);
  EXPECT_EQ(score.ChangeSel(0, 0, 0, 0, true), 0);  // an empty selection
  score.SetChanged(false);
  EXPECT_EQ(score.ChangeSel(0, 60), 0);
  EXPECT_FALSE(score.Changed());
}

TEST_F(ChangingNotes, AStaleSelectionNeverTouchesNotesThatTookItsPlace) {
  ASSERT_EQ(Select(1, 16, 32), 2);
  VoiceOf(1)->Notes().Remove(16);  // by another route
  VoiceOf(1)->Notes().Add(16, 72, durQuarter, 0);
  EXPECT_EQ(score.ChangeSel(0, 0, 0, 0, true), 1);
  ASSERT_TRUE(NoteAt(1, 16));
  EXPECT_EQ(NoteAt(1, 16)->Value(0), 72);
  EXPECT_FALSE(NoteAt(1, 32));
}

TEST_F(ChangingNotes, TieJoinsTheFirstStaffsNotesOnly) {
  const int count =
      score.SetSelection(Band(1).Left(), Band(1).Top() + 5, Band(1).Right(), Band(2).Bottom() - 5);
  ASSERT_EQ(count, 16);
  EXPECT_EQ(score.ChangeSel(0, 0, 0, 0, false, true), 1);
  const auto tie = First().GlobalEvents().Find(0, evtTie, true);
  ASSERT_TRUE(tie);
  EXPECT_EQ(tie->Value1() * 256 + tie->Value2(), 112);
  EXPECT_EQ(tie->Text(), "1");
  EXPECT_FALSE(score.Staff(2)->GlobalEvents().Find(0, evtTie, true));
  ASSERT_EQ(Select(1, 16, 16), 1);
  EXPECT_EQ(score.ChangeSel(0, 0, 0, 0, false, true), 0);  // one note: nothing to tie
}

TEST_F(ChangingNotes, PropertiesDurationsAndRetiming) {
  struct Case {
    const char* what;
    int flagsBefore, newDur, stemDir;
    int flagsAfter;
    std::vector<int> times;  // staff 1 voice 1 afterwards
  };
  const std::vector<Case> cases = {
      {"clear a dotted note: re-timed",
       nteDot | nteAccent,
       0,
       stmClearProp,
       0,
       {0, 16, 32, 48, 64, 80, 96, 112}},
      {"clear a plain note: nothing moves",
       nteAccent,
       0,
       stmClearProp,
       0,
       {0, 16, 32, 48, 64, 80, 96, 112}},
      // The last pushed note stops short of the next measure's first note.
      {"a quarter becomes a half", 0, durHalf, 0, 0, {0, 32, 48, 63, 64, 80, 96, 112}},
      {"dotted", 0, 0, stmPropDot, nteDot, {0, 24, 40, 56, 64, 80, 96, 112}},
      {"triplet, then nothing to move",
       0,
       0,
       stmPropTrip,
       nteTriplet,
       {0, 16, 32, 48, 64, 80, 96, 112}},
      {"stem up", nteForceDown, 0, stmForceUp, nteForceUp, {0, 16, 32, 48, 64, 80, 96, 112}},
      {"stem down", nteForceUp, 0, stmForceDown, nteForceDown, {0, 16, 32, 48, 64, 80, 96, 112}},
      {"reversed: counted, unchanged",
       nteForceUp,
       0,
       stmReverse,
       nteForceUp,
       {0, 16, 32, 48, 64, 80, 96, 112}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VoiceOf(1)->ResetNotes(Internal{});
    FillQuarters(First(), 2, 67);
    NoteAt(1, 0)->SetFlags(Internal{}, c.flagsBefore);
    Paint();
    ASSERT_EQ(Select(1, 0, 0), 1);
    EXPECT_EQ(score.ChangeSel(c.newDur, 0, c.stemDir), 1);
    EXPECT_EQ(Times(1), c.times);
    EXPECT_EQ(NoteAt(1, 0)->Flags(), c.flagsAfter);
    EXPECT_EQ(Times(1, 2), (std::vector<int>{0, 32}));  // the other voice keeps its times
  }
  // With the next measure empty the later notes move by 16 each.
  VoiceOf(1)->ResetNotes(Internal{});
  FillQuarters(First(), 1, 67);
  Paint();
  ASSERT_EQ(Select(1, 0, 0), 1);
  EXPECT_EQ(score.ChangeSel(durHalf), 1);
  EXPECT_EQ(Times(1), (std::vector<int>{0, 32, 48, 64}));
  // A duration that does not fit a byte is refused.
  ASSERT_EQ(Select(1, 0, 0), 1);
  EXPECT_EQ(score.ChangeSel(300), 1);
  EXPECT_EQ(NoteAt(1, 0)->Duration(), durHalf);
}

TEST_F(ChangingNotes, NewPitchesTranspositionsRestsAndOrnaments) {
  NoteAt(1, 16)->AddValue(71);
  NoteAt(1, 32)->AddValue(120);
  ASSERT_EQ(Select(1, 16, 32), 2);
  auto pitches = [&](int time) {
    const auto n = NoteAt(1, time);
    return std::vector<int>(n->Values().begin(), n->Values().end());
  };
  EXPECT_EQ(score.ChangeSel(0, 258), 2);  // up two semitones
  EXPECT_EQ(pitches(16), (std::vector<int>{69, 73}));
  EXPECT_EQ(pitches(32), (std::vector<int>{69, 122}));
  score.ChangeSel(0, 256 + 8);  // 130 would leave the range: that chord stays
  EXPECT_EQ(pitches(16), (std::vector<int>{77, 81}));
  EXPECT_EQ(pitches(32), (std::vector<int>{69, 122}));
  score.ChangeSel(0, -12);
  EXPECT_EQ(pitches(16), (std::vector<int>{65, 69}));
  EXPECT_EQ(pitches(32), (std::vector<int>{57, 110}));
  score.ChangeSel(0, 62);
  EXPECT_EQ(pitches(16), (std::vector<int>{62}));
  score.ChangeSel(0, 128);  // a rest
  EXPECT_EQ(pitches(16), (std::vector<int>{0}));
  score.ChangeSel(0, 200);  // not a pitch: nothing changes
  EXPECT_EQ(pitches(32), (std::vector<int>{0}));

  NoteAt(1, 16)->SetFlags(Internal{}, nteBowDown);
  score.ChangeSel(0, 0, 0, ornBowUp);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteBowUp);
  score.ChangeSel(0, 0, 0, ornBowUp);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), 0);
  score.ChangeSel(0, 0, 0, ornAccent | ornStacato | ornTrill | ornFermata | ornTurn);
  EXPECT_EQ(NoteAt(1, 16)->Flags(), nteAccent | nteStacato | nteTrill | nteFermata);
}

}  // namespace
}  // namespace notecraft
