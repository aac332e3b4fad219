#include <gtest/gtest.h>

#include "Veltrimond/styles/insertrange.h"
#include "Veltrimond/styles/stylepattern.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/scoreevents.h"
#include "notecraft/core/timer.h"
#include "notecraft/view/recordingsurface.h"
#include "stylefixture.h"

namespace veltrimond::styles {
namespace {

using namespace notecraft;
using testing::MakeStyle;
using testing::MakeTarget;
using testing::NotesOf;
using testing::TimesOf;
using testing::Written;

constexpr long k24 = 2 * 128 + 16, k34 = 3 * 128 + 16, k44 = 4 * 128 + 16;

std::vector<int> Series(int from, int to, int step) {
  std::vector<int> out;
  for (int t = from; t < to; t += step) out.push_back(t);
  return out;
}

TEST(StylePatternTest, RangesOfMeasures) {
  // One note on each beat of the style's only measure.
  const auto quarter24 = MakeStyle(clfTreble, k24, {{0, {60}}, {16, {64}}});
  const auto whole44 = MakeStyle(clfTreble, k44, {{0, {60}, durWhole}});
  struct Case {
    const char* what;
    const Score& style;
    int first;
    int end;
    std::vector<int> times;
  } cases[] = {
      {"2/4 into 4/4 for 2 from 3: four copies every 32", *quarter24, 3, 5, Series(128, 256, 16)},
      {"thru 5 from 3 fills 3, 4 and 5", *whole44, 3, 6, {128, 192, 256}},
      {"an end not above the first fills one measure", *whole44, 3, 3, {128}},
      {"measure 0 is measure 1", *whole44, 0, 2, {0}},
  };
  for (const Case& c : cases) {
    const auto target = MakeTarget();
    EXPECT_EQ(InsertStylePattern(c.style, *target, 1, c.first, c.end, 0),
              static_cast<int>(c.times.size()))
        << c.what;
    EXPECT_EQ(TimesOf(*target), c.times) << c.what;
  }
}

TEST(StylePatternTest, LastFillsUpToTheScoresHighTime) {
  const auto style = MakeStyle(clfTreble, k44, {{0, {60}}, {32, {62}}});
  const auto target = MakeTarget();
  // The score's last note stands at the start of measure 4 on a second voice.
  const auto staff = target->Staff(1);
  const auto other = staff->AddVoice(target->AllInstruments().Item(1));
  other->Notes().Add(192, 72, durWhole, 0);
  ASSERT_EQ(target->HighTime(), 192);
  InsertStylePattern(*style, *target, 1, 2, kToScoreEnd, 0);
  EXPECT_EQ(TimesOf(*target), (std::vector<int>{64, 96, 128, 160}));

  // A score with nothing after measure First still gets that measure.
  const auto empty = MakeTarget();
  InsertStylePattern(*style, *empty, 1, 1, kToScoreEnd, 0);
  EXPECT_EQ(TimesOf(*empty), (std::vector<int>{0, 32}));
}

TEST(StylePatternTest, NotesStartingBeforeTheEndKeepTheirWholeDuration) {
  const auto style =
      MakeStyle(clfTreble, k44, {{0, {60}, durHalf, nteStacato}, {48, {67}, durHalf, nteDot}});
  const auto target = MakeTarget();
  InsertStylePattern(*style, *target, 1, 1, 2, 0);
  EXPECT_EQ(NotesOf(*target),
            (std::vector<Written>{{0, {60}, durHalf, nteStacato}, {48, {67}, durHalf, nteDot}}));
}

TEST(StylePatternTest, AcrossATimeChangeTheRangeEndsAtTheBarOfTheEndMeasure) {
  const auto style = MakeStyle(clfTreble, k44, {{0, {60}}, {16, {62}}, {32, {64}}, {48, {65}}});
  const auto target = MakeTarget();
  // 4/4 for two measures, then 3/4: measure 3 starts at 128, measure 5 at 128 + 2 x 48.
  target->AllGlobals().Add(128, evtTimeChange, 3, 16);
  ASSERT_EQ(target->AllGlobals().MeasureTime(5), 224);
  InsertStylePattern(*style, *target, 1, 2, 5, 0);
  EXPECT_EQ(TimesOf(*target), Series(64, 224, 16));
}

TEST(StylePatternTest, PitchesMoveByTheShiftWithinTheMidiRangeAndRestsStayRests) {
  EXPECT_EQ(StyleShift("-1", 7), -5);  // G, an octave down
  EXPECT_EQ(ClampMidiValue(3, -5), 0);
  EXPECT_EQ(ClampMidiValue(125, 5), 127);
  EXPECT_EQ(ClampMidiValue(60, 0), 60);

  const auto style =
      MakeStyle(clfTreble, k44, {{0, {3, 60, 64}}, {16, {0}}, {32, {125}}, {48, {62}}});
  const auto target = MakeTarget();
  InsertStylePattern(*style, *target, 1, 1, 2, -5);
  InsertStylePattern(*style, *target, 1, 2, 3, 5);
  const std::vector<Written> expected = {
      {0, {0, 55, 59}, durQuarter, 0}, {16, {0}, durQuarter, 0},         {32, {120}, durQuarter, 0},
      {48, {57}, durQuarter, 0},       {64, {8, 65, 69}, durQuarter, 0}, {80, {0}, durQuarter, 0},
      {96, {127}, durQuarter, 0},      {112, {67}, durQuarter, 0}};
  EXPECT_EQ(NotesOf(*target), expected);
}

TEST(StylePatternTest, ADrumStyleIsNeverShifted) {
  const auto drums = MakeStyle(clfPercussion, k44, {{0, {36, 42}}, {16, {38}}}, 128);
  const auto target = MakeTarget();
  InsertStylePattern(*drums, *target, 1, 1, 2, 19);
  EXPECT_EQ(NotesOf(*target),
            (std::vector<Written>{{0, {36, 42}, durQuarter, 0}, {16, {38}, durQuarter, 0}}));
}

TEST(StylePatternTest, AStyleOfSeveralMeasuresRepeatsAsAWhole) {
  const auto style = MakeStyle(clfBass, k34, {{0, {36}}, {48, {43}}, {96 - 16, {41}}});
  EXPECT_EQ(PatternLength(*style), 96);
  const auto target = MakeTarget();
  target->AllGlobals().SetDftTimeVal(static_cast<int>(k34));
  InsertStylePattern(*style, *target, 1, 1, 5, 0);
  EXPECT_EQ(TimesOf(*target), (std::vector<int>{0, 48, 80, 96, 144, 176}));
}

class ChangeCounter final : public ScoreEvents {
public:
  void ChangeNotify(bool isChanged) override { changes.push_back(isChanged); }
  std::vector<bool> changes;
};

TEST(StylePatternTest, WritingMarksTheScoreChangedAndNothingToWriteLeavesItAlone) {
  const auto style = MakeStyle(clfTreble, k44, {{0, {60}}});
  const auto silent = MakeStyle(clfTreble, k44, {});
  const auto target = MakeTarget();
  ChangeCounter counter;
  target->AddListener(&counter);

  EXPECT_EQ(InsertStylePattern(*silent, *target, 1, 1, 3, 0), 0);
  EXPECT_FALSE(target->Changed());
  EXPECT_TRUE(NotesOf(*target).empty());

  target->SetPlaybackStale(Internal{}, false);  // as after the last playback file was written
  EXPECT_EQ(InsertStylePattern(*style, *target, 1, 1, 3, 0), 2);
  EXPECT_TRUE(target->Changed());
  EXPECT_TRUE(target->PlaybackStale(Internal{}));
  EXPECT_EQ(counter.changes, std::vector<bool>{true});
  EXPECT_TRUE(target->Redraw());
  target->RemoveListener(&counter);
}

TEST(StylePatternTest, TheWindowIsLaidOutAgainOverTheNewNotes) {
  ManualTimerFactory timers;
  SetTimerFactory(&timers);
  RecordingSurface surface;
  const auto style = MakeStyle(clfTreble, k44, {{0, {60}}, {32, {64}}});
  const auto target = MakeTarget();
  target->SetWindow(&surface);
  const int before = target->EndTime();
  InsertStylePattern(*style, *target, 1, 1, 41, 0);
  EXPECT_GT(target->EndTime(), before);
  EXPECT_GE(target->EndTime(), target->HighTime());
  while (target->Paginating()) target->PaginateStep(Internal{});
  EXPECT_GT(target->LastPage(), 1);  // forty measures do not fit one page
  target->SetWindow(nullptr);
  SetTimerFactory(nullptr);
}

TEST(StylePatternTest, MissingStaffVoiceOrSourceWritesNothing) {
  const auto style = MakeStyle(clfTreble, k44, {{0, {60}}});
  const auto target = MakeTarget();
  EXPECT_EQ(InsertStylePattern(*style, *target, 2, 1, 3, 0), 0);  // no staff 2
  EXPECT_EQ(InsertStylePattern(*style, *target, 0, 1, 3, 0), 0);  // no staff 0
  target->Staff(1)->Clear();                                      // a staff without voices
  EXPECT_EQ(InsertStylePattern(*style, *target, 1, 1, 3, 0), 0);

  notecraft::Score voiceless;
  voiceless.CreateDefault();
  voiceless.Staff(1)->Clear();
  voiceless.AllVoices().Clear();
  const auto fresh = MakeTarget();
  EXPECT_EQ(InsertStylePattern(voiceless, *fresh, 1, 1, 3, 0), 0);
  EXPECT_FALSE(fresh->Changed());
}

TEST(StylePatternTest, AVoiceWithoutInstrumentIsNotDrums) {
  notecraft::Score style;
  style.CreateDefault();
  const auto staff = style.Staff(1);
  staff->Clear();
  style.AllVoices().Clear();
  const auto voice = staff->AddVoice(nullptr);
  voice->Notes().Add(0, 60, durQuarter, 0);
  const auto target = MakeTarget();
  InsertStylePattern(style, *target, 1, 1, 2, 2);
  EXPECT_EQ(TimesOf(*target), std::vector<int>{0});
  EXPECT_EQ(NotesOf(*target).front().pitches, std::vector<int>{62});
}

}  // namespace
}  // namespace veltrimond::styles
