// Room between note positions: the proportional scale of a measure, and where and how far
// positions move apart so that their glyphs do not collide.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/notespacing.h"

namespace notecraft {

inline void PrintTo(const NotePosition& p, std::ostream* out) {
  *out << "{" << p.Time << (p.Dotted ? " dotted" : "") << (p.Accidental ? " sign" : "")
       << (p.Second ? " second" : "") << (p.Flag ? " flag" : "") << (p.Rest ? " rest" : "")
       << (p.LedgerSign ? " ledger sign" : "")
       << " columns "
       << p.AccidentalColumns << "}";
}

namespace {

constexpr GlyphRoom kRoom{100, 160, 90, 30, 0, 0, 0, 80};  // head, dotted head, sign, gap;
                                                              // apart

std::vector<NotePosition> At(std::vector<int> times) {
  std::vector<NotePosition> positions;
  for (int t : times) positions.push_back({t, false, false, false});
  return positions;
}

// Where each position stands relative to the first under a spacing.
std::vector<int> Xs(const std::vector<NotePosition>& positions, const MeasureSpacing& spacing) {
  std::vector<int> xs;
  for (const NotePosition& p : positions) {
    int x = p.Time * spacing.TwipsPerUnit;
    for (const ChangeShift& spread : spacing.Spreads)
      if (p.Time >= spread.Time) x += spread.Width;
    xs.push_back(x);
  }
  return xs;
}

TEST(NoteSpacing, PositionsWithRoomKeepTheProportionalScale) {
  // Four quarters in 6500 twips: 100 a 64th, every quarter 1600 apart.
  const MeasureSpacing spacing = SpreadPositions(At({0, 16, 32, 48}), 64, 6500, kRoom);
  EXPECT_EQ(spacing.TwipsPerUnit, 100);
  EXPECT_TRUE(spacing.Spreads.empty());
}

TEST(NoteSpacing, CollidingPositionsMoveApartAndTheMeasureStillFits) {
  struct Case {
    const char* name;
    std::vector<NotePosition> positions;
    int available;
  };
  std::vector<NotePosition> signs = At({0, 32, 48, 56, 57, 58, 59, 60, 61, 62, 63});
  for (std::size_t k = 3; k < signs.size(); ++k) signs[k].Accidental = true;
  std::vector<NotePosition> dotted = At({0, 32, 44, 46, 48});
  dotted[1].Dotted = true;
  dotted[3].Second = true;
  const Case cases[] = {
      {"a half, a quarter, an eighth and eight 64ths",
       At({0, 32, 48, 56, 57, 58, 59, 60, 61, 62, 63}), 3500},
      {"64ths with sharps", signs, 4000},
      {"a dotted eighth, two 32nds, one with a second", dotted, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MeasureSpacing spacing = SpreadPositions(c.positions, 64, c.available, kRoom);
    EXPECT_FALSE(spacing.Spreads.empty());
    const std::vector<int> xs = Xs(c.positions, spacing);
    for (std::size_t k = 1; k < xs.size(); ++k)
      EXPECT_GE(xs[k] - xs[k - 1], RoomBefore(c.positions, k, kRoom)) << "position " << k;
    // The last position stands where the proportional scale allows the measure's end.
    int spreads = 0;
    for (const ChangeShift& spread : spacing.Spreads) spreads += spread.Width;
    EXPECT_LE(spacing.TwipsPerUnit * 65 + spreads, c.available);
    EXPECT_GT(spacing.TwipsPerUnit, 0);  // the longer notes keep a proportional part
  }
}

TEST(NoteSpacing, GlyphsNeedingMoreThanTheMeasureShareWhatThereIs) {
  const std::vector<NotePosition> positions = At({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  const MeasureSpacing spacing = SpreadPositions(positions, 16, 900, kRoom);  // 1170 needed
  EXPECT_EQ(spacing.TwipsPerUnit, 0);
  const std::vector<int> xs = Xs(positions, spacing);
  EXPECT_LE(xs.back(), 900);
  for (std::size_t k = 1; k < xs.size(); ++k) EXPECT_GT(xs[k], xs[k - 1]);
}

TEST(NoteSpacing, PositionsGatherEveryStaffsNotesAndRestsOfTheFirstVoice) {
  Score score;
  score.CreateDefault();
  auto lower = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Lower");
  Notes& upper = score.Staff(1)->Voice(1)->Notes();
  upper.Add(0, 60, durEighth, 0);   // ends at 8: a rest follows until 16
  upper.Add(16, 61, durEighth, 0);  // C sharp: a sign
  upper.Add(24, 64, durEighth, nteDot);
  lower->Voice(1)->Notes().Add(0, 48, durHalf, 0);  // a rest from 32
  lower->Voice(1)->Notes().Add(40, 50, durQuarter, 0);
  const std::vector<int> staves = {1, lower->Index()};
  const std::vector<NotePosition> positions = CollectPositions(score, staves, 0, 64);
  // Every rest has a place of its own: the upper staff's quarter rest at 48 as well as the
  // eighth rest before it. The eighth at 0 stands alone in its beat, with a flag; the two
  // from 16 share a beam.
  const std::vector<NotePosition> expected = {{.Time = 0, .Flag = true},
                                              {.Time = 8, .Rest = true},
                                              {.Time = 16,
                                               .Accidental = true,
                                               .AccidentalColumns = 1,
                                               .LedgerSign = true},
                                              {.Time = 24, .Dotted = true},
                                              {.Time = 32, .Rest = true},
                                              {.Time = 36, .Rest = true},
                                              {.Time = 40, .Rest = true},
                                              {.Time = 48, .Rest = true},
                                              {.Time = 56, .Rest = true}};
  EXPECT_EQ(positions, expected);
}

TEST(NoteSpacing, EachStaffKeepsRoomForItsOwnGlyphs) {
  // GIVEN a staff with a dotted eighth and a sixteenth with a sign, over a staff whose
  // sixteenths with signs fall between them
  Score score;
  score.CreateDefault();
  auto lower = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Lower");
  Notes& upper = score.Staff(1)->Voice(1)->Notes();
  upper.Add(0, 72, durEighth, nteDot);
  upper.Add(12, 73, durSixteenth, 0);  // C sharp
  for (int t = 4; t < 16; t += 4) lower->Voice(1)->Notes().Add(t, t == 8 ? 54 : 53, durSixteenth, 0);
  lower->Voice(1)->Notes().Add(0, 48, durSixteenth, 0);
  // WHEN the positions are read with their rooms
  const std::vector<int> staves = {1, lower->Index()};
  const std::vector<NotePosition> positions = CollectPositions(score, staves, 0, 64, &kRoom);
  ASSERT_GE(positions.size(), 4u);
  // THEN successive items of each staff keep what their own glyphs need: the upper dot and
  // sign between 0 and 12, the lower F sharp and F natural their signs from the note before
  auto x = [&](int time) {
    int at = 0;
    for (std::size_t k = 1; k < positions.size() && positions[k].Time <= time; ++k)
      at += RoomBefore(positions, k, kRoom);
    return at;
  };
  const int dotted = kRoom.DottedHead + kRoom.Gap, sign = kRoom.Accidental;
  EXPECT_GE(x(12) - x(0), dotted + sign);
  EXPECT_GE(x(4) - x(0), kRoom.Head + kRoom.Gap);
  for (const int t : {8, 12}) EXPECT_GE(x(t) - x(t - 4), kRoom.Head + kRoom.Gap + sign) << t;
  // AND positions of different staves stand only as far apart as those rooms ask, not
  // with the dot and the sign of two staves added at every position
  int unionWidth = 0;
  std::vector<NotePosition> marks = positions;
  for (NotePosition& p : marks) p.Room = 0;
  for (std::size_t k = 1; k < marks.size(); ++k) unionWidth += RoomBefore(marks, k, kRoom);
  EXPECT_LT(x(12), unionWidth);
}

TEST(NoteSpacing, ASqueezedMeasureGivesUpGapsFirstAndSyllablesLast) {
  // Rooms of 130 (a head of 100 and a gap of 30) between ten positions, one of them a
  // syllable's room of 180.
  std::vector<NotePosition> positions = At({0, 4, 8, 12, 16, 20, 24, 28, 32, 36});
  for (std::size_t k = 1; k < positions.size(); ++k) positions[k].Room = 130;
  positions[5].LyricRoom = 180;
  // 1220 needed: short of 90 (less than the gaps), then of 700.
  for (const int available : {1130, 520}) {
    SCOPED_TRACE(available);
    const MeasureSpacing spacing = SpreadPositions(positions, 40, available, kRoom);
    EXPECT_EQ(spacing.TwipsPerUnit, 0);
    const std::vector<int> xs = Xs(positions, spacing);
    EXPECT_LE(xs.back(), available);
    EXPECT_GE(xs[5] - xs[4], 180);  // the syllables keep their room
    if (available == 1130) {  // short of less than the gaps: heads never meet
      for (std::size_t k = 1; k < xs.size(); ++k) EXPECT_GE(xs[k] - xs[k - 1], 100) << k;
    }
  }
}

}  // namespace
}  // namespace notecraft
