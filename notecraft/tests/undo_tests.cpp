// The undo history: ten records a score, newest first, each kind taken back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/didwhat.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::EventLog;
using testing::FixedClock;

class Undo : public ::testing::Test {
protected:
  void SetUp() override {
    score.CreateDefault();
    score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Second");
    score.AddListener(&log);
  }
  void TearDown() override { score.RemoveListener(&log); }
  Notes& NotesOf(int staff, int voice = 1) { return score.Staff(staff)->Voice(voice)->Notes(); }
  // What note entry does: add the note, then record it.
  void EnterNote(int time, int pitch) {
    NotesOf(1).Add(time, pitch, 8, 0);
    score.PushUndo(Internal{}, 1, time, 1, 1, 0, 0, "");
  }
  FixedClock clock{8 * 3600};
  Score score;
  EventLog log;
};

TEST_F(Undo, KeepsTheNewestTenRecords) {
  for (int i = 0; i < 11; ++i) EnterNote(i * 8, 60 + i);
  EXPECT_EQ(score.UndoCount(), 10);
  log.log.clear();
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(score.CanUndo());
    score.Undo();
  }
  // The last ten notes went, newest first; the first stays, its record long dropped.
  ASSERT_EQ(NotesOf(1).Count(), 1);
  EXPECT_EQ(NotesOf(1).ByIndex(1)->Value(0), 60);
  EXPECT_EQ(log.log, std::vector<std::string>{"HistoryChanged(0)"});  // once, when emptied
  EXPECT_FALSE(score.CanUndo());
  score.Undo();  // the eleventh does nothing and raises nothing
  EXPECT_EQ(NotesOf(1).Count(), 1);
  EXPECT_EQ(log.log.size(), 1u);
}

TEST_F(Undo, EachKindIsTakenBack) {
  GlobalEvents& globals = score.AllGlobals();
  GlobalEvents& staffEvents = score.Staff(2)->GlobalEvents();
  struct Case {
    const char* name;
    void (*edit)(Score&);  // the edit by position, and its record
    const char* before;    // the events the undo must restore: "time type v1 v2 text;..."
  } cases[] = {
      {"3 score event added",
       [](Score& s) {
         s.AllGlobals().Add(64, evtRepeatBegin);
         s.PushUndo(Internal{}, 3, 64, evtRepeatBegin, 0, 0, 0, "");
       },
       ""},
      {"4 score event removed",
       [](Score& s) {
         s.AllGlobals().Add(64, evtSectionDefine, 1, 0, "1.");
         s.AllGlobals().Remove(64, evtSectionDefine);
         s.PushUndo(Internal{}, 4, 64, evtSectionDefine, 1, 0, 0, "1.");
       },
       "64 5 1 0 1.;"},
      {"5 measure size changed",
       [](Score& s) {
         auto e = s.AllGlobals().Add(128, evtMeasureSize, 2, 0);
         e->SetValue1(0);
         e->SetValue2(1);
         s.PushUndo(Internal{}, 5, 128, evtMeasureSize, 2, 0, 0, "");
       },
       "128 13 2 0 ;"},
      {"6 staff event added",
       [](Score& s) {
         s.Staff(2)->GlobalEvents().Add(32, evtDynamic, dynF);
         s.PushUndo(Internal{}, 6, 32, evtDynamic, dynF, 0, 2, "");
       },
       ""},
      {"7 staff event removed",
       [](Score& s) {
         s.PushUndo(Internal{}, 7, 16, evtText, 3, 4, 2, "dolce");
       },
       "16 18 3 4 dolce;"},
      {"8 staff text changed",
       [](Score& s) {
         s.Staff(2)->GlobalEvents().Add(16, evtText, 3, 9, "forte");
         s.PushUndo(Internal{}, 8, 16, evtText, 3, 4, 2, "dolce");
       },
       "16 18 3 4 dolce;"},
  };
  auto describe = [](const GlobalEvents& list) {
    std::string text;
    for (const auto& e : list)
      if (e->EventType() != evtKeyChange)
        text += std::to_string(e->EventTime()) + ' ' + std::to_string(e->EventType()) + ' ' +
                std::to_string(e->Value1()) + ' ' + std::to_string(e->Value2()) + ' ' + e->Text() + ';';
    return text;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    globals.Clear();
    staffEvents.Clear();
    c.edit(score);
    score.Undo();
    EXPECT_EQ(describe(globals) + describe(staffEvents), c.before);
    EXPECT_FALSE(score.CanUndo());
  }
}

TEST_F(Undo, APitchAddedToAChordTakesOnlyThatPitchBack) {
  // GIVEN a C-E chord, to which note entry adds a G as an eighth
  NotesOf(1).Add(0, 60, 16, nteDot);
  NotesOf(1).Add(0, 64, 16, nteDot);
  NotesOf(1).Add(0, 67, 8, 0);
  DidWhat record;
  record.Action = 1;
  record.AtTime = 0;
  record.Arg1 = 1;
  record.Arg2 = 1;
  record.Entry = {67, false, true, 16, nteDot};
  score.PushUndo(Internal{}, record);
  // WHEN it is undone
  score.Undo();
  // THEN C-E remain, as they were
  auto chord = NotesOf(1).ByIndex(1);
  ASSERT_TRUE(chord);
  EXPECT_THAT(chord->Values(), ::testing::ElementsAre(60, 64));
  EXPECT_EQ(chord->Duration(), 16);
  EXPECT_EQ(chord->Flags(), nteDot);

  // A pitch the chord already held: only its duration and flags come back.
  NotesOf(1).Add(0, 64, 4, 0);
  record.Entry = {64, false, false, 16, nteDot};
  score.PushUndo(Internal{}, record);
  score.Undo();
  EXPECT_THAT(chord->Values(), ::testing::ElementsAre(60, 64));
  EXPECT_EQ(chord->Duration(), 16);

  // A note the entry made goes whole.
  NotesOf(1).Add(32, 62, 8, 0);
  record.AtTime = 32;
  record.Entry = {62, true, true, 0, 0};
  score.PushUndo(Internal{}, record);
  score.Undo();
  EXPECT_EQ(NotesOf(1).Count(), 1);
}

TEST_F(Undo, RecordsWhoseTargetIsGoneAreDropped) {
  EnterNote(0, 60);
  score.PushUndo(Internal{}, 1, 0, 5, 1, 0, 0, "");       // no staff 5
  score.PushUndo(Internal{}, 1, 0, 2, 3, 0, 0, "");       // staff 2 has no voice 3
  score.PushUndo(Internal{}, 1, 48, 1, 1, 0, 0, "");      // no note at 48
  score.PushUndo(Internal{}, 6, 0, evtText, 0, 0, 0, "");  // staff position 0
  score.PushUndo(Internal{}, 2, 0, 0, 0, 0, 0, "");       // kind 2 is never written
  for (int i = 0; i < 5; ++i) score.Undo();
  EXPECT_EQ(NotesOf(1).Count(), 1);
  EXPECT_EQ(score.UndoCount(), 1);
  score.Undo();
  EXPECT_EQ(NotesOf(1).Count(), 0);
}

TEST_F(Undo, AnEventAddedBesideItsTwinTakesBackTheOneAdded) {
  // Two dynamics at one time: the list puts the new one first, and removes only the last
  // of a kind at a time; the recorded values pick the right one.
  auto& list = score.Staff(1)->GlobalEvents();
  list.Add(16, evtDynamic, dynP);
  list.Add(16, evtDynamic, dynFF);
  score.PushUndo(Internal{}, 6, 16, evtDynamic, dynFF, 0, 1, "");
  score.Undo();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.ByIndex(1)->Value1(), dynP);
}

TEST_F(Undo, EachScoreKeepsItsOwnHistoryAndASaveEmptiesIt) {
  Score other;
  other.CreateDefault();
  EnterNote(0, 60);
  other.Staff(1)->Voice(1)->Notes().Add(0, 70, 8, 0);
  other.PushUndo(Internal{}, 1, 0, 1, 1, 0, 0, "");
  score.Undo();
  EXPECT_EQ(NotesOf(1).Count(), 0);
  EXPECT_EQ(other.Staff(1)->Voice(1)->Notes().Count(), 1);
  EXPECT_TRUE(other.CanUndo());

  testing::TempDir dir;
  ASSERT_TRUE(other.SaveFile(dir.File("o.sco")));
  EXPECT_FALSE(other.CanUndo());
  other.Undo();  // after a save: nothing
  EXPECT_EQ(other.Staff(1)->Voice(1)->Notes().Count(), 1);
}

TEST_F(Undo, ClearUndoTellsOnlyWhenThereWasSomething) {
  score.ClearUndo(Internal{});
  EXPECT_TRUE(log.log.empty());
  EnterNote(0, 60);
  score.ClearUndo(Internal{});
  EXPECT_EQ(log.log, std::vector<std::string>{"HistoryChanged(0)"});
  EXPECT_EQ(score.PopUndo(Internal{}), nullptr);
}

}  // namespace
}  // namespace notecraft
