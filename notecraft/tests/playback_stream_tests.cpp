// The playback event stream as a host meets it: the exact events (time, kind, channel, data
// values) and repeat notifications, synchronous and through LoadMIDI.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "playback_fixtures.h"

namespace notecraft {
namespace {

using testing::FollowingHost;
using testing::ManualTimers;
using testing::PlaybackLog;
using testing::PlaybackScore;
using testing::kBassDrum;
using testing::kFlute;
using testing::kPiano;
using testing::kViolin;
using Log = std::vector<std::string>;

struct OrderCase {
  const char* name;
  std::function<void(PlaybackScore&)> build;
  int start;
  Log expected;
};

TEST(PlaybackOrder, EventsComeInTimeOrderWithTheirValues) {
  const OrderCase cases[] = {
      {"the first voice's program change and note come before the second voice's",
       [](PlaybackScore& s) {
         s.Note(s.AddVoice(kPiano), 0, {60});
         s.Note(s.AddVoice(kViolin), 0, {67});
       },
       0,
       // At one time the note-off made last comes first.
       {"0 PC 0 0/112", "0 On 0 60/112", "0 PC 1 40/112", "0 On 1 67/112", "16 Off 1 67/112",
        "16 Off 0 60/112"}},
      {"a chord sounds in pitch order",
       [](PlaybackScore& s) { s.Note(s.AddVoice(kPiano), 0, {67, 60, 64}); },
       0,
       {"0 PC 0 0/112", "0 On 0 60/112", "0 On 0 64/112", "0 On 0 67/112", "16 Off 0 67/112",
        "16 Off 0 64/112", "16 Off 0 60/112"}},
      {"a note-off comes before a note-on at the same time",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kPiano);
         s.Note(v, 0, {60});
         s.Note(v, 16, {62});
       },
       0,
       {"0 PC 0 0/112", "0 On 0 60/112", "16 Off 0 60/112", "16 On 0 62/112", "32 Off 0 62/112"}},
      {"accents and everything on the drum channel play at 127",
       [](PlaybackScore& s) {
         s.Note(s.AddVoice(kPiano), 0, {60}, durQuarter, nteAccent);
         s.Note(s.AddVoice(kBassDrum), 0, {36});
       },
       0,
       {"0 PC 0 0/112", "0 On 0 60/127", "0 PC 9 0/127", "0 On 9 36/127", "16 Off 9 36/127",
        "16 Off 0 60/127"}},
      {"a restart inside the score begins at the next note, program change first",
       [](PlaybackScore& s) {
         auto v = s.AddVoice(kFlute);
         s.Note(v, 0, {60});
         s.Note(v, 16, {62});
         s.Note(v, 32, {64});
       },
       20,
       {"32 PC 0 73/112", "32 On 0 64/112", "48 Off 0 64/112"}},
      {"a start of -1 ends the stream",
       [](PlaybackScore& s) { s.Note(s.AddVoice(kPiano), 0, {60}); }, -1, {}},
      {"a start after the last note gives nothing",
       [](PlaybackScore& s) { s.Note(s.AddVoice(kPiano), 0, {60}); }, 1, {}},
      {"a score without notes gives nothing", [](PlaybackScore& s) { s.AddVoice(kPiano); }, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackScore s;
    c.build(s);
    PlaybackLog log(s.score);
    EXPECT_EQ(log.Drain(c.start), c.expected);
    EXPECT_EQ(s.score.GetMIDIEvent(), nullptr);  // the end stays the end
  }
}

TEST(PlaybackOrder, SoundingLengthAddsTheDotThenHalvesForStaccato) {
  struct Case {
    int duration, flags, offTime;
    const char* why;
  };
  const Case cases[] = {
      {16, 0, 16, "plain"},
      {16, nteDot, 24, "dotted quarter"},
      {16, nteStacato, 8, "staccato quarter"},
      {8, nteDot | nteStacato, 6, "staccato dotted eighth: 12, then 6"},
      {1, nteDot, 2, "dotted 64th: 1.5 rounds to 2"},
      {3, nteDot, 4, "4.5 rounds to the even 4"},
      {5, nteStacato, 2, "2.5 rounds to the even 2"},
      {1, nteDot | nteStacato, 1, "2, then 1"},
      {1, nteStacato, 1, "staccato 64th: 0.5 rounds to 0, still sounds one 64th"},
      {16, nteTriplet, 11, "a triplet quarter sounds two thirds: 10.67"},
      {32, nteTriplet, 21, "a triplet half: 21.33"},
      {16, nteTriplet | nteStacato, 6, "11, then 5.5 rounds to the even 6"},
      {16, nteDot | nteTriplet, 16, "24, then two thirds"},
      {16, nteDouble | nteTrill, 16, "other marks do not change the length"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    PlaybackScore s;
    auto v = s.AddVoice(kPiano);
    s.Note(v, 0, {60}, c.duration, c.flags);
    s.Note(v, 64, {62});
    PlaybackLog log(s.score);
    const Log got = log.Drain();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[1], "0 On 0 60/112");
    EXPECT_EQ(got[2], std::to_string(c.offTime) + " Off 0 60/112");
  }
}

TEST(PlaybackScores, SeveralVoicesOnSeveralStaves) {
  // GIVEN a piano staff with two voices, a violin staff entering after a rest and drums.
  PlaybackScore s;
  auto pianoStaff = s.AddStaff();
  auto upper = s.AddVoice(pianoStaff, kPiano);
  auto lower = s.AddVoice(pianoStaff, kPiano);
  auto violin = s.AddVoice(kViolin);
  auto drums = s.AddVoice(kBassDrum);
  s.Note(upper, 0, {72}, durHalf);
  s.Note(upper, 32, {74});
  s.Note(lower, 0, {48}, durWhole);
  s.Note(violin, 16, {67});
  s.Note(violin, 32, {69});
  s.Note(drums, 0, {36});
  s.Note(drums, 32, {36});
  PlaybackLog log(s.score);
  // THEN every voice gets its program change at its first note; voices of one instrument
  // share its channel.
  EXPECT_EQ(log.Drain(), (Log{
                             "0 PC 0 0/112",   "0 On 0 72/112",   "0 PC 0 0/112",
                             "0 On 0 48/112",  "0 PC 9 0/127",    "0 On 9 36/127",
                             "16 Off 9 36/127", "16 PC 1 40/112", "16 On 1 67/112",
                             "32 Off 1 67/112", "32 Off 0 72/112", "32 On 0 74/112",
                             "32 On 1 69/112",  "32 On 9 36/127", "48 Off 9 36/127",
                             "48 Off 1 69/112", "48 Off 0 74/112", "64 Off 0 48/112",
                         }));
}

// A tie joins the pitches two neighbouring notes of its voice share into one sounding note:
// struck at the first, released at the end of the last.
TEST(PlaybackScores, TiedNotesSoundOnce) {
  struct Tie {
    int from, to, voice;
  };
  struct Case {
    const char* name;
    std::vector<std::tuple<int, std::vector<int>, int>> notes;  // voice 1: time, pitches, flags
    std::vector<Tie> ties;
    Log expected;  // after the program change
  };
  const Case cases[] = {
      {"two tied quarters",
       {{0, {60}, 0}, {16, {60}, 0}},
       {{0, 16, 1}},
       {"0 On 0 60/112", "32 Off 0 60/112"}},
      {"one tie over a chain of three",
       {{0, {60}, 0}, {16, {60}, 0}, {32, {60}, 0}},
       {{0, 32, 1}},
       {"0 On 0 60/112", "48 Off 0 60/112"}},
      {"two ties in a row",
       {{0, {60}, 0}, {16, {60}, 0}, {32, {60}, 0}},
       {{0, 16, 1}, {16, 32, 1}},
       {"0 On 0 60/112", "48 Off 0 60/112"}},
      {"a chord holding one pitch over",
       {{0, {60, 64}, 0}, {16, {60, 67}, 0}},
       {{0, 16, 1}},
       {"0 On 0 60/112", "0 On 0 64/112", "16 Off 0 64/112", "16 On 0 67/112", "32 Off 0 67/112",
        "32 Off 0 60/112"}},
      {"the next note lacks the pitch",
       {{0, {60}, 0}, {16, {62}, 0}},
       {{0, 16, 1}},
       {"0 On 0 60/112", "16 Off 0 60/112", "16 On 0 62/112", "32 Off 0 62/112"}},
      {"the last note's own length ends it",
       {{0, {60}, 0}, {16, {60}, nteTriplet}},
       {{0, 16, 1}},
       {"0 On 0 60/112", "27 Off 0 60/112"}},
      {"the tie ends before the third note",
       {{0, {60}, 0}, {16, {60}, 0}, {32, {60}, 0}},
       {{0, 16, 1}},
       {"0 On 0 60/112", "32 Off 0 60/112", "32 On 0 60/112", "48 Off 0 60/112"}},
      {"a tie of another voice",
       {{0, {60}, 0}, {16, {60}, 0}},
       {{0, 16, 2}},
       {"0 On 0 60/112", "16 Off 0 60/112", "16 On 0 60/112", "32 Off 0 60/112"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackScore s;
    auto staff = s.AddStaff();
    auto v = s.AddVoice(staff, kPiano);
    s.AddVoice(staff, kPiano);  // voice 2, silent
    for (const auto& [time, pitches, flags] : c.notes) s.Note(v, time, pitches, durQuarter, flags);
    for (const Tie& t : c.ties)
      staff->GlobalEvents().Add(t.from, evtTie, 0, static_cast<std::uint8_t>(t.to),
                                std::to_string(t.voice));
    PlaybackLog log(s.score);
    Log expected{"0 PC 0 0/112"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(log.Drain(), expected);
  }
}

// Played from inside a tie, the note where play starts is struck: the one before it, which
// would have held it over, did not sound.
TEST(PlaybackScores, PlayStartingInsideATieStrikesItsNote) {
  PlaybackScore s;
  auto staff = s.AddStaff();
  auto v = s.AddVoice(staff, kPiano);
  s.Note(v, 0, {60});
  s.Note(v, 16, {60});
  s.Note(v, 32, {60});
  staff->GlobalEvents().Add(0, evtTie, 0, 32, "1");
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(16), (Log{"16 PC 0 0/112", "16 On 0 60/112", "48 Off 0 60/112"}));
}

// The second pass of a repeat goes on after the first ending from the bar before it, so a
// note tied out of the first ending is struck again after it, and a note tied into the
// repeat's start is struck when play comes back to it.
TEST(PlaybackScores, TiesAtRepeatsAndEndings) {
  PlaybackScore s;
  auto staff = s.AddStaff();
  auto v = s.AddVoice(staff, kPiano);
  s.Note(v, 48, {60});
  s.Note(v, 64, {60});  // the repeat's start
  s.Note(v, 176, {62});
  s.Note(v, 192, {62});  // the bar after the first ending
  staff->GlobalEvents().Add(48, evtTie, 0, 64, "1");
  staff->GlobalEvents().Add(176, evtTie, 0, 192, "1");
  s.score.AllGlobals().Add(64, evtRepeatBegin);
  s.score.AllGlobals().Add(128, evtRepeatEnd);
  s.score.AllGlobals().Add(128, evtSectionDefine, sctEnding1);
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(),
            (Log{"48 PC 0 0/112", "48 On 0 60/112", "MarkRepeat(64)", "80 Off 0 60/112",
                 "SkipSection(128,192)", "GoRepeat(192)", "176 On 0 62/112", "192 Off 0 62/112",
                 "192 On 0 62/112", "208 Off 0 62/112"}));
  log.log.clear();
  EXPECT_EQ(log.Drain(64),
            (Log{"MarkRepeat(64)", "64 PC 0 0/112", "64 On 0 60/112", "80 Off 0 60/112",
                 "SkipSection(128,192)", "GoRepeat(192)", "176 On 0 62/112", "192 Off 0 62/112",
                 "192 On 0 62/112", "208 Off 0 62/112"}));
}

// Measures of 64: one quarter note at the start of each of the first `measures`.
std::shared_ptr<Voice> QuarterPerMeasure(PlaybackScore& s, std::vector<int> pitches) {
  auto v = s.AddVoice(kPiano);
  for (std::size_t i = 0; i < pitches.size(); ++i)
    s.Note(v, static_cast<int>(i) * 64, {pitches[i]});
  return v;
}

TEST(PlaybackRepeats, RepeatWithFirstAndSecondEndings) {
  // GIVEN |: m1 | ending 1: m2 :| ending 2: m3 |
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62, 64});
  auto& g = s.score.AllGlobals();
  g.Add(0, evtRepeatBegin);
  g.Add(64, evtSectionDefine, sctEnding1);
  g.Add(64, evtRepeatEnd);
  g.Add(128, evtSectionDefine, sctEnding2);
  {
    PlaybackLog log(s.score);
    // THEN the marks of a measure are announced before its first event, in list order;
    // the repeat end and the first ending carry the end of their measure.
    EXPECT_EQ(log.Drain(), (Log{"MarkRepeat(0)", "0 PC 0 0/112", "0 On 0 60/112",
                                "16 Off 0 60/112", "GoRepeat(128)", "SkipSection(64,128)",
                                "64 On 0 62/112", "80 Off 0 62/112", "128 On 0 64/112",
                                "144 Off 0 64/112"}));
  }
  // AND a host following the notifications plays m1 m2 m1 m3.
  FollowingHost host(s.score);
  EXPECT_EQ(host.Play(), (std::vector<int>{60, 62, 60, 64}));
}

TEST(PlaybackRepeats, CodaMarksAndLaterEndingsAreNotAnnounced) {
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62, 64, 65});
  auto& g = s.score.AllGlobals();
  g.Add(64, evtSectionDefine, sctToCoda);
  g.Add(128, evtSectionDefine, sctEnding2);
  g.Add(128, evtSectionGo, sctCoda);
  g.Add(192, evtSectionDefine, sctCoda);
  g.Add(192, evtSectionDefine, sctEnding);  // 3: both ending bits, not exactly a first ending
  PlaybackLog log(s.score);
  const Log got = log.Drain();
  EXPECT_EQ(got.size(), 9u);
  for (const auto& line : got) EXPECT_EQ(line.find('('), std::string::npos) << line;
  FollowingHost host(s.score);
  EXPECT_EQ(host.Play(), (std::vector<int>{60, 62, 64, 65}));
}

TEST(PlaybackRepeats, FirstEndingCarriesTheMeasureItLeavesOut) {
  // In 3/4 (measures of 48) a first ending at measure 3.
  PlaybackScore s(3, 16);
  auto v = s.AddVoice(kPiano);
  for (int m = 0; m < 4; ++m) s.Note(v, m * 48, {60 + m});
  s.score.AllGlobals().Add(96, evtSectionDefine, sctEnding1);
  PlaybackLog log(s.score);
  const Log got = log.Drain();
  const Log expectedTail{"SkipSection(96,144)", "96 On 0 62/112"};
  auto at = std::find(got.begin(), got.end(), expectedTail[0]);
  ASSERT_NE(at, got.end());
  EXPECT_EQ(*(at + 1), expectedTail[1]);
  EXPECT_EQ(std::count_if(got.begin(), got.end(),
                          [](const std::string& l) { return l.find('(') != std::string::npos; }),
            1);
}

TEST(PlaybackRepeats, ARepeatIsNoticedWhenItsMeasureStartsWithARest) {
  // GIVEN m1: 60 | m2 :|: rest, 62 | m3: rest, 64 :| m4: 65 — the repeated measures start
  // with a rest, so no event falls on their marks.
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  s.Note(v, 0, {60});
  s.Note(v, 72, {62}, durEighth);
  s.Note(v, 136, {64}, durEighth);
  s.Note(v, 192, {65});
  s.score.AllGlobals().Add(64, evtRepeatBegin);
  s.score.AllGlobals().Add(128, evtRepeatEnd);
  {
    PlaybackLog log(s.score);
    EXPECT_EQ(log.Drain(), (Log{"0 PC 0 0/112", "0 On 0 60/112", "16 Off 0 60/112",
                                "MarkRepeat(64)", "72 On 0 62/112", "80 Off 0 62/112",
                                "GoRepeat(192)", "136 On 0 64/112", "144 Off 0 64/112",
                                "192 On 0 65/112", "208 Off 0 65/112"}));
  }
  FollowingHost host(s.score);
  EXPECT_EQ(host.Play(), (std::vector<int>{60, 62, 64, 62, 64, 65}));
}

TEST(PlaybackRepeats, AMarkIsAnnouncedOnceBeforeANoteEndingOnIt) {
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  s.Note(v, 0, {60}, durWhole);  // ends at 64, where measure 2 and its repeat begin
  s.Note(v, 72, {62}, durEighth);
  s.score.AllGlobals().Add(64, evtRepeatBegin);
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(), (Log{"0 PC 0 0/112", "0 On 0 60/112", "MarkRepeat(64)",
                              "64 Off 0 60/112", "72 On 0 62/112", "80 Off 0 62/112"}));
}

TEST(PlaybackRepeats, ARepeatInAMeasureWithoutAnyNoteIsNotLost) {
  // GIVEN |: m1: 60 | m2: silent :| m3: 64
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  s.Note(v, 0, {60});
  s.Note(v, 128, {64});
  s.score.AllGlobals().Add(0, evtRepeatBegin);
  s.score.AllGlobals().Add(64, evtRepeatEnd);
  {
    PlaybackLog log(s.score);
    EXPECT_EQ(log.Drain(), (Log{"MarkRepeat(0)", "0 PC 0 0/112", "0 On 0 60/112",
                                "16 Off 0 60/112", "GoRepeat(128)", "128 On 0 64/112",
                                "144 Off 0 64/112"}));
  }
  FollowingHost host(s.score);
  EXPECT_EQ(host.Play(), (std::vector<int>{60, 60, 64}));
}

TEST(PlaybackRepeats, ARepeatAfterASignatureOffTheBarLineIsFound) {
  // GIVEN 4/4 at 0, 3/4 at 96 (inside the second 4/4 bar), so bars at 96, 144, 192, 240;
  // |: at 144 and :| closing the bar at 192.
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  s.Note(v, 0, {60});
  s.Note(v, 96, {62});
  s.Note(v, 144, {64});
  s.Note(v, 192, {65});
  s.Note(v, 240, {67});
  GlobalEvents& g = s.score.AllGlobals();
  g.Add(96, evtTimeChange, 3, 16);
  g.Add(144, evtRepeatBegin);
  g.Add(192, evtRepeatEnd);
  {
    PlaybackLog log(s.score);
    const auto heard = log.Drain();
    auto at = [&](const std::string& entry) {
      return std::find(heard.begin(), heard.end(), entry) - heard.begin();
    };
    ASSERT_LT(at("MarkRepeat(144)"), static_cast<long>(heard.size()));
    EXPECT_EQ(at("MarkRepeat(144)") + 1, at("144 On 0 64/112"));
    EXPECT_EQ(at("GoRepeat(240)") + 1, at("192 On 0 65/112"));
    // A restart inside the repeated bar announces its mark again.
    log.log.clear();
    EXPECT_EQ(log.Drain(160).front(), "MarkRepeat(144)");
  }
  FollowingHost host(s.score);
  EXPECT_EQ(host.Play(), (std::vector<int>{60, 62, 64, 65, 64, 65, 67}));
}

TEST(PlaybackRepeats, ARestartAnnouncesTheMarksOfItsOwnMeasureAgain) {
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62, 64});
  s.score.AllGlobals().Add(64, evtRepeatBegin);
  s.score.AllGlobals().Add(128, evtRepeatEnd);
  PlaybackLog log(s.score);
  log.Drain(64);
  log.log.clear();
  // Restarting at the repeat's start, as a host does for the second pass.
  EXPECT_EQ(log.Drain(64), (Log{"MarkRepeat(64)", "64 PC 0 0/112", "64 On 0 62/112",
                                "80 Off 0 62/112", "GoRepeat(192)", "128 On 0 64/112",
                                "144 Off 0 64/112"}));
}

TEST(PlaybackSilence, VoicesWithoutInstrumentOrOnAMutedStaffMakeNoEvents) {
  PlaybackScore s;
  auto piano = s.AddVoice(kPiano);
  auto bare = s.AddStaff()->AddVoice(nullptr);
  auto mutedStaff = s.AddStaff();
  auto muted = s.AddVoice(mutedStaff, kViolin);
  mutedStaff->SetMute(true);
  for (auto& v : {piano, bare, muted}) s.Note(v, 0, {60});
  s.Note(bare, 16, {62});
  s.Note(muted, 16, {64});
  s.Note(piano, 32, {65});
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(), (Log{"0 PC 0 0/112", "0 On 0 60/112", "16 Off 0 60/112",
                              "32 On 0 65/112", "48 Off 0 65/112"}));
}

TEST(PlaybackSilence, AStaffUnmutedDuringPlaybackComesInWithoutReplayingThePast) {
  PlaybackScore s;
  auto piano = s.AddVoice(kPiano);
  auto violinStaff = s.AddStaff();
  auto violin = s.AddVoice(violinStaff, kViolin);
  for (int i = 0; i < 32; ++i) {
    s.Note(piano, i * 16, {48 + i % 12});
    s.Note(violin, i * 16, {72 + i % 12});
  }
  violinStaff->SetMute(true);
  int lastTime = 0, unmutedAt = -1, firstViolin = -1;
  bool programFirst = false;
  for (auto e = s.score.GetMIDIEvent(0); e; e = s.score.GetMIDIEvent()) {
    EXPECT_GE(e->EventTime(), lastTime);
    lastTime = e->EventTime();
    if (e->Channel() == 1 && firstViolin < 0) {
      firstViolin = e->EventTime();
      programFirst = e->EventType() == midProgramChange;
    }
    if (unmutedAt < 0 && e->EventTime() >= 128) {
      unmutedAt = e->EventTime();
      violinStaff->SetMute(false);
    }
  }
  ASSERT_GE(firstViolin, 0);
  EXPECT_TRUE(programFirst);
  EXPECT_GE(firstViolin, unmutedAt);
}

TEST(PlaybackSilence, AVoiceLosingItsInstrumentOrRemovedMidStreamLeavesNoNoteHanging) {
  PlaybackScore s;
  auto piano = s.AddVoice(kPiano);
  auto violin = s.AddVoice(kViolin);
  for (int i = 0; i < 16; ++i) {
    s.Note(piano, i * 16, {60, 64});
    s.Note(violin, i * 16, {67}, durQuarter, nteDot);  // each sounds into the next
  }
  const std::string violinInstrument = violin->InstrumentID(Internal{});
  int on[16] = {}, delivered = 0;
  for (auto e = s.score.GetMIDIEvent(0); e; e = s.score.GetMIDIEvent()) {
    if (e->EventType() == midNoteOn) ++on[e->Channel()];
    if (e->EventType() == midNoteOff) --on[e->Channel()];
    if (++delivered == 12) s.score.AllInstruments().Remove(violinInstrument);
    if (delivered == 20) s.score.AllVoices().Remove(piano->ID());
  }
  for (int c = 0; c < 16; ++c) EXPECT_EQ(on[c], 0) << "channel " << c;
  EXPECT_GT(delivered, 20);
}

TEST(PlaybackRequests, ARequestFromInsideANotificationGetsNothingAndChangesNothing) {
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62, 64});
  s.score.AllGlobals().Add(64, evtRepeatBegin);
  Log plain;
  {
    PlaybackLog log(s.score);
    plain = log.Drain();
  }
  struct Nested : ScoreEvents {
    Score* score = nullptr;
    int nonNull = 0, calls = 0;
    void MarkRepeat(int) override {
      ++calls;
      if (score->GetMIDIEvent()) ++nonNull;
      if (score->GetMIDIEvent(0)) ++nonNull;
    }
  } nested;
  nested.score = &s.score;
  s.score.AddListener(&nested);
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(), plain);
  EXPECT_EQ(nested.calls, 1);
  EXPECT_EQ(nested.nonNull, 0);
  s.score.RemoveListener(&nested);
}

TEST(PlaybackRequests, EndPlaybackEndsTheStream) {
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62});
  ASSERT_NE(s.score.GetMIDIEvent(0), nullptr);
  s.score.EndPlayback(Internal{});
  EXPECT_EQ(s.score.GetMIDIEvent(), nullptr);
  EXPECT_NE(s.score.GetMIDIEvent(0), nullptr);  // a restart works as before
}

TEST(PlaybackRequests, NotesWithoutPitchesNeitherSoundNorEndTheStreamEarly) {
  // A note left without pitches gives nothing; the notes after it still come, in order.
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  for (int i = 0; i < 12; ++i) v->Notes().Add(i * 8, 61, durEighth, 0)->RemoveValue(61);
  s.Note(v, 96, {60}, durWhole);
  auto other = s.AddVoice(kViolin);
  s.Note(other, 0, {67}, durWhole);
  s.Note(other, 64, {69}, durEighth);
  PlaybackLog log(s.score);
  EXPECT_EQ(log.Drain(), (Log{"0 PC 0 0/112", "0 PC 1 40/112", "0 On 1 67/112",
                              "64 Off 1 67/112", "64 On 1 69/112", "72 Off 1 69/112",
                              "96 On 0 60/112", "160 Off 0 60/112"}));
}

TEST(PlaybackRequests, NotesAtTheEndOfTimeEndAfterTheyStart) {
  // The note-off time is held at the largest time rather than wrapping round.
  constexpr int kLast = std::numeric_limits<int>::max();
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  s.Note(v, kLast - 8, {60}, durEighth);
  s.Note(v, kLast, {62});
  PlaybackLog log(s.score);
  const std::string last = std::to_string(kLast);
  EXPECT_EQ(log.Drain(kLast - 8),
            (Log{std::to_string(kLast - 8) + " PC 0 0/112", std::to_string(kLast - 8) + " On 0 60/112",
                 last + " Off 0 60/112", last + " On 0 62/112", last + " Off 0 62/112"}));
}

// --- Asynchronous delivery ---

TEST(PlaybackAsync, OneLoadMIDIPerRequestAndNoneBeforeTheTimerFires) {
  ManualTimers timers;
  PlaybackScore s;
  s.Note(s.AddVoice(kPiano), 0, {60});
  s.score.SetGetAsync(true);
  EXPECT_TRUE(s.score.GetAsync());
  PlaybackLog log(s.score);

  EXPECT_EQ(s.score.GetMIDIEvent(0), nullptr);
  timers.factory.Advance(24);
  EXPECT_EQ(log.loads, 0);
  timers.factory.Advance(1);
  EXPECT_EQ(log.log, (Log{"LoadMIDI(0 PC 0 0/112)"}));
  timers.factory.Advance(500);
  EXPECT_EQ(log.loads, 1);  // the timer stopped itself
  EXPECT_EQ(timers.factory.ActiveTimers(), 0);

  // Two requests before the tick are served by one run, which the second does not put off.
  EXPECT_EQ(s.score.GetMIDIEvent(), nullptr);
  timers.factory.Advance(20);
  EXPECT_EQ(s.score.GetMIDIEvent(), nullptr);
  timers.factory.Advance(5);
  EXPECT_EQ(log.loads, 2);
  timers.factory.Advance(100);
  EXPECT_EQ(log.loads, 2);

  s.score.GetMIDIEvent();
  timers.factory.Advance(25);
  s.score.GetMIDIEvent();
  timers.factory.Advance(25);
  EXPECT_EQ(log.log, (Log{"LoadMIDI(0 PC 0 0/112)", "LoadMIDI(0 On 0 60/112)",
                          "LoadMIDI(16 Off 0 60/112)", "LoadMIDI(-)"}));
}

TEST(PlaybackAsync, AHostAskingFromLoadMIDIGetsTheWholeStreamOneTickAtATime) {
  PlaybackScore s;
  auto v = s.AddVoice(kPiano);
  for (int i = 0; i < 8; ++i) s.Note(v, i * 16, {60 + i, 64 + i});
  Log sync;
  {
    PlaybackLog log(s.score);
    for (auto& line : log.Drain()) sync.push_back("LoadMIDI(" + line + ")");
  }
  sync.push_back("LoadMIDI(-)");

  ManualTimers timers;
  struct Chained : PlaybackLog {
    using PlaybackLog::PlaybackLog;
    Score* score = nullptr;
    void LoadMIDI(const std::shared_ptr<MIDIEvent>& e) override {
      PlaybackLog::LoadMIDI(e);
      if (e) score->GetMIDIEvent();
    }
  } chained(s.score);
  chained.score = &s.score;
  s.score.SetGetAsync(true);
  s.score.GetMIDIEvent(0);
  for (int tick = 1; tick <= static_cast<int>(sync.size()); ++tick) {
    timers.factory.Advance(25);
    EXPECT_EQ(chained.loads, tick);
  }
  EXPECT_EQ(chained.log, sync);
  timers.factory.Advance(1000);
  EXPECT_EQ(chained.loads, static_cast<int>(sync.size()));
}

TEST(PlaybackAsync, ARequestMadeAsynchronouslyIsAnsweredEvenIfTheHostSwitchesBack) {
  ManualTimers timers;
  PlaybackScore s;
  QuarterPerMeasure(s, {60, 62});
  PlaybackLog log(s.score);
  s.score.SetGetAsync(true);
  s.score.GetMIDIEvent(0);
  s.score.SetGetAsync(false);
  timers.factory.Advance(25);
  EXPECT_EQ(log.log, (Log{"LoadMIDI(0 PC 0 0/112)"}));  // not taken without a word
  auto next = s.score.GetMIDIEvent();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(testing::Describe(*next), "0 On 0 60/112");
  EXPECT_EQ(log.loads, 1);
}

}  // namespace
}  // namespace notecraft
