// Event entry by position: every event kind added at a click, toggled off, merged or
// replaced, with its undo record and its undo, the measure flag it shows and whether the
// score is laid out again or only the system repainted.
#include <string>
#include <vector>

#include "edit_fixtures.h"
#include "notecraft/edit/didwhat.h"

namespace notecraft {
namespace {

using namespace testing;

class EventEntry : public EditFixture {
public:
  void SetUp() override {
    AddStaff();
    FillQuarters(First(), 8);
    Paint();
  }
  // A click in measure i (0-based, first system) of band b, at offset 64ths.
  void Click(int type, int sub = 0, const std::string& text = {}, int b = 1, int i = 1,
             int offset = 0) {
    surface.ClearRecord();
    const Region& band = Band(b);
    score.AddGlobalByHit(XAt(band, i, offset), band.Top() + band.PadTop() + band.IncY(), type, sub,
                         text);
  }
  bool Relaid() const { return !surface.Ops(SurfaceOp::Kind::Clear).empty(); }
  bool Repainted() const { return !Relaid() && !surface.Ops(SurfaceOp::Kind::Box).empty(); }
  std::shared_ptr<DidWhat> LastRecord() {
    auto r = score.PopUndo(Internal{});
    if (r) score.PushUndo(Internal{}, *r);
    return r;
  }
  GlobalEvents& Staff1() { return First().GlobalEvents(); }
  GlobalEvents& Globals() { return score.AllGlobals(); }
  int Kinds(GlobalEvents& list, int time, int type) {
    int n = 0;
    for (const auto& e : list.At(time)) n += e->EventType() == type;
    return n;
  }
};

TEST_F(EventEntry, EachKindIsAddedRecordedAndUndone) {
  struct Case {
    const char* what;
    int type, sub;
    bool staffList;
    int time;  // where it lands (-1: the system's start)
    int bit;
    bool relayout;
    int value1, value2;
  };
  const std::vector<Case> cases = {
      // The next system's first measure widens for the new key's signature: laid out again.
      {"key", evtKeyChange, 2, true, 64, 0, true, 2, 0},
      {"repeat begin", evtRepeatBegin, 0, false, 64, 1, false, 0, 0},
      {"repeat end", evtRepeatEnd, 0, false, 64, 2, false, 0, 0},
      // A coda sign and an octave line stand higher over the staff than the staff spacing
      // leaves under the staff above: the staves move apart, laid out again.
      {"coda", evtSectionDefine, sctCoda, false, 64, sctCoda * 16, true, sctCoda, 0},
      {"octave up", evtSectionDefine, sct8va, true, 64, sct8va * 16, true, 0, 1},
      {"repeat measure", evtSectionDefine, sctRepeatMeasure, true, 64, 0, false, sctRepeatMeasure,
       0},
      // A clef moves the notes, and the room under the staff with them: laid out again.
      {"clef", evtClefChange, clfBass, true, 64, 0, true, clfBass, 0},
      {"section end", evtSectionEnd, 0, false, 64, 4, false, 0, 0},
      {"score end", evtScoreEnd, 0, false, 64, 8, true, 0, 0},
      {"first chord", evtChord, 5, false, 64, 0, true, 5, 0},
      {"line end", evtLineEnd, 0, false, 64, 0, true, 0, 0},
      {"wider", evtMeasureSize, 2, false, 64, 0, true, 2, 0},
      {"narrower", evtMeasureSize, -3, false, 64, 0, true, 0, 3},
      // The staff keeps room for its row of dynamics under the notes.
      {"dynamic", evtDynamic, dynMF, true, 64, 0, true, dynMF, 0},
      {"tempo, value in the high byte", evtTempo, 300, true, 64, 0, false, 0, 1},
      {"more staff space", evtStaffSpace, 1, true, -1, 0, true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Paint();
    const int time = c.time < 0 ? Band(1).Time() : c.time;
    GlobalEvents& list = c.staffList ? Staff1() : Globals();
    log.Log.clear();
    Click(c.type, c.sub);
    ASSERT_FALSE(log.Log.empty());
    EXPECT_EQ(log.Log.front(), "measure 2");
    auto e = list.Find(time, c.type, true);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Value1(), c.value1);
    EXPECT_EQ(e->Value2(), c.value2);
    const auto r = LastRecord();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Action, c.staffList ? 6 : 3);
    EXPECT_EQ(r->AtTime, time);
    EXPECT_EQ(r->Arg4, c.staffList ? 1 : 0);
    EXPECT_EQ(Relaid(), c.relayout);
    if (!c.relayout) {
      EXPECT_TRUE(Repainted());
      EXPECT_EQ(Band(1).MeasureFlag(1) & c.bit, c.bit);
      // A score mark shows on every staff; an octave line on its own staff only.
      EXPECT_EQ(Band(2).MeasureFlag(1) & c.bit, c.staffList ? 0 : c.bit);
    }
    score.Undo();
    EXPECT_FALSE(list.Find(time, c.type, true)) << "undone";
    score.SetUseChords(false);
  }
  EXPECT_TRUE(score.PlaybackStale(Internal{}));
}

TEST_F(EventEntry, ToggledMarksComeOffAgain) {
  Click(evtRepeatBegin);
  Paint();
  ASSERT_EQ(Band(1).MeasureFlag(1) & 1, 1);
  Click(evtRepeatBegin);
  EXPECT_FALSE(Globals().Find(64, evtRepeatBegin, true));
  EXPECT_EQ(LastRecord()->Action, 4);
  EXPECT_EQ(Band(1).MeasureFlag(1) & 1, 0);  // cleared by the repaint
  score.Undo();
  EXPECT_TRUE(Globals().Find(64, evtRepeatBegin, true));

  // A coda and an ending in one measure: taking the ending off keeps the coda.
  Click(evtSectionDefine, sctCoda);
  Click(evtSectionDefine, sctEnding1);
  Paint();
  Click(evtSectionDefine, sctEnding1);
  ASSERT_EQ(Kinds(Globals(), 64, evtSectionDefine), 1);
  EXPECT_EQ(Globals().Find(64, evtSectionDefine, true)->Value1(), sctCoda);

  // A line end toggles, laying the score out each time.
  Click(evtLineEnd);
  EXPECT_TRUE(Globals().Find(64, evtLineEnd, true));
  Paint();
  ASSERT_EQ(Band(1).Measures(), 1);  // the second measure starts the next system
  ASSERT_EQ(Band(3).Measure(0)->High(), 64);
  Click(evtLineEnd, 0, {}, 3, 0);
  EXPECT_FALSE(Globals().Find(64, evtLineEnd, true));
  EXPECT_TRUE(Relaid());
}

TEST_F(EventEntry, CountersMergeToOneEvent) {
  for (const int sub : {1, 1, -1, -1, -1}) Click(evtMeasureSize, sub);
  auto e = Globals().Find(64, evtMeasureSize, true);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Value1(), 0);
  EXPECT_EQ(e->Value2(), 1);
  EXPECT_EQ(LastRecord()->Action, 3);  // the fourth cancelled out; the fifth began anew
  Click(evtMeasureSize, -1);
  EXPECT_EQ(e->Value2(), 2);
  EXPECT_EQ(LastRecord()->Action, 5);
  score.Undo();  // back to one step narrower
  EXPECT_EQ(Globals().Find(64, evtMeasureSize, true)->Value2(), 1);
  Click(evtMeasureSize, 1);  // cancels out: the event goes
  EXPECT_FALSE(Globals().Find(64, evtMeasureSize, true));
  EXPECT_EQ(LastRecord()->Action, 4);
  Click(evtMeasureSize, 2);
  Click(evtMeasureSize, 0);  // resets
  EXPECT_FALSE(Globals().Find(64, evtMeasureSize, true));

  // Staff space: at the system's start, in the staff's list.
  Click(evtStaffSpace, 2, {}, 1, 2);
  ASSERT_TRUE(Staff1().Find(0, evtStaffSpace, true));
  Click(evtStaffSpace, -2, {}, 1, 1);
  EXPECT_FALSE(Staff1().Find(0, evtStaffSpace, true));
  EXPECT_EQ(LastRecord()->Action, 7);
}

TEST_F(EventEntry, ASecondEventAtTheSameTimeReplacesTheFirst) {
  struct Case {
    int type, first, second;
  };
  for (const Case c : {Case{evtKeyChange, 2, 5}, Case{evtClefChange, clfBass, clfAlto},
                       Case{evtDynamic, dynP, dynFF}, Case{evtTempo, tmpRitardando, tmpATempo}}) {
    SCOPED_TRACE(c.type);
    Click(c.type, c.first);
    Click(c.type, c.second);
    ASSERT_EQ(Kinds(Staff1(), 64, c.type), 1);
    EXPECT_EQ(Staff1().Find(64, c.type, true)->Value1(), c.second);
    EXPECT_EQ(LastRecord()->Action, 8);
    score.Undo();
    ASSERT_EQ(Kinds(Staff1(), 64, c.type), 1);
    EXPECT_EQ(Staff1().Find(64, c.type, true)->Value1(), c.first);
    score.Undo();
    EXPECT_EQ(Kinds(Staff1(), 64, c.type), 0);
  }
  // A chord symbol picked again where one stands (G, then G minor) takes its place, in the
  // score's list: two symbols at one time would print over each other.
  Click(evtChord, 150);
  Click(evtChord, 151);
  ASSERT_EQ(Kinds(Globals(), 64, evtChord), 1);
  EXPECT_EQ(Globals().Find(64, evtChord, true)->Value1(), 151);
  EXPECT_EQ(LastRecord()->Action, 5);
  score.Undo();
  ASSERT_EQ(Kinds(Globals(), 64, evtChord), 1);
  EXPECT_EQ(Globals().Find(64, evtChord, true)->Value1(), 150);
  score.Undo();
  EXPECT_EQ(Kinds(Globals(), 64, evtChord), 0);

  // A text keeps its position and takes the new offset below and the new words.
  Click(evtText, 0, "dolce", 1, 1, 8);
  const auto text = Staff1().Find(72, evtText, true);
  ASSERT_TRUE(text);
  const int above = text->Value1();
  EXPECT_GT(above, 0);  // clicked a line space below the top line: above the middle
  const Region& band = Band(1);
  score.AddGlobalByHit(XAt(band, 1, 8), band.Top() + band.PadTop() + 3 * band.IncY(), evtText, 0,
                       "cresc.");
  ASSERT_EQ(Kinds(Staff1(), 72, evtText), 1);
  EXPECT_EQ(text->Text(), "cresc.");
  EXPECT_EQ(text->Value1(), above);
  EXPECT_EQ(text->Value2(), 2);
  EXPECT_EQ(LastRecord()->Action, 8);
  EXPECT_EQ(LastRecord()->Text, "dolce");
}

// A label box stores at the staff and time it was opened on, not at a point of the page:
// the same with the page laid out anew, on another staff, and off the page shown.
TEST_F(EventEntry, ALabelIsStoredAtItsStaffAndTimeWhereverThePageIs) {
  log.Log.clear();
  surface.ClearRecord();
  ASSERT_TRUE(score.AddTextLabel(1, 72, 5, 0, "dolce"));
  const auto text = Staff1().Find(72, evtText, true);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Text(), "dolce");
  EXPECT_EQ(text->Value1(), 5);
  EXPECT_EQ(text->Value2(), 0);
  ASSERT_FALSE(log.Log.empty());
  EXPECT_EQ(log.Log.front(), "measure 2");
  EXPECT_EQ(LastRecord()->Action, 6);
  EXPECT_EQ(LastRecord()->Arg4, 1);
  EXPECT_TRUE(Repainted()) << "the label's system on the page shown";
  EXPECT_TRUE(score.Changed());

  // The same time again: the label takes the words and the offsets given, and its undo
  // puts both back.
  ASSERT_TRUE(score.AddTextLabel(1, 72, 0, 3, "cresc."));
  ASSERT_EQ(Kinds(Staff1(), 72, evtText), 1);
  EXPECT_EQ(text->Text(), "cresc.");
  EXPECT_EQ(text->Value1(), 0);
  EXPECT_EQ(text->Value2(), 3);
  EXPECT_EQ(LastRecord()->Action, 8);
  score.Undo();
  EXPECT_EQ(text->Text(), "dolce");
  EXPECT_EQ(text->Value1(), 5);
  EXPECT_EQ(text->Value2(), 0);

  // High above the band (its room shrank since the label was placed there), where the
  // band's repaint erases nothing: the page is painted anew.
  surface.ClearRecord();
  ASSERT_TRUE(score.AddTextLabel(1, 72, 60, 0, "Grave"));
  EXPECT_TRUE(Relaid());
  surface.ClearRecord();
  ASSERT_TRUE(score.AddTextLabel(1, 72, 5, 0, "dolce"));
  EXPECT_TRUE(Relaid()) << "where it stood is erased too";
  surface.ClearRecord();
  ASSERT_TRUE(score.AddTextLabel(1, 72, 5, 0, "dolce"));
  EXPECT_TRUE(Repainted());

  // Another staff, and a measure the page does not show: stored all the same.
  ASSERT_TRUE(score.AddTextLabel(2, 16, 2, 0, "pizz."));
  EXPECT_TRUE(score.Staff(2)->GlobalEvents().Find(16, evtText, true));
  EXPECT_EQ(LastRecord()->Arg4, 2);
  surface.ClearRecord();
  ASSERT_TRUE(score.AddTextLabel(1, 64 * 40, 2, 0, "coda"));
  EXPECT_TRUE(Staff1().Find(64 * 40, evtText, true));
  EXPECT_FALSE(Relaid());

  // No such staff, or no such time: nothing changes.
  const int undo = score.UndoCount();
  for (const auto& [staff, time] : std::vector<std::pair<int, int>>{{0, 0}, {3, 0}, {1, -1}})
    EXPECT_FALSE(score.AddTextLabel(staff, time, 1, 0, "x")) << staff << " " << time;
  EXPECT_EQ(score.UndoCount(), undo);

  while (score.CanUndo()) score.Undo();
  EXPECT_FALSE(Staff1().Find(72, evtText, true));
}

TEST_F(EventEntry, ChordsSwitchChordsOnOnce) {
  Click(evtChord, 3, {}, 1, 1, 16);
  EXPECT_TRUE(score.UseChords());
  EXPECT_TRUE(Relaid());
  EXPECT_TRUE(Globals().Find(80, evtChord, true));
  Paint();
  Click(evtChord, 4, {}, 1, 2, 0);
  EXPECT_TRUE(Repainted());
}

TEST_F(EventEntry, OctaveLinesContinueAcrossMeasures) {
  Click(evtSectionDefine, sct8va, {}, 1, 1);
  Paint();
  Click(evtSectionDefine, sct8va, {}, 1, 2);  // the measure after: it continues the line
  Paint();
  Click(evtSectionDefine, sct8va, {}, 1, 0);  // the measure before: the old first one continues
  EXPECT_EQ(Staff1().Find(128, evtSectionDefine, true)->Text(), "+");
  EXPECT_EQ(Staff1().Find(64, evtSectionDefine, true)->Text(), "+");
  EXPECT_EQ(Staff1().Find(0, evtSectionDefine, true)->Text(), "");
  // Taking one off removes only the octave line of that kind.
  Paint();
  Click(evtSectionDefine, sct8vb, {}, 1, 1);
  Paint();
  Click(evtSectionDefine, sct8va, {}, 1, 1);
  ASSERT_TRUE(Staff1().Find(64, evtSectionDefine, true));
  EXPECT_EQ(Staff1().Find(64, evtSectionDefine, true)->Value2(), 2);
}

TEST_F(EventEntry, UnplacedKindsAndMissesDoNothing) {
  score.SetChanged(false);
  log.Log.clear();
  for (const int type :
       {int{evtTimeChange}, int{evtSectionGo}, int{evtTie}, int{evtLyric}, int{evtPlayBack}, 0, 99})
    Click(type, 1);
  score.AddGlobalByHit(-100, -100, evtRepeatBegin);
  EXPECT_TRUE(log.Log.empty());
  EXPECT_FALSE(score.Changed());
  EXPECT_FALSE(score.CanUndo());
}

TEST_F(EventEntry, TimeByHitIsWhereAnEventAtThePointStands) {
  const Region& band = Band(1);
  const int y = band.Top() + band.PadTop() + band.IncY();
  for (int offset : {0, 16, 40}) {
    const int x = XAt(band, 1, offset);
    const int time = score.TimeByHit(x, y);
    Click(evtText, 0, "t" + std::to_string(offset), 1, 1, offset);
    ASSERT_TRUE(Staff1().Find(time, evtText, true)) << offset;
    EXPECT_EQ(Staff1().Find(time, evtText, true)->Text(), "t" + std::to_string(offset));
  }
  EXPECT_EQ(score.TimeByHit(band.Left(), band.Top() - 5000), -1);
}

}  // namespace
}  // namespace notecraft
