// Deleting one note (which staff and voice, what is repainted) and removing score-wide and
// staff events of one kind, at one time or at every time.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/score_structure.h"

namespace notecraft {
namespace {

using namespace testing;

class Deleting : public EditFixture {
public:
  // Staff 1: quarters in two measures, a second voice of half notes; staff 2: quarters.
  void SetUp() override {
    AddStaff();
    FillQuarters(First(), 2, 67);
    AddVoice(First());
    VoiceOf(1, 2)->Notes().Add(0, 60, durHalf, 0);
    VoiceOf(1, 2)->Notes().Add(32, 62, durHalf, 0);
    FillQuarters(*score.Staff(2), 2, 55);
    Paint();
    PaginateAll();
    First().SetSelected(true);
    score.SetVoice(1);
    score.SetChanged(false);
  }
  int Count(const GlobalEvents& list, int type) {
    int n = 0;
    for (const auto& e : list) n += e->EventType() == type;
    return n;
  }
};

TEST_F(Deleting, DelNoteFindsItsStaffAndVoice) {
  struct Case {
    std::optional<int> voice, staff;
    int staffHit, voiceHit;  // the voice that lost its note at 32; 0: none
  };
  const std::vector<Case> cases = {
      {std::nullopt, std::nullopt, 1, 1},  // the selected staff, the active voice
      {2, std::nullopt, 1, 2},
      {std::nullopt, 2, 2, 1},
      {1, 9, 1, 1},  // no staff 9: the selected staff
      {7, 2, 2, 1},  // no voice 7: the active voice
      {2, 2, 0, 0},  // staff 2 has one voice: nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.staffHit) + "/" + std::to_string(c.voiceHit));
    for (int s = 1; s <= 2; ++s) {
      VoiceOf(s)->Notes().Add(32, 67, durQuarter, 0);
    }
    VoiceOf(1, 2)->Notes().Add(32, 62, durHalf, 0);
    score.SetChanged(false);
    score.DelNote(32, c.voice, c.staff);
    for (int s = 1; s <= 2; ++s)
      for (int v = 1; v <= score.Staff(s)->Voices(); ++v)
        EXPECT_EQ(NoteAt(s, 32, v) == nullptr, s == c.staffHit && v == c.voiceHit) << s << v;
    EXPECT_EQ(score.Changed(), c.staffHit != 0);
  }
  // Without a selected staff nothing happens.
  First().SetSelected(false);
  score.SetChanged(false);
  score.DelNote(48);
  EXPECT_TRUE(NoteAt(1, 48));
  EXPECT_FALSE(score.Changed());
}

TEST_F(Deleting, DelNoteRepaintsTheBandOrLaysOutAgain) {
  // A note found by a hit remembers its band; staff 2 keeps a note at 16, so the measure
  // keeps its note positions: only that band's system is drawn again.
  int time = 0, duration = 0;
  const auto note = NoteAt(1, 16);
  ASSERT_TRUE(score.OnNote(note->X() + 10, Band(1).Top() + 200, time, duration));
  ASSERT_EQ(time, 16);
  surface.ClearRecord();
  score.DelNote(16);
  EXPECT_FALSE(NoteAt(1, 16));
  EXPECT_TRUE(surface.Ops(SurfaceOp::Kind::Clear).empty());
  EXPECT_FALSE(surface.Ops(SurfaceOp::Kind::Box).empty());
  EXPECT_TRUE(score.Changed());

  // A note of the second voice (whose gaps show no rests) at a time nothing else is drawn
  // at: one place fewer, the page laid out again.
  VoiceOf(1, 2)->Notes().Add(8, 64, durEighth, 0);
  VoiceOf(1, 2)->Notes().Add(40, 64, durEighth, 0);  // six places in the measure
  Paint();
  surface.ClearRecord();
  score.DelNote(8, 2);
  EXPECT_FALSE(NoteAt(1, 8, 2));
  EXPECT_FALSE(surface.Ops(SurfaceOp::Kind::Clear).empty());

  // A note of the first voice leaves a rest in its place: the measure keeps its places.
  VoiceOf(1)->Notes().Add(8, 67, durEighth, 0);
  Paint();
  surface.ClearRecord();
  score.DelNote(8);
  EXPECT_FALSE(NoteAt(1, 8));
  EXPECT_TRUE(surface.Ops(SurfaceOp::Kind::Clear).empty());

  // Nothing there: still marked changed.
  score.SetChanged(false);
  score.DelNote(9);
  EXPECT_TRUE(score.Changed());
}

TEST_F(Deleting, RemoveGlobalEventAtOneTimeOrEveryTime) {
  GlobalEvents& globals = score.AllGlobals();
  for (int t : {0, 64, 5000}) globals.Add(t, evtTempo, 100);  // 5000: past the last note
  globals.Add(64, evtRepeatBegin);
  globals.Add(96, evtPlayBack, 1);
  globals.Add(200, evtPlayBack, 2);

  score.RemoveGlobalEvent(64, evtTempo);
  EXPECT_EQ(Count(globals, evtTempo), 2);
  EXPECT_TRUE(score.Changed());
  score.SetChanged(false);
  score.RemoveGlobalEvent(65, evtTempo);  // none exactly there
  EXPECT_EQ(Count(globals, evtTempo), 2);
  EXPECT_FALSE(score.Changed());

  score.RemoveGlobalEvent(-1, evtTempo);
  EXPECT_EQ(Count(globals, evtTempo), 0);
  // Play-back marks go; the repeat they would also match stays (and nothing loops).
  score.RemoveGlobalEvent(-1, evtPlayBack);
  EXPECT_EQ(Count(globals, evtPlayBack), 0);
  EXPECT_EQ(Count(globals, evtRepeatBegin), 1);

  globals.Add(128, evtTimeChange, 3, 16);
  score.RemoveGlobalEvent(-1, evtTimeChange);
  EXPECT_EQ(globals.TimeItemCount(), 0);
}

TEST_F(Deleting, StaffKindsGoFromTheSelectedStaff) {
  for (const auto& s : score.AllStaffs()) {
    s->GlobalEvents().Add(64, evtKeyChange, 2);
    s->GlobalEvents().Add(64, evtClefChange, clfBass);
    s->GlobalEvents().Add(0, evtLyric, 0, 0, "la");
    s->GlobalEvents().Add(16, evtLyric, 0, 0, "lo");
    s->SetVerses(Internal{}, 1);
  }
  score.AllGlobals().Add(64, evtKeyChange, 3);
  First().SetSelected(false);
  score.RemoveGlobalEvent(-1, evtLyric);
  EXPECT_FALSE(score.Changed());

  score.Staff(2)->SetSelected(true);
  score.RemoveGlobalEvent(64, evtKeyChange);
  score.RemoveGlobalEvent(64, evtClefChange);
  EXPECT_EQ(Count(score.Staff(2)->GlobalEvents(), evtKeyChange), 0);
  EXPECT_EQ(Count(score.Staff(2)->GlobalEvents(), evtClefChange), 0);
  EXPECT_EQ(Count(First().GlobalEvents(), evtKeyChange), 1);
  EXPECT_EQ(Count(score.AllGlobals(), evtKeyChange) >= 1, true);

  // One lyric left keeps the verse; removing the last shows none.
  score.RemoveGlobalEvent(0, evtLyric);
  EXPECT_EQ(score.Staff(2)->Verses(), 1);
  score.RemoveGlobalEvent(-1, evtLyric);
  EXPECT_EQ(score.Staff(2)->Verses(), 0);
  EXPECT_EQ(First().Verses(), 1);
  EXPECT_EQ(Count(First().GlobalEvents(), evtLyric), 2);
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

using namespace testing;

class StructuralEdits : public Deleting {};

TEST_F(StructuralEdits, ForgetTheSelectionAndTheLastEntry) {
  const std::vector<std::function<void()>> edits = {
      [&] { notecraft::DelMeasure(score, 1); },
      [&] { notecraft::AddMeasure(score, 1); },
      [&] { notecraft::DelStaff(score, 2); },
      [&] { notecraft::AddStaff(score); },
  };
  for (std::size_t i = 0; i < edits.size(); ++i) {
    SCOPED_TRACE(i);
    Paint();
    const Region& band = Band(1);
    score.AddNoteByHit(XAt(band, 1, 8), YAt(band, 6), durEighth, 0);
    ASSERT_NE(Editing().Last.Value, 0);
    ASSERT_GT(score.SetSelection(band.Left(), band.Top(), band.Right(), band.Bottom()), 0);
    log.Log.clear();
    edits[i]();
    EXPECT_EQ(score.SelCount(), 0);
    EXPECT_EQ(Editing().Last.Value, 0);
    EXPECT_FALSE(score.ChangeLast(1));
    EXPECT_FALSE(score.CanUndo());
    EXPECT_EQ(std::count(log.Log.begin(), log.Log.end(), "cleared"), 1);
  }
}

}  // namespace
}  // namespace notecraft
