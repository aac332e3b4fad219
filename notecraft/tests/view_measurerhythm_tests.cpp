// What a voice's measure is drawn as: the rests that show the beat in each metre, triplet
// groups within the beat, notes cut where the next one starts, and the drawn values adding
// up to the measure. Items print as n (note) or r (rest), the glyph's value in 64ths, "." for
// a dot, "t" for a triplet, and @ where they stand; R is the whole measure's rest.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/view/measurerhythm.h"

namespace notecraft {
namespace {

constexpr int k44 = 4 * 128 + 16;
constexpr int k34 = 3 * 128 + 16;
constexpr int k68 = 6 * 128 + 8;
constexpr int k22 = 2 * 128 + 32;
constexpr int kCommon = 0;
constexpr int kCut = 32;  // Value1 0, Value2 above 0: a measure of 32

std::string Print(const std::vector<RhythmItem>& items) {
  std::ostringstream out;
  for (const RhythmItem& item : items) {
    if (out.tellp() > 0) out << ' ';
    if (item.MeasureRest) {
      out << 'R';
      continue;
    }
    out << (item.Rest ? 'r' : 'n') << item.Value << (item.Dotted ? "." : "")
        << (item.Triplet ? "t" : "") << '@' << item.Time;
  }
  return out.str();
}

std::string PrintGroups(const MeasureRhythm& rhythm) {
  std::ostringstream out;
  for (const TripletGroup& g : rhythm.Groups) {
    if (out.tellp() > 0) out << ' ';
    out << g.Start << '/' << g.Span;
  }
  return out.str();
}

// One stored note: its time in the measure, duration and flags; pitch 0 makes a rest note.
struct Stored {
  int Time;
  int Duration;
  int Flags = 0;
  int Pitch = 67;
};

class Rhythm : public ::testing::Test {
protected:
  MeasureRhythm Read(const std::vector<Stored>& stored, int packed = k44, int length = 64,
                     RhythmOptions options = {}) {
    notes.clear();
    std::vector<RhythmNote> in;
    for (const Stored& s : stored) {
      notes.push_back(std::make_unique<Note>());
      Note& n = *notes.back();
      n.AddValue(s.Pitch);
      n.SetDuration(Internal{}, s.Duration);
      n.SetFlags(Internal{}, s.Flags);
      n.SetNoteTime(Internal{}, s.Time);
      in.push_back({&n, s.Time, s.Duration, s.Flags, s.Pitch == 0});
    }
    MeasureRhythm rhythm;
    ReadRhythm(in, Metre::Of(packed, length), options, rhythm);
    return rhythm;
  }

  // What every reading of a voice that fills its gaps keeps: the drawn values add up to the
  // measure, items follow each other, every group lies inside the measure (and within one
  // beat when it is no longer than the beat) and holds only triplet items.
  static void ExpectWhole(const MeasureRhythm& rhythm, int packed, int length) {
    const Metre metre = Metre::Of(packed, length);
    int thirds = 0;
    for (std::size_t k = 0; k < rhythm.Items.size(); ++k) {
      thirds += rhythm.Items[k].Thirds();
      if (k > 0) {
        EXPECT_GT(rhythm.Items[k].Time, rhythm.Items[k - 1].Time) << "item " << k;
      }
    }
    EXPECT_EQ(thirds, 3 * length);
    for (const TripletGroup& g : rhythm.Groups) {
      EXPECT_GE(g.Start, 0);
      EXPECT_LE(g.Start + g.Span, length);
      if (g.Span <= metre.Beat) {
        EXPECT_EQ(g.Start / metre.Beat, (g.Start + g.Span - 1) / metre.Beat);
      }
      for (int k = g.First; k <= g.Last; ++k)
        EXPECT_TRUE(rhythm.Items[static_cast<std::size_t>(k)].Triplet);
    }
  }

  std::vector<std::unique_ptr<Note>> notes;
};

TEST_F(Rhythm, RestsCompleteTheBeatTheyStartInBeforeALongerOne) {
  struct Case {
    const char* name;
    int packed, length, from, to;
    const char* rests;
  };
  const Case cases[] = {
      // 4/4 and common time: beats of a quarter, half rests on the half bar only.
      {"4/4 after a quarter", k44, 64, 16, 64, "r16@16 r32@32"},
      {"4/4 after an eighth on beat 3", k44, 64, 40, 64, "r8@40 r16@48"},
      {"4/4 after a dotted quarter", k44, 64, 24, 64, "r8@24 r32@32"},
      {"4/4 before beat 4", k44, 64, 0, 48, "r32@0 r16@32"},
      {"4/4 a sixteenth off the beat", k44, 64, 20, 32, "r4@20 r8@24"},
      {"4/4 a sixty-fourth", k44, 64, 1, 8, "r1@1 r2@2 r4@4"},
      {"4/4 the whole measure", k44, 64, 0, 64, "R"},
      {"common time after a quarter", kCommon, 64, 16, 64, "r16@16 r32@32"},
      // 3/4: no rest longer than the beat but the whole measure's.
      {"3/4 after a quarter", k34, 48, 16, 48, "r16@16 r16@32"},
      {"3/4 two beats", k34, 48, 0, 32, "r16@0 r16@16"},
      {"3/4 after an eighth", k34, 48, 8, 48, "r8@8 r16@16 r16@32"},
      // 6/8: beats of a dotted quarter, a quarter and an eighth to fill one.
      {"6/8 after the first eighth", k68, 48, 8, 48, "r8@8 r8@16 r16@24 r8@40"},
      {"6/8 the first beat", k68, 48, 0, 24, "r16@0 r8@16"},
      {"6/8 the whole measure", k68, 48, 0, 48, "R"},
      // 2/2 and cut time (a measure of 32 here): the beat is the half or the measure.
      {"2/2 after a quarter", k22, 64, 16, 64, "r16@16 r32@32"},
      {"2/2 after an eighth", k22, 64, 8, 64, "r8@8 r16@16 r32@32"},
      {"cut time after an eighth", kCut, 32, 8, 32, "r8@8 r16@16"},
      {"cut time the whole measure", kCut, 32, 0, 32, "R"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RhythmItem> rests;
    AppendRests(c.from, c.to, Metre::Of(c.packed, c.length), -1, rests);
    EXPECT_EQ(Print(rests), c.rests);
    int thirds = 0;
    for (const RhythmItem& r : rests) thirds += r.Thirds();
    EXPECT_EQ(thirds, 3 * (c.to - c.from));
  }
}

TEST_F(Rhythm, TripletNotesStandInGroupsOfThreeWithinTheBeat) {
  struct Case {
    const char* name;
    std::vector<Stored> notes;
    int packed, length;
    const char* items;
    const char* groups;
  };
  const int t = nteTriplet;
  const std::vector<Case> cases = {
      {"imported triplet eighths over beats 2 and 3",
       {{0, 16}, {16, 8, t}, {21, 8, t}, {26, 8, t}, {32, 8, t}, {37, 8, t}, {42, 8, t}, {48, 16}},
       k44,
       64,
       "n16@0 n8t@16 n8t@21 n8t@26 n8t@32 n8t@37 n8t@42 n16@48",
       "16/16 32/16"},
      // The first slot of beat 1 is empty: a triplet rest there, and the groups keep to the
      // beats instead of taking the next three notes.
      {"a run from the second triplet eighth",
       {{5, 8, t}, {10, 8, t}, {16, 8, t}, {21, 8, t}, {26, 8, t}, {32, 16, nteDot}},
       k44,
       64,
       "r8t@0 n8t@5 n8t@10 n8t@16 n8t@21 n8t@26 n16.@32 r8@56",
       "0/16 16/16"},
      // Each note stands where its slot begins, as the glyphs read.
      {"the editor's triplet quarters at 0, 8 and 16",
       {{0, 16, t}, {8, 16, t}, {16, 16, t}},
       k44,
       64,
       "n16t@0 n16t@10 n16t@21 r32@32",
       "0/32"},
      {"triplet quarters from beat 2",
       {{0, 16}, {16, 16, t}, {26, 16, t}, {37, 16, t}},
       k44,
       64,
       "n16@0 n16t@16 n16t@26 n16t@37 r16@48",
       "16/32"},
      {"triplet halves fill the bar",
       {{0, 32, t}, {21, 32, t}, {42, 32, t}},
       k44,
       64,
       "n32t@0 n32t@21 n32t@42",
       "0/64"},
      // Played late as the group's last note, a note just before the bar line stands in
      // its slot all the same.
      {"plain notes played late complete a triplet half",
       {{0, 32}, {35, 4}, {43, 32, t}, {63, 4}},
       k44,
       64,
       "n32@0 n16t@32 n16t@42 n16t@53",
       "32/32"},
      // A lone note longer than the beat takes two slots of a group half as long.
      {"a lone triplet half in 3/4", {{0, 32, t}}, k34, 48, "n32t@0 r16t@21 r16@32", "0/32"},
      {"a lone triplet half in 4/4", {{0, 32, t}}, k44, 64, "n32t@0 r16t@21 r32@32", "0/32"},
      {"a lone triplet eighth",
       {{0, 8, t}, {16, 16}},
       k44,
       64,
       "n8t@0 r16t@5 n16@16 r32@32",
       "0/16"},
      {"a triplet quarter and eighth on beat 1 of 3/4",
       {{0, 16, t}, {10, 8, t}, {16, 8, t}, {21, 8, t}, {26, 8, t}, {32, 16}},
       k34,
       48,
       "n16t@0 n8t@10 n8t@16 n8t@21 n8t@26 n16@32",
       "0/16 16/16"},
      {"a sixteenth inside a triplet beat takes its slot",
       {{0, 8, t}, {5, 4}, {10, 8, t}},
       k44,
       64,
       "n8t@0 n8t@5 n8t@10 r16@16 r32@32",
       "0/16"},
      // A dotted triplet note lasts its whole value, half again its triplet length: it takes
      // the slots that covers, and no rest stands before the note after it.
      {"a dotted triplet eighth and a triplet eighth",
       {{0, 8, t | nteDot}, {11, 8, t}},
       k44,
       64,
       "n16t@0 n8t@10 r16@16 r32@32",
       "0/16"},
      {"a dotted triplet quarter and a triplet quarter",
       {{0, 16, t | nteDot}, {21, 16, t}, {32, 32}},
       k44,
       64,
       "n32t@0 n16t@21 n32@32",
       "0/32"},
      {"a lone dotted triplet eighth",
       {{0, 8, t | nteDot}, {16, 16}},
       k44,
       64,
       "n16t@0 r8t@10 n16@16 r32@32",
       "0/16"},
      // On the last beat a group of triplet halves has no room: the note shows what fits.
      {"no room before the bar line", {{48, 32, t}}, k44, 64, "r32@0 r16@32 n16@48", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MeasureRhythm rhythm = Read(c.notes, c.packed, c.length);
    EXPECT_EQ(Print(rhythm.Items), c.items);
    EXPECT_EQ(PrintGroups(rhythm), c.groups);
    ExpectWhole(rhythm, c.packed, c.length);
  }
}

TEST_F(Rhythm, NotesShowWhatFitsBeforeTheNextNoteAndTheBarLine) {
  struct Case {
    const char* name;
    std::vector<Stored> notes;
    const char* items;
    bool drums = false;
  };
  const std::vector<Case> cases = {
      {"a half note sounding under the next note", {{0, 32}, {16, 16}}, "n16@0 n16@16 r32@32"},
      {"a half note on beat 4", {{48, 32}}, "r32@0 r16@32 n16@48"},
      {"a dotted eighth and a sixteenth", {{0, 8, nteDot}, {12, 4}}, "n8.@0 n4@12 r16@16 r32@32"},
      // The font draws a 64th as a 32nd: it shows as one where there is room.
      {"a sixty-fourth alone", {{0, 1}}, "n2@0 r2@2 r4@4 r8@8 r16@16 r32@32"},
      // Played a 64th off the grid: drawn on the nearer sixteenth, no 64th rests.
      {"quarters played a 64th early and late",
       {{1, 16}, {15, 16}, {33, 32}},
       "n16@0 n16@16 n32@32"},
      // A run of 64ths keeps its times: 35 has a note at 36 after it.
      {"a written run of 64ths",
       {{32, 2}, {34, 1}, {35, 1}, {36, 2}},
       "r32@0 n2@32 n1@34 n1@35 n2@36 r2@38 r8@40 r16@48"},
      {"a rest note", {{0, 16}, {16, 16, 0, 0}, {32, 32}}, "n16@0 r16@16 n32@32"},
      // Drum hits ring on to the next hit.
      {"drum hits of a 64th",
       {{0, 1}, {4, 1}, {8, 1}, {12, 1}},
       "n4@0 n4@4 n4@8 n4@12 r16@16 r32@32",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RhythmOptions options;
    options.Drums = c.drums;
    const MeasureRhythm rhythm = Read(c.notes, k44, 64, options);
    EXPECT_EQ(Print(rhythm.Items), c.items);
    ExpectWhole(rhythm, k44, 64);
  }
}

TEST_F(Rhythm, OnlyTheFirstVoiceFillsItsGaps) {
  RhythmOptions later;
  later.FillGaps = false;
  const MeasureRhythm rhythm =
      Read({{16, 16}, {32, 8, 0, 0}, {48, 8, nteTriplet}, {53, 8, nteTriplet}}, k44, 64, later);
  // The rest note still shows; the empty slot of the triplet group does not.
  EXPECT_EQ(Print(rhythm.Items), "n16@16 r8@32 n8t@48 n8t@53");
  EXPECT_EQ(PrintGroups(rhythm), "48/16");
  // The rest note's rest stands for it.
  EXPECT_EQ(rhythm.Items[1].Of, notes[1].get());
}

}  // namespace
}  // namespace notecraft
