#include "notecraft/core/instruments.h"

#include <gtest/gtest.h>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "model_fixtures.h"

namespace notecraft {
namespace {

// A small table: rows 0, 24, 40, 56 melodic, 128 a drum sound.
class InstrumentsTest : public ::testing::Test {
protected:
  void SetUp() override {
    TheCommon().Instruments.LoadFromText(
        "8,1,Piano,3,21,108,0,0\n"
        "6,25,Guitar,1,40,83,0,12\n"
        "5,41,Violin,1,55,103,0,0\n"
        "4,57,Trumpet,1,54,86,2,20\n"
        "9,129,Kick,0,35,35,0,35\n");
  }
  void TearDown() override { TheCommon().Instruments.Clear(); }
  Instruments instruments;
};

TEST_F(InstrumentsTest, AddBuildsFromTheTableRow) {
  auto violin = instruments.Add("I1", 40);
  ASSERT_NE(violin, nullptr);
  EXPECT_EQ(violin->Value(), 40);
  EXPECT_EQ(violin->Category(), catString);
  EXPECT_EQ(violin->Group(), grpString);
  EXPECT_EQ(violin->Description(), "Violin");
  EXPECT_EQ(violin->DefaultClef(), clfTreble);
  EXPECT_EQ(violin->Range().Low(), 55);
  EXPECT_EQ(violin->Range().High(), 103);
  EXPECT_EQ(instruments.Item("I1"), violin);
  EXPECT_EQ(instruments.Item(1), violin);
  EXPECT_EQ(instruments.Item("nope"), nullptr);
  EXPECT_EQ(instruments.Item(2), nullptr);
}

TEST_F(InstrumentsTest, SameIDOrProgramReturnsTheExistingInstrument) {
  auto first = instruments.Add("I1", 40);
  EXPECT_EQ(instruments.Add("I2", 40), first);  // same program
  EXPECT_EQ(instruments.Add("I1", 24), first);  // same ID
  EXPECT_EQ(instruments.Count(), 1);
  EXPECT_EQ(instruments.Add("I3", 175), nullptr);
  EXPECT_EQ(instruments.Add("I3", -1), nullptr);
}

TEST_F(InstrumentsTest, RowsBeyondTheProgramsArePlayedAsProgramZero) {
  auto kick = instruments.Add("I1", 128);
  EXPECT_EQ(kick->Value(), 0);
  EXPECT_EQ(kick->TableRow(), 128);
  EXPECT_EQ(kick->FileCode(), 128);
  EXPECT_EQ(kick->Category(), catDrums);
  EXPECT_EQ(kick->Offset(), 35);  // a drum's offset is its note, out of the melodic range
}

// A piano asked for after a drum sound (both program 0) and two drum sounds stay apart, in
// either order; the same row asked for again is shared.
TEST_F(InstrumentsTest, DrumSoundsAndThePianoAreInstrumentsOfTheirOwn) {
  TheCommon().Instruments.LoadFromText(
      "8,1,Piano,3,21,108,0,0\n"
      "9,129,Kick,0,35,35,0,35\n"
      "9,131,Snare,0,38,38,0,38\n");
  auto kick = instruments.Add("I1", 128);
  auto piano = instruments.Add("I2", 0);
  auto snare = instruments.Add("I3", 130);
  ASSERT_NE(piano, nullptr);
  ASSERT_NE(snare, nullptr);
  EXPECT_NE(piano, kick);
  EXPECT_NE(snare, kick);
  EXPECT_EQ(instruments.Count(), 3);
  EXPECT_EQ(piano->Category(), catGrand);
  EXPECT_EQ(piano->Channel(), 0);
  EXPECT_EQ(kick->Channel(), 9);
  EXPECT_EQ(snare->Channel(), 9);
  EXPECT_EQ(snare->Offset(), 38);
  EXPECT_EQ(instruments.Add("I4", 0), piano);
  EXPECT_EQ(instruments.Add("I5", 130), snare);
  EXPECT_EQ(piano->FileCode(), 0);
}

TEST_F(InstrumentsTest, AMelodicInstrumentsRowFollowsItsProgram) {
  auto guitar = instruments.Add("I1", 24);
  guitar->SetValue(Internal{}, 40);
  EXPECT_EQ(guitar->TableRow(), 40);
  EXPECT_EQ(instruments.Add("I2", 40), guitar);
  auto kick = instruments.Add("I3", 128);
  kick->SetValue(Internal{}, 5);  // a kit's program selects the kit; its row stays
  EXPECT_EQ(kick->TableRow(), 128);
  EXPECT_EQ(kick->FileCode(), 128);
}

TEST_F(InstrumentsTest, OffsetOutsideAnOctaveIsIgnoredForMelodicInstruments) {
  auto trumpet = instruments.Add("I1", 56);
  EXPECT_EQ(trumpet->Offset(), 0);  // the table's 20 does not fit -12..12
  EXPECT_EQ(trumpet->Pitch(), 2);
}

TEST_F(InstrumentsTest, ChannelsDrumsOnNineOneChannelPerProgram) {
  auto piano = instruments.Add("I1", 0);
  auto guitar = instruments.Add("I2", 24);
  auto kit = instruments.Add("I3", 128);
  auto violin = instruments.Add("I4", 40);
  EXPECT_EQ(piano->Channel(), 0);
  EXPECT_EQ(guitar->Channel(), 1);
  EXPECT_EQ(kit->Channel(), 9);
  EXPECT_EQ(violin->Channel(), 2);
}

TEST_F(InstrumentsTest, RemoveKeepsDrumsOnNine) {
  auto piano = instruments.Add("I1", 0);
  auto guitar = instruments.Add("I2", 24);
  auto violin = instruments.Add("I3", 40);
  instruments.Remove("I1");
  EXPECT_EQ(guitar->Channel(), 0);
  EXPECT_EQ(violin->Channel(), 1);
  instruments.Remove(99);  // ignored
  EXPECT_EQ(instruments.Count(), 2);

  Instruments withKit;
  withKit.Add("A", 24);
  auto kit = withKit.Add("B", 128);
  withKit.Remove(1);
  EXPECT_EQ(kit->Channel(), 9);
}

TEST_F(InstrumentsTest, AtMostSixteen) {
  std::string table;
  for (int n = 1; n <= 20; ++n) table += "2," + std::to_string(n) + ",I,1,0,127,0,0\n";
  TheCommon().Instruments.LoadFromText(table);
  for (int i = 0; i < 16; ++i) ASSERT_NE(instruments.Add("I" + std::to_string(i), i), nullptr);
  EXPECT_EQ(instruments.Add("I16", 16), nullptr);
  EXPECT_NE(instruments.Add("I99", 3), nullptr);  // a program already present still answers
  // Fifteen melodic channels: the sixteenth program gets none and keeps channel 0.
  EXPECT_EQ(instruments.Item(16)->Channel(), 0);
  EXPECT_EQ(instruments.Item(15)->Channel(), 15);
}

TEST(Instrument, SettersKeepTheirLimits) {
  Instrument ins;
  const Internal key;
  ins.SetChannel(key, 16);
  ins.SetPitch(key, 8);
  ins.SetValue(key, 128);
  EXPECT_EQ(ins.Channel(), 0);
  EXPECT_EQ(ins.Pitch(), 0);
  EXPECT_EQ(ins.Value(), 0);
  ins.SetCategory(key, catDrums);
  EXPECT_EQ(ins.Channel(), 9);
  ins.SetDrumCode(1, 130);
  ins.SetDrumValue(8, 42);
  ins.SetDrumCode(9, 5);
  EXPECT_EQ(ins.DrumCode(1), 130);
  EXPECT_EQ(ins.DrumValue(8), 42);
  EXPECT_EQ(ins.DrumCode(0), 0);
  EXPECT_EQ(ins.DrumCode(9), 0);
  ins.SetCategory(key, catDrums);  // drums keep their map
  EXPECT_EQ(ins.DrumCode(1), 130);
  ins.SetCategory(key, catBrass);  // anything else clears it
  EXPECT_EQ(ins.DrumCode(1), 0);
  EXPECT_EQ(ins.Group(), grpBrass);
  ins.MutableRange(key).SetLow(key, -3);
  EXPECT_EQ(ins.Range().Low(), 0);
}

TEST(ObjectIDs, TimeOfDayWithTheLetterFirstCountedUpUntilFree) {
  testing::FixedClock clock(5);  // 00:00:05
  Instruments instruments;
  EXPECT_EQ(instruments.NewID(), "I5");
  clock.Set(9 * 3600 + 5 * 60 + 7);
  EXPECT_EQ(instruments.NewID(), "I90507");
  TheCommon().Instruments.LoadFromText("8,1,Piano,3,21,108,0,0\n");
  instruments.Add("I90507", 0);
  EXPECT_EQ(instruments.NewID(), "I90508");
  TheCommon().Instruments.Clear();
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

TEST(InstrumentCategory, ChangingToOrFromDrumsReassignsChannels) {
  Score score;  // the shipped table: row 0 a piano, row 24 a guitar, row 128 a drum sound
  auto& instruments = score.AllInstruments();
  auto piano = instruments.Add("A", 0);
  auto guitar = instruments.Add("B", 24);
  ASSERT_EQ(guitar->Channel(), 1);
  guitar->SetCategory(Internal{}, catDrums);
  EXPECT_EQ(guitar->Channel(), 9);
  EXPECT_EQ(piano->Channel(), 0);
  guitar->SetCategory(Internal{}, catGuitar);
  EXPECT_EQ(guitar->Channel(), 1);

  Score other;
  auto kick = other.AllInstruments().Add("K", 128);
  ASSERT_EQ(kick->Category(), catDrums);
  EXPECT_EQ(kick->Offset(), 35);
  kick->SetCategory(Internal{}, catPercussion);  // no longer a drum: the offset is melodic
  EXPECT_EQ(kick->Offset(), 0);
  EXPECT_NE(kick->Channel(), 9);
}

}  // namespace
}  // namespace notecraft
