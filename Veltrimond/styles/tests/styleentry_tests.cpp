#include <gtest/gtest.h>

#include "Veltrimond/styles/insertrange.h"
#include "Veltrimond/styles/styleentry.h"
#include "Veltrimond/styles/stylepattern.h"
#include "stylefixture.h"

namespace veltrimond::styles {
namespace {

TEST(StyleEntryTest, BeatAndItemTexts) {
  const std::pair<long, const char*> beats[] = {
      {272, "2/4"},           {400, "3/4"},          {528, "4/4"},          {6 * 128 + 8, "6/8"},
      {12 * 128 + 8, "12/8"}, {2 * 128 + 32, "2/2"}, {5 * 128 + 16, "5/4"}, {3 * 128 + 64, "3/1"},
      {7 * 128 + 4, "7/16"},  {3 * 128 + 3, "3/16"}};
  for (const auto& [beat, text] : beats) EXPECT_EQ(BeatText(beat), text) << beat;
  EXPECT_EQ(ItemText({400, kTreble, "Waltz1"}), "Waltz1 - [Treble, 3/4]");
  EXPECT_EQ(ItemText({528, kDrums, "Rock"}), "Rock - [Drums, 4/4]");
  EXPECT_EQ(ItemText({272, kBass, "Polka"}), "Polka - [Bass, 2/4]");
}

TEST(StyleEntryTest, NameAndTypeOfAnItemTakeTheLastBracket) {
  EXPECT_EQ(StyleNameOfItem("Waltz1 - [Treble, 3/4]"), "Waltz1");
  EXPECT_EQ(StyleNameOfItem("Fills [old] - [Drums, 4/4]"), "Fills [old]");
  EXPECT_EQ(TypeWordOfItem("Fills [old] - [Drums, 4/4]"), "DRUMS");
  EXPECT_EQ(TypeWordOfItem("Rock Bass - [Bass, 4/4]"), "BASS");
  EXPECT_EQ(TypeWordOfItem("no type"), "");
  EXPECT_EQ(StyleNameOfItem("no type"), "no type");
  EXPECT_EQ(StyleNameOfItem(ItemText({528, kTreble, "A - [B] x"})), "A - [B] x");
  EXPECT_EQ(StyleNameOfItem(ItemText({400, kDrums, " Padded "})), "Padded");
}

TEST(StyleEntryTest, FilterMatrix) {
  const StyleEntry styles[] = {
      {272, kTreble, "a"}, {400, kBass, "b"}, {528, kDrums, "c"}, {6 * 128 + 8, kTreble, "d"}};
  // Rows: type index 0..3; columns: beat index 0..4; the names that pass.
  const char* expected[4][5] = {{"abcd", "a", "b", "c", "d"},
                                {"ad", "a", "", "", "d"},
                                {"b", "", "b", "", ""},
                                {"c", "", "", "c", ""}};
  for (int type = 0; type < 4; ++type) {
    for (int beat = 0; beat < 5; ++beat) {
      std::string passed;
      for (const StyleEntry& entry : styles)
        if (PassesFilters(entry, type, beat)) passed += entry.name;
      EXPECT_EQ(passed, expected[type][beat]) << "type " << type << " beat " << beat;
    }
  }
}

TEST(StyleEntryTest, TypeAndBeatOfAStyleScore) {
  using testing::MakeStyle;
  struct Case {
    int clef;
    long beat;
    int program;
    StyleType type;
    long listed;
  } cases[] = {
      {notecraft::clfTreble, 3 * 128 + 16, 0, kTreble, 400},
      {notecraft::clfBass, 6 * 128 + 8, 32, kBass, 6 * 128 + 8},
      {notecraft::clfPercussion, 4 * 128 + 16, 128, kDrums, 528},
      {notecraft::clfAlto, 0, 0, kTreble, 528},    // common time
      {notecraft::clfTreble, 1, 0, kTreble, 272},  // cut time
  };
  for (const Case& c : cases) {
    const auto style = MakeStyle(c.clef, c.beat, {{0, {60}}}, c.program);
    const auto entry = DescribeStyle(*style, "x");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->type, c.type) << c.clef;
    EXPECT_EQ(entry->beat, c.listed) << c.beat;
    EXPECT_EQ(IsDrumStyle(*style), c.type == kDrums);
  }
}

TEST(InsertRangeTest, BoxesToMeasuresAndShift) {
  EXPECT_EQ(FirstMeasure("First"), 1);
  EXPECT_EQ(FirstMeasure("first"), 1);
  EXPECT_EQ(FirstMeasure("7"), 7);
  EXPECT_EQ(FirstMeasure("0"), 1);
  EXPECT_EQ(FirstMeasure("abc"), 1);
  EXPECT_EQ(FirstMeasure("2.6"), 3);
  EXPECT_EQ(FirstMeasure("99999999999999"), kToScoreEnd - 1);

  struct Case {
    int first;
    bool forCount;
    const char* quant;
    const char* through;
    int end;
  } cases[] = {
      {3, true, "2", "", 5},
      {3, true, "Null", "", 4},
      {3, true, "", "", 4},
      {3, false, "", "5", 6},
      {3, false, "", "2", 4},
      {3, false, "", "Last", kToScoreEnd},
      {3, false, "", "last", kToScoreEnd},
      {3, true, "99999999", "", kToScoreEnd - 1},
      {3, false, "", "99999", kToScoreEnd - 1},
      {3, false, "", "x", 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EndMeasure(c.first, c.forCount, c.quant, c.through), c.end)
        << c.quant << "|" << c.through;

  EXPECT_EQ(StyleShift("0", 0), 0);
  EXPECT_EQ(StyleShift("1", 2), 14);
  EXPECT_EQ(StyleShift("-3", 11), -25);
  EXPECT_EQ(StyleShift("9", 0), 36);  // the octave stays within -3..3
  EXPECT_EQ(StyleShift("", 4), 4);
  EXPECT_EQ(StyleShift("2", -1), 0);  // no root chosen: a drum style
}

}  // namespace
}  // namespace veltrimond::styles
