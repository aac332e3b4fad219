#include <gtest/gtest.h>

#include <string>

#include "notecraft/dialogs/dialogflags.h"
#include "notecraft/dialogs/numericfield.h"

namespace notecraft::dialogs {
namespace {

TEST(NumericField, KeyFilterLetsDigitsAndBackspaceThrough) {
  for (char32_t ch : {U'0', U'5', U'9', U'\b'}) EXPECT_TRUE(IsNumberBoxKey(ch));
  for (char32_t ch : {U'a', U'-', U'.', U' ', U'\u00B2'}) EXPECT_FALSE(IsNumberBoxKey(ch));
}

TEST(NumericField, ValidationReadsTheLeadingNumberAndClamps) {
  struct Case {
    const char* text;
    NumberRange range;
    int expected;
  };
  const Case cases[] = {
      {"0", {1, 24}, 1},
      {"99", {1, 24}, 24},
      {"30", {1, 24}, 24},
      {"", {1, 24}, 1},
      {"abc", {1, 25}, 1},
      {"12abc", {1, 25}, 12},
      {"2.5", {1, 24}, 2},  // halves to even
      {"3.5", {1, 24}, 4},
      {" 7", {1, 24}, 7},
      // Digit runs far beyond any integer saturate instead of wrapping.
      {"99999999999999999999999999999", {1, 99999}, 99999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ValidateNumber(c.text, c.range), c.expected);
  }
}

TEST(NumericField, SpinStepsStayInsideTheRange) {
  EXPECT_EQ(StepNumber("1", -1, {1, 99999}), 1);
  EXPECT_EQ(StepNumber("99999", +1, {1, 99999}), 99999);
  EXPECT_EQ(StepNumber("5", +1, {1, 24}), 6);
  EXPECT_EQ(StepNumber(std::string(40, '9'), +1, {1, 24}), 24);
}

TEST(DialogFlags, ModifiedCountsOnlyOnceLoaded) {
  DialogFlags flags;
  EXPECT_FALSE(flags.SetModified(true));  // changes while Init fills the controls
  EXPECT_FALSE(flags.Modified());
  flags.FinishLoading();
  EXPECT_TRUE(flags.SetModified(true));
  EXPECT_FALSE(flags.SetModified(true));  // the same value: nothing
  {
    LoadedOff quiet(flags);
    EXPECT_FALSE(flags.Loaded());
  }
  EXPECT_TRUE(flags.Loaded());
}

TEST(DialogFlags, ApplyWritesOnceAfterEachEdit) {
  DialogFlags flags;
  flags.FinishLoading();
  EXPECT_FALSE(flags.BeginApply());  // Ok without edits writes nothing
  flags.SetModified(true);
  EXPECT_TRUE(flags.BeginApply());
  EXPECT_FALSE(flags.Modified());
  EXPECT_FALSE(flags.BeginApply());  // a second Apply does nothing
}

}  // namespace
}  // namespace notecraft::dialogs
