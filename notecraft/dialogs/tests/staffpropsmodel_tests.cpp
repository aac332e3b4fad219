// The staff dialog's rules on real scores and the shipped instrument table.

#include <gtest/gtest.h>

#include "dialogfixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/dialogs/staffpropsmodel.h"

namespace notecraft::dialogs {
namespace {

using S = StaffPropsModel;
using testing::MakeScore;

constexpr int kViolin = 40, kFlute = 73, kCello = 42, kSnare = 166;

// Staff 2 has three voices: a flute, and two violins (another category).
class StaffProps : public ::testing::Test {
protected:
  void SetUp() override {
    score = MakeScore({"Piano", "Winds"});
    auto staff = score->Staff(2);
    auto& instruments = score->AllInstruments();
    staff->Voice(1)->SetInstrumentID(
        Internal{}, instruments.Add(instruments.NewID(), kFlute)->InstrumentID(Internal{}));
    auto violin = instruments.Add(instruments.NewID(), kViolin);
    staff->AddVoice(violin)->SetDescription("Violin I");
    staff->AddVoice(violin)->SetDescription("Violin II");
    staff->SetSelected(true);
    score->SetChanged(false);
    model.Init(*score);
  }
  std::shared_ptr<Staff> Staff2() { return score->Staff(2); }
  std::unique_ptr<Score> score;
  S model;
};

TEST_F(StaffProps, LoadsTheSelectedStaff) {
  EXPECT_EQ(model.StaffIndex(), 2);
  EXPECT_EQ(model.VoiceCount(), 3);
  EXPECT_EQ(model.Category(), catWind);
  EXPECT_EQ(model.Types()[static_cast<std::size_t>(model.TypeIndex())].Value, kFlute);
  EXPECT_EQ(model.Record(1).Description, "Violin I");  // the voice's own description
  EXPECT_FALSE(model.Modified());
}

TEST_F(StaffProps, CategoryListsItsRows) {
  model.ChooseCategory(catSolo);
  EXPECT_EQ(model.Types().size(), static_cast<std::size_t>(InstrumentTable::kRows));
  model.ChooseCategory(catString);
  for (const auto& type : model.Types())
    EXPECT_EQ(TheCommon().Instruments.Row(type.Value).Category, catString) << type.Description;
}

TEST_F(StaffProps, DrumsOnlyForTheFirstVoice) {
  model.ShowVoice(1);
  model.ChooseCategory(catDrums);
  EXPECT_EQ(model.ShownVoice(), 0);
  EXPECT_EQ(model.Record(1).Category, catString);
  EXPECT_FALSE(model.DrumMode());
}

TEST_F(StaffProps, ACategoryGivesEveryVoiceTheShownInstrument) {
  model.ChooseCategory(catBrass);
  const S::VoiceRecord first = model.Record(0);
  for (int v : {1, 2}) {
    EXPECT_EQ(model.Record(v).Category, catBrass);
    EXPECT_EQ(model.Record(v).Value, first.Value);
    EXPECT_EQ(model.Record(v).Offset, first.Offset);
  }
}

TEST_F(StaffProps, EnteringDrumsFillsEmptySlotsOnly) {
  auto drums = Staff2()->Voice(1)->Instrument();
  drums->SetDrumCode(3, 150);  // a slot in use keeps its sound
  drums->SetDrumValue(3, 57);
  model = S{};
  model.Init(*score);
  model.ChooseCategory(catDrums);
  ASSERT_TRUE(model.DrumMode());
  const int sound = model.Types()[static_cast<std::size_t>(model.TypeIndex())].Value;
  for (int k = 0; k < S::kDrumSlots; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(model.Record(0).DrumCode[static_cast<std::size_t>(k)], k == 2 ? 150 : sound);
  }
  EXPECT_EQ(model.Clef(), clfPercussion);

  // Choosing a sound for slot 2 and applying writes the drum map.
  model.ChooseDrumSlot(1);
  const auto snare = std::find_if(model.Types().begin(), model.Types().end(),
                                  [](const InstrumentChoice& c) { return c.Value == kSnare; });
  model.ChooseType(static_cast<int>(snare - model.Types().begin()));
  model.Apply(*score);
  auto kit = Staff2()->Voice(1)->Instrument();
  EXPECT_EQ(kit->Category(), catDrums);
  EXPECT_EQ(kit->DrumCode(2), kSnare);
  EXPECT_EQ(kit->DrumValue(2), TheCommon().Instruments.Row(kSnare).Offset);
  EXPECT_EQ(kit->DrumCode(3), 150);
}

TEST_F(StaffProps, VoiceCountChanges) {
  model.SetVoiceCount(2);
  model.SetDescription("Winds 2");
  model.Apply(*score);
  EXPECT_EQ(Staff2()->Voices(), 3);  // Apply never removes a voice

  auto score1 = MakeScore({"Piano"});
  S cancelled;
  cancelled.Init(*score1);
  cancelled.SetVoiceCount(2);
  EXPECT_TRUE(cancelled.Modified());
  EXPECT_EQ(score1->Staff(1)->Voices(), 1);  // nothing until Apply (Cancel drops it)
  cancelled.Apply(*score1);
  ASSERT_EQ(score1->Staff(1)->Voices(), 2);
  EXPECT_EQ(score1->Staff(1)->Voice(2)->Instrument(), score1->Staff(1)->Voice(1)->Instrument());
}

TEST_F(StaffProps, AStaffWithoutVoicesGetsOne) {
  score->Staff(1)->Clear();
  score->Staff(1)->SetSelected(true);
  S dialog;
  dialog.Init(*score);
  EXPECT_EQ(dialog.VoiceCount(), 0);
  dialog.SetVoiceCount(1);
  EXPECT_EQ(dialog.ShownVoice(), 0);
  dialog.Apply(*score);
  EXPECT_EQ(score->Staff(1)->Voices(), 1);
}

TEST_F(StaffProps, MovingToAnotherStaffAppliesFirst) {
  model.SetDescription("Woodwinds");
  model.MoveToStaff(*score, 1);
  EXPECT_EQ(Staff2()->Description(), "Woodwinds");
  EXPECT_EQ(model.StaffIndex(), 1);
  EXPECT_EQ(model.Description(), "Piano");
  EXPECT_FALSE(model.Modified());
}

TEST_F(StaffProps, AVoiceNamedLikeAPlaceholderKeepsItsNotes) {
  Staff2()->Voice(3)->SetDescription("[Add]");
  Staff2()->Voice(3)->Notes().Add(0, 60, 16, 0);
  {
    S dialog;
    dialog.Init(*score);
    dialog.SetVoiceCount(2);
    dialog.SetVoiceCount(3);
  }  // closed without Apply
  EXPECT_EQ(Staff2()->Voice(3)->Notes().Count(), 1);
}

TEST_F(StaffProps, ApplyWritesTheStaffOnce) {
  model.SetDescription("Woodwinds");
  model.SetHeightText("150");
  model.LeaveHeight();
  EXPECT_EQ(model.HeightText(), "100");
  model.SetHeightText("10");
  model.LeaveHeight();
  EXPECT_EQ(model.HeightText(), "25");
  model.SetMute(true);
  model.SetFlag(0, false);
  model.SetFlag(4, true);
  model.ChooseClef(clfBass);
  model.ShowVoice(1);
  model.SetVoiceText("First violins");
  model.Apply(*score);
  auto staff = Staff2();
  EXPECT_EQ(staff->Description(), "Woodwinds");
  EXPECT_EQ(staff->ScalePct(), 25);
  EXPECT_TRUE(staff->Mute());
  EXPECT_EQ(staff->Flags() & 17, 16);
  EXPECT_EQ(staff->DefaultClef(), clfBass);
  EXPECT_EQ(staff->Voice(2)->Description(), "First violins");
  EXPECT_EQ(staff->Voice(3)->Description(), "Violin II");  // untouched descriptions stay
  EXPECT_TRUE(score->Changed());

  score->SetChanged(false);
  model.Apply(*score);  // nothing changed since
  EXPECT_FALSE(score->Changed());
}

TEST_F(StaffProps, ANewProgramWithSixteenInstrumentsLeavesTheVoice) {
  auto& instruments = score->AllInstruments();
  for (int program = 0; instruments.Count() < Instruments::kMaxInstruments; ++program)
    instruments.Add(instruments.NewID(), program);
  const auto before = Staff2()->Voice(1)->Instrument();
  model.ChooseCategory(catString);
  const auto cello = std::find_if(model.Types().begin(), model.Types().end(),
                                  [](const InstrumentChoice& c) { return c.Value == kCello; });
  model.ChooseType(static_cast<int>(cello - model.Types().begin()));
  model.Apply(*score);
  EXPECT_EQ(Staff2()->Voice(1)->Instrument(), before);
}

}  // namespace
}  // namespace notecraft::dialogs
