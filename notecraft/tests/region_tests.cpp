#include "notecraft/core/region.h"

#include <gtest/gtest.h>

#include "notecraft/core/internal.h"

namespace notecraft {
namespace {

// A band with three measures whose entries all hold something.
Region ThreeMeasures() {
  Region band{Internal{}};
  band.SetMeasures(3);
  for (int i = 0; i < 3; ++i) {
    band.Measure(i)->SetLow(Internal{}, 1000 + i);
    band.Measure(i)->SetHigh(Internal{}, 64 * i);
    band.SetMeasureFlag(i, 16 * (i + 1));
    band.SetMeasurePad(i, 288 + i);
  }
  return band;
}

TEST(Region, ANewBandHasNoMeasures) {
  const Region band{Internal{}};
  EXPECT_EQ(band.Measures(), 0);
  EXPECT_EQ(band.Measure(0), nullptr);
  EXPECT_EQ(band.MeasureFlag(0), 0);
  EXPECT_EQ(band.MeasurePad(0), 0);
}

TEST(Region, PerMeasureAccessorsIgnoreIndexesOutsideTheMeasures) {
  Region band = ThreeMeasures();
  EXPECT_EQ(band.MeasureFlag(5), 0);
  EXPECT_EQ(band.MeasureFlag(-1), 0);
  EXPECT_EQ(band.MeasurePad(3), 0);
  EXPECT_EQ(band.Measure(-1), nullptr);
  EXPECT_EQ(band.Measure(3), nullptr);

  band.SetMeasurePad(3, 99);
  band.SetMeasureFlag(-1, 99);
  Range r;
  r.SetLow(Internal{}, 5);
  band.SetMeasure(3, r);
  band.SetMeasure(-2, r);
  EXPECT_EQ(band.Measures(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(band.MeasurePad(i), 288 + i);
    EXPECT_EQ(band.MeasureFlag(i), 16 * (i + 1));
    EXPECT_EQ(band.Measure(i)->Low(), 1000 + i);
  }

  band.SetMeasure(1, r);  // a valid index replaces the measure's place
  EXPECT_EQ(band.Measure(1)->Low(), 5);
  EXPECT_EQ(band.Measure(1)->High(), 0);
}

TEST(Region, SettingTheSameCountKeepsTheEntriesAndAnotherCountZeroesThem) {
  Region band = ThreeMeasures();
  band.SetMeasures(3);
  EXPECT_EQ(band.Measure(2)->Low(), 1002);
  EXPECT_EQ(band.MeasurePad(2), 290);

  band.SetMeasures(2);
  ASSERT_EQ(band.Measures(), 2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(band.Measure(i), nullptr);
    EXPECT_EQ(band.Measure(i)->Low(), 0);
    EXPECT_EQ(band.Measure(i)->High(), 0);
    EXPECT_EQ(band.MeasureFlag(i), 0);
    EXPECT_EQ(band.MeasurePad(i), 0);
  }
}

TEST(Region, ANegativeCountIsNoMeasures) {
  Region band = ThreeMeasures();
  band.SetMeasures(-4);
  EXPECT_EQ(band.Measures(), 0);
  EXPECT_EQ(band.Measure(0), nullptr);
}

}  // namespace
}  // namespace notecraft
