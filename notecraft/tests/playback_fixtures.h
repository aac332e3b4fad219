#pragma once
// Helpers for the playback stream tests: small scores built in code, a recorder of what a
// host hears (delivered events and the repeat notifications in one log), and a host that
// follows repeats and first endings the way the editor's transport does.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/scoreevents.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/timer.h"
#include "notecraft/core/voice.h"

namespace notecraft::testing {

// Instrument table rows used by the fixtures (row = MIDI program for rows 0..127).
inline constexpr int kPiano = 0;
inline constexpr int kViolin = 40;
inline constexpr int kFlute = 73;
inline constexpr int kBassDrum = 129;  // a drum row: channel 9

// "16 On 0 60/112": time, kind, channel, then the two data values.
inline std::string Describe(const MIDIEvent& e) {
  std::string kind;
  switch (e.EventType()) {
    case midProgramChange: kind = "PC"; break;
    case midNoteOn: kind = "On"; break;
    case midNoteOff: kind = "Off"; break;
    default: kind = "T" + std::to_string(static_cast<int>(e.EventType())); break;
  }
  return std::to_string(e.EventTime()) + " " + kind + " " + std::to_string(e.Channel()) + " " +
         std::to_string(e.Value(0)) + "/" + std::to_string(e.Value(1));
}

// A score in 4/4 (or the given signature) to which staves with one voice each are added.
class PlaybackScore {
public:
  explicit PlaybackScore(int beats = 4, int beatLength = 16) {
    score.AllGlobals().Add(0, evtTimeChange, static_cast<std::uint8_t>(beats),
                           static_cast<std::uint8_t>(beatLength));
  }

  std::shared_ptr<Instrument> InstrumentOf(int row) {
    return score.AllInstruments().Add(score.AllInstruments().NewID(), row);
  }
  std::shared_ptr<Staff> AddStaff() {
    return score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Staff",
                                      std::nullopt, true);
  }
  // A new staff with one voice playing the instrument of table row `row`.
  std::shared_ptr<Voice> AddVoice(int row) { return AddStaff()->AddVoice(InstrumentOf(row)); }
  // Another voice on an existing staff.
  std::shared_ptr<Voice> AddVoice(const std::shared_ptr<Staff>& staff, int row) {
    return staff->AddVoice(InstrumentOf(row));
  }
  static void Note(const std::shared_ptr<Voice>& voice, int time, std::vector<int> pitches,
                   int duration = durQuarter, int flags = 0) {
    for (int p : pitches) voice->Notes().Add(time, p, duration, flags);
  }

  Score score;
};

// Records delivered events and playback notifications in the order a host meets them.
class PlaybackLog : public ScoreEvents {
public:
  explicit PlaybackLog(Score& score) : m_score(score) { m_score.AddListener(this); }
  ~PlaybackLog() override { m_score.RemoveListener(this); }
  PlaybackLog(const PlaybackLog&) = delete;
  PlaybackLog& operator=(const PlaybackLog&) = delete;

  void MarkRepeat(int t) override { log.push_back("MarkRepeat(" + std::to_string(t) + ")"); }
  void GoRepeat(int t) override { log.push_back("GoRepeat(" + std::to_string(t) + ")"); }
  void SkipSection(int a, int b) override {
    log.push_back("SkipSection(" + std::to_string(a) + "," + std::to_string(b) + ")");
  }
  void LoadMIDI(const std::shared_ptr<MIDIEvent>& e) override {
    ++loads;
    lastLoaded = e;
    log.push_back("LoadMIDI(" + (e ? Describe(*e) : std::string("-")) + ")");
  }

  // Restarts the stream at `start` and reads it to the end, synchronously.
  std::vector<std::string> Drain(int start = 0) {
    int guard = 0;
    for (auto e = m_score.GetMIDIEvent(start); e && ++guard < 10'000'000; e = m_score.GetMIDIEvent())
      log.push_back(Describe(*e));
    return log;
  }

  std::vector<std::string> log;
  int loads = 0;
  std::shared_ptr<MIDIEvent> lastLoaded;

private:
  Score& m_score;
};

// Installs a hand-driven timer factory for its lifetime.
class ManualTimers {
public:
  ManualTimers() { SetTimerFactory(&factory); }
  ~ManualTimers() { SetTimerFactory(nullptr); }
  ManualTimers(const ManualTimers&) = delete;
  ManualTimers& operator=(const ManualTimers&) = delete;
  ManualTimerFactory factory;
};

// Plays a score the way the editor's transport does: fetches events in time order, jumps
// back once to a repeat's start when it reaches the repeat's end, and on the second pass
// leaves out the first ending. Returns the pitches of the note-ons in the order played.
class FollowingHost : public ScoreEvents {
public:
  explicit FollowingHost(Score& score) : m_score(score) { m_score.AddListener(this); }
  ~FollowingHost() override { m_score.RemoveListener(this); }
  FollowingHost(const FollowingHost&) = delete;
  FollowingHost& operator=(const FollowingHost&) = delete;

  void MarkRepeat(int t) override {
    m_markRepeat = t;
    m_goRepeat = m_ending1Start = m_ending1End = -1;
  }
  void GoRepeat(int t) override { m_goRepeat = t; }
  void SkipSection(int a, int b) override {
    m_ending1Start = a;
    m_ending1End = b;
  }

  std::vector<int> Play() {
    std::vector<int> played;
    int fetchTime = 0, skipUntil = 0, guard = 0;
    auto fetched = m_score.GetMIDIEvent(0);
    while (fetched && ++guard < 1'000'000) {
      if (skipUntil == 0) ++fetchTime;
      while (fetched && fetched->EventTime() <= fetchTime) {
        const int t = fetched->EventTime();
        if (skipUntil > 0 && t >= fetchTime) skipUntil = 0;
        if (fetched->EventType() == midNoteOff) {
          fetched = m_score.GetMIDIEvent();
        } else if (skipUntil >= 1) {
          fetched = m_score.GetMIDIEvent();  // inside the left-out ending
        } else if (m_goRepeat > -1 && m_markRepeat != m_repeatDone && t >= m_goRepeat) {
          break;  // the end of the first pass: keep the event, jump back below
        } else if (m_markRepeat != m_repeatDone || t < m_ending1Start || t >= m_ending1End) {
          if (fetched->EventType() == midNoteOn) played.push_back(fetched->Value(0));
          fetched = m_score.GetMIDIEvent();
        } else {
          skipUntil = fetchTime = m_ending1End;  // second pass reaches the first ending
          m_ending1Start = m_ending1End = -1;
          fetched = m_score.GetMIDIEvent();
        }
      }
      if (m_goRepeat >= 0 && m_markRepeat != m_repeatDone && fetchTime >= m_goRepeat) {
        m_repeatDone = m_markRepeat;
        fetchTime = m_markRepeat;
        m_goRepeat = -1;
        fetched = m_score.GetMIDIEvent(m_markRepeat);
      }
    }
    m_score.GetMIDIEvent(-1);
    return played;
  }

private:
  Score& m_score;
  int m_markRepeat = 0, m_goRepeat = -1, m_repeatDone = -1;
  int m_ending1Start = -1, m_ending1End = -1;
};

}  // namespace notecraft::testing
