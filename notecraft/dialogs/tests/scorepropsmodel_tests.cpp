// The score dialog's rules on real scores: reading the score once, the time signature and
// pulse, paper and lengths in the unit of measure, tempo, numbering, chords and capo.

#include <gtest/gtest.h>

#include "dialogfixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/dialogs/scorepropsmodel.h"

namespace notecraft::dialogs {
namespace {

using P = ScorePropsModel;
using testing::MakeScore;

class ScoreProps : public ::testing::Test {
protected:
  void SetUp() override { score = MakeScore(); }
  void TearDown() override { score->SetUOM(uomInches); }  // the unit is process-wide
  void Open() {
    model = P{};
    model.Init(*score);
  }
  std::unique_ptr<Score> score;
  P model;
};

TEST_F(ScoreProps, OkWithoutEditsWritesNothing) {
  Open();
  model.Apply(*score);
  EXPECT_FALSE(score->Changed());
}

TEST_F(ScoreProps, TimeSignatureAndPulse) {
  score->AllGlobals().SetDftTimeVal(6 * 128 + 8);
  score->AllGlobals().SetPulseValue(24);
  Open();
  EXPECT_EQ(model.TimeOption(), 7);
  EXPECT_EQ(model.PulseText(), "2");
  model.ChooseTime(8);  // 9/8
  EXPECT_EQ(model.PulseText(), "3");
  model.Apply(*score);
  EXPECT_EQ(score->AllGlobals().DftTimeVal(), 1160);
  EXPECT_EQ(score->AllGlobals().PulseValue(), 24);

  score->AllGlobals().SetDftTimeVal(904);  // 7/8 is custom
  Open();
  EXPECT_EQ(model.TimeOption(), 9);
  EXPECT_EQ(model.TimeText(0), "7");
  EXPECT_EQ(model.TimeText(1), "8");
  EXPECT_FALSE(model.TimeTextEnabled());
  model.SetTextOf(P::kTitle, "Other");
  model.Apply(*score);
  EXPECT_EQ(score->AllGlobals().DftTimeVal(), 904);
}

TEST_F(ScoreProps, CustomSignaturesAreCorrected) {
  struct Case {
    const char *numerator, *denominator;
    int value;
    const char *shownNumerator, *shownDenominator;
  };
  const Case cases[] = {{"3", "5", 400, "3", "4"},
                        {"0", "4", 528, "4", "4"},
                        {"7", "8", 904, "7", "8"},
                        {"", "", 528, "4", "4"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.numerator << "/" << c.denominator);
    Open();
    model.ChooseTime(9);
    model.SetTimeText(0, c.numerator);
    model.SetTimeText(1, c.denominator);
    model.Apply(*score);
    EXPECT_EQ(score->AllGlobals().DftTimeVal(), c.value);
    EXPECT_EQ(model.TimeText(0), c.shownNumerator);
    EXPECT_EQ(model.TimeText(1), c.shownDenominator);
    // A corrected box counts as an edit again, as the user sees a new value.
    const bool corrected = std::string(c.shownNumerator) != c.numerator ||
                           std::string(c.shownDenominator) != c.denominator;
    EXPECT_EQ(model.Modified(), corrected);
  }
}

TEST_F(ScoreProps, PaperInMillimetres) {
  score->SetUOM(uomMM);
  Open();
  model.ChoosePageSize(pgsA4);
  EXPECT_EQ(model.PageLength(0).Text, "210mm");
  EXPECT_EQ(model.PageLength(1).Text, "297mm");
  model.ChooseOrientation(pgeLandscape);
  EXPECT_EQ(model.PageLength(0).Text, "297mm");
  EXPECT_EQ(model.PageLength(1).Text, "210mm");
  model.ChooseOrientation(pgePortrait);
  EXPECT_EQ(model.PageLength(0).Text, "210mm");
  model.Apply(*score);
  EXPECT_EQ(score->PageSize(), pgsA4);
  EXPECT_NEAR(score->PageWidth(), 8.27f, 0.001);
}

TEST_F(ScoreProps, RepeatedApplyInMillimetresKeepsACustomPage) {
  score->SetPageWidth(8.27f);
  score->SetPageHeight(12.0f);
  score->SetUOM(uomMM);
  ASSERT_EQ(score->PageSize(), pgsCustom);
  for (int i = 0; i < 3; ++i) {
    Open();
    model.SetTextOf(P::kTitle, "Apply " + std::to_string(i));
    model.Apply(*score);
  }
  EXPECT_FLOAT_EQ(score->PageWidth(), 8.27f);
  EXPECT_FLOAT_EQ(score->StaffHeight(), 0.4f);
}

TEST_F(ScoreProps, LengthsThatDoNotReadKeepSizesButAllowZeroMargins) {
  Open();
  model.ChoosePageSize(P::kCustomPage);
  model.SetPageText(0, "wide");
  model.SetDimensionText(0, "0");
  model.SetMarginText(marTop, "0");
  model.SetDimensionText(1, "0,25\"");  // a comma reads as a decimal separator
  model.Apply(*score);
  EXPECT_FLOAT_EQ(score->PageWidth(), 8.5f);
  EXPECT_FLOAT_EQ(score->StaffHeight(), 0.4f);
  EXPECT_FLOAT_EQ(score->Margins(marTop), 0.0f);
  EXPECT_FLOAT_EQ(score->StaffSpace(), 0.25f);
}

TEST_F(ScoreProps, TempoNoteAndAnEmptyTempo) {
  Open();
  EXPECT_EQ(model.TempoNote(), 'q');
  model.SetTempoText("");
  for (int i = 0; i < 4; ++i) model.CycleTempoNote();
  EXPECT_EQ(model.TempoNote(), 'q');
  EXPECT_TRUE(model.Modified());
  model.CycleTempoNote();  // 'h'
  model.Apply(*score);
  EXPECT_EQ(score->Count(), 120);
  EXPECT_EQ(score->Beat(), durHalf);
}

TEST_F(ScoreProps, KeyNumberingAndFonts) {
  Open();
  model.SetMinor(true);
  model.ChooseKey(4);
  model.SetNumberMeasures(true);
  model.ChooseNumberOption(1);
  model.ChooseNumberPos(4);
  auto font = model.Font(fntTitle);
  font.Italic = true;
  font.Size = 20;
  model.SetFont(fntTitle, font);
  model.Apply(*score);
  EXPECT_TRUE(score->Minor());
  EXPECT_EQ(score->Key(), -3);
  EXPECT_TRUE(score->NumberMeasures());
  EXPECT_EQ(score->NumberMeasuresBy(), 0);
  EXPECT_EQ(score->NumberPos(), 4);
  EXPECT_TRUE(score->Fonts(fntTitle)->Italic);
  EXPECT_FLOAT_EQ(score->Fonts(fntTitle)->Size, 20.0f);

  Open();
  model.ChooseNumberOption(0);
  model.SetNumberText("30");
  model.ValidateNumberText();
  EXPECT_EQ(model.NumberText(), "25");
  model.Apply(*score);
  EXPECT_EQ(score->NumberMeasuresBy(), 25);
}

TEST_F(ScoreProps, ChordsAndCapo) {
  score->SetUseChords(true);
  score->SetUseChordMaps(true);
  Open();
  model.SetCapo(true);  // with an empty box
  model.Apply(*score);
  EXPECT_FALSE(score->UseCapo());

  Open();
  model.SetCapo(true);
  model.SetCapoText("3");
  model.Apply(*score);
  EXPECT_TRUE(score->UseCapo());
  EXPECT_EQ(score->Capo(), 3);

  Open();
  model.SetChords(0, false);
  EXPECT_FALSE(model.Chords(1));
  EXPECT_FALSE(model.Capo());
  model.Apply(*score);
  EXPECT_FALSE(score->UseChords());
  EXPECT_FALSE(score->UseCapo());
}

}  // namespace
}  // namespace notecraft::dialogs
