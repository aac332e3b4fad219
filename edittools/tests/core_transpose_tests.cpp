// The transpose tool, note by note on small scores in common time (64 per measure).
#include <gtest/gtest.h>

#include "edittools/core/transposemath.h"
#include "edittools/core/transposetool.h"
#include "toolfixtures.h"

namespace edittools {
namespace {

using testing::AddDrumStaff;
using testing::AddStaffKey;
using testing::Chords;
using testing::MakeScore;
using testing::Put;
using testing::Read;
using testing::RunToEnd;
using testing::StaffKeys;

TEST(TransposeMath, KeyStepsAndShifts) {
  struct Row {
    const char* name;
    int mode, source, amount, target, shift;
  };
  const Row rows[] = {
      {"two key steps up from C", 1, 0, 2, 2, 2},
      {"one key step up from C# folds to Ab", 1, 7, 1, -4, -5},
      {"one key step up from C is G", 1, 0, 1, 1, 7},
      {"one key step down from C is F", 2, 0, 1, -1, -7},
      {"sign of the amount ignored", 2, 0, -1, -1, -7},
      {"down from Cb folds to E", 2, -7, 1, 4, 5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const int target = KeyStepTarget(r.mode, r.source, r.amount);
    EXPECT_EQ(target, r.target);
    EXPECT_EQ(KeyShift(r.source, target), r.shift);
  }
  // Half-steps go exactly the asked way: up 3 is +3 (not the fifths' -9), 12 is an octave.
  EXPECT_EQ(HalfStepShift(1, 3), 3);
  EXPECT_EQ(HalfStepShift(1, 12), 12);
  EXPECT_EQ(HalfStepShift(2, 1), -1);
  EXPECT_EQ(ShiftPitch(125, 7), 127);
  EXPECT_EQ(ShiftPitch(3, -7), 1);
  EXPECT_EQ(ShiftPitch(0, 5), 0);  // a rest
}

// Measure 1: C, a rest, a C major chord; measure 2: D and the extremes.
const Chords kMusic = {{0, {60}}, {16, {0}}, {32, {60, 64, 67}}, {64, {62}}, {80, {125}}, {96, {3}}};

Chords Shifted(const Chords& music, int shift) {
  Chords out;
  for (const auto& [time, pitches] : music) {
    std::vector<int> moved;
    for (int p : pitches) {
      const int q = ShiftPitch(p, shift);
      if (std::find(moved.begin(), moved.end(), q) == moved.end()) moved.push_back(q);
    }
    std::sort(moved.begin(), moved.end());
    out[time] = moved;
  }
  return out;
}

TEST(TransposeTool, MovesEveryNoteByTheShiftOfItsMode) {
  struct Row {
    const char* name;
    int scoreKey;
    ToolDest dest;
    int shift;
  };
  const Row rows[] = {
      {"up a half-step", 0, {1, 1, 1}, 1},
      {"up three half-steps goes up", 0, {1, 1, 3}, 3},
      {"up twelve half-steps is an octave", 0, {1, 1, 12}, 12},
      {"down a half-step", 0, {2, 1, 1}, -1},
      {"down seven half-steps", 0, {2, 1, 7}, -7},
      {"up two key steps", 0, {1, 0, 2}, 2},
      {"up a key step from C#", 7, {1, 0, 1}, -5},
      {"to D", 0, {0, 0, 2 + 7}, 2},
      {"to F", 0, {0, 0, -1 + 7}, -7},
      {"to the same key", 3, {0, 0, 3 + 7}, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto score = MakeScore();
    score->SetKey(r.scoreKey);
    Put(*score, 1, 1, kMusic);
    TransposeTool tool(score, {}, r.dest);
    RunToEnd(tool);
    EXPECT_EQ(Read(*score, 1, 1), Shifted(kMusic, r.shift));
    EXPECT_EQ(score->Changed(), r.shift != 0 || (r.dest.Staff == 0 && r.scoreKey != r.dest.Voice - 7));
  }
}

TEST(TransposeTool, ClampedPitchesThatMeetKeepOneCopy) {
  auto score = MakeScore();
  Put(*score, 1, 1, {{0, {120, 125, 126}}, {16, {0}}});
  TransposeTool tool(score, {}, {1, 1, 7});
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {127}}, {16, {0}}}));
}

TEST(TransposeTool, VoiceChoiceTakesSingleVoicesAndPairs) {
  struct Row {
    int choice;
    std::vector<int> moved;  // voice numbers
  };
  const Row rows[] = {{0, {1, 2, 3, 4}}, {3, {3}}, {6, {1, 3}}, {10, {3, 4}}, {11, {}}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.choice);
    auto score = MakeScore(1, 4);
    for (int v = 1; v <= 4; ++v) Put(*score, 1, v, {{0, {60}}});
    TransposeTool tool(score, {}, {0, r.choice, 2 + 7});
    RunToEnd(tool);
    for (int v = 1; v <= 4; ++v) {
      const bool moved = std::find(r.moved.begin(), r.moved.end(), v) != r.moved.end();
      EXPECT_EQ(Read(*score, 1, v), (Chords{{0, {moved ? 62 : 60}}})) << "voice " << v;
    }
    // A choice that names no voice writes no key either.
    EXPECT_EQ(score->Key(), r.moved.empty() ? 0 : 2);
  }
}

TEST(TransposeTool, RangeOfMeasuresAndStaves) {
  auto score = MakeScore(2, 1);
  const Chords music = {{0, {60}}, {64, {60}}, {128, {60}}, {192, {60}}};
  Put(*score, 1, 1, music);
  Put(*score, 2, 1, music);
  // Up a half-step, staff 2, measures 2..3.
  TransposeTool tool(score, {false, 2, 2, 3}, {1, 1, 1});
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), music);
  EXPECT_EQ(Read(*score, 2, 1), (Chords{{0, {60}}, {64, {61}}, {128, {61}}, {192, {60}}}));
}

TEST(TransposeTool, ToAKeyFollowsKeyChangesInsideTheRange) {
  // D major from measure 3 on; everything to C major.
  auto score = MakeScore();
  AddStaffKey(*score, 1, 128, 2);
  Put(*score, 1, 1, {{0, {60}}, {128, {62}}, {192, {66}}});
  TransposeTool tool(score, {}, {0, 0, 0 + 7});
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {60}}, {128, {60}}, {192, {64}}}));
  EXPECT_EQ(score->Key(), 0);
  EXPECT_EQ(StaffKeys(*score, 1), (std::map<int, int>{{128, 0}}));  // now says C as well
}

TEST(TransposeTool, KeySignatures) {
  struct Row {
    const char* name;
    ToolRange range;
    int existingAt256;  // a key change at measure 5 beforehand; 99: none
    bool writeKeys;
    int scoreKey;
    std::map<int, int> staff2Keys;
    int keyShownAt256;
    std::map<int, int> staff1Keys;
  };
  const Row rows[] = {
      {"whole score sets the score's key", {}, 99, true, 2, {}, 2, {}},
      {"from measure 5 on staff 2 adds a key change there", {false, 2, 5, 0}, 99, true, 0, {{256, 2}}, 2, {}},
      {"an existing key change there takes the new key", {false, 2, 5, 0}, -3, true, 0, {{256, 2}}, 2, {}},
      {"a range ending inside the score puts the old key back after it",
       {false, 2, 5, 6}, 99, true, 0, {{256, 2}, {384, 0}}, 2, {}},
      {"Change Key Signatures off", {false, 2, 5, 0}, 99, false, 0, {}, 0, {}},
      {"the whole score up to measure 6 keeps the old key after it",
       {false, 0, 0, 6}, 99, true, 2, {{384, 0}}, 2, {{384, 0}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    auto score = MakeScore(2, 1);
    if (r.existingAt256 != 99) AddStaffKey(*score, 2, 256, r.existingAt256);
    Put(*score, 2, 1, {{0, {60}}, {256, {60}}, {448, {60}}});
    TransposeTool tool(score, r.range, {0, 0, 2 + 7}, r.writeKeys);
    RunToEnd(tool);
    EXPECT_EQ(score->Key(), r.scoreKey);
    EXPECT_EQ(StaffKeys(*score, 2), r.staff2Keys);
    EXPECT_EQ(StaffKeys(*score, 1), r.staff1Keys);
    EXPECT_EQ(score->Staff(2)->CurKey(256), r.keyShownAt256);
  }
}

TEST(TransposeTool, LeavesDrumsAndSelectionRunsAlone) {
  auto score = MakeScore();
  auto drums = AddDrumStaff(*score);
  drums->Voice(1)->Notes().Add(64, 38, notecraft::durQuarter, 0);
  Put(*score, 1, 1, {{64, {60}}});
  TransposeTool tool(score, {false, 0, 2, 0}, {0, 0, 2 + 7});
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{64, {62}}}));
  EXPECT_EQ(Read(*score, 2, 1), (Chords{{64, {38}}}));
  EXPECT_EQ(StaffKeys(*score, 1), (std::map<int, int>{{64, 2}}));
  EXPECT_TRUE(StaffKeys(*score, 2).empty());
}

TEST(TransposeTool, OverTheSelectionMovesExactlyTheSelectedNotes) {
  // Two staves of quarters in C with a second voice on staff 1; the quarters from 16 to 48
  // of voice 1 of both staves are selected, a chord among them.
  const Chords staff1 = {{0, {60}}, {16, {62}}, {32, {64, 67}}, {48, {65}}, {64, {0}}};
  const Chords staff2 = {{0, {48}}, {16, {50}}, {32, {52}}, {48, {53}}, {64, {55}}};
  const Chords voice2 = {{0, {55}}, {16, {55}}, {32, {55}}};
  const Chords up2Staff1 = {{0, {60}}, {16, {64}}, {32, {66, 69}}, {48, {67}}, {64, {0}}};
  const Chords up2Staff2 = {{0, {48}}, {16, {52}}, {32, {54}}, {48, {55}}, {64, {55}}};
  struct Row {
    const char* name;
    ToolDest dest;
    Chords staff1, staff2;
  };
  const Row rows[] = {
      {"up two half-steps", {1, 1, 2}, up2Staff1, up2Staff2},
      {"to D, every voice", {0, 0, 2 + 7}, up2Staff1, up2Staff2},
      {"to D, voice 1 and 2", {0, 5, 2 + 7}, up2Staff1, up2Staff2},
      {"to D, voice 2 alone: none of it selected", {0, 2, 2 + 7}, staff1, staff2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    notecraft::RecordingSurface surface;
    auto score = MakeScore(2, 1);
    score->Staff(1)->AddVoice(score->Staff(1)->Voice(1)->Instrument());
    Put(*score, 1, 1, staff1);
    Put(*score, 1, 2, voice2);
    Put(*score, 2, 1, staff2);
    ASSERT_EQ(testing::SelectNotes(*score, surface, {1, 2}, 16, 48), 6);

    TransposeTool tool(score, {true, 0, 0, 0}, r.dest);
    RunToEnd(tool);
    EXPECT_EQ(Read(*score, 1, 1), r.staff1);
    EXPECT_EQ(Read(*score, 2, 1), r.staff2);
    EXPECT_EQ(Read(*score, 1, 2), voice2);
    // No key signature: the music around the selection keeps its own.
    EXPECT_TRUE(StaffKeys(*score, 1).empty());
    EXPECT_EQ(score->Key(), 0);
    EXPECT_EQ(score->Changed(), r.staff1 != staff1);
    score->SetWindow(nullptr);
  }
}

TEST(TransposeTool, OverTheSelectionEachNoteMovesFromTheKeyItStandsIn) {
  // Measure 2 of staff 1 is in G: to D, measure 1 moves from C (a tone up) and measure 2
  // from G (a fifth up).
  notecraft::RecordingSurface surface;
  auto score = MakeScore(1, 1);
  AddStaffKey(*score, 1, 64, 1);
  auto drums = AddDrumStaff(*score);
  drums->Voice(1)->Notes().Add(48, 38, notecraft::durQuarter, 0);
  drums->Voice(1)->Notes().Add(64, 38, notecraft::durQuarter, 0);
  Put(*score, 1, 1, {{48, {60}}, {64, {67}}});
  ASSERT_EQ(testing::SelectNotes(*score, surface, {1, 2}, 48, 64), 4);
  TransposeTool tool(score, {true, 0, 0, 0}, {0, 0, 2 + 7});
  RunToEnd(tool);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{48, {62}}, {64, {74}}}));
  EXPECT_EQ(Read(*score, 2, 1), (Chords{{48, {38}}, {64, {38}}}));  // drums stay
  score->SetWindow(nullptr);
}

TEST(TransposeTool, TransposingInstrumentEndsShowingItsWrittenKey) {
  auto score = MakeScore(2, 1);
  // Staff 2 for its own instrument written two sharps above concert.
  auto ins = score->AllInstruments().Add(score->AllInstruments().NewID(), 71);
  ins->SetPitch(notecraft::Internal{}, 2);
  auto staff = score->AllStaffs().AddStaff(notecraft::Internal{}, score->AllStaffs().NewID(), "Clarinet",
                                           std::nullopt, true);
  staff->AddVoice(ins);
  Put(*score, 3, 1, {{0, {62}}});  // written D in written D major (concert C)
  TransposeTool tool(score, {}, {0, 0, -1 + 7});  // to F concert: written G
  RunToEnd(tool);
  EXPECT_EQ(score->Staff(3)->CurKey(0), 1);
  EXPECT_EQ(Read(*score, 3, 1), (Chords{{0, {55}}}));  // D down a fourth to G
}

TEST(TransposeTool, StoppedHalfWayKeepsWhatMovedAndWritesNoKey) {
  auto score = MakeScore();
  Put(*score, 1, 1, {{0, {60}}, {64, {60}}, {128, {60}}, {192, {60}}});
  score->PushUndo(notecraft::Internal{}, 1, 0, 1, 1, 0, 0, {});
  TransposeTool tool(score, {false, 1, 0, 0}, {0, 0, 2 + 7});
  tool.Setup();
  ASSERT_TRUE(tool.Step());
  ASSERT_TRUE(tool.Step());
  EXPECT_GT(tool.WorkDone(), 0);
  EXPECT_LT(tool.WorkDone(), tool.WorkTotal());
  tool.Abandon(false);
  EXPECT_EQ(Read(*score, 1, 1), (Chords{{0, {62}}, {64, {62}}, {128, {60}}, {192, {60}}}));
  EXPECT_TRUE(score->Changed());
  EXPECT_FALSE(score->CanUndo());  // its records named the old pitches
  EXPECT_TRUE(StaffKeys(*score, 1).empty());
  EXPECT_EQ(score->Key(), 0);
}

}  // namespace
}  // namespace edittools
