#pragma once
// The playback event stream of one score: hands a host the score's program changes,
// note-ons and note-offs one at a time, in time order, from a start time, and announces
// where repeats begin and end and where a first ending is to be left out on the second
// pass (MarkRepeat, GoRepeat, SkipSection). Following the jumps is the host's work.
//
// Owned by its Score (Score::Playback creates it on first use); the back reference to the
// score is non-owning. Nothing here is saved with the score.
//
// How events are made: the voices' playback cursors (Voice::GetInit/GetNext) give raw
// events in time order: a program change before a voice's first note, then one raw note
// per chord. Each raw note becomes a note-on and a note-off per pitch, which wait in the
// pending list, ordered by time, until delivered. At one time, note-offs come before
// everything else (the latest-made off first), then note-ons and program changes in the
// order they were made. A restart makes ten raw events ahead, each later request one more,
// plus as many as needed so that nothing still to be made could belong before the event
// about to be delivered: delivered times never decrease.
//
// Notes joined by a tie sound as one (notecraft/midi/tiednotes.h): the held pitches are not
// struck again, and their note-off comes at the end of the last joined note. A note whose
// tied note before it was not played (the stream restarted between them, as at a repeat's
// start) is struck. No tie sounds across the end of a first ending, where the second pass
// goes on from the bar before it: the note after it is struck on both passes.
//
// Silent voices (no instrument, or on a staff marked Mute) keep pace with the others but
// make no events: a staff unmuted during playback comes in where the stream has got to,
// rather than replaying what it missed.
//
// Times are 64ths from the start of the score. Everything runs on the engine's thread;
// a request made while the stream is busy (from inside MarkRepeat, GoRepeat or
// SkipSection) gets nothing and changes nothing. LoadMIDI is raised once the run is over,
// so a host may ask for the next event from its handler.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "notecraft/core/midievent.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"
#include "notecraft/core/timer.h"
#include "notecraft/midi/tiednotes.h"

namespace notecraft {

class Score::PlaybackStream {
public:
  static constexpr int kPumpIntervalMs = 25;
  static constexpr int kResetBatch = 10;
  static constexpr int kVelocity = 112;
  static constexpr int kLoudVelocity = 127;  // accents, and everything on the drum channel
  static constexpr int kDrumChannel = 9;

  explicit PlaybackStream(Score& score) : m_score(score) {}
  PlaybackStream(const PlaybackStream&) = delete;
  PlaybackStream& operator=(const PlaybackStream&) = delete;

  bool Async() const { return m_async; }
  void SetAsync(bool on) { m_async = on; }

  // A host's request. With a start time the stream restarts there (-1 or less ends it).
  // Synchronous: the next event, or null at the end. Asynchronous: null; the event follows
  // through LoadMIDI when the pump timer fires (one run for any requests made before it).
  std::shared_ptr<MIDIEvent> Request(std::optional<int> startTime);
  // One pump run: makes raw events, delivers the earliest pending event, announces the
  // marks of a measure entered, and raises LoadMIDI when asynchronous. Does nothing while
  // the stream is busy (the armed timer tries again on its next tick).
  void Pump();
  // Ends the stream: nothing pending until the next restart.
  void End();

private:
  struct RawEvent {
    MIDITypes type = midNoOp;
    int time = 0;
    int channel = 0;
    int program = 0;
    int velocity = kVelocity;
  };

  void Reset(int startTime);
  std::vector<int> FirstEndingEnds() const;
  static int SoundingLength(const Note& note);
  std::shared_ptr<MIDIEvent> Run();
  std::optional<RawEvent> NextNoteEvent();
  int NextRawTime() const;
  bool Silent(const notecraft::Voice& voice) const;
  void Expand(const RawEvent& raw);
  // Returns the position the event took.
  std::size_t Insert(std::shared_ptr<MIDIEvent> event, std::size_t lowest = 0);
  std::shared_ptr<MIDIEvent> PopPendingEvent();
  void AnnounceMarks(int eventTime);
  void ArmTimer();

  Score& m_score;  // non-owning: the score owns this stream
  bool m_async = false;
  bool m_busy = false;
  bool m_asyncRequested = false;  // an asynchronous request waits for its LoadMIDI
  int m_batch = 0;
  int m_streamStart = -1;
  bool m_measureSeen = false;  // a measure's marks were examined since the restart
  int m_lastMeasure = 0;       // start of the measure whose marks were examined last
  int m_marksFrom = 0;     // after a restart: start of the measure holding the start time
  bool m_streaming = false;  // a restart found notes and the pending list has not run dry
  std::deque<std::shared_ptr<MIDIEvent>> m_pending;
  std::optional<TiedNotes> m_ties;  // read at each restart
  // Of the note NextNoteEvent made last: the pitches it strikes, with their ends.
  std::vector<TiedNotes::Strike> m_strikes;
  std::unique_ptr<Timer> m_timer;  // last member: goes first, before what its tick uses
};

}  // namespace notecraft
