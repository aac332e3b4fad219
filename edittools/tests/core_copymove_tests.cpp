// The copy/move tool, note by note on small scores in common time (64 per measure).
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "edittools/core/copymovetool.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

using testing::Chords;
using testing::MakeScore;
using testing::NotesOf;
using testing::Put;
using testing::Read;
using testing::RunToEnd;

// Staff 1 voice 1: one note a measure but two in measure 2 and a rest in measure 3; voice 3
// meets it in measures 2 and 3.
const Chords kVoice1 = {{0, {60}}, {64, {62}}, {80, {64, 67}}, {128, {65}}, {144, {0}}, {192, {67}}};
const Chords kVoice3 = {{64, {72}}, {144, {74}}};

std::shared_ptr<notecraft::Score> Fixture(int staves = 2) {
  auto score = MakeScore(staves, 3);
  Put(*score, 1, 1, kVoice1);
  Put(*score, 1, 3, kVoice3);
  return score;
}

Chords Moved(const Chords& music, int from, int to, int delta) {
  Chords out;
  for (const auto& [time, pitches] : music)
    if (time >= from && time < to) out[time + delta] = pitches;
  return out;
}

Chords Without(Chords music, int from, int to) {
  std::erase_if(music, [&](const auto& e) { return e.first >= from && e.first < to; });
  return music;
}

Chords Join(Chords a, const Chords& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(CopyMoveTool, CopiesAndMovesRangesNoteByNote) {
  // Measures 2..3 span 64..192; measure 10 starts at 576.
  const Chords atTen = Moved(kVoice1, 64, 192, 512);
  struct Row {
    const char* name;
    ToolRange range;
    ToolDest dest;
    bool move;
    int fromVoice;
    Chords voice1, voice3, staff2voice2;
  };
  const Row rows[] = {
      {"copy to measure 10", {false, 1, 2, 3}, {0, 10, 0}, false, 1, Join(kVoice1, atTen), kVoice3, {}},
      {"move to measure 10", {false, 1, 2, 3}, {0, 10, 0}, true, 1,
       Join(Without(kVoice1, 64, 192), atTen), kVoice3, {}},
      {"voices 1 and 3 gathered into voice 1", {false, 1, 2, 3}, {0, 10, 0}, false, 6,
       Join(kVoice1, Chords{{576, {62, 72}}, {592, {64, 67}}, {640, {65}}, {656, {74}}}), kVoice3, {}},
      {"every voice into staff 2 voice 2", {false, 1, 0, 0}, {2, 0, 2}, false, 0, kVoice1, kVoice3,
       Chords{{0, {60}}, {64, {62, 72}}, {80, {64, 67}}, {128, {65}}, {144, {74}}, {192, {67}}}},
      {"from after to does nothing", {false, 1, 3, 2}, {0, 10, 0}, true, 0, kVoice1, kVoice3, {}},
      {"a destination past the last time a file holds does nothing", {false, 1, 2, 3}, {0, 300000, 0},
       true, 1, kVoice1, kVoice3, {}},
      {"a voice the staff lacks does nothing", {false, 1, 0, 0}, {2, 0, 4}, true, 0, kVoice1, kVoice3, {}},
      // Onto itself: the defaults of the dialog with the cursor in measure 1.
      {"move onto itself keeps the notes", {false, 0, 0, 0}, {0, 1, 0}, true, 0,
       Chords{{0, {60}}, {64, {62, 72}}, {80, {64, 67}}, {128, {65}}, {144, {74}}, {192, {67}}}, {}, {}},
      {"copy onto itself changes nothing", {false, 1, 0, 0}, {0, 0, 1}, false, 1, kVoice1, kVoice3, {}},
      // Overlap: measures 2..3 to measure 1 of the same voice, each note carried once.
      {"copy to an earlier overlapping place", {false, 1, 2, 3}, {0, 1, 0}, false, 1,
       Chords{{0, {60, 62}}, {16, {64, 67}}, {64, {62, 65}}, {80, {64, 67}}, {128, {65}}, {144, {0}}, {192, {67}}},
       kVoice3, {}},
      {"move to an earlier overlapping place", {false, 1, 2, 3}, {0, 1, 0}, true, 1,
       Chords{{0, {60, 62}}, {16, {64, 67}}, {64, {65}}, {80, {0}}, {192, {67}}}, kVoice3, {}},
      {"move to a later overlapping place", {false, 1, 2, 3}, {0, 3, 0}, true, 1,
       Chords{{0, {60}}, {128, {62}}, {144, {64, 67}}, {192, {65, 67}}, {208, {0}}}, kVoice3, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto score = Fixture();
    CopyMoveTool tool(score, r.range, r.dest, r.move, r.fromVoice);
    RunToEnd(tool);
    EXPECT_EQ(Read(*score, 1, 1), r.voice1);
    EXPECT_EQ(Read(*score, 1, 3), r.voice3);
    EXPECT_EQ(Read(*score, 2, 2), r.staff2voice2);
    EXPECT_EQ(score->Changed(), tool.Changed());
  }
}

TEST(CopyMoveTool, CarriesDurationAndFlagsAndLeavesLyricsWhereTheyStand) {
  auto score = MakeScore(1, 1);
  Put(*score, 1, 1, {{64, {60}}}, notecraft::durHalf, notecraft::nteAccent | notecraft::nteDot);
  score->Staff(1)->GlobalEvents().Add(64, notecraft::evtLyric, 1, 0, "la");
  CopyMoveTool tool(score, {false, 1, 2, 2}, {0, 4, 0}, true, 0);
  RunToEnd(tool);
  auto note = NotesOf(*score, 1, 1).Item(192);
  ASSERT_TRUE(note);
  EXPECT_EQ(note->NoteTime(), 192);
  EXPECT_EQ(note->Duration(), notecraft::durHalf);
  EXPECT_EQ(note->Flags(), notecraft::nteAccent | notecraft::nteDot);
  EXPECT_EQ(NotesOf(*score, 1, 1).Count(), 1);
  EXPECT_TRUE(score->Staff(1)->GlobalEvents().Item(64, notecraft::evtLyric));
}

// Ties as (time, end, voice text), sorted.
using TieList = std::vector<std::tuple<int, int, std::string>>;
TieList Ties(notecraft::Score& score, int staff) {
  TieList ties;
  for (const auto& e : score.Staff(staff)->GlobalEvents())
    if (e->EventType() == notecraft::evtTie)
      ties.emplace_back(e->EventTime(), e->Value1() * 256 + e->Value2(), e->Text());
  std::sort(ties.begin(), ties.end());
  return ties;
}

TEST(CopyMoveTool, TiesGoWithTheirNotes) {
  auto score = MakeScore(2, 2);
  Put(*score, 1, 1, {{64, {60}}, {80, {60}}});
  Put(*score, 1, 2, {{64, {48}}, {80, {48}}});
  auto& events = score->Staff(1)->GlobalEvents();
  events.Add(64, notecraft::evtTie, 0, 80, "1");
  events.Add(64, notecraft::evtTie, 0, 80, "2");

  CopyMoveTool copy(score, {false, 1, 2, 2}, {2, 0, 2}, false, 1);  // voice 1 to staff 2 voice 2
  RunToEnd(copy);
  EXPECT_EQ(Ties(*score, 2), (TieList{{64, 80, "2"}}));
  EXPECT_EQ(Ties(*score, 1).size(), 2u);

  CopyMoveTool move(score, {false, 1, 2, 2}, {0, 4, 0}, true, 1);  // voice 1 to measure 4
  RunToEnd(move);
  EXPECT_EQ(Ties(*score, 1), (TieList{{64, 80, "2"}, {192, 208, "1"}}));
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{192, {60}}, {208, {60}}}));
}

TEST(CopyMoveTool, RestsGiveWayToSoundingNotes) {
  auto score = MakeScore(1, 2);
  Put(*score, 1, 1, {{0, {0}}, {16, {60}}});  // a rest, then a note
  Put(*score, 1, 2, {{0, {64}}, {16, {0}}});  // a note onto the rest, a rest onto the note
  CopyMoveTool tool(score, {false, 1, 0, 0}, {0, 0, 1}, false, 2);
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {64}}, {16, {60}}}));
}

TEST(CopyMoveTool, EveryStaffInTurnAndOnlyTheRangeStaff) {
  auto score = MakeScore(3, 1);
  for (int s = 1; s <= 3; ++s) Put(*score, s, 1, {{0, {60 + s}}});
  CopyMoveTool one(score, {false, 3, 1, 1}, {0, 2, 0}, false, 0);
  RunToEnd(one);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {61}}}));
  EXPECT_EQ(Read(*score, 3, 1), (Chords{{0, {63}}, {64, {63}}}));

  CopyMoveTool all(score, {false, 0, 1, 1}, {0, 3, 0}, false, 0);
  all.Setup();
  EXPECT_EQ(all.WorkTotal(), 3);
  while (all.Step()) {
  }
  all.Finish();
  for (int s = 1; s <= 3; ++s) EXPECT_TRUE(NotesOf(*score, s, 1).Item(128)) << "staff " << s;
}

TEST(CopyMoveTool, OverTheSelectionTakesExactlyTheSelectedNotesWithTheirTies) {
  // Staff 1 voice 1: quarters from 0 to 64, 16 tied to 32 and 48 tied to 64; staff 2 has
  // quarters of its own. The quarters from 16 to 48 of both staves are selected.
  const Chords staff1 = {{0, {60}}, {16, {62}}, {32, {62}}, {48, {64, 67}}, {64, {64, 67}}};
  const Chords staff2 = {{0, {48}}, {16, {50}}, {32, {52}}, {48, {53}}, {64, {55}}};
  const TieList ties = {{16, 32, "1"}, {48, 64, "1"}};
  struct Row {
    const char* name;
    ToolDest dest;
    bool move;
    int fromVoice;
    Chords staff1, staff2, staff2voice2;
    TieList ties1, ties2;
  };
  const Row rows[] = {
      {"copy to measure 3",
       {0, 3, 0},
       false,
       0,
       Join(staff1, Chords{{144, {62}}, {160, {62}}, {176, {64, 67}}}),
       Join(staff2, Chords{{144, {50}}, {160, {52}}, {176, {53}}}),
       {},
       // The tie to 64 leaves the selection: only the tie inside it goes.
       {{16, 32, "1"}, {48, 64, "1"}, {144, 160, "1"}},
       {}},
      {"move to measure 3",
       {0, 3, 0},
       true,
       0,
       Chords{{0, {60}}, {64, {64, 67}}, {144, {62}}, {160, {62}}, {176, {64, 67}}},
       Chords{{0, {48}}, {64, {55}}, {144, {50}}, {160, {52}}, {176, {53}}},
       {},
       {{144, 160, "1"}},
       {}},
      {"move into staff 2 voice 2",
       {2, 0, 2},
       true,
       0,
       Chords{{0, {60}}, {64, {64, 67}}},
       Chords{{0, {48}}, {64, {55}}},
       Chords{{16, {50, 62}}, {32, {52, 62}}, {48, {53, 64, 67}}},
       {},
       {{16, 32, "2"}}},
      {"a voice choice the selection lacks", {0, 3, 0}, true, 2, staff1, staff2, {}, ties, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    notecraft::RecordingSurface surface;
    auto score = MakeScore(2, 2);
    Put(*score, 1, 1, staff1);
    Put(*score, 2, 1, staff2);
    for (const auto& [time, end, voice] : ties)
      score->Staff(1)->GlobalEvents().Add(time, notecraft::evtTie, 0,
                                          static_cast<std::uint8_t>(end), voice);
    ASSERT_EQ(testing::SelectNotes(*score, surface, {1, 2}, 16, 48), 6);

    CopyMoveTool tool(score, {true, 0, 0, 0}, r.dest, r.move, r.fromVoice);
    RunToEnd(tool);
    EXPECT_EQ(Read(*score, 1, 1), r.staff1);
    EXPECT_EQ(Read(*score, 2, 1), r.staff2);
    EXPECT_EQ(Read(*score, 2, 2), r.staff2voice2);
    EXPECT_EQ(Ties(*score, 1), r.ties1);
    EXPECT_EQ(Ties(*score, 2), r.ties2);
    EXPECT_EQ(score->Changed(), tool.Changed());
    score->SetWindow(nullptr);
  }
}

TEST(CopyMoveTool, TheNoteFilterTakesThePitchesAboveOrBelowANote) {
  // Measure 1 of staff 1: a chord across middle C, a note below, a rest, a note above.
  const Chords music = {{0, {48, 60, 64}}, {16, {55}}, {32, {0}}, {48, {72}}};
  NoteFilter above;
  above.AllNotes = false;
  above.Pitch = 60;
  NoteFilter below = above;
  below.Above = false;
  struct Row {
    const char* name;
    NoteFilter filter;
    bool move;
    Chords source, dest;
  };
  const Row rows[] = {
      {"copy C5 and up", above, false, music, Chords{{0, {60, 64}}, {48, {72}}}},
      {"copy below C5", below, false, music, Chords{{0, {48}}, {16, {55}}}},
      {"move C5 and up: the chord keeps its low note", above, true,
       Chords{{0, {48}}, {16, {55}}, {32, {0}}}, Chords{{0, {60, 64}}, {48, {72}}}},
      {"move below C5", below, true, Chords{{0, {60, 64}}, {32, {0}}, {48, {72}}},
       Chords{{0, {48}}, {16, {55}}}},
      {"every note, the rest too", NoteFilter{}, false, music, music},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto score = MakeScore(2, 1);
    Put(*score, 1, 1, music);
    CopyMoveTool tool(score, {false, 1, 1, 1}, {2, 0, 0}, r.move, 1, r.filter);
    RunToEnd(tool);
    EXPECT_EQ(Read(*score, 1, 1), r.source);
    EXPECT_EQ(Read(*score, 2, 1), r.dest);
  }
}

TEST(CopyMoveTool, UndoHistoryGoesWithAChange) {
  auto score = Fixture();
  score->PushUndo(notecraft::Internal{}, 1, 0, 1, 1, 0, 0, {});
  CopyMoveTool copy(score, {false, 1, 1, 1}, {0, 5, 0}, false, 0);
  RunToEnd(copy);
  EXPECT_TRUE(score->Changed());
  EXPECT_FALSE(score->CanUndo());
}

}  // namespace
}  // namespace edittools
