// What a release on the page enters and what the arrow keys change.
#include <gtest/gtest.h>

#include "layoutpad/core/noteentry.h"
#include "notecraft/core/enums.h"

namespace layoutpad {
namespace {

using namespace notecraft;

TEST(StyleNoteEntry, ToolFromTheButtonsImageKey) {
  const std::pair<const char*, int> keys[] = {{"N01", 1},  {"N02", 2},  {"N04", 4}, {"N08", 8},
                                              {"N16", 16}, {"N32", 32}, {"N", 0},   {"", 0},
                                              {"Nx8", 0},  {"N999", 0}};
  for (const auto& [key, tool] : keys) EXPECT_EQ(ToolFromImageKey(key), tool) << key;
}

TEST(StyleNoteEntry, DurationOfEachTool) {
  const std::pair<int, int> tools[] = {
      {1, durWhole},      {2, durHalf},          {4, durQuarter},      {8, durEighth},
      {16, durSixteenth}, {32, durThirtySecond}, {0, durThirtySecond}, {3, durThirtySecond}};
  for (const auto& [tool, duration] : tools) EXPECT_EQ(DurationForTool(tool), duration) << tool;
}

TEST(StyleNoteEntry, SnapOnlyWithAlignByItsPicture) {
  Enhancements enhance;
  EXPECT_EQ(SnapFor(enhance), 0) << "Align off";
  enhance.Align = true;
  EXPECT_EQ(SnapFor(enhance), 4) << "the Align button carries the sixteenth";
  const std::pair<const char*, int> images[] = {{"N01", 64}, {"N02", 32}, {"N04", 16}, {"N08", 8},
                                                {"N16", 4},  {"N32", 2},  {"Z01", 2}};
  for (const auto& [image, snap] : images) {
    enhance.AlignImage = image;
    EXPECT_EQ(SnapFor(enhance), snap) << image;
  }
}

TEST(StyleNoteEntry, FlagsByTypeDotAndStaccatoNeverOnDrums) {
  Enhancements all;
  all.Dot = all.Staccato = all.Triplet = true;
  EXPECT_EQ(FlagsFor(StyleType::Treble, all), nteDot | nteStacato | nteTriplet);
  EXPECT_EQ(FlagsFor(StyleType::Bass, all), nteDot | nteStacato | nteTriplet);
  EXPECT_EQ(FlagsFor(StyleType::Drums, all), nteTriplet);
  Enhancements dotOnly;
  dotOnly.Dot = true;
  EXPECT_EQ(FlagsFor(StyleType::Bass, dotOnly), nteDot);
  EXPECT_EQ(FlagsFor(StyleType::Drums, dotOnly), 0);
  EXPECT_EQ(FlagsFor(StyleType::Treble, Enhancements{}), 0);
}

TEST(StyleNoteEntry, PointIsTheReleaseRoundedHalfToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(7.49), 7);
  EXPECT_EQ(RoundHalfEven(1e30), 2000000000);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);

  Enhancements enhance;
  enhance.Align = true;
  enhance.Staccato = true;
  EXPECT_EQ(ComposeNoteEntry(1000.5, 2030.5, 8, StyleType::Treble, enhance),
            (NoteEntry{1000, 2030, durEighth, nteStacato, 4}));
  EXPECT_EQ(ComposeNoteEntry(1001.5, 2031.5, 7, StyleType::Drums, enhance),
            (NoteEntry{1002, 2032, durThirtySecond, 0, 4}));
}

TEST(StyleNoteEntry, ArrowsMoveInTimeOrPitch) {
  EXPECT_EQ(ChangeForArrow(ArrowKey::Left), (LastNoteChange{-1, true}));
  EXPECT_EQ(ChangeForArrow(ArrowKey::Right), (LastNoteChange{1, true}));
  EXPECT_EQ(ChangeForArrow(ArrowKey::Up), (LastNoteChange{1, false}));
  EXPECT_EQ(ChangeForArrow(ArrowKey::Down), (LastNoteChange{-1, false}));
}

}  // namespace
}  // namespace layoutpad
