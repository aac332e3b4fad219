#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harmonygrid/core/clsmap.h"
#include "tablefixture.h"

namespace harmonygrid {
namespace {

using testing::Describe;

clsMap Shape(const std::vector<std::pair<int, int>>& pairs) {
  clsMap m;
  for (auto [s, f] : pairs) m.Add(s, f);
  return m;
}

TEST(clsMap, AddReturnsTheIndexOfTheNewPair) {
  clsMap m;
  EXPECT_EQ(m.Add(1, 3), 0);
  EXPECT_EQ(m.Add(2, -1), 1);
  EXPECT_EQ(m.Count(), 2);
  EXPECT_EQ(m.X(1), 2);
  EXPECT_EQ(m.Y(1), -1);
  // Numbers beyond 16 bits are refused, not wrapped.
  EXPECT_EQ(m.Add(65537, 1), -1);
  EXPECT_EQ(m.Add(1, -32769), -1);
  EXPECT_EQ(m.Count(), 2);
}

TEST(clsMap, CountStopsAt16Bits) {
  clsMap m;
  for (int i = 0; i < clsMap::kMaxPairs; ++i) ASSERT_EQ(m.Add(1, 1), i);
  EXPECT_EQ(m.Add(1, 1), -1);
  EXPECT_EQ(m.Count(), clsMap::kMaxPairs);
}

TEST(clsMap, RemoveShiftsLaterPairsAndIgnoresBadIndexes) {
  struct Case {
    const char* name;
    int index;
    const char* after;
  };
  const Case cases[] = {
      {"first", 0, "//0/2,2 3,3"},
      {"middle", 1, "//0/1,1 3,3"},
      {"last", 2, "//0/1,1 2,2"},
      {"negative", -1, "//0/1,1 2,2 3,3"},
      // Removing at Count must not drop the last pair.
      {"at Count", 3, "//0/1,1 2,2 3,3"},
      {"far beyond", 40, "//0/1,1 2,2 3,3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clsMap m = Shape({{1, 1}, {2, 2}, {3, 3}});
    m.Remove(c.index);
    EXPECT_EQ(Describe(m), c.after);
  }
  clsMap m = Shape({{1, 1}});
  m.Remove(0);
  m.Remove(0);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.Add(4, 4), 0);  // the emptied shape takes pairs again
}

TEST(clsMap, PairAccessOutsideCountReadsZeroAndIgnoresWrites) {
  clsMap m = Shape({{2, 5}});
  for (int i : {-1, 1, 7}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m.X(i), 0);
    EXPECT_EQ(m.Y(i), 0);
    m.SetX(i, 3);
    m.SetY(i, 3);
  }
  m.SetX(0, 40000);  // beyond 16 bits: ignored
  m.SetY(0, 7);
  EXPECT_EQ(Describe(m), "//0/2,7");
}

TEST(clsMap, ValueAndTopKeep16Bits) {
  clsMap m;
  m.SetValue(32767);
  m.SetValue(32768);
  m.SetTop(-32768);
  m.SetTop(-32769);
  EXPECT_EQ(m.Value(), 32767);
  EXPECT_EQ(m.Top(), -32768);
}

TEST(clsMap, TopPlacesTheDiagramOverTheFrettedNotes) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> pairs;
    int fretCount;
    int top;
  };
  const Case cases[] = {
      {"barre high on the neck", {{1, 8}, {2, 10}, {3, 10}, {4, 9}, {5, 8}}, 6, 7},
      {"open position", {{1, 0}, {2, 2}}, 6, 0},
      {"highest fret equal to the rows shown still fits", {{2, 3}, {3, 6}}, 6, 0},
      {"one more row does not", {{2, 3}, {3, 7}}, 6, 2},
      // Open and muted strings do not pull the diagram to the nut; otherwise Top would be
      // -1 and the finger mark at 7 would fall outside the rows drawn.
      {"open string with a high fret", {{1, 0}, {2, 7}}, 6, 6},
      {"muted string with a high fret", {{1, -1}, {2, 9}, {3, 10}}, 6, 8},
      {"no pairs", {}, 6, 0},
      {"only open and muted strings", {{1, 0}, {2, -1}}, -1, 0},
      {"fewer rows, as the mapper's small cells show", {{1, 3}, {2, 5}}, 4, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Shape(c.pairs).ComputeTop(c.fretCount), c.top);
  }
}

}  // namespace
}  // namespace harmonygrid
