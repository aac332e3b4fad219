#pragma once
// Plays a playback stream through a SoundMaster at the score's tempo: a bounded queue of
// fetched events, each sent at its ideal time on a monotonic clock.
//
// Timing. Every queued event carries a position on a continuous musical time line (64ths
// since the start of play). Its due time is start + position x 60000 / (tempo x 16) ms,
// computed afresh for each event, so rounding never accumulates. Jumps of the score (back
// to a repeat's start, over a first ending on the second pass) move the score time, not the
// time line: the first event after a jump follows the last one before it by their musical
// distance. A tempo of 0 or less plays as 120. Events the host comes late for are sent at
// once and the time line stays; only after a long stall (more than kSlipLimit: a blocked
// event loop) does play resume from where it is instead of rushing through what it missed.
//
// Repeats (when the rules follow them). The host forwards the score's announcements:
// MarkRepeat(start) (which also forgets the repeat end and first ending of earlier bars),
// GoRepeat(end) and Ending1(start, end). When the stream reaches a repeat's end the first
// time, play goes back to MarkRepeat (0 when no repeat start was announced); the second time
// it goes on. On that second pass the first ending is left out, except for its note-offs.
// Notes still sounding when play jumps back are stopped at the jump.
//
// The queue holds at most Rules::QueueLimit events; it is refilled after each send, so the
// stream is read only a little ahead of the sound. Plain C++, one thread: the host calls
// Service() when the next event is due (PlaybackTimer does, on Qt's event loop).

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "notecraft/core/midievent.h"
#include "notecraft/player/playbackclock.h"

namespace tonegen {
class SoundMaster;
}  // namespace tonegen

namespace notecraft {

class PlaybackSource;

class PlaybackScheduler {
public:
  using Duration = PlaybackClock::Duration;
  static constexpr Duration kSlipLimit = std::chrono::milliseconds(250);
  static constexpr int kDefaultTempo = 120;
  static constexpr int kCentrePan = 64;

  struct Rules {
    int QueueLimit = 50;
    bool FollowRepeats = true;
    // Note-on velocity: the event's second value, or the sound's default velocity.
    bool EventVelocity = true;
    // Volume set with each program change; negative: the event's second value.
    int ProgramVolume = -1;
  };

  PlaybackScheduler(PlaybackClock& clock, tonegen::SoundMaster& sound);
  PlaybackScheduler(PlaybackClock& clock, tonegen::SoundMaster& sound, Rules rules);
  ~PlaybackScheduler();
  PlaybackScheduler(const PlaybackScheduler&) = delete;
  PlaybackScheduler& operator=(const PlaybackScheduler&) = delete;

  // Milliseconds of one 64th note at this tempo (quarter notes a minute).
  static double MsPer64th(int tempo);

  // Starts playing the source from score time 0, the first event due now. A play already
  // running is stopped first. The source is borrowed until play ends.
  void Start(PlaybackSource& source, int tempo);
  // Sends every event due by the clock's now and refills the queue. Returns when the next
  // event is due, or nothing when play has ended (the last event was sent; the sound is
  // then silenced and the stream released).
  std::optional<Duration> Service();
  // Ends play now: the stream is released and every sounding note cut off. Does nothing
  // when idle.
  void Stop();
  // Ends play without touching the source (its score is gone); silences the sound.
  void Abandon();
  bool Active() const { return m_source != nullptr; }

  // The score's announcements, forwarded by the host (score times in 64ths).
  long MarkRepeat() const { return m_markRepeat; }
  void SetMarkRepeat(long time);
  long GoRepeat() const { return m_goRepeat; }
  void SetGoRepeat(long time) { m_goRepeat = time; }
  void Ending1(long curTime, long nextTime);

  // Score time of the next event to send; 0 when none is queued.
  int NextEventTime() const;
  std::size_t Queued() const { return m_queue.size(); }
  // Most events ever queued at once during this play (tests, diagnostics).
  std::size_t MostQueued() const { return m_mostQueued; }
  // How often this play fell behind by more than kSlipLimit and resumed from there.
  std::size_t Slips() const { return m_slips; }
  // Due time of the event at this position of the musical time line (64ths since start).
  Duration DueTime(std::int64_t position) const;

private:
  struct QueuedEvent {
    std::shared_ptr<MIDIEvent> Event;
    std::int64_t Position = 0;  // on the musical time line
  };

  void Fill();
  void Fetch(bool restart, int startTime = 0);
  bool JumpPending() const;
  // False while the queue has no room for the note-offs the jump adds.
  bool JumpBack();
  void Enqueue(std::shared_ptr<MIDIEvent> event, std::optional<std::int64_t> position = {});
  void Dispatch(const MIDIEvent& event);
  void Finish(bool releaseSource);

  PlaybackClock& m_clock;
  tonegen::SoundMaster& m_sound;
  Rules m_rules;

  PlaybackSource* m_source = nullptr;  // borrowed while playing
  std::deque<QueuedEvent> m_queue;
  std::shared_ptr<MIDIEvent> m_fetched;  // read from the stream, not yet queued
  bool m_exhausted = false;
  std::size_t m_mostQueued = 0;
  std::size_t m_slips = 0;

  double m_nsPer64th = 0;
  Duration m_start{0};            // due time of position 0
  std::int64_t m_offset = 0;      // time-line position minus score time
  std::int64_t m_lastPosition = 0;

  long m_markRepeat = 0;
  long m_goRepeat = -1;
  long m_repeatDone = -1;
  long m_ending1Start = -1;
  long m_ending1End = -1;
  long m_skipUntil = -1;  // second pass over a first ending: score time it ends

  // Notes started and not yet stopped in the queue, by channel x 128 + pitch.
  std::vector<std::uint8_t> m_sounding = std::vector<std::uint8_t>(16 * 128);
  std::size_t m_soundingCount = 0;
};

}  // namespace notecraft
