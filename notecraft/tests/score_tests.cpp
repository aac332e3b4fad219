#include "notecraft/core/score.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "harmonygrid/core/chord.h"
#include "model_fixtures.h"
#include "scorefile_fixtures.h"

namespace notecraft {
namespace {

using testing::EventLog;

TEST(ScoreCreation, ANewScoreHoldsNothingUntilCreateDefault) {
  Score score;
  EXPECT_EQ(score.Staffs(), 0);
  EXPECT_EQ(score.Beat(), 0);
  EXPECT_EQ(score.Count(), 0);
  EXPECT_EQ(score.PlaybackTempo(), 120);  // a tempo of 0 plays as 120
  EXPECT_EQ(score.Voice(), 0);
  EXPECT_EQ(score.CurPage(), 0);
  EXPECT_FALSE(score.Changed());
  EXPECT_TRUE(score.PlaybackStale(Internal{}));
  EXPECT_FLOAT_EQ(score.PageHeight(), 11.0f);
  EXPECT_EQ(score.PageWidthTwips(), 12240);
  EXPECT_EQ(score.MarginTwips(marLeft), 1080);
  EXPECT_EQ(score.StaffHeightTwips(), 576);
  EXPECT_EQ(score.StaffSpaceTwips(), 720);
  EXPECT_EQ(score.SystemSpaceTwips(), 936);
  EXPECT_EQ(score.StaffHeightClass(), (std::pair{4, 105}));
  EXPECT_EQ(score.PageSize(), pgsLeter);
  EXPECT_EQ(score.Fonts(fntTitle)->Name, "Arial");
  EXPECT_FLOAT_EQ(score.Fonts(fntTitle)->Size, 14);
  EXPECT_TRUE(score.Fonts(fntComposer)->Bold);
  EXPECT_FALSE(score.Fonts(fntCopyright)->Bold);
  EXPECT_EQ(score.Fonts(Score::kMusicFont)->Name, "Veltrimond");
  EXPECT_TRUE(score.Fonts(Score::kExpressionFont)->Italic);
  EXPECT_EQ(score.Fonts(7), nullptr);
  EXPECT_EQ(TheCommon().ColorNotes, RGB(18, 152, 18));
  EXPECT_EQ(TheCommon().FieldSep, "\xFE");
}

TEST(ScoreCreation, CreateDefaultBuildsOneStaffInCommonTimeAndTellsTheHost) {
  Score score;
  EventLog log;
  score.AddListener(&log);
  score.CreateDefault();
  EXPECT_EQ(score.Staffs(), 1);
  EXPECT_EQ(score.AllGlobals().TimeItemCount(), 1);
  EXPECT_EQ(score.AllGlobals().DftTimeVal(), 0);  // common time
  EXPECT_EQ(score.Staff(1)->Description(), "New");
  EXPECT_EQ(score.Staff(1)->Voice(1)->Instrument()->Value(), 74);
  EXPECT_TRUE(score.Staff(1)->Selected());
  EXPECT_EQ(score.Title(), "New Score");
  EXPECT_EQ(score.Composer(), "Composer");
  EXPECT_EQ(score.ArrangedBy(), "Arranged By");
  EXPECT_EQ(score.Beat(), 16);
  EXPECT_EQ(score.Count(), 120);
  EXPECT_TRUE(score.Metronome());
  EXPECT_EQ(score.Voice(), 1);
  EXPECT_EQ(score.Verse(), 1);
  EXPECT_EQ(score.CurPage(), 1);
  EXPECT_EQ(score.LastPage(), 1);
  EXPECT_EQ(score.PageTimes().size(), 1u);
  EXPECT_FALSE(score.Changed());
  EXPECT_EQ(log.log, (std::vector<std::string>{"ActiveVoice(1)", "ActiveStaff(1)"}));

  // A second reset starts afresh.
  score.AllGlobals().Add(64, evtTimeChange, 3, 16);
  score.SetTitle("Mine");
  score.CreateDefault();
  EXPECT_EQ(score.AllGlobals().TimeItemCount(), 1);
  EXPECT_EQ(score.Staffs(), 1);
  EXPECT_EQ(score.AllVoices().Count(), 1);
  EXPECT_EQ(score.AllInstruments().Count(), 1);
  EXPECT_FALSE(score.Changed());
  score.RemoveListener(&log);
}

TEST(ScoreProperties, SettersKeepTheirLimits) {
  Score score;
  score.CreateDefault();
  EventLog log;
  score.AddListener(&log);

  score.SetBeat(5);  // not a beat: 16, and still a change
  EXPECT_EQ(score.Beat(), 16);
  EXPECT_TRUE(score.Changed());
  score.SetChanged(false);
  score.SetBeat(16);
  EXPECT_FALSE(score.Changed());
  score.SetBeat(32);
  EXPECT_EQ(score.Beat(), 32);
  score.SetChanged(false);
  log.log.clear();

  score.SetCount(256);
  score.SetCount(-1);
  EXPECT_EQ(score.Count(), 120);
  score.SetCount(255);
  EXPECT_EQ(score.Count(), 255);
  score.SetCount(0);
  EXPECT_EQ(score.Count(), 0);
  EXPECT_EQ(score.PlaybackTempo(), 120);
  EXPECT_TRUE(log.log.empty());  // the tempo does not mark the score changed

  score.SetCapo(16);
  EXPECT_EQ(score.Capo(), 0);
  score.SetDrumIX(8);
  EXPECT_EQ(score.DrumIX(), 8);
  score.SetDrumIX(9);
  EXPECT_EQ(score.DrumIX(), 8);

  score.SetNumberMeasuresBy(4);  // ignored while numbering is off
  EXPECT_EQ(score.NumberMeasuresBy(), 0);
  score.SetNumberMeasures(true);
  EXPECT_EQ(score.NumberMeasuresBy(), 1);
  score.SetNumberMeasuresBy(4);
  EXPECT_EQ(score.NumberMeasuresBy(), 4);

  score.SetCopyright(0, "line 0");
  score.SetCopyright(7, "line 1");
  EXPECT_EQ(score.Copyright(-3), "line 0");
  EXPECT_EQ(score.Copyright(1), "line 1");

  score.SetUseCapo(true);
  EXPECT_EQ(score.Capo(), 1);
  EXPECT_TRUE(score.UseChords());
  score.SetUseChordMaps(true);
  score.SetUseChords(false);
  EXPECT_FALSE(score.UseChordMaps());
  EXPECT_FALSE(score.UseCapo());

  score.SetVoice(5);
  EXPECT_EQ(score.Voice(), 1);
  score.SetVoice(3);
  EXPECT_EQ(score.Voice(), 3);

  auto font = score.Fonts(fntTitle);
  score.SetFonts(fntTitle, nullptr);  // an empty font is not taken
  EXPECT_EQ(score.Fonts(fntTitle), font);
  font->Size = 20;  // the score hands out its own object
  EXPECT_FLOAT_EQ(score.Fonts(fntTitle)->Size, 20);
  score.RemoveListener(&log);
}

TEST(ScoreProperties, KeyIsWrittenThroughToTheTimeZeroEvent) {
  Score score;
  score.CreateDefault();
  score.Staff(1)->GlobalEvents().Add(0, evtKeyChange, 3);
  score.SetKey(9);
  EXPECT_EQ(score.Key(), 7);
  score.SetKey(-9);
  EXPECT_EQ(score.Key(), -7);
  auto e = score.AllGlobals().Find(0, evtKeyChange, true);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Value1(), 249);
  EXPECT_EQ(score.Staff(1)->GlobalEvents().Find(0, evtKeyChange, true), nullptr);

  Score other;
  other.CreateDefault();
  other.SetMinor(true);
  auto minor = other.AllGlobals().Find(0, evtKeyChange, true);
  ASSERT_NE(minor, nullptr);
  EXPECT_EQ(minor->Value1(), 0);
  EXPECT_EQ(minor->Value2(), 255);
}

TEST(ScorePaper, SizesOrientationAndBadValues) {
  Score score;
  score.CreateDefault();
  score.SetPageSize(pgsA4);
  EXPECT_EQ(score.PageHeightTwips(), 16834);
  EXPECT_EQ(score.PageWidthTwips(), 11909);
  score.SetPageHeight(11.69f);  // 16833.6 rounds to A4's height
  EXPECT_EQ(score.PageSize(), pgsA4);
  score.SetPageHeight(11.7f);
  EXPECT_EQ(score.PageSize(), pgsCustom);

  score.SetPageSize(pgsLeter);
  score.SetPageOrientation(pgeLandscape);
  EXPECT_FLOAT_EQ(score.PageHeight(), 8.5f);
  EXPECT_FLOAT_EQ(score.PageWidth(), 11.0f);
  score.SetPageHeight(8.0f);  // writes the paper's width
  EXPECT_EQ(score.PageWidthTwips(), 15840);
  EXPECT_EQ(score.PageHeightTwips(), 11520);
  score.SetPageOrientation(pgePortrait);
  EXPECT_FLOAT_EQ(score.PageWidth(), 8.0f);

  // Zero, negative, infinite and overflowing sizes are ignored.
  for (float bad : {0.0f, -1.0f, 1e30f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()}) {
    SCOPED_TRACE(bad);
    score.SetPageHeight(bad);
    score.SetPageWidth(bad);
    score.SetStaffHeight(bad);
    EXPECT_EQ(score.PageHeightTwips(), 15840);
    EXPECT_EQ(score.PageWidthTwips(), 11520);
    EXPECT_EQ(score.StaffHeightTwips(), 576);
  }
  score.SetMargins(marTop, -0.5f);
  score.SetMargins(marTop, 1e30f);
  score.SetMargins(7, 1.0f);
  EXPECT_EQ(score.MarginTwips(marTop), 1440);
  EXPECT_FLOAT_EQ(score.Margins(9), 0.0f);
  score.SetMargins(marTop, 0.0f);  // no margin is allowed
  EXPECT_EQ(score.MarginTwips(marTop), 0);
  score.SetStaffSpace(0.0f);
  EXPECT_EQ(score.StaffSpaceTwips(), 0);
  score.SetStaffHeight(0.3f);
  EXPECT_EQ(score.StaffHeightTwips(), 432);
  EXPECT_EQ(score.StaffHeightClass(), (std::pair{3, 90}));
}

TEST(ScorePages, CurPageAcceptsKnownPagesAndTheNextOne) {
  Score score;
  score.CreateDefault();
  score.MutablePageTimes(Internal{})[0].SetHigh(Internal{}, 256);
  score.SetCurPage(score.LastPage() + 2);
  score.SetCurPage(0);
  EXPECT_EQ(score.CurPage(), 1);
  score.SetCurPage(2);
  EXPECT_EQ(score.CurPage(), 2);
  EXPECT_EQ(score.CurTime(), 256);
  EXPECT_EQ(score.PageTimes().size(), 2u);
  EXPECT_EQ(score.PageLayouts().size(), 2u);
  EXPECT_EQ(score.PageTimes()[1].Low(), 256);
}

TEST(ScoreChange, TheFlagIsSuppressedWhileInitialisingAndNotifiesOnlyOnAChange) {
  Score score;
  score.CreateDefault();
  EventLog log;
  score.AddListener(&log);
  score.SetInitialising(Internal{}, true);
  score.SetTitle("quiet");
  EXPECT_FALSE(score.Changed());
  score.SetInitialising(Internal{}, false);
  score.SetTitle("loud");
  score.SetComposer("again");
  score.SetChanged(false);
  score.SetChanged(false);
  EXPECT_EQ(log.log, (std::vector<std::string>{"ChangeNotify(1)", "ChangeNotify(0)"}));
  score.RemoveListener(&log);
}

TEST(ScoreQueries, HighTimeAndMeasureFlags) {
  Score score;
  score.CreateDefault();
  EXPECT_EQ(score.HighTime(), 0);
  score.Staff(1)->Voice(1)->Notes().Add(64, 60, 64, 0);
  score.AllVoices().Add("empty", nullptr, "");
  EXPECT_EQ(score.HighTime(), 64);  // the latest start, not the end

  auto& g = score.AllGlobals();
  g.Add(64, evtRepeatBegin);
  g.Add(64, evtRepeatEnd);
  g.Add(64, evtSectionDefine, sctEnding1);
  g.Add(64, evtSectionDefine, sctCoda);
  g.Add(64, evtLyric);
  g.Add(128, evtScoreEnd);
  EXPECT_EQ(score.MeasureFlags(64), 1 | 2 | (sctEnding1 | sctCoda) * 16);
  EXPECT_EQ(score.MeasureFlags(128), 8);
  EXPECT_EQ(score.MeasureFlags(100), 0);
  EXPECT_EQ(score.InsDesc(0), "Acoustic Grand Piano");
  EXPECT_EQ(score.InsDesc(175), "");
}

TEST(ScoreTeardown, ItemsAHostStillHoldsOutliveTheScore) {
  std::shared_ptr<Staff> staff;
  std::shared_ptr<Voice> voice;
  std::shared_ptr<Instrument> instrument;
  {
    Score score;
    score.CreateDefault();
    staff = score.Staff(1);
    voice = staff->Voice(1);
    instrument = voice->Instrument();
  }
  EXPECT_EQ(staff->Parent(Internal{}), nullptr);
  EXPECT_EQ(staff->Voice(1), nullptr);
  EXPECT_EQ(voice->Instrument(), nullptr);
  EXPECT_EQ(instrument->Parent(Internal{}), nullptr);
  EXPECT_EQ(staff->CurKey(0), 0);
  staff->SetSelected(true);
}

}  // namespace
}  // namespace notecraft

namespace notecraft {
namespace {

TEST(ScoreChords, TheScoreLoadsTheShippedChordShapes) {
  Score score;
  ASSERT_NE(score.Chord(), nullptr);
  const auto list = score.LoadChordList();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(static_cast<int>(list.size()), score.Chord()->ListCount());
  EXPECT_EQ(list.front().first, score.Chord()->ListItem(0));
}

// A listener that, on ChangeNotify, runs an action once (closing another window, say).
class ActingListener : public ScoreEvents {
public:
  ActingListener(std::string name, std::vector<std::string>& log)
      : m_name(std::move(name)), m_log(log) {}
  void ChangeNotify(bool) override {
    m_log.push_back(m_name);
    if (auto act = std::exchange(action, nullptr)) act();
  }
  std::function<void()> action;

private:
  std::string m_name;
  std::vector<std::string>& m_log;
};

TEST(ScoreListeners, RemovalDuringAnEventTakesEffectAtOnce) {
  Score score;
  std::vector<std::string> log;
  ActingListener first("first", log);
  auto second = std::make_unique<ActingListener>("second", log);
  ActingListener third("third", log);
  ActingListener late("late", log);
  score.AddListener(&first);
  score.AddListener(second.get());
  score.AddListener(&third);
  // The first closes the second (removed and freed) and adds another; the third removes
  // itself while it is being called.
  first.action = [&] {
    score.RemoveListener(second.get());
    second.reset();
    score.AddListener(&late);
  };
  third.action = [&] { score.RemoveListener(&third); };
  score.SetChanged(true);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "third"}));
  log.clear();
  score.SetChanged(false);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "late"}));
  // Removed and added again inside one event: heard once more from the next event.
  log.clear();
  first.action = [&] {
    score.RemoveListener(&late);
    score.AddListener(&late);
  };
  score.SetChanged(true);
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));
  log.clear();
  score.SetChanged(false);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "late"}));
  score.RemoveListener(&first);
  score.RemoveListener(&late);
}

// The score's key stands as the time-0 key event too; emptying the score-wide events in
// any way keeps the two in step, so a save writes the key that is shown.
TEST(ScoreKey, ClearingTheScoreWideEventsKeepsTheKeyEvent) {
  auto keyEvent = [](Score& s) {
    const auto e = s.AllGlobals().Find(0, evtKeyChange, true);
    return e ? std::pair{e->Value1(), e->Value2()} : std::pair{-1, -1};
  };
  Score score;
  score.CreateDefault();
  score.SetKey(3);
  score.SetMinor(true);
  const std::pair want{KeyToByte(3), 255};
  struct Step {
    const char* name;
    std::function<void()> run;
  } steps[] = {
      {"CreateDefault", [&] { score.CreateDefault(); }},
      {"Reload without a file", [&] { score.Reload(); }},
      {"AllGlobals().Clear()", [&] { score.AllGlobals().Clear(); }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    step.run();
    EXPECT_EQ(score.Key(), 3);
    EXPECT_TRUE(score.Minor());
    EXPECT_EQ(keyEvent(score), want);
    score.SetKey(3);  // the same value changes nothing, and needs nothing
    EXPECT_EQ(keyEvent(score), want);
  }
  // What is saved then is what is shown.
  testing::MessageRecorder host;
  testing::TempDir dir;
  score.CreateDefault();
  ASSERT_TRUE(score.SaveFile(dir.File("key.sco")));
  Score back;
  ASSERT_TRUE(back.OpenFile(dir.File("key.sco")));
  EXPECT_EQ(back.Key(), 3);
  EXPECT_TRUE(back.Minor());
  // C major stands without an event, as a new score does.
  score.SetKey(0);
  score.SetMinor(false);
  score.CreateDefault();
  EXPECT_FALSE(score.AllGlobals().Find(0, evtKeyChange, true));
}

}  // namespace
}  // namespace notecraft
