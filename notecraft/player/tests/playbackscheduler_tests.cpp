// The playback scheduler against a clock moved by hand and a sound backend that records
// each message with the clock's time: message order and timing for repeats, first endings
// and marks the stream does not follow, drift over a long piece, the queue's bound, stops
// and edits during play.

#include "notecraft/player/playbackscheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/player/playbacksource.h"
#include "recordingsystem.h"
#include "timedrecording.h"
#include "tonegen/soundmaster.h"

namespace notecraft {
namespace {

using namespace std::chrono_literals;
using testing::TimedMessage;
using testing::TimedRecordingSystem;

// Bar m, beat b of the fixtures sounds pitch 20 + 4m + b (for m below 25), so that a note
// names its place.
int PitchAt(int measure, int beat) { return 20 + (4 * measure + beat) % 100; }

class SchedulerTest : public ::testing::Test {
protected:
  SchedulerTest() { m_sound.OpenOutput(); }

  // `measures` bars of 4/4, a quarter note on every beat, one piano voice.
  Voice& AddQuarters(int measures) {
    m_score.AllGlobals().Add(0, evtTimeChange, 4, 16);
    auto staff = m_score.AllStaffs().AddStaff(Internal{}, m_score.AllStaffs().NewID(), "Staff",
                                              std::nullopt, true);
    auto voice =
        staff->AddVoice(m_score.AllInstruments().Add(m_score.AllInstruments().NewID(), 0));
    for (int m = 0; m < measures; ++m)
      for (int b = 0; b < 4; ++b) voice->Notes().Add(m * 64 + b * 16, PitchAt(m, b), durQuarter, 0);
    return *voice;
  }

  // Plays to the end, calling Service exactly when each event is due (plus `lateBy` for
  // each call when given). Gives up after `maxCalls`.
  void PlayToEnd(int tempo, std::function<PlaybackClock::Duration()> lateBy = {},
                 int maxCalls = 1'000'000) {
    m_scheduler.Start(m_source, tempo);
    std::optional<PlaybackClock::Duration> next = m_scheduler.Service();
    for (int calls = 0; next && calls < maxCalls; ++calls) {
      m_clock.Set(*next + (lateBy ? lateBy() : 0ns));
      next = m_scheduler.Service();
    }
    ASSERT_FALSE(m_scheduler.Active());
  }

  std::vector<TimedMessage> NoteOns() const {
    std::vector<TimedMessage> ons;
    for (const auto& m : m_system->Sent)
      if (m.NoteOn()) ons.push_back(m);
    return ons;
  }
  std::vector<int> NoteOnPitches() const {
    std::vector<int> pitches;
    for (const auto& m : NoteOns()) pitches.push_back(m.Data1());
    return pitches;
  }
  // The measure each note-on came from (its pitch tells), in the order played, one per beat 0.
  std::vector<int> MeasuresPlayed() const {
    std::vector<int> measures;
    for (const auto& m : NoteOns())
      if ((m.Data1() - 20) % 4 == 0) measures.push_back((m.Data1() - 20) / 4);
    return measures;
  }

  tonegen::test::ErrorCapture m_errors;  // starts and ends with the process output closed
  ManualPlaybackClock m_clock;
  std::shared_ptr<TimedRecordingSystem> m_system = std::make_shared<TimedRecordingSystem>(m_clock);
  tonegen::SoundMaster m_sound{m_system};
  Score m_score;
  PlaybackScheduler m_scheduler{m_clock, m_sound};
  ScorePlaybackSource m_source{m_score};
  PlaybackMarksListener m_marks{m_score, m_scheduler};
};

TEST_F(SchedulerTest, EachEventLeavesAtItsScoreTimeForTheTempo) {
  AddQuarters(8);
  // Tempo 0 is the default tempo, 120; no division by zero.
  for (const int tempo : {60, 120, 200, 0, 255}) {
    SCOPED_TRACE(tempo);
    m_system->Sent.clear();
    m_clock.Set(5s);  // play starts at any clock time
    PlayToEnd(tempo);
    const std::vector<TimedMessage> ons = NoteOns();
    ASSERT_EQ(ons.size(), 32U);
    const double per64th = 60000.0 / ((tempo > 0 ? tempo : 120) * 16.0);
    for (std::size_t i = 0; i < ons.size(); ++i)
      EXPECT_NEAR(ons[i].Ms() - 5000.0, static_cast<double>(i) * 16 * per64th, 1e-3) << i;
  }
  EXPECT_DOUBLE_EQ(PlaybackScheduler::MsPer64th(60) * 64, 4000.0);  // bar 2 at 4 s, not 3968 ms
}

TEST_F(SchedulerTest, RepeatPlaysTwiceAndSecondPassLeavesOutTheFirstEnding) {
  // | 0 |: 1 | 2 (first ending) :| 3 |
  AddQuarters(4);
  m_score.AllGlobals().Add(64, evtRepeatBegin);
  m_score.AllGlobals().Add(128, evtRepeatEnd);
  m_score.AllGlobals().Add(128, evtSectionDefine, sctEnding1);
  PlayToEnd(120);
  EXPECT_EQ(MeasuresPlayed(), (std::vector<int>{0, 1, 2, 1, 3}));

  // The time line runs on across the jump and the skipped ending: one beat after another.
  const std::vector<TimedMessage> ons = NoteOns();
  ASSERT_EQ(ons.size(), 20U);
  for (std::size_t i = 1; i < ons.size(); ++i)
    EXPECT_NEAR(ons[i].Ms() - ons[i - 1].Ms(), 500.0, 1e-3) << i;

  // The skipped ending's note-offs are still sent (once per pass), never its note-ons.
  for (int b = 0; b < 4; ++b) {
    const int pitch = PitchAt(2, b);
    const auto offs = std::count_if(m_system->Sent.begin(), m_system->Sent.end(),
                                    [&](const TimedMessage& m) { return m.NoteOff() && m.Data1() == pitch; });
    EXPECT_EQ(offs, 2) << pitch;
  }
}

TEST_F(SchedulerTest, RepeatTable) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> marks;  // (time, event type)
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      // A repeat end with no repeat start goes back to the beginning, once.
      {"end only", {{64, evtRepeatEnd}}, {0, 1, 0, 1, 2, 3}},
      // A repeat that closes the piece is still played twice.
      {"closing repeat", {{128, evtRepeatBegin}, {192, evtRepeatEnd}}, {0, 1, 2, 3, 2, 3}},
      // Two repeats one after the other.
      {"two repeats",
       {{0, evtRepeatBegin}, {0, evtRepeatEnd}, {128, evtRepeatBegin}, {128, evtRepeatEnd}},
       {0, 0, 1, 2, 2, 3}},
      // Marks the stream does not announce (segno, coda, D.S./D.C. jumps) play straight on.
      {"D.S. al coda and D.C.",
       {{64, evtSectionDefine}, {128, evtSectionGo}, {192, evtSectionDefine}},
       {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_score.CreateDefault();
    m_system->Sent.clear();
    AddQuarters(4);
    for (const auto& [time, type] : c.marks) {
      std::uint8_t value = 0;
      if (type == evtSectionDefine) value = time == 64 ? sctSegundo : sctCoda;
      if (type == evtSectionGo) value = sctToSegundo;
      m_score.AllGlobals().Add(time, type, value);
    }
    PlayToEnd(200);
    EXPECT_EQ(MeasuresPlayed(), c.expected);
  }
}

TEST_F(SchedulerTest, AnEndingFollowedByARestSkipsOnTime) {
  // | 0 |: 1 | 2 (first ending, silent last beat) :| rest, then bar 3's beats 1-3 |
  Voice& voice = AddQuarters(4);
  voice.Notes().Remove(176);  // nothing ends on the ending's last bar line
  voice.Notes().Remove(192);  // and bar 3 opens with a rest
  m_score.AllGlobals().Add(64, evtRepeatBegin);
  m_score.AllGlobals().Add(128, evtRepeatEnd);
  m_score.AllGlobals().Add(128, evtSectionDefine, sctEnding1);
  PlayToEnd(120, {}, 10'000);
  // Bar 3's second beat follows the repeated bar 1's last beat by two beats: bar 3's rest,
  // then its note, with the ending left out in between.
  const std::vector<TimedMessage> ons = NoteOns();
  ASSERT_FALSE(ons.empty());
  EXPECT_EQ(ons.back().Data1(), PitchAt(3, 3));
  const auto lastOfBar1 = std::find_if(ons.rbegin(), ons.rend(),
                                       [](const TimedMessage& m) { return m.Data1() == PitchAt(1, 3); });
  const auto firstOfBar3 = std::find_if(ons.begin(), ons.end(),
                                        [](const TimedMessage& m) { return m.Data1() == PitchAt(3, 1); });
  ASSERT_NE(lastOfBar1, ons.rend());
  ASSERT_NE(firstOfBar3, ons.end());
  EXPECT_NEAR(firstOfBar3->Ms() - lastOfBar1->Ms(), 1000.0, 1e-3);
}

TEST_F(SchedulerTest, NotesSoundingAtTheRepeatEndStopThere) {
  Voice& voice = AddQuarters(3);
  m_score.AllGlobals().Add(64, evtRepeatEnd);  // back to 0 after bar 1
  voice.Notes().Add(112, 90, durHalf, 0);      // the last beat of bar 1, held into bar 2
  PlayToEnd(120);
  // Every note started is stopped; the held note at the jump (bar 2's start, 4 s in).
  std::map<int, int> balance;
  for (const auto& m : m_system->Sent) {
    if (m.NoteOn()) ++balance[m.Data1()];
    if (m.NoteOff()) --balance[m.Data1()];
  }
  for (const auto& [pitch, count] : balance) EXPECT_LE(count, 0) << pitch;
  const auto firstOff = std::find_if(m_system->Sent.begin(), m_system->Sent.end(),
                                     [](const TimedMessage& m) { return m.NoteOff() && m.Data1() == 90; });
  ASSERT_NE(firstOff, m_system->Sent.end());
  EXPECT_NEAR(firstOff->Ms(), 4000.0, 1e-3);
}

// | 0 |: 1 | 2 (first ending) :| 3 |, with notes tied into the repeat's start, into the
// first ending and out of it: a held note is struck once per pass that reaches its first
// note, the note after the ending is struck on both passes, and every note stops.
TEST_F(SchedulerTest, TiedNotesThroughARepeatAndItsFirstEnding) {
  AddQuarters(4);
  m_score.AllGlobals().Add(64, evtRepeatBegin);
  m_score.AllGlobals().Add(128, evtRepeatEnd);
  m_score.AllGlobals().Add(128, evtSectionDefine, sctEnding1);
  auto staff = m_score.AllStaffs().AddStaff(Internal{}, m_score.AllStaffs().NewID(), "Tied",
                                            std::nullopt, true);
  auto tied = staff->AddVoice(m_score.AllInstruments().Item(1));
  for (const auto& [from, to, pitch] : {std::tuple{48, 64, 90}, {112, 128, 92}, {176, 192, 91}}) {
    tied->Notes().Add(from, pitch, durQuarter, 0);
    tied->Notes().Add(to, pitch, durQuarter, 0);
    staff->GlobalEvents().Add(from, evtTie, 0, static_cast<std::uint8_t>(to), "1");
  }
  PlayToEnd(120);
  std::vector<int> held;
  std::map<int, int> balance;
  for (const auto& m : m_system->Sent) {
    if (m.NoteOn() && m.Data1() >= 90) held.push_back(m.Data1());
    if (m.NoteOn()) ++balance[m.Data1()];
    if (m.NoteOff()) --balance[m.Data1()];
  }
  // First pass: 90 from bar 0 into bar 1, 92 into the ending, 91 to the jump. Second pass:
  // 90 where the repeat starts again, 92 up to the ending left out, 91 after it.
  EXPECT_EQ(held, (std::vector<int>{90, 92, 91, 90, 92, 91}));
  for (const auto& [pitch, count] : balance) EXPECT_LE(count, 0) << pitch;
}

TEST_F(SchedulerTest, NoDriftOverTenMinutesOfLateWakeUps) {
  // 300 bars of 4/4 at 120 are ten minutes. Every call comes 0 to 5 ms late.
  AddQuarters(300);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> late(0, 5000);
  PlayToEnd(120, [&] { return std::chrono::microseconds(late(random)); });
  const std::vector<TimedMessage> ons = NoteOns();
  ASSERT_EQ(ons.size(), 1200U);
  double worst = 0;
  for (std::size_t i = 0; i < ons.size(); ++i)
    worst = std::max(worst, std::abs(ons[i].Ms() - static_cast<double>(i) * 500.0));
  EXPECT_LE(worst, 5.0);  // each event within one late wake-up; nothing accumulates
  EXPECT_NEAR(ons.back().Ms(), 1199 * 500.0, 5.0);
}

TEST_F(SchedulerTest, AStalledHostResumesWithoutRushing) {
  AddQuarters(2);
  m_scheduler.Start(m_source, 120);
  auto next = m_scheduler.Service();  // beat 0 sent at 0
  ASSERT_TRUE(next);
  m_clock.Set(*next + 1s);  // a second-long stall
  next = m_scheduler.Service();
  ASSERT_TRUE(next);
  // Beat 1 went late; beat 2 follows it by one beat, not at once.
  EXPECT_EQ(NoteOns().size(), 2U);
  EXPECT_NEAR(static_cast<double>((*next - m_clock.Now()).count()) / 1e6, 500.0, 1e-3);
  m_scheduler.Stop();
}

TEST_F(SchedulerTest, QueueStaysBoundedAndShortScoresStillPlay) {
  // 16 bars of four-note chords: 512 events.
  Voice& voice = AddQuarters(16);
  for (int m = 0; m < 16; ++m)
    for (int b = 0; b < 4; ++b)
      for (int extra : {7, 12, 16}) voice.Notes().Add(m * 64 + b * 16, PitchAt(m, b) + extra, durQuarter, 0);
  PlayToEnd(200);
  EXPECT_LE(m_scheduler.MostQueued(), 50U);
  EXPECT_EQ(NoteOns().size(), 256U);

  // A score of three events (program change, note-on, note-off) plays too.
  m_score.CreateDefault();
  m_system->Sent.clear();
  m_score.AllGlobals().Add(0, evtTimeChange, 4, 16);
  auto staff = m_score.AllStaffs().AddStaff(Internal{}, m_score.AllStaffs().NewID(), "Staff",
                                            std::nullopt, true);
  staff->AddVoice(m_score.AllInstruments().Add(m_score.AllInstruments().NewID(), 24))
      ->Notes()
      .Add(0, 64, durQuarter, 0);
  PlayToEnd(120);
  EXPECT_EQ(NoteOnPitches(), std::vector<int>{64});
}

TEST_F(SchedulerTest, DispatchFollowsTheRules) {
  // The editor's rules: the event's velocity and volume. The player's: the sound's default
  // velocity and volume 112. Both centre the pan.
  AddQuarters(1);
  PlayToEnd(120);
  ASSERT_GE(m_system->Sent.size(), 5U);
  // Bank select, program 0, volume 112 (the stream's value), pan 64, then the first note.
  EXPECT_EQ(m_system->Sent[1].Status(), 0xC0);
  EXPECT_EQ(m_system->Sent[2].Message, 0xB0u | (7u << 8) | (112u << 16));
  EXPECT_EQ(m_system->Sent[3].Message, 0xB0u | (10u << 8) | (64u << 16));
  EXPECT_EQ(NoteOns().front().Data2(), 112);

  m_system->Sent.clear();
  PlaybackScheduler::Rules rules;
  rules.EventVelocity = false;
  rules.ProgramVolume = 112;
  rules.FollowRepeats = false;
  PlaybackScheduler player(m_clock, m_sound, rules);
  m_sound.SetVelocity(90);
  player.Start(m_source, 120);
  for (auto next = player.Service(); next; next = player.Service()) m_clock.Set(*next);
  EXPECT_EQ(NoteOns().front().Data2(), 90);  // the sound's default velocity
}

TEST_F(SchedulerTest, StopSilencesEverythingAtOnce) {
  AddQuarters(4);
  m_scheduler.Start(m_source, 120);
  auto next = m_scheduler.Service();
  m_clock.Set(*next + 100ms);  // mid-note
  m_scheduler.Service();
  m_system->Sent.clear();
  m_scheduler.Stop();
  EXPECT_FALSE(m_scheduler.Active());
  ASSERT_EQ(m_system->Sent.size(), 32U);
  for (int channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(m_system->Sent[2 * channel].Message, (0xB0u + channel) | (123u << 8));
    EXPECT_EQ(m_system->Sent[2 * channel + 1].Message, (0xB0u + channel) | (120u << 8));
  }
  m_clock.Advance(10s);
  EXPECT_FALSE(m_scheduler.Service());
  EXPECT_EQ(m_system->Sent.size(), 32U);
  // The stream was released: a new play starts from the beginning.
  m_system->Sent.clear();
  PlayToEnd(120);
  EXPECT_EQ(MeasuresPlayed(), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(SchedulerTest, EditsDuringPlayNeverHangOrCrash) {
  // The stream's cursors tolerate edits: play goes on over what the score now holds.
  Voice& voice = AddQuarters(20);
  m_scheduler.Start(m_source, 200);
  auto next = m_scheduler.Service();
  for (int call = 0; next && call < 40; ++call) {
    m_clock.Set(*next);
    next = m_scheduler.Service();
  }
  voice.Notes().RemoveRange(0, 640);             // what was played and what comes next
  voice.Notes().Add(700, 99, durQuarter, 0);     // a note added ahead
  m_score.AllGlobals().Add(768, evtRepeatEnd);   // and a repeat end
  for (int call = 0; next && call < 10'000; ++call) {
    m_clock.Set(*next);
    next = m_scheduler.Service();
  }
  EXPECT_FALSE(m_scheduler.Active());

  // A score whose content is replaced ends its stream: play drains and ends.
  AddQuarters(20);
  m_scheduler.Start(m_source, 200);
  next = m_scheduler.Service();
  m_score.CreateDefault();
  for (int call = 0; next && call < 1000; ++call) {
    m_clock.Set(*next);
    next = m_scheduler.Service();
  }
  EXPECT_FALSE(m_scheduler.Active());
}

}  // namespace
}  // namespace notecraft
