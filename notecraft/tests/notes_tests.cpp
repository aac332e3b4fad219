#include "notecraft/core/notes.h"

#include <gtest/gtest.h>

#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"

namespace notecraft {
namespace {

std::vector<int> Times(const Notes& notes) {
  std::vector<int> times;
  for (const auto& n : notes) times.push_back(n->NoteTime());
  return times;
}

std::vector<int> Pitches(const Note& note) {
  return {note.Values().begin(), note.Values().end()};
}

TEST(Notes, AddToEmptyListGivesOneNoteAndTrimsNothing) {
  Notes notes;
  auto n = notes.Add(32, 60, durQuarter, nteDot);
  ASSERT_EQ(notes.Count(), 1);
  EXPECT_EQ(notes.ByIndex(1), n);
  EXPECT_EQ(n->NoteTime(), 32);
  EXPECT_EQ(n->Duration(), 16);
  EXPECT_EQ(n->Flags(), nteDot);
  EXPECT_EQ(Pitches(*n), (std::vector<int>{60}));
}

TEST(Notes, AddAtAnOccupiedTimeGrowsTheChordAndTakesTheNewDurationAndFlags) {
  Notes notes;
  notes.Add(0, 60, durHalf, nteAccent);
  notes.Add(0, 67, durHalf, nteAccent);
  auto n = notes.Add(0, 64, durQuarter, nteStacato);
  EXPECT_EQ(notes.Count(), 1);
  EXPECT_EQ(Pitches(*n), (std::vector<int>{60, 64, 67}));
  EXPECT_EQ(n->Duration(), durQuarter);
  EXPECT_EQ(n->Flags(), nteStacato);
}

TEST(Notes, AddTrimsThePreviousNote) {
  struct Case {
    const char* name;
    int prevDuration, prevFlags, newTime;
    int wantDuration, wantFlags;
  };
  const Case cases[] = {
      {"gap 0 after a quarter", 16, 0, 0, 16, 0},  // same time: chord, no predecessor
      {"gap 1 gives a 64th", 16, nteDot, 1, 1, 0},
      {"gap 3 gives a dotted 32nd", 16, 0, 3, 2, nteDot},
      {"gap 8 gives a plain eighth", 16, nteDot, 8, 8, 0},
      {"gap 12 gives a dotted eighth", 16, 0, 12, 8, nteDot},
      {"at 16 a quarter is untouched", 16, nteAccent, 16, 16, nteAccent},
      {"after the quarter it is untouched", 16, 0, 40, 16, 0},
      {"a triplet quarter lasts 11: untouched at 11", 16, nteTriplet, 11, 16, nteTriplet},
      {"a triplet quarter is cut at 10", 16, nteTriplet, 10, 8, nteTriplet | nteDot},
      {"a dotted triplet's dot does not count either", 16, nteTriplet | nteDot, 11, 16,
       nteTriplet | nteDot},
      {"a triplet is cut but stays a triplet", 16, nteTriplet, 4, 4, nteTriplet},
      {"the dot does not count: dotted quarter at 16", 16, nteDot, 16, 16, nteDot},
      {"clearing the dot drops bits 16 and up", 64, nteDot | 65536 | nteAccent, 32, 32, nteAccent},
      {"a long gap caps at a whole note", 255, 0, 100, 64, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Notes notes;
    auto prev = notes.Add(0, 60, c.prevDuration, c.prevFlags);
    auto added = notes.Add(c.newTime, 62, durQuarter, 0);
    if (c.newTime == 0) {
      EXPECT_EQ(added, prev);
      continue;
    }
    EXPECT_EQ(prev->Duration(), c.wantDuration);
    EXPECT_EQ(prev->Flags(), c.wantFlags);
    EXPECT_EQ(added->Duration(), durQuarter);  // the new note itself is never shortened
  }
}

TEST(Notes, AddBeforeExistingNotesKeepsTimeOrderAndLeavesTheNextNoteAlone) {
  Notes notes;
  auto late = notes.Add(64, 60, durQuarter, 0);
  notes.Add(0, 60, durWhole, 0);
  notes.Add(32, 60, durWhole, 0);  // overlaps the note at 64, which is not examined
  EXPECT_EQ(Times(notes), (std::vector<int>{0, 32, 64}));
  EXPECT_EQ(notes.ByIndex(1)->Duration(), 32);
  EXPECT_EQ(notes.ByIndex(2)->Duration(), 64);
  EXPECT_EQ(late->Duration(), 16);
}

TEST(Notes, AddWithAValueThatIsNoMidiNoteChangesNothing) {
  for (int bad : {128, 200, -1}) {
    Notes notes;
    notes.Add(0, 60, durHalf, 0);
    notes.Add(64, 62, durQuarter, 0);
    EXPECT_EQ(notes.Add(16, bad, durQuarter, 0), nullptr) << bad;   // between two notes
    EXPECT_EQ(notes.Add(64, bad, durWhole, nteDot), nullptr) << bad;  // onto a note
    EXPECT_EQ(Times(notes), (std::vector<int>{0, 64})) << bad;
    EXPECT_EQ(notes.ByIndex(1)->Duration(), durHalf) << bad;  // the note before is not cut
    EXPECT_EQ(notes.ByIndex(2)->Duration(), durQuarter) << bad;
    EXPECT_EQ(notes.ByIndex(2)->Flags(), 0) << bad;
    EXPECT_EQ(Pitches(*notes.ByIndex(2)), (std::vector<int>{62})) << bad;
  }
}

TEST(Notes, DurationIsKeptInOneByteWithoutWrapping) {
  Notes notes;
  EXPECT_EQ(notes.Add(0, 60, 256, 0)->Duration(), 255);
  EXPECT_EQ(notes.Add(512, 60, 0, 0)->Duration(), 1);
}

class NotesLookup : public ::testing::Test {
protected:
  void SetUp() override {
    for (int t : {0, 16, 32, 48}) notes.Add(t, 60, durQuarter, 0);
  }
  Notes notes;
};

TEST_F(NotesLookup, ItemGivesTheFirstNoteAtOrAfterTheTime) {
  EXPECT_EQ(notes.Item(32)->NoteTime(), 32);
  EXPECT_EQ(notes.Item(33)->NoteTime(), 48);
  EXPECT_EQ(notes.Item(-10)->NoteTime(), 0);
  EXPECT_EQ(notes.Item(49), nullptr);  // after the last note
}

TEST_F(NotesLookup, ItemWithLeAndLt) {
  EXPECT_EQ(notes.Item(100, true)->NoteTime(), 48);  // after the last note
  EXPECT_EQ(notes.Item(40, true)->NoteTime(), 32);
  EXPECT_EQ(notes.Item(32, true)->NoteTime(), 32);
  EXPECT_EQ(notes.Item(32, false, true)->NoteTime(), 16);  // LT at an exact time
  EXPECT_EQ(notes.Item(40, false, true)->NoteTime(), 32);
  EXPECT_EQ(notes.Item(0, false, true), nullptr);
  EXPECT_EQ(notes.Item(-5, true), nullptr);
}

TEST_F(NotesLookup, CursorStaysWhereTheSearchLeftIt) {
  // LE steps back to 32, but the cursor stays on the searched position (48).
  EXPECT_EQ(notes.Item(40, true)->NoteTime(), 32);
  EXPECT_EQ(notes.CurIndex(Internal{}), 4);
  EXPECT_EQ(notes.NextItem(), nullptr);  // the cursor is on the last note
  EXPECT_EQ(notes.Item(20, true)->NoteTime(), 16);
  EXPECT_EQ(notes.NextItem()->NoteTime(), 48);  // the note after the searched position
  EXPECT_EQ(notes.PrevItem()->NoteTime(), 32);
  EXPECT_EQ(notes.PrevItem()->NoteTime(), 16);
  EXPECT_EQ(notes.PrevItem()->NoteTime(), 0);
  EXPECT_EQ(notes.PrevItem(), nullptr);
}

TEST(Notes, NewListStepsFromTheStart) {
  Notes notes;
  EXPECT_EQ(notes.CurIndex(Internal{}), 0);
  EXPECT_EQ(notes.NextItem(), nullptr);
  notes.Add(0, 60, 16, 0);
  notes.Reset(Internal{});
  EXPECT_EQ(notes.Count(), 0);
  EXPECT_EQ(notes.CurIndex(Internal{}), 0);
}

TEST_F(NotesLookup, RemoveTakesOnlyAnExactTimeAndHeldNotesStayValid) {
  auto held = notes.Item(16);
  notes.Remove(17);
  EXPECT_EQ(notes.Count(), 4);
  notes.Remove(16);
  EXPECT_EQ(Times(notes), (std::vector<int>{0, 32, 48}));
  EXPECT_EQ(held->NoteTime(), 16);  // a selection may still hold the removed note
  EXPECT_EQ(held->ValueCount(), 1);
}

TEST(Notes, RemoveRange) {
  struct Case {
    const char* name;
    std::vector<int> times;
    int from, to;
    std::vector<int> want;
  };
  const Case cases[] = {
      {"middle span", {0, 16, 32, 48, 64}, 32, 64, {0, 16, 32}},
      {"empty tail", {0, 16, 32, 48}, 32, 64, {0, 16}},
      {"note on the end bound moves", {0, 64, 80}, 0, 64, {0, 16}},
      {"note on the start bound goes", {0, 32, 33}, 32, 33, {0, 32}},
      {"nothing in the span", {0, 100}, 10, 20, {0, 90}},
      {"empty or reversed span changes nothing", {0, 16}, 16, 16, {0, 16}},
      {"reversed", {0, 16}, 16, 0, {0, 16}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Notes notes;
    for (int t : c.times) notes.Add(t, 60, 1, 0);
    notes.RemoveRange(c.from, c.to);
    EXPECT_EQ(Times(notes), c.want);
    for (const auto& n : notes) EXPECT_EQ(n->Duration(), 1);
  }
}

TEST(Note, PitchSet) {
  Notes notes;
  auto n = notes.Add(0, 67, 16, 0);
  EXPECT_EQ(n->AddValue(60), 0);
  EXPECT_EQ(n->AddValue(64), 1);
  EXPECT_EQ(n->AddValue(64), 1);  // present: its index, nothing added
  EXPECT_EQ(n->ValueCount(), 3);
  EXPECT_EQ(n->AddValue(128), -1);  // not a MIDI note
  EXPECT_EQ(n->AddValue(-1), -1);
  EXPECT_EQ(n->ValueCount(), 3);
  EXPECT_FALSE(n->RemoveValue(61));
  EXPECT_TRUE(n->RemoveValue(64));
  EXPECT_EQ(Pitches(*n), (std::vector<int>{60, 67}));
  EXPECT_EQ(n->Value(5), 0);
  EXPECT_EQ(n->Value(-1), 0);
}

TEST(Note, ValueLetMasksAndDoesNotResort) {
  Notes notes;
  auto n = notes.Add(0, 60, 16, 0);
  n->AddValue(64);
  n->SetValue(0, 200);  // 200 AND 127
  EXPECT_EQ(Pitches(*n), (std::vector<int>{72, 64}));
  n->SetValue(2, 50);  // outside the pitch range: ignored
  EXPECT_EQ(n->ValueCount(), 2);
}

TEST(Note, SetSingleValueKeepsTheLowestAndInventsNothing) {
  Notes notes;
  auto n = notes.Add(0, 67, 16, 0);
  n->AddValue(60);
  n->AddValue(64);
  n->SetSingleValue();
  EXPECT_EQ(Pitches(*n), (std::vector<int>{60}));
  n->RemoveValue(60);
  n->SetSingleValue();
  EXPECT_EQ(n->ValueCount(), 0);
}

TEST(Note, StateBitsAndPositionsHoldLargePages) {
  Notes notes;
  auto n = notes.Add(0, 60, 16, 0);
  n->SetUp(true);
  n->SetMultiVoice(true);
  n->SetUp(false);
  EXPECT_FALSE(n->Up());
  EXPECT_TRUE(n->MultiVoice());
  n->SetX(40000);  // a custom page wider than 22.75 inches
  n->SetY(-40000);
  EXPECT_EQ(n->X(), 40000);
  EXPECT_EQ(n->Y(), -40000);
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

TEST(Note, AChordOfEveryPitchStaysSortedBeyondTheInlineRoom) {
  Notes notes;
  auto n = notes.Add(0, 64, 16, 0);
  for (int p = 127; p >= 0; p -= 3) n->AddValue(p);  // descending: every insert at the front
  for (int p = 0; p <= 127; ++p) n->AddValue(p);
  ASSERT_EQ(n->ValueCount(), 128);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(n->Value(i), i);
  EXPECT_TRUE(n->RemoveValue(0));
  EXPECT_EQ(n->Value(0), 1);
  EXPECT_EQ(n->ValueCount(), 127);
}

}  // namespace
}  // namespace notecraft
