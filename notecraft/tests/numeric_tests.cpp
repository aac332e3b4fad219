#include "notecraft/core/numeric.h"

#include <gtest/gtest.h>

namespace notecraft {
namespace {

TEST(Numeric, RoundHalfEven) {
  struct Case {
    double v;
    std::int64_t want;
  };
  for (auto c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2},
                 Case{-2.5, -2}, Case{2.4999, 2}, Case{2.5001, 3}, Case{16833.6, 16834},
                 Case{8395.2, 8395}, Case{-7.7, -8}}) {
    EXPECT_EQ(RoundHalfEven(c.v), c.want) << c.v;
  }
}

TEST(Numeric, FloorAndTruncatingDivision) {
  EXPECT_EQ(FloorDiv(-1, 64), -1);
  EXPECT_EQ(FloorDiv(-64, 64), -1);
  EXPECT_EQ(FloorDiv(127, 64), 1);
  EXPECT_EQ(-1 / 64, 0);  // C++ `/` truncates, as the score's integer division does
}

TEST(Numeric, ValReadsTheLeadingNumber) {
  struct Case {
    const char* text;
    double value;
    std::size_t length;
  };
  for (auto c : {Case{"12.5cm", 12.5, 4}, Case{"  7", 7, 3}, Case{"-3.25x", -3.25, 5},
                 Case{"12,7mm", 12.7, 4}, Case{"abc", 0, 0}, Case{"", 0, 0},
                 Case{".5", 0.5, 2}, Case{"5.", 5, 2}, Case{"1.2.3", 1.2, 3},
                 Case{"+4", 4, 2}, Case{"-", 0, 0}}) {
    EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
    EXPECT_EQ(ValLength(c.text), c.length) << c.text;
  }
}

TEST(Numeric, FormatShortestUsesAPoint) {
  EXPECT_EQ(FormatShortest(12.7f), "12.7");
  EXPECT_EQ(FormatShortest(0.75f), "0.75");
  EXPECT_EQ(FormatShortest(1440.0f), "1440");
  EXPECT_EQ(FormatShortest(-0.5f), "-0.5");
}

}  // namespace
}  // namespace notecraft
