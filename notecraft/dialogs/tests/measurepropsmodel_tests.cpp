// The measure dialog's rules on real scores: loading what stands at a measure, the check-box
// interlocks, and Apply writing exactly what the controls show (with undo).

#include <gtest/gtest.h>

#include "dialogfixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/core/globalevent.h"
#include "notecraft/core/region.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/dialogs/measurepropsmodel.h"
#include "notecraft/tests/print_fixtures.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::dialogs {
namespace {

using M = MeasurePropsModel;
using testing::MakeScore;

// A two-staff score in 4/4 with the dialog on measure 3 (time 128) of staff 2.
class MeasureProps : public ::testing::Test {
protected:
  static constexpr int kT = 128;
  void SetUp() override {
    score = MakeScore({"Piano", "Bass"});
    score->Staff(2)->SetSelected(true);
    Open(3);
  }
  // Init starts from the selected measure, which only a paint sets: go there by the box.
  void Open(int measure) {
    model = M{};
    model.Init(*score);
    model.SetMeasureText(std::to_string(measure));
    model.LeaveMeasureNumber(*score);
  }
  GlobalEvents& Globals() { return score->AllGlobals(); }
  std::unique_ptr<Score> score;
  M model;
};

TEST_F(MeasureProps, InterlocksOfTheCheckBoxGroups) {
  struct Step {
    M::Group group;
    int box;
    bool checked;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    M::Group group;
    std::array<bool, 4> checked;
    std::array<bool, 4> enabled;
  };
  const Case cases[] = {
      {"End Score excludes End Repeat and End Section",
       {{M::kBars, 0, true}, {M::kBars, 3, true}},
       M::kBars,
       {true, false, false, true},
       {true, false, false, true}},
      {"unchecking End Score enables both again",
       {{M::kBars, 3, true}, {M::kBars, 3, false}},
       M::kBars,
       {false, false, false, false},
       {true, true, true, true}},
      {"To Segundo still excludes Segundo and To Coda after Coda goes",
       {{M::kSections, 3, true}, {M::kSections, 0, true}, {M::kSections, 0, false}},
       M::kSections,
       {false, false, false, true},
       {true, false, false, true}},
      {"To Coda still excludes Coda and To Segundo after Segundo goes",
       {{M::kSections, 1, true}, {M::kSections, 2, true}, {M::kSections, 1, false}},
       M::kSections,
       {false, false, true, false},
       {false, true, true, false}},
      {"Ending combines with a pickup",
       {{M::kMisc, 3, true}, {M::kMisc, 0, true}},
       M::kMisc,
       {true, false, false, true},
       {true, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(3);
    for (const Step& s : c.steps) model.Toggle(s.group, s.box, s.checked);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(model.Boxes(c.group, i).Checked, c.checked[static_cast<std::size_t>(i)]) << i;
      EXPECT_EQ(model.Boxes(c.group, i).Enabled, c.enabled[static_cast<std::size_t>(i)]) << i;
    }
  }
  Open(3);
  model.Toggle(M::kMisc, 0, true);
  EXPECT_EQ(model.EndingText(), "1");
  EXPECT_TRUE(model.EndingEnabled());
}

TEST_F(MeasureProps, LoadsWhatStandsAtTheMeasure) {
  Globals().Add(kT, evtRepeatEnd);
  Globals().Add(kT, evtSectionEnd);  // allowed together by the editor: both stay checked
  Globals().Add(kT, evtSectionDefine, sctEnding, 0, "1-3");
  Globals().Add(kT, evtSectionGo, sctToCoda);
  Globals().Add(kT, evtTimeChange, 7, 8, "7");
  score->Staff(2)->GlobalEvents().Add(kT, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(-3)));
  Open(3);
  EXPECT_TRUE(model.Boxes(M::kBars, 1).Checked);
  EXPECT_TRUE(model.Boxes(M::kBars, 2).Checked);
  EXPECT_TRUE(model.Boxes(M::kMisc, 0).Checked);
  EXPECT_EQ(model.EndingText(), "1-3");
  EXPECT_TRUE(model.Boxes(M::kSections, 2).Checked);
  EXPECT_EQ(model.TimeOption(), 9);  // 7/8 is custom
  EXPECT_EQ(model.TimeText(0), "7");
  EXPECT_EQ(model.TimeText(1), "8");
  EXPECT_EQ(model.PulseText(), "7");
  EXPECT_EQ(model.MajorPosition(), 4);  // "Eb - 3 flats"
  EXPECT_FALSE(model.Modified());
  // Loading changed nothing Apply would write.
  model.Apply(*score);
  EXPECT_EQ(Globals().Item(kT, evtRepeatEnd) != nullptr, true);
  EXPECT_EQ(Globals().Item(kT, evtSectionEnd) != nullptr, true);

  // A minor key change (its second value set, as for the score's key) shows in the minor list.
  score->Staff(2)->GlobalEvents().Item(kT, evtKeyChange)->SetValue2(255);
  Globals().Remove(kT, evtTimeChange);
  Globals().Add(kT, evtTimeChange, 6, 8, "2");
  Open(3);
  EXPECT_TRUE(model.MinorList());
  EXPECT_EQ(model.MinorPosition(), 4);  // "C - 3 flats"
  EXPECT_EQ(model.TimeOption(), 7);     // 6/8
}

// Staff 2 in the treble clef, bass clef from measure 2; 3/4 from measure 5; G major on
// staff 2 from measure 9.
class MeasurePropsLater : public MeasureProps {
protected:
  void SetUp() override {
    MeasureProps::SetUp();
    Staff& staff = *score->Staff(2);
    staff.SetDefaultClef(clfTreble);
    staff.GlobalEvents().Add(64, evtClefChange, clfBass);
    Globals().Add(256, evtTimeChange, 3, 16, "3");
    staff.GlobalEvents().Add(At(9), evtKeyChange, static_cast<std::uint8_t>(KeyToByte(1)));
    score->SetChanged(false);
  }
  int At(int measure) { return Globals().MeasureTime(measure); }
};

TEST_F(MeasurePropsLater, ShowsTheClefKeyAndTimeInForceAtEveryMeasure) {
  struct Case {
    int measure;
    int clef;
    int keyPosition;  // in the major list
    bool keyHere;     // a key change of the staff stands at the measure: Clear removes it
    int timeOption;
    const char* pulse;
    bool timeHere;
  };
  const Case cases[] = {
      {1, clfTreble, 7, false, 0, "", true},   // common time at 0, stored without a pulse
      {2, clfBass, 7, false, 0, "", false},    // the clef changes here
      {5, clfBass, 7, false, 4, "3", true},    // the time signature changes here
      {9, clfBass, 8, true, 4, "3", false},    // the key changes here
      {10, clfBass, 8, false, 4, "3", false},  // all in force from earlier
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("measure " + std::to_string(c.measure));
    Open(c.measure);
    EXPECT_EQ(model.Clef(), c.clef);
    EXPECT_FALSE(model.MinorList());
    EXPECT_EQ(model.MajorPosition(), c.keyPosition);
    EXPECT_EQ(model.MinorPosition(), c.keyPosition);  // the relative minor, for the other list
    EXPECT_EQ(model.KeyClearEnabled(), c.keyHere);
    EXPECT_EQ(model.TimeOption(), c.timeOption);
    EXPECT_EQ(model.PulseText(), c.pulse);
    EXPECT_EQ(model.ClearRestEnabled(), c.timeHere);
    EXPECT_FALSE(model.Modified());
  }
  // The key change says whether it is minor, not the score's own mode.
  score->SetMinor(true);
  Open(9);
  EXPECT_FALSE(model.MinorList());
  EXPECT_EQ(model.MajorPosition(), 8);
}

TEST_F(MeasurePropsLater, ApplyWritesWhatTheMeasureNeeds) {
  struct Case {
    const char* name;
    int measure;
    std::function<void(Score&)> before;
    std::function<void(M&)> edit;
    std::function<void(Score&)> check;
  };
  const auto nothing = [](Score&) {};
  static constexpr auto At = [](Score& s, int measure) {
    return s.AllGlobals().MeasureTime(measure);
  };
  const Case cases[] = {
      {"another clef changes the staff at the measure", 9, nothing,
       [](M& m) { m.ChooseClef(clfTreble); },
       [](Score& s) {
         auto e = s.Staff(2)->GlobalEvents().Item(At(s, 9), evtClefChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), clfTreble);
         EXPECT_TRUE(s.Changed());
       }},
      {"the clef of the measures before takes the change away", 9,
       [](Score& s) { s.Staff(2)->GlobalEvents().Add(At(s, 9), evtClefChange, clfAlto); },
       [](M& m) { m.ChooseClef(clfBass); },
       [](Score& s) {
         EXPECT_EQ(s.Staff(2)->GlobalEvents().Item(At(s, 9), evtClefChange), nullptr);
       }},
      {"the minor list keeps the key signature and marks the change minor", 9, nothing,
       [](M& m) {
         m.SetMinorList(true);
         EXPECT_EQ(m.MinorPosition(), 8);  // "E - 1 sharp"
       },
       [](Score& s) {
         auto e = s.Staff(2)->GlobalEvents().Item(At(s, 9), evtKeyChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), 1);
         EXPECT_EQ(e->Value2(), 255);
       }},
      {"the key in force chosen again adds no change", 10, nothing,
       [](M& m) { m.ChooseKey(false, 8); },
       [](Score& s) {
         EXPECT_EQ(s.Staff(2)->GlobalEvents().Item(At(s, 10), evtKeyChange), nullptr);
         EXPECT_FALSE(s.Changed());
       }},
      {"the time signature in force chosen again adds no change", 10, nothing,
       [](M& m) { m.ChooseTime(4); },
       [](Score& s) {
         EXPECT_EQ(s.AllGlobals().Item(At(s, 10), evtTimeChange), nullptr);
         EXPECT_FALSE(s.Changed());
       }},
      {"nor does common time where it stands without a pulse", 2, nothing,
       [](M& m) { m.ChooseTime(0); },
       [](Score& s) { EXPECT_EQ(s.AllGlobals().Item(At(s, 2), evtTimeChange), nullptr); }},
      {"another pulse is a change", 10, nothing, [](M& m) { m.SetPulseText("1"); },
       [](Score& s) {
         auto e = s.AllGlobals().Item(At(s, 10), evtTimeChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1() * 128 + e->Value2(), 400);
         EXPECT_EQ(e->Text(), "1");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.before(*score);
    score->SetChanged(false);
    Open(c.measure);
    c.edit(model);
    EXPECT_TRUE(model.Modified());
    model.Apply(*score);
    c.check(*score);
  }
}

TEST_F(MeasureProps, DefaultPulsesAndAShortBeat) {
  const std::pair<int, const char*> pulses[] = {{7, "2"}, {8, "3"}, {5, "5"}, {0, "4"}, {1, "2"}};
  for (auto [option, pulse] : pulses) {
    model.ChooseTime(option);
    EXPECT_EQ(model.PulseText(), pulse) << option;
  }
  Globals().Add(kT, evtTimeChange, 5, 2, "5");  // beat of a 32nd
  Open(3);
  EXPECT_EQ(model.TimeText(1), "4");
}

TEST_F(MeasureProps, ApplyWritesEachGroup) {
  struct Case {
    const char* name;
    std::function<void(M&)> edit;
    std::function<void(Score&)> check;
    std::function<void(Score&)> before = {};  // before the dialog opens
  };
  const Case cases[] = {
      {"End Repeat", [](M& m) { m.Toggle(M::kBars, 1, true); },
       [](Score& s) { EXPECT_NE(s.AllGlobals().Item(kT, evtRepeatEnd), nullptr); }},
      {"Bb major key on the staff", [](M& m) { m.ChooseKey(false, 5); },
       [](Score& s) {
         auto e = s.Staff(2)->GlobalEvents().Item(kT, evtKeyChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), 254);
         EXPECT_EQ(s.Staff(1)->GlobalEvents().Item(kT, evtKeyChange), nullptr);
       }},
      {"ending 2 with spaces",
       [](M& m) {
         m.Toggle(M::kMisc, 0, true);
         m.SetEndingText(" 2 ");
       },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtSectionDefine);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), sctEnding2);
         EXPECT_EQ(e->Text(), "");
       }},
      {"ending 1-3",
       [](M& m) {
         m.Toggle(M::kMisc, 0, true);
         m.SetEndingText("1-3");
       },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtSectionDefine);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), sctEnding);
         EXPECT_EQ(e->Text(), "1-3");
       }},
      {"ending and coda share the definition",
       [](M& m) {
         m.Toggle(M::kMisc, 0, true);
         m.Toggle(M::kSections, 0, true);
       },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtSectionDefine);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), sctCoda);
         EXPECT_EQ(e->Text(), "");
       }},
      {"To Segundo", [](M& m) { m.Toggle(M::kSections, 3, true); },
       [](Score& s) { EXPECT_EQ(s.AllGlobals().Item(kT, evtSectionGo)->Value1(), sctToSegundo); }},
      {"custom 5 over 3 falls back to quarters",
       [](M& m) {
         m.ChooseTime(9);
         m.SetTimeText(0, "5");
         m.SetTimeText(1, "3");
       },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtTimeChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1(), 5);
         EXPECT_EQ(e->Value2(), 16);
       }},
      {"custom 20 over 4",
       [](M& m) {
         m.ChooseTime(9);
         m.SetTimeText(0, "20");
         m.SetTimeText(1, "4");
       },
       [](Score& s) { EXPECT_EQ(s.AllGlobals().Item(kT, evtTimeChange)->Value1(), 4); }},
      {"common time where none stood and 8/8 is in force", [](M& m) { m.ChooseTime(0); },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtTimeChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value1() * 128 + e->Value2(), 0);
       },
       [](Score& s) {
         auto first = s.AllGlobals().Item(0, evtTimeChange);
         first->SetValue1(8);
         first->SetValue2(8);
       }},
      {"cut time with pulse 0",
       [](M& m) {
         m.ChooseTime(1);
         m.SetPulseText("0");
       },
       [](Score& s) {
         auto e = s.AllGlobals().Item(kT, evtTimeChange);
         ASSERT_NE(e, nullptr);
         EXPECT_EQ(e->Value2(), 1);
         EXPECT_EQ(e->Text(), "1");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.before) {
      c.before(*score);
      Open(3);
    }
    c.edit(model);
    EXPECT_TRUE(model.Modified());
    model.Apply(*score);
    c.check(*score);
    EXPECT_TRUE(score->Changed());
    EXPECT_FALSE(model.Modified());
    // Undo takes the whole edit back, one record per event.
    while (score->CanUndo()) score->Undo();
    for (int type : {evtRepeatEnd, evtSectionDefine, evtSectionGo, evtTimeChange})
      EXPECT_EQ(Globals().Item(kT, type), nullptr) << type;
    EXPECT_EQ(score->Staff(2)->GlobalEvents().Item(kT, evtKeyChange), nullptr);
  }
}

TEST_F(MeasureProps, ApplyIsIdempotentAndRemovesWhatIsUnchecked) {
  model.Toggle(M::kBars, 1, true);
  model.Apply(*score);
  const int records = score->UndoCount();
  model.Toggle(M::kBars, 1, true);  // the same state again
  model.Apply(*score);
  EXPECT_EQ(score->UndoCount(), records);
  model.Toggle(M::kBars, 1, false);
  model.Apply(*score);
  EXPECT_EQ(Globals().Item(kT, evtRepeatEnd), nullptr);

  // A section kind the dialog does not show stays when the boxes are cleared.
  Globals().Add(kT, evtSectionDefine, sctPickup);
  Open(3);
  model.Toggle(M::kSections, 0, true);
  model.Toggle(M::kSections, 0, false);
  model.Apply(*score);
  EXPECT_NE(Globals().Item(kT, evtSectionDefine), nullptr);
}

TEST_F(MeasureProps, APulseChangeAloneIsWritten) {
  Globals().Add(kT, evtTimeChange, 3, 16, "3");
  Open(3);
  model.SetPulseText("1");
  model.Apply(*score);
  auto e = Globals().Item(kT, evtTimeChange);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Value1() * 128 + e->Value2(), 400);
  EXPECT_EQ(e->Text(), "1");
}

TEST_F(MeasureProps, ClearingTheKeyOrTimeIsAnEditOfItsOwn) {
  score->Staff(2)->GlobalEvents().Add(kT, evtKeyChange, 2);
  Globals().Add(kT, evtTimeChange, 3, 16, "3");
  Open(3);
  model.ClearKey();
  EXPECT_TRUE(model.Modified());
  EXPECT_EQ(model.ClearRestCaption(), "Clear");
  model.ClearRestore();
  EXPECT_EQ(model.ClearRestCaption(), "Restore");
  model.Apply(*score);
  EXPECT_EQ(score->Staff(2)->GlobalEvents().Item(kT, evtKeyChange), nullptr);
  EXPECT_EQ(Globals().Item(kT, evtTimeChange), nullptr);

  Globals().Add(kT, evtTimeChange, 3, 16, "3");
  Open(3);
  model.ClearRestore();
  model.ClearRestore();  // Restore
  EXPECT_EQ(model.TimeOption(), 4);
  EXPECT_EQ(model.PulseText(), "3");
  EXPECT_FALSE(model.GroupChanged(M::kTimeChanged));
}

TEST_F(MeasureProps, MovingToAnotherMeasureAppliesAndReloads) {
  Globals().Add(192, evtTimeChange, 3, 16, "3");  // measure 4 in 3/4
  model.ChooseTime(3);                            // 2/4 for measure 3
  model.SetMeasureText("4");
  model.LeaveMeasureNumber(*score);
  EXPECT_EQ(model.Measure(), 4);
  EXPECT_NE(Globals().Item(kT, evtTimeChange), nullptr);  // measure 3 was applied first
  EXPECT_EQ(model.TimeOption(), 4);                       // and 3/4 shows for measure 4
  EXPECT_FALSE(model.Modified());

  model.SetMeasureText("0");
  model.LeaveMeasureNumber(*score);
  EXPECT_EQ(model.Measure(), 1);
  model.StepMeasure(*score, -1);
  EXPECT_EQ(model.Measure(), 1);
}

TEST_F(MeasureProps, MovingToAnotherStaffKeepsTheMeasure) {
  model.ChooseKey(false, 9);  // "D - 2 sharps" on staff 2
  model.MoveToStaff(*score, 1);
  EXPECT_EQ(model.StaffIndex(), 1);
  EXPECT_EQ(model.Measure(), 3);
  EXPECT_NE(score->Staff(2)->GlobalEvents().Item(kT, evtKeyChange), nullptr);
  EXPECT_FALSE(model.KeyClearEnabled());  // staff 1 has no key change of its own there
  EXPECT_EQ(model.MajorPosition(), 7);    // and shows the C major it is in
}

// End Score on measure 12 of fifteen measures of quarters ends the score there: no note,
// staff or bar of measures 13 to 15 is drawn, on screen, after a refresh (F5), or in print.
TEST_F(MeasureProps, EndScoreDrawsNothingAfterTheFinalBar) {
  for (int s = 1; s <= 2; ++s)
    for (int t = 0; t < 15 * 64; t += 16)
      score->Staff(s)->Voice(1)->Notes().Add(t, 67, durQuarter, 0);
  RecordingSurface surface;
  score->SetWindow(&surface);
  score->FinishPagination();
  const auto heads = [](const RecordingSurface& drawn) {
    int count = 0;
    for (const SurfaceOp& op : drawn.Ops(SurfaceOp::Kind::Text))
      count += op.Text == std::string(1, glyph::FilledHead);
    return count;
  };
  // Every page, and the start of the last measure drawn.
  const auto onScreen = [&] {
    int drawn = 0, last = -1;
    for (int page = 1; page <= score->LastPage(); ++page) {
      surface.ClearRecord();
      if (score->CurPage() != page)
        score->SetCurPage(page);
      else
        score->PaintWindow();
      drawn += heads(surface);
      for (const auto& band : score->Bands(Internal{}))
        last = std::max(last, band->Measure(band->Measures() - 1)->High());
    }
    return std::pair{drawn, last};
  };
  ASSERT_EQ(onScreen(), std::pair(2 * 15 * 4, 14 * 64));

  Open(12);
  model.Toggle(M::kBars, 3, true);
  model.Apply(*score);
  score->FinishPagination();
  EXPECT_EQ(onScreen(), std::pair(2 * 12 * 4, 11 * 64));
  score->PaintWindow();  // Refresh
  EXPECT_EQ(onScreen(), std::pair(2 * 12 * 4, 11 * 64));
  notecraft::testing::RecordingPrinter printer;
  ASSERT_TRUE(score->PrintScore(printer));
  EXPECT_EQ(heads(*printer.surface), 2 * 12 * 4);
  score->SetWindow(nullptr);
}

}  // namespace
}  // namespace notecraft::dialogs
