// Deleting and inserting measures and staves, with and without the prompts (answered here by
// a fake dialog service), and showing the property dialogs.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "harmonygrid/draw/recordingsurface.h"
#include "model_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/core/dialogservice.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"

namespace notecraft {
namespace {

using testing::EventLog;
using testing::FixedClock;

// Answers each prompt with a canned answer, or with none (Cancel).
class FakeDialogs : public DialogService {
public:
  std::optional<DeleteStaffAnswer> deleteStaff;
  std::optional<DeleteMeasureAnswer> deleteMeasure;
  std::optional<InsertMeasureAnswer> insertMeasure;
  std::optional<InsertStaffAnswer> insertStaff;
  int presetMeasure = 0;
  int presetStaff = -1;
  bool presetAfter = false;
  std::vector<int> shown;
  std::function<void(Score&)> propertiesEdit;

  std::optional<DeleteStaffAnswer> AskDeleteStaff(Score&, int staff) override {
    presetStaff = staff;
    return deleteStaff;
  }
  std::optional<DeleteMeasureAnswer> AskDeleteMeasure(Score&, int measure) override {
    presetMeasure = measure;
    return deleteMeasure;
  }
  std::optional<InsertMeasureAnswer> AskInsertMeasure(Score&, int measure, bool after) override {
    presetMeasure = measure;
    presetAfter = after;
    return insertMeasure;
  }
  std::optional<InsertStaffAnswer> AskInsertStaff(Score&) override { return insertStaff; }
  void ShowProperties(Score& score, int dialog, std::optional<int>, std::optional<int>) override {
    shown.push_back(dialog);
    if (propertiesEdit) propertiesEdit(score);
  }
};

class ScoreStructure : public ::testing::Test {
protected:
  // Two staves (the second with two voices), a note at the start of each of measures 1..6
  // in every voice, a staff key change in measure 4, a repeat in measure 5 and a 3/4
  // signature from measure 5 on (4/4 before it: measures start at 0, 64, 128, 192, 256, 304).
  void SetUp() override {
    SetDialogService(&dialogs);
    score.CreateDefault();
    score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Second");
    score.Staff(2)->AddVoice(score.Staff(2)->Voice(1)->Instrument());
    for (int t : {0, 64, 128, 192, 256, 304})
      for (auto* notes : AllNotes()) notes->Add(t, 60, 16, 0);
    score.Staff(2)->GlobalEvents().Add(192, evtKeyChange, 2);
    score.AllGlobals().Add(256, evtRepeatBegin);
    score.AllGlobals().Add(256, evtTimeChange, 3, 16);
    score.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
    score.SetChanged(false);
    score.AddListener(&log);
  }
  void TearDown() override {
    score.RemoveListener(&log);
    SetDialogService(nullptr);
  }
  std::vector<Notes*> AllNotes() {
    return {&score.Staff(1)->Voice(1)->Notes(), &score.Staff(2)->Voice(1)->Notes(),
            &score.Staff(2)->Voice(2)->Notes()};
  }
  std::vector<int> NoteTimes(int staff = 1, int voice = 1) {
    std::vector<int> times;
    for (const auto& n : score.Staff(staff)->Voice(voice)->Notes()) times.push_back(n->NoteTime());
    return times;
  }
  static int TimeOf(const GlobalEvents& list, int type) {
    if (type == evtTimeChange) {
      for (int i = list.TimeItemCount(); i >= 1; --i)
        if (list.TimeItem(i)->EventTime() > 0) return list.TimeItem(i)->EventTime();
      return -1;
    }
    for (const auto& e : list)
      if (e->EventType() == type) return e->EventTime();
    return -1;
  }

  FixedClock clock{9 * 3600};
  FakeDialogs dialogs;
  Score score;
  EventLog log;
};

TEST_F(ScoreStructure, DeletingAMeasureMovesLaterMaterialBack) {
  struct Case {
    int measure;
    std::vector<int> notes;
    int key, repeat, signature;  // where the later events stand afterwards
  };
  const Case cases[] = {
      {1, {0, 64, 128, 192, 240}, 128, 192, 192},
      {3, {0, 64, 128, 192, 240}, 128, 192, 192},
      {4, {0, 64, 128, 192, 240}, 192, 192, 192},  // the key change moves to the span's end
      {6, {0, 64, 128, 192, 256}, 192, 256, 256},  // the last measure: nothing moves
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.measure);
    SetUp();
    DelMeasure(score, c.measure);
    for (auto* notes : AllNotes()) {
      std::vector<int> times;
      for (const auto& n : *notes) times.push_back(n->NoteTime());
      EXPECT_EQ(times, c.notes);
    }
    EXPECT_EQ(TimeOf(score.Staff(2)->GlobalEvents(), evtKeyChange), c.key);
    EXPECT_EQ(TimeOf(score.AllGlobals(), evtRepeatBegin), c.repeat);
    EXPECT_EQ(TimeOf(score.AllGlobals(), evtTimeChange), c.signature);
    EXPECT_TRUE(score.Changed());
    EXPECT_EQ(score.UndoCount(), 0);  // the history named times that moved
    TearDown();
  }
}

TEST_F(ScoreStructure, DeletingNothingBelowMeasureOne) {
  struct Case {
    int measure, count;
  };
  for (const Case c : {Case{0, 1}, Case{-3, 1}, Case{2, 0}, Case{2, -4}}) {
    SCOPED_TRACE(::testing::Message() << c.measure << " x " << c.count);
    dialogs.deleteMeasure = DeleteMeasureAnswer{c.count, c.measure};
    DelMeasure(score, 2, true);
    EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 192, 256, 304}));
    EXPECT_FALSE(score.Changed());
  }
}

TEST_F(ScoreStructure, DeletingTheFirstMeasureKeepsItsSignature) {
  score.AllGlobals().SetDftTimeVal(3 * 128 + 16);
  DelMeasure(score, 1);
  EXPECT_EQ(score.AllGlobals().DftTimeVal(), 3 * 128 + 16);
}

TEST_F(ScoreStructure, PromptedDeletionUsesTheAnswerAndCancelChangesNothing) {
  dialogs.deleteMeasure.reset();  // Cancel
  DelMeasure(score, 4, true);
  EXPECT_EQ(dialogs.presetMeasure, 4);
  EXPECT_EQ(NoteTimes().size(), 6u);
  EXPECT_FALSE(score.Changed());

  dialogs.deleteMeasure = DeleteMeasureAnswer{2, 2};
  DelMeasure(score, 4, true);
  EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 176}));
}

TEST_F(ScoreStructure, DeletedStavesStopSounding) {
  const auto secondVoices =
      std::vector{score.Staff(2)->Voice(1)->ID(), score.Staff(2)->Voice(2)->ID()};
  const int instruments = score.AllInstruments().Count();
  DelStaff(score, 2);
  EXPECT_EQ(score.Staffs(), 1);
  for (const auto& id : secondVoices) EXPECT_EQ(score.AllVoices().Item(id), nullptr);
  EXPECT_EQ(score.AllVoices().Count(), 1);
  EXPECT_EQ(score.AllVoices().Item(1)->Track(), 1);
  EXPECT_EQ(score.AllInstruments().Count(), instruments);
  EXPECT_TRUE(score.Changed());
}

TEST_F(ScoreStructure, DeletingStavesFromAPosition) {
  score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Third");
  DelStaff(score, 5);  // beyond the staves: nothing goes, yet the score is marked
  EXPECT_EQ(score.Staffs(), 3);
  EXPECT_TRUE(score.Changed());

  // The prompt proposes the staff asked for, else the selected one.
  score.Staff(3)->SetSelected(true);
  dialogs.deleteStaff = DeleteStaffAnswer{2, 3, "2: Second"};
  DelStaff(score, std::nullopt, true);
  EXPECT_EQ(dialogs.presetStaff, 3);
  ASSERT_EQ(score.Staffs(), 1);
  EXPECT_EQ(score.Staff(1)->Description(), "New");

  dialogs.deleteStaff.reset();
  DelStaff(score, 1, true);  // cancelled
  EXPECT_EQ(dialogs.presetStaff, 1);
  EXPECT_EQ(score.Staffs(), 1);
  DelStaff(score, 1);  // the first (and only) staff
  EXPECT_EQ(score.Staffs(), 0);
  EXPECT_EQ(score.AllVoices().Count(), 0);
}

TEST_F(ScoreStructure, APageWithoutStavesStillPaints) {
  harmonygrid::RecordingSurface surface;
  score.SetWindow(&surface);
  DelStaff(score, 1, false);
  DelStaff(score, 1, false);
  EXPECT_EQ(score.Staffs(), 0);
  AddMeasure(score, 1);
  DelMeasure(score, 1);
  auto staff = AddStaff(score);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->Voices(), 1);  // a new default instrument
  score.SetWindow(nullptr);
}

TEST(StaffListEntry, NamesAStaffPosition) {
  struct Case {
    int index;
    const char* text;
    int expected;
  };
  const Case cases[] = {{0, "First", 1},     {1, "Last", 4}, {2, "1: Piano", 1},
                        {3, "3: Violin", 3}, {3, "3", 3},    {4, "12: Bass: low", 12},
                        {2, "Drums", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StaffFromListEntry(c.index, c.text, 4), c.expected);
  }
}

TEST_F(ScoreStructure, InsertingMeasuresShiftsFromTheMeasureStart) {
  struct Case {
    const char* name;
    int measure;
    bool after;
    int quantity;
    std::vector<int> times;
  };
  const Case cases[] = {
      {"before 3", 3, false, 1, {0, 64, 192, 256, 320, 368}},
      {"after 3", 3, true, 1, {0, 64, 128, 256, 320, 368}},
      {"before 1", 1, false, 1, {64, 128, 192, 256, 320, 368}},
      {"two before 3", 3, false, 2, {0, 64, 256, 320, 384, 432}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    dialogs.insertMeasure = InsertMeasureAnswer{c.quantity, c.measure, c.after};
    AddMeasure(score, c.measure, false, true);
    EXPECT_EQ(NoteTimes(), c.times);
    EXPECT_EQ(NoteTimes(2, 2), c.times);
    // The 3/4 signature moved with its music: measure 5 is still where it starts.
    const int shift = c.times[4] - 256;
    EXPECT_EQ(TimeOf(score.AllGlobals(), evtTimeChange), 256 + shift);
    EXPECT_EQ(TimeOf(score.Staff(2)->GlobalEvents(), evtKeyChange), c.times[3]);
    EXPECT_EQ(score.UndoCount(), 0);
    TearDown();
  }
}

TEST_F(ScoreStructure, InsertingAtASignatureUsesItsLength) {
  AddMeasure(score, 5);  // the 3/4 signature stays and governs the new measure
  EXPECT_EQ(TimeOf(score.AllGlobals(), evtTimeChange), 256);
  EXPECT_EQ(NoteTimes(), (std::vector<int>{0, 64, 128, 192, 304, 352}));
}

TEST_F(ScoreStructure, InsertingRefusesTimesBeyondTheFileLimit) {
  score.Staff(1)->Voice(1)->Notes().Add((1 << 24) - 100, 60, 16, 0);
  dialogs.insertMeasure = InsertMeasureAnswer{24, 1, false};
  AddMeasure(score, 1, false, true);
  EXPECT_EQ(NoteTimes().front(), 0);
  EXPECT_FALSE(score.Changed());
}

TEST_F(ScoreStructure, InsertingAStaffWithoutAPrompt) {
  auto staff = AddStaff(score);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(score.Staffs(), 3);
  EXPECT_EQ(staff->Index(), 3);
  EXPECT_EQ(staff->Description(), "New");
  ASSERT_EQ(staff->Voices(), 1);
  EXPECT_EQ(staff->Voice(1)->Instrument(), score.Staff(2)->Voice(1)->Instrument());
}

TEST_F(ScoreStructure, InsertingStavesAsThePromptSays) {
  InsertStaffAnswer answer;
  answer.Quantity = 2;
  answer.ListIndex = 0;  // "First", before it
  answer.ListText = "First";
  answer.After = false;
  answer.InstrumentRow = 40;  // violin
  answer.Voices = 3;
  answer.Clef = clfBass;
  dialogs.insertStaff = answer;
  AddStaff(score, std::nullopt, true);
  ASSERT_EQ(score.Staffs(), 4);
  EXPECT_EQ(score.Staff(4)->Description(), "Second");
  for (int i : {1, 2}) {
    const auto staff = score.Staff(i);
    EXPECT_EQ(staff->Description(), "New");
    EXPECT_EQ(staff->Voices(), 3);
    EXPECT_EQ(staff->DefaultClef(), clfBass);
    EXPECT_EQ(staff->Voice(3)->Instrument(), score.Staff(1)->Voice(1)->Instrument());
  }
  EXPECT_EQ(score.Staff(1)->Voice(1)->Instrument()->Value(), 40);

  dialogs.insertStaff.reset();
  AddStaff(score, std::nullopt, true);  // cancelled
  EXPECT_EQ(score.Staffs(), 4);
}

TEST_F(ScoreStructure, InsertedStavesShareAnInstrumentWhenNoneIsLeft) {
  auto& instruments = score.AllInstruments();
  for (int program = 0; instruments.Count() < Instruments::kMaxInstruments; ++program)
    instruments.Add(instruments.NewID(), program);
  InsertStaffAnswer answer;    // "Last", after it
  answer.InstrumentRow = 120;  // a program none of the sixteen plays
  dialogs.insertStaff = answer;
  auto staff = AddStaff(score, std::nullopt, true);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->Index(), 3);
  EXPECT_EQ(staff->Voice(1)->Instrument(), score.Staff(2)->Voice(1)->Instrument());
}

TEST_F(ScoreStructure, ShowDialogNotifiesOnceMoreAfterAChange) {
  ShowDialog(score, 2);  // no such dialog
  EXPECT_TRUE(dialogs.shown.empty());

  ShowDialog(score, dlgStaffProperties);  // nothing changed
  EXPECT_EQ(dialogs.shown, std::vector<int>{dlgStaffProperties});
  EXPECT_TRUE(log.log.empty());

  dialogs.propertiesEdit = [](Score& s) { s.SetTitle("Changed"); };
  ShowDialog(score, dlgScoreProperties);
  int notifications = 0;
  for (const auto& entry : log.log) notifications += entry == "ChangeNotify(1)";
  EXPECT_EQ(notifications, 2);  // from the edit, and once after the dialog has gone
  EXPECT_EQ(log.log.back(), "ChangeNotify(1)");
}

}  // namespace
}  // namespace notecraft
