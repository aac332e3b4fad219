// The bulk edits of Notes give what the same edits one note at a time give.
#include <gtest/gtest.h>

#include <vector>

#include "notecraft/core/collectionedit.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"

namespace notecraft {
namespace {

struct Shape {
  int time, duration, flags;
  std::vector<int> pitches;
  bool operator==(const Shape&) const = default;
};

std::vector<Shape> ShapeOf(const Notes& notes) {
  std::vector<Shape> out;
  for (const auto& n : notes)
    out.push_back({n->NoteTime(), n->Duration(), n->Flags(), {n->Values().begin(), n->Values().end()}});
  return out;
}

void Fill(Notes& notes) {
  notes.Add(0, 60, durHalf, 0);
  notes.Add(32, 62, durQuarter, nteDot);
  notes.Add(48, 64, durQuarter, 0);
  notes.Add(64, 65, durWhole, 0);
  notes.Add(128, 67, durHalf, 0);
}

TEST(NotesBulk, AddSortedMatchesAddOneByOne) {
  // Entries before, between, onto and after the notes there, with chords, a trimmed
  // predecessor and an entry that adds nothing.
  const std::vector<Notes::Entry> entries = {
      {8, durQuarter, 0, {72, 76}},       // cuts the half note at 0
      {32, durEighth, nteAccent, {55}},   // onto a note: chord, new duration and flags
      {40, durEighth, 0, {128}},          // no MIDI pitch: nothing
      {100, durHalf, 0, {0}},             // a rest, cut by the note at 128
      {200, durQuarter, nteStacato, {48, 50}},
  };
  Notes bulk, single;
  Fill(bulk);
  Fill(single);
  bulk.AddSorted(entries);
  for (const auto& e : entries) {
    auto note = single.Add(e.Time, e.Values.front(), e.Duration, e.Flags);
    if (!note) continue;
    for (std::size_t i = 1; i < e.Values.size(); ++i) note->AddValue(e.Values[i]);
  }
  EXPECT_EQ(ShapeOf(bulk), ShapeOf(single));
  EXPECT_EQ(bulk.Item(32)->NoteTime(), 32);  // searches still work after the merge
}

TEST(NotesBulk, RemoveSpanKeepsLaterTimes) {
  Notes notes;
  Fill(notes);
  notes.RemoveSpan(32, 64);
  std::vector<int> times;
  for (const auto& n : notes) times.push_back(n->NoteTime());
  EXPECT_EQ(times, (std::vector<int>{0, 64, 128}));
  notes.RemoveSpan(64, 64);  // empty span
  EXPECT_EQ(notes.Count(), 3);
}

TEST(CollectionsEdited, MarksChangedAndEmptiesTheHistory) {
  Score score;
  score.CreateDefault();
  score.SetChanged(false);
  score.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, {});
  ASSERT_TRUE(score.CanUndo());
  CollectionsEdited(score, false);
  EXPECT_TRUE(score.Changed());
  EXPECT_FALSE(score.CanUndo());
  EXPECT_TRUE(score.PlaybackStale(Internal{}));
}

}  // namespace
}  // namespace notecraft
