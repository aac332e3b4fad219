#include "notecraft/core/staff.h"

#include <gtest/gtest.h>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {
namespace {

// A score with one staff of one voice, built by hand.
class StaffTest : public ::testing::Test {
protected:
  void SetUp() override { score.CreateDefault(); }
  std::shared_ptr<Staff> AddStaff(std::optional<int> before = std::nullopt, bool noVoice = false) {
    auto& staffs = score.AllStaffs();
    return staffs.AddStaff(Internal{}, staffs.NewID(), "s", before, noVoice);
  }
  Score score;
};

TEST_F(StaffTest, FirstStaffPlaysRow74AndLaterStavesInheritTheInstrumentBeforeThem) {
  auto first = score.Staff(1);
  ASSERT_EQ(first->Voices(), 1);
  auto ins = first->Voice(1)->Instrument();
  ASSERT_NE(ins, nullptr);
  EXPECT_EQ(ins->Value(), 74);
  EXPECT_EQ(first->DefaultClef(), ins->DefaultClef());
  EXPECT_EQ(first->Voice(1)->Description(), "New Voice");

  auto second = AddStaff();
  EXPECT_EQ(second->Index(), 2);
  EXPECT_EQ(second->Voice(1)->Instrument(), ins);
  auto front = AddStaff(-5);  // clamped to the first position
  EXPECT_EQ(front->Index(), 1);
  EXPECT_EQ(first->Index(), 2);
  EXPECT_EQ(front->Voice(1)->Instrument(), ins);
  EXPECT_EQ(AddStaff(99)->Index(), 4);
  EXPECT_EQ(score.AllStaffs().AddStaff(Internal{}, front->StaffID(Internal{}), "dup"), nullptr);
}

TEST_F(StaffTest, AStaffAfterOneWithoutVoicesGetsADefaultInstrument) {
  auto bare = AddStaff(std::nullopt, true);
  EXPECT_EQ(bare->Voices(), 0);
  auto next = AddStaff();
  ASSERT_EQ(next->Voices(), 1);
  ASSERT_NE(next->Voice(1)->Instrument(), nullptr);
  EXPECT_EQ(next->Voice(1)->Instrument()->Value(), 74);
}

TEST_F(StaffTest, AtSixteenInstrumentsAVoiceMayHaveNoneAndReadersCope) {
  auto& table = TheCommon().Instruments;
  for (int row = 0; score.AllInstruments().Count() < 16; ++row)
    if (row != 74) score.AllInstruments().Add(score.AllInstruments().NewID(), row);
  (void)table;
  auto bare = AddStaff(std::nullopt, true);
  bare->AddVoice(nullptr);
  EXPECT_EQ(bare->Voice(1)->Instrument(), nullptr);
  EXPECT_EQ(bare->GroupType(), 0);
  EXPECT_EQ(bare->GroupID(), -1);
  EXPECT_EQ(bare->CurKey(0), 0);
}

TEST_F(StaffTest, FifthVoiceIsRefused) {
  auto staff = score.Staff(1);
  for (int i = 2; i <= 4; ++i) ASSERT_NE(staff->AddVoice(nullptr), nullptr);
  const int voices = score.AllVoices().Count();
  EXPECT_EQ(staff->AddVoice(nullptr), nullptr);
  EXPECT_EQ(staff->Voices(), 4);
  EXPECT_EQ(score.AllVoices().Count(), voices);
  EXPECT_EQ(staff->Voice(5), nullptr);
  EXPECT_EQ(staff->Voice(0), nullptr);
  staff->Clear();
  EXPECT_EQ(staff->Voices(), 0);
  EXPECT_EQ(score.AllVoices().Count(), voices);  // the voices stay in the score
}

TEST_F(StaffTest, CurKeyAddsTheTranspositionAndFoldsByAnOctaveOfFifths) {
  struct Case {
    const char* name;
    int staffKey;  // none when 99
    int scoreKey, pitch, want;
  };
  const Case cases[] = {
      {"score key without a change", 99, 3, 0, 3},
      {"staff change wins", -2, 3, 0, -2},
      {"B-flat instrument in C", 99, 0, 2, 2},
      {"6 sharps + 2 is 4 flats", 6, 0, 2, -4},
      {"5 sharps + 3 is 4 flats", 5, 0, 3, -4},
      {"2 flats - 6 is 4 sharps", -2, 0, -6, 4},
      {"7 flats - 1 is 4 sharps", -7, 0, -1, 4},
      {"7 sharps stays", 7, 0, 0, 7},
  };
  auto staff = score.Staff(1);
  auto ins = staff->Voice(1)->Instrument();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    staff->GlobalEvents().Clear();
    if (c.staffKey != 99) staff->GlobalEvents().Add(5, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(c.staffKey)));
    score.SetKey(c.scoreKey);
    ins->SetPitch(Internal{}, c.pitch);
    EXPECT_EQ(staff->CurKey(10), c.want);
  }
}

TEST_F(StaffTest, CurClefAndNextChangeWalkTheClefChanges) {
  auto staff = score.Staff(1);
  staff->SetDefaultClef(clfTreble);
  auto& ev = staff->GlobalEvents();
  ev.Add(0, evtLyric, 0, 0, "a");
  ev.Add(16, evtLyric, 0, 0, "b");
  ev.Add(80, evtClefChange, clfBass);  // inside the second measure
  ev.Add(96, evtLyric, 0, 0, "c");
  ev.Add(200, evtClefChange, clfAlto);

  // No clef before 64: the default, and the walk starts at the top of the list.
  EXPECT_EQ(staff->CurClef(64), clfTreble);
  EXPECT_EQ(staff->NextChange(64), 80);
  EXPECT_EQ(staff->NextChange(64), 200);  // further on, past a lyric
  EXPECT_EQ(staff->NextChange(64), -1);

  EXPECT_EQ(staff->CurClef(100), clfBass);
  EXPECT_EQ(staff->NextChange(64), 200);  // a clef change more than a measure on is found
  EXPECT_EQ(staff->CurClef(300), clfAlto);
  EXPECT_EQ(staff->NextChange(64), -1);
}

TEST_F(StaffTest, SameAsLastAndForceFlag) {
  auto staff = score.Staff(1);
  staff->GlobalEvents().Add(64, evtSectionDefine, sctRepeatMeasure);
  staff->GlobalEvents().Add(128, evtSectionDefine, sctCoda);
  EXPECT_TRUE(staff->SameAsLast(64));
  EXPECT_FALSE(staff->SameAsLast(128));
  EXPECT_FALSE(staff->SameAsLast(63));

  EXPECT_EQ(staff->ForceFlag(0, 64, 1), 0);  // one voice only
  auto v2 = staff->AddVoice(nullptr);
  staff->Voice(1)->Notes().Add(16, 60, 16, 0);
  v2->Notes().Add(32, 55, 16, 0);
  EXPECT_EQ(staff->ForceFlag(0, 64, 2), 2);  // voice 1 sounds in the span: voice 2 stems down
  EXPECT_EQ(staff->ForceFlag(0, 64, 1), 1);
  EXPECT_EQ(staff->ForceFlag(40, 64, 1), 0);  // voice 2's note starts before the span
  EXPECT_EQ(staff->ForceFlag(64, 128, 2), 0);
}

TEST_F(StaffTest, SelectionIsExclusiveAndPropertiesKeepTheirLimits) {
  auto first = score.Staff(1);
  auto second = AddStaff();
  EXPECT_TRUE(first->Selected());
  second->SetSelected(true);
  EXPECT_FALSE(first->Selected());
  EXPECT_TRUE(second->Selected());
  second->SetSelected(false);
  EXPECT_FALSE(second->Selected());

  first->SetScalePct(10);
  EXPECT_EQ(first->ScalePct(), 25);
  first->SetScalePct(150);
  EXPECT_EQ(first->ScalePct(), 100);
  EXPECT_EQ(first->Flags(), 29);
  first->SetFlags(35);
  EXPECT_EQ(first->Flags(), 3);
  first->SetFlags(-1);
  EXPECT_EQ(first->Flags(), 3);
  first->SetVerses(Internal{}, 300);
  EXPECT_EQ(first->Verses(), 255);
}

TEST_F(StaffTest, InsertByGroupGoesAfterItsOwnGroup) {
  auto& staffs = score.AllStaffs();
  staffs.ResetStaffs(Internal{});
  auto make = [&](int group) {
    auto s = std::make_shared<Staff>();
    s->SetID(Internal{}, staffs.NewID() + "g" + std::to_string(group) + "n" + std::to_string(staffs.Count()));
    s->SetGroupID(Internal{}, group);
    staffs.InsertByGroup(Internal{}, s);
    return s;
  };
  make(1);
  auto two = make(2);
  auto three = make(3);
  auto added = make(2);
  EXPECT_EQ(two->Index(), 2);
  EXPECT_EQ(added->Index(), 3);
  EXPECT_EQ(three->Index(), 4);
}

TEST_F(StaffTest, ItemCountCountsNoteStartsAndGaps) {
  struct Note {
    int time, duration;
  };
  struct Case {
    const char* name;
    std::vector<Note> notes;
    int duration, want;
  };
  const Case cases[] = {
      {"empty measure", {}, 64, 4},
      {"four quarters", {{0, 16}, {16, 16}, {32, 16}, {48, 16}}, 64, 4},
      {"eight eighths", {{0, 8}, {8, 8}, {16, 8}, {24, 8}, {32, 8}, {40, 8}, {48, 8}, {56, 8}}, 64, 8},
      {"three notes", {{0, 16}, {16, 16}, {32, 32}}, 64, 4},
      {"seven notes", {{0, 8}, {8, 8}, {16, 8}, {24, 8}, {32, 8}, {40, 8}, {48, 16}}, 64, 6},
      {"a gap before a note counts", {{0, 8}, {32, 8}, {40, 8}, {48, 8}, {56, 8}}, 64, 6},
      {"a note crossing the bar is clipped", {{0, 8}, {8, 8}, {16, 8}, {24, 8}, {32, 8}, {40, 64}}, 64, 6},
      {"a note before the measure is not seen", {{-16, 32}}, 64, 4},
      {"a huge duration is clamped", {{0, 8}}, 1000, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto voice = score.Staff(1)->Voice(1);
    voice->ResetNotes(Internal{});
    for (const auto& n : c.notes) voice->Notes().Add(n.time + 64, 60, n.duration, 0);
    EXPECT_EQ(score.AllStaffs().ItemCount(64, c.duration), c.want);
  }
}

TEST_F(StaffTest, KeyCountIsTheMostAccidentalsOfAnyStaff) {
  auto second = AddStaff();
  second->GlobalEvents().Add(60, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(-5)));
  score.SetKey(2);
  EXPECT_EQ(score.AllStaffs().KeyCount(0, 64), 5);
  EXPECT_EQ(score.AllStaffs().KeyCount(0, 60), 2);  // the change is after the measure's end
}

}  // namespace
}  // namespace notecraft
