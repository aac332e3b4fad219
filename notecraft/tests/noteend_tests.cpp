// Where a note ends and where a triplet stands, counted from its measure's start: a group of
// triplets fills two of their value on the 64th grid, and a triplet off the grid still
// ends on it.
#include <gtest/gtest.h>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/noteend.h"

namespace notecraft {
namespace {

TEST(NoteEnd, TripletsEndOnTheThirdsOfTheirGroup) {
  struct Case {
    const char* what;
    int time, duration, flags, measureStart;
    int end;
  };
  const int t = nteTriplet;
  const Case cases[] = {
      {"a plain quarter", 5, 16, 0, 0, 21},
      {"a dotted eighth", 3, 8, nteDot, 0, 15},
      {"triplet eighths: the first", 0, 8, t, 0, 5},
      {"the second", 5, 8, t, 0, 11},
      {"the third ends on the beat", 11, 8, t, 0, 16},
      {"the third of the fourth beat ends on the bar line", 59, 8, t, 0, 64},
      {"triplet sixteenths", 3, 4, t, 0, 5},
      {"triplet quarters: the second", 11, 16, t, 0, 21},
      {"the third", 21, 16, t, 0, 32},
      {"from the second beat", 16, 16, t, 0, 27},
      {"from the second beat: the third", 37, 16, t, 0, 48},
      {"triplet halves: the third", 43, 32, t, 0, 64},
      {"a triplet whole", 0, 64, t, 0, 43},
      {"counted from a bar line at 40", 51, 16, t, 40, 61},
      {"a dotted triplet eighth takes a slot and a half", 0, 8, t | nteDot, 0, 8},
      {"a triplet sixteenth after it", 8, 4, t, 0, 11},
      {"a triplet eighth played late", 12, 8, t, 0, 16},
      {"half way between two slots: the later", 8, 8, t, 0, 16},
      {"nearer the next beat than its slot", 14, 8, t, 0, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(NoteEnd(c.time, c.duration, c.flags, c.measureStart), c.end);
    EXPECT_EQ(NoteEnd(1000 * 64 + c.time, c.duration, c.flags, 1000 * 64 + c.measureStart),
              1000 * 64 + c.end);
  }
}

TEST(NoteEnd, TheMeasureComesFromTheTimeSignatures) {
  GlobalEvents globals;
  globals.Add(0, evtTimeChange, 5, 8);  // 5/8: bar lines at 40, 80, ...
  EXPECT_EQ(NoteEnd(51, durQuarter, nteTriplet, &globals), 61);
  EXPECT_EQ(SlotStart(50, durQuarter, nteTriplet, &globals), 51);
  // In 4/4 the slot nearest 51 is the third of the group from 32 (53.33).
  EXPECT_EQ(NoteEnd(51, durQuarter, nteTriplet, nullptr), 64);
  EXPECT_EQ(SlotStart(13, durEighth, nteTriplet, nullptr), 11);
  EXPECT_EQ(SlotStart(13, durEighth, 0, nullptr), 13);  // other notes stand where they are
}

}  // namespace
}  // namespace notecraft
