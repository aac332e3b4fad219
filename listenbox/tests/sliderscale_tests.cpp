// Where the position slider's marker sits: 285 steps of 15 twips over the score's length.
#include "listenbox/core/sliderscale.h"

#include <gtest/gtest.h>

namespace listenbox {
namespace {

TEST(SliderScaleTest, MaximumAndMarkerPlaces) {
  EXPECT_EQ(SliderMaximum(0), 0);
  EXPECT_EQ(SliderMaximum(15), 0);  // shorter than a quarter: no range, no division by zero
  EXPECT_EQ(SliderMaximum(-5), 0);
  EXPECT_EQ(SliderMaximum(6400), 400);

  struct Case {
    int position, maximum, left;
  };
  const Case cases[] = {
      {0, 0, 0},       {5, 0, 0},        {0, 400, 0},    {400, 400, 4275},
      {200, 400, 2130},                                   // 2137.5 down to the 15-twip step
      {-3, 400, 0},    {999, 400, 4275},                  // outside the range: clamped
      {1, 1000, 0},    {1, 3, 1425},     {1, 1, 4275},
      {100000, 100000, 4275},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.position << " of " << c.maximum);
    const int left = SliderLeft(c.position, c.maximum);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(left % 15, 0);
  }
}

}  // namespace
}  // namespace listenbox
