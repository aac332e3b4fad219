// A system's measures fitted to their floors: what each needs for its notes (and syllables)
// to stand clear, taken from the measures that have more than they need.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "notecraft/view/measurefloor.h"

namespace notecraft {
namespace {

TEST(MeasureFloors, MeasuresGetTheirFloorsFromTheRoomOthersHaveBeyondTheirs) {
  struct Case {
    const char* name;
    std::vector<int> widths;
    std::vector<MeasureFloor::Floor> floors;  // notes, syllables
    std::vector<int> fitted;
  };
  const Case cases[] = {
      {"every measure holds its notes: the widths stay", {3000, 3000, 3000},
       {{2000, 0}, {3000, 0}, {1000, 0}}, {3000, 3000, 3000}},
      {"one short of 600: its neighbours give in proportion to what they have beyond theirs",
       {3000, 3000, 3000}, {{3600, 0}, {2200, 0}, {2600, 0}}, {3600, 2600, 2800}},
      {"all of them short: each keeps its syllables' room, the rest shrinks alike",
       {3000, 3000, 3000}, {{4000, 3000}, {4000, 1500}, {4000, 1500}}, {3500, 2750, 2750}},
      {"a measure with nothing to spare gives nothing", {2000, 4000, 3000},
       {{2000, 0}, {4600, 0}, {2000, 0}}, {2000, 4600, 2400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<int> fitted = FitToFloors(c.widths, c.floors);
    EXPECT_EQ(fitted, c.fitted);
    EXPECT_EQ(std::accumulate(fitted.begin(), fitted.end(), 0),
              std::accumulate(c.widths.begin(), c.widths.end(), 0));  // the line's end stays
  }
}

}  // namespace
}  // namespace notecraft
