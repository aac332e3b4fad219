// Undo of a note entered by a click: the voice comes back exactly as it was, with the later
// note the entry removed and the earlier note it cut short, their lyrics, ties and selection;
// and a click on a drawn note's head (not only on its beat) adds to that note's chord.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/core/globalevent.h"

namespace notecraft {
namespace {

using namespace testing;

struct Placed {
  int Time, Pitch, Duration, Flags;
};

class EntryUndo : public EditFixture {
public:
  // Every note of staff 1's voice 1: time, pitches, duration and flags.
  std::string VoiceText() {
    std::string text;
    for (const auto& n : VoiceOf(1)->Notes()) {
      text += std::to_string(n->NoteTime()) + ':';
      for (const int p : n->Values()) text += std::to_string(p) + ',';
      text += '/' + std::to_string(n->Duration()) + '/' + std::to_string(n->Flags()) + ' ';
    }
    return text;
  }
  std::string StaffEventsText() {
    std::string text;
    for (const auto& e : First().GlobalEvents())
      text += std::to_string(e->EventTime()) + ' ' + std::to_string(e->EventType()) + ' ' +
              std::to_string(e->Value1()) + ' ' + std::to_string(e->Value2()) + ' ' + e->Text() +
              ';';
    return text;
  }
  std::vector<int> SelectedTimes() {
    std::vector<int> times;
    for (const auto& item : score.SelectedNotes()) times.push_back(item.Item->NoteTime());
    return times;
  }
  // The band of staff 1 that shows time, and its measure index there.
  std::pair<const Region*, int> BandFor(int time) {
    for (const auto& band : Bands()) {
      if (band->Staff() != 1) continue;
      for (int i = 0; i < band->Measures(); ++i)
        if (band->Measure(i)->High() <= time && time < band->Measure(i)->High() + 64)
          return {band.get(), i};
    }
    return {nullptr, 0};
  }
};

TEST_F(EntryUndo, UndoPutsTheVoiceBackAsItWasBeforeTheEntry) {
  // The click: at the drawn head of the note at HeadOf plus Dx twips, or (HeadOf < 0) at
  // Offset of the measure starting at Measure; at Pitch, entering Duration.
  struct Click {
    int HeadOf, Dx, Measure, Offset, Pitch, Duration;
  };
  // What the entry did: where the new pitch stands, which notes went, which was cut short
  // to what (-1: none).
  struct Done {
    int EnteredAt;
    std::vector<int> Gone;
    int TrimmedAt, TrimmedTo;
  };
  struct Case {
    const char* what;
    std::vector<Placed> notes;  // staff 1, voice 1
    Click click;
    Done done;
  };
  const Case cases[] = {
      {"a later note removed (a whole C5 over a half G4)",
       {{96, 67, durHalf, 0}, {192, 60, durWhole, 0}},
       {-1, 0, 64, 0, 72, durWhole},
       {64, {96}, -1, 0}},
      {"the note before cut short (a whole note over the bar line)",
       {{96, 67, durWhole, nteStacato}, {192, 60, durWhole, 0}},
       {96, 500, 0, 0, 72, durQuarter},
       {128, {}, 96, durHalf}},
      {"both: cut short before, removed after",
       // (the later note first: a note added after it would have been cut short)
       {{144, 65, durQuarter, nteDot}, {96, 67, durWhole, 0}, {192, 60, durWhole, 0}},
       {96, 500, 0, 0, 72, durHalf},
       {128, {144}, 96, durHalf}},
      {"a pitch on a quarter's head joins its chord",
       {{64, 67, durQuarter, 0}, {80, 69, durQuarter, nteAccent}, {96, 71, durHalf, 0}},
       {80, 60, 0, 0, 76, durQuarter},
       {80, {}, -1, 0}},
      {"a click right of a whole note's beat joins it, not the next measure",
       {{64, 67, durWhole, 0}, {128, 69, durHalf, 0}, {160, 71, durHalf, 0}},
       {64, 120, 0, 0, 72, durWhole},
       {64, {}, -1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VoiceOf(1)->ResetNotes(Internal{});
    First().GlobalEvents().Clear();
    for (const Placed& p : c.notes) VoiceOf(1)->Notes().Add(p.Time, p.Pitch, p.Duration, p.Flags);
    // Attached to the notes: a lyric on each and a tie from the earliest to the next.
    for (const Placed& p : c.notes) First().GlobalEvents().Add(p.Time, evtLyric, 0, 0, "la\rlo");
    const std::vector<int> times = Times(1);
    First().GlobalEvents().Add(times[0], evtTie, 0, static_cast<std::uint8_t>(times[1]), "1");
    Paint();
    // Everything from measure 2 on is selected.
    const auto [band2, m2] = BandFor(64);
    ASSERT_TRUE(band2);
    score.SetSelection(XAt(*band2, m2, 0) - 60, band2->Top(), band2->Right(), band2->Bottom());
    const std::vector<int> selected = SelectedTimes();
    ASSERT_FALSE(selected.empty());
    const std::string before = VoiceText();
    const std::string events = StaffEventsText();
    const int undoBefore = score.UndoCount();

    int x = 0;
    const Region* band = nullptr;
    const Click& k = c.click;
    if (k.HeadOf >= 0) {
      band = BandFor(k.HeadOf).first;
      x = NoteAt(1, k.HeadOf)->X() + k.Dx;
    } else {
      const auto [b, i] = BandFor(k.Measure);
      band = b;
      x = XAt(*b, i, k.Offset);
    }
    ASSERT_TRUE(band);
    int y = band->Top();
    while (y < band->Bottom() && score.GetNoteValueByHit(x, y) != k.Pitch) ++y;
    ASSERT_EQ(score.GetNoteValueByHit(x, y), k.Pitch);
    score.AddNoteByHit(x, y, k.Duration, 0);

    const Done& d = c.done;
    ASSERT_TRUE(NoteAt(1, d.EnteredAt)) << VoiceText();
    EXPECT_THAT(NoteAt(1, d.EnteredAt)->Values(), ::testing::Contains(k.Pitch)) << VoiceText();
    for (const int gone : d.Gone) EXPECT_FALSE(NoteAt(1, gone)) << VoiceText();
    if (d.TrimmedAt >= 0) {
      EXPECT_EQ(NoteAt(1, d.TrimmedAt)->Duration(), d.TrimmedTo) << VoiceText();
    }
    EXPECT_EQ(score.UndoCount(), undoBefore + 1) << "one record an entry";

    score.Undo();
    EXPECT_EQ(VoiceText(), before);
    EXPECT_EQ(StaffEventsText(), events);
    EXPECT_EQ(SelectedTimes(), selected);
    EXPECT_EQ(score.UndoCount(), undoBefore);
  }
}

TEST_F(EntryUndo, AnUndoneEntryIsForgottenByTheArrowKeysAndAGrownScoreShrinksBack) {
  // A half note given to a quarter that already sounds its pitch: undo gives back the
  // quarter, which the arrow keys must not move as if it were the entry.
  VoiceOf(1)->Notes().Add(80, 69, durQuarter, 0);
  VoiceOf(1)->Notes().Add(96, 71, durHalf, 0);
  Paint();
  const auto [band, i] = BandFor(80);
  ASSERT_TRUE(band);
  const int x = NoteAt(1, 80)->X() + 30;
  int y = band->Top();
  while (y < band->Bottom() && score.GetNoteValueByHit(x, y) != 69) ++y;
  score.AddNoteByHit(x, y, durHalf, 0);
  ASSERT_EQ(NoteAt(1, 80)->Duration(), durHalf);
  score.Undo();
  EXPECT_EQ(NoteAt(1, 80)->Duration(), durQuarter);
  EXPECT_FALSE(score.ChangeLast(1, false));
  EXPECT_EQ(NoteAt(1, 80)->Value(0), 69);

  // A note after the last measure grows the score by a measure; its undo takes it back.
  const int endBefore = score.EndTime();
  const auto [last, k] = BandFor(endBefore - 1);
  ASSERT_TRUE(last);
  int right = last->Left();
  for (int m = 0; m <= k; ++m) right += last->Measure(m)->Low();
  score.AddNoteByHit(right, YAt(*last, 4), durHalf, 0);
  ASSERT_TRUE(NoteAt(1, endBefore));
  EXPECT_GT(score.EndTime(), endBefore);
  score.Undo();
  EXPECT_FALSE(NoteAt(1, endBefore));
  EXPECT_EQ(score.EndTime(), endBefore);
}

TEST_F(EntryUndo, AnEntryWhoseNoteWasDeletedSinceStillBringsBackWhatItRemoved) {
  VoiceOf(1)->Notes().Add(96, 67, durHalf, 0);
  Paint();
  const auto [band, i] = BandFor(64);
  ASSERT_TRUE(band);
  score.AddNoteByHit(XAt(*band, i, 0), YAt(*band, 4), durWhole, 0);
  ASSERT_FALSE(NoteAt(1, 96));
  VoiceOf(1)->Notes().Remove(64);  // deleted by other means, not recorded
  score.Undo();
  ASSERT_TRUE(NoteAt(1, 96));
  EXPECT_EQ(NoteAt(1, 96)->Value(0), 67);
  EXPECT_EQ(NoteAt(1, 96)->Duration(), durHalf);
  EXPECT_FALSE(NoteAt(1, 64));
}

}  // namespace
}  // namespace notecraft
