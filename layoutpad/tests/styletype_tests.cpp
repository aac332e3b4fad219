// The style type on real scores: which changes rebuild the staff, what the rebuilt staff
// plays, and the drum list of a kit.
#include <gtest/gtest.h>

#include "layoutpad/core/styletype.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace layoutpad {
namespace {

using notecraft::Score;

std::shared_ptr<notecraft::Instrument> FirstInstrument(const Score& style) {
  auto staff = style.Staff(1);
  auto voice = staff ? staff->Voice(1) : nullptr;
  return voice ? voice->Instrument() : nullptr;
}

int NoteCount(const Score& style) {
  int count = 0;
  for (const auto& voice : style.AllVoices()) count += voice->Notes().Count();
  return count;
}

class StyleTypeTest : public ::testing::Test {
protected:
  void SetUp() override {
    style.CreateDefault();
    style.AddNote(1, 0, 60, 16, 0);
    style.AddNote(1, 16, 62, 16, 0);
    style.SetChanged(false);
  }
  Score style;
};

TEST(StyleTypeClefs, TypeAndClefMapBothWays) {
  EXPECT_EQ(ClefForType(StyleType::Treble), notecraft::clfTreble);
  EXPECT_EQ(ClefForType(StyleType::Bass), notecraft::clfBass);
  EXPECT_EQ(ClefForType(StyleType::Drums), notecraft::clfPercussion);
  const std::pair<int, StyleType> clefs[] = {
      {notecraft::clfPercussion, StyleType::Drums}, {notecraft::clfTreble, StyleType::Treble},
      {notecraft::clfBass, StyleType::Bass},        {notecraft::clfAlto, StyleType::Treble},
      {notecraft::clfGrand, StyleType::Treble},     {-5, StyleType::Treble}};
  for (const auto& [clef, type] : clefs) EXPECT_EQ(TypeForClef(clef), type) << "clef " << clef;
}

TEST_F(StyleTypeTest, TheTypeTheStyleHasChangesNothing) {
  ASSERT_EQ(style.Staff(1)->DefaultClef(), notecraft::clfTreble);
  const auto before = FirstInstrument(style);
  EXPECT_FALSE(ApplyStyleType(style, StyleType::Treble));
  EXPECT_EQ(NoteCount(style), 2);
  EXPECT_EQ(FirstInstrument(style), before);
  EXPECT_FALSE(style.Changed());
}

TEST_F(StyleTypeTest, BassRebuildsTheStaffWithTheMelodicInstrument) {
  EXPECT_TRUE(ApplyStyleType(style, StyleType::Bass));
  EXPECT_EQ(NoteCount(style), 0) << "every note goes with the old voice";
  EXPECT_EQ(style.AllInstruments().Count(), 1);
  EXPECT_EQ(style.AllVoices().Count(), 1);
  auto staff = style.Staff(1);
  EXPECT_EQ(staff->Voices(), 1);
  EXPECT_EQ(staff->DefaultClef(), notecraft::clfBass);
  auto instrument = FirstInstrument(style);
  ASSERT_NE(instrument, nullptr);
  EXPECT_EQ(instrument->TableRow(), kMelodicInstrument);
  EXPECT_TRUE(style.Changed());

  // Treble after Bass differs in clef only, and still starts afresh.
  style.AddNote(1, 0, 48, 16, 0);
  EXPECT_TRUE(ApplyStyleType(style, StyleType::Treble));
  EXPECT_EQ(NoteCount(style), 0);
  EXPECT_EQ(style.Staff(1)->DefaultClef(), notecraft::clfTreble);
}

TEST_F(StyleTypeTest, DrumsGetTheKitAndItsList) {
  EXPECT_TRUE(ApplyStyleType(style, StyleType::Drums));
  auto instrument = FirstInstrument(style);
  ASSERT_NE(instrument, nullptr);
  EXPECT_EQ(instrument->Category(), notecraft::catDrums);
  EXPECT_EQ(instrument->TableRow(), kDrumKitInstrument);
  EXPECT_EQ(instrument->Channel(), 9);
  EXPECT_EQ(style.Staff(1)->DefaultClef(), notecraft::clfPercussion);
  for (int slot = 1; slot <= 8; ++slot) {
    EXPECT_EQ(instrument->DrumCode(slot), kDrumKit[slot - 1].Code) << "slot " << slot;
    EXPECT_EQ(instrument->DrumValue(slot), kDrumKit[slot - 1].Value) << "slot " << slot;
  }

  const auto list = DrumList(style);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->size(), 8u);
  for (int slot = 1; slot <= 8; ++slot) {
    EXPECT_EQ((*list)[slot - 1].Slot, slot);
    EXPECT_EQ((*list)[slot - 1].Name, style.InsDesc(kDrumKit[slot - 1].Code));
    EXPECT_FALSE((*list)[slot - 1].Name.empty());
  }
  EXPECT_FALSE(ApplyStyleType(style, StyleType::Drums)) << "already a drum style";
}

TEST_F(StyleTypeTest, NoDrumListForMelodicStylesOrAStyleWithoutAVoice) {
  EXPECT_FALSE(DrumList(style).has_value());
  style.Staff(1)->Clear();
  EXPECT_FALSE(DrumList(style).has_value());
  Score empty;
  EXPECT_FALSE(DrumList(empty).has_value());
  EXPECT_FALSE(ApplyStyleType(empty, StyleType::Drums)) << "no staff to rebuild";
}

// The list walks the slots until an empty one or slot 1's drum comes round again, and
// leaves out a drum repeated next to itself; each entry keeps the slot it plays.
TEST_F(StyleTypeTest, DrumListSkipsRepeatsAndStopsAtTheEndOfTheKit) {
  ASSERT_TRUE(ApplyStyleType(style, StyleType::Drums));
  auto kit = FirstInstrument(style);
  struct Case {
    std::array<int, 8> codes;
    std::vector<int> slots;
  };
  const Case cases[] = {
      {{128, 130, 135, 0, 152, 153, 154, 155}, {1, 2, 3}},
      {{128, 128, 135, 140, 152, 153, 154, 155}, {1}},
      {{128, 130, 128, 140, 152, 153, 154, 155}, {1, 2}},
      {{128, 130, 130, 130, 135, 135, 140, 140}, {1, 2, 5, 7}},
      {{0, 130, 135, 140, 152, 153, 154, 155}, {}},
  };
  for (const Case& c : cases) {
    for (int slot = 1; slot <= 8; ++slot) kit->SetDrumCode(slot, c.codes[slot - 1]);
    const auto list = DrumList(style);
    ASSERT_TRUE(list.has_value());
    std::vector<int> slots;
    for (const DrumEntry& entry : *list) slots.push_back(entry.Slot);
    EXPECT_EQ(slots, c.slots) << "first codes " << c.codes[0] << "," << c.codes[1];
  }
}

}  // namespace
}  // namespace layoutpad
