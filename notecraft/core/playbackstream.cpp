#include "notecraft/core/playbackstream.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/core/voices.h"

namespace notecraft {

namespace {

// Sets a flag for the lifetime of a scope; the flag is clear again even when an exception
// leaves the scope.
class BusyScope {
public:
  explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
  ~BusyScope() { m_flag = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

private:
  bool& m_flag;
};

int SaturatingAdd(int a, int b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Raises a notification on every listener; a listener that throws does not keep the
// others from hearing it, nor the stream from going on.
template <typename F>
void Notify(Score& score, F&& call) {
  score.Raise([&](ScoreEvents& listener) {
    try {
      call(listener);
    } catch (...) {
    }
  });
}

}  // namespace

std::shared_ptr<MIDIEvent> Score::PlaybackStream::Request(std::optional<int> startTime) {
  if (m_busy) return nullptr;
  bool pumpNow = false;
  {
    BusyScope busy(m_busy);
    if (startTime) {
      Reset(*startTime);
    } else {
      m_batch = 1;
    }
    if (!m_async) return Run();
    m_asyncRequested = true;
    ArmTimer();
    // Without a timer the request is answered at once rather than never.
    pumpNow = !m_timer;
  }
  if (pumpNow) Pump();
  return nullptr;
}

void Score::PlaybackStream::Pump() {
  if (m_busy) return;  // leave an armed timer armed: its next tick runs the request
  const bool answer = m_async || m_asyncRequested;
  m_asyncRequested = false;
  std::shared_ptr<MIDIEvent> event;
  {
    BusyScope busy(m_busy);
    event = Run();
  }
  // Raised outside the busy scope: a host may ask for the next event from its handler.
  if (answer) Notify(m_score, [&](ScoreEvents& l) { l.LoadMIDI(event); });
}

void Score::PlaybackStream::End() {
  m_pending.clear();
  m_streaming = false;
  m_streamStart = -1;
  m_measureSeen = false;
}

void Score::PlaybackStream::ArmTimer() {
  if (!m_timer)
    m_timer = CurrentTimerFactory().CreateTimer([this] { m_score.PumpPlaybackEvents(Internal{}); });
  // Several requests before the tick are served by one run: an armed timer is not restarted.
  if (m_timer && !m_timer->IsActive()) m_timer->Start(kPumpIntervalMs);
}

void Score::PlaybackStream::Reset(int startTime) {
  const Internal key;
  m_measureSeen = false;
  m_batch = kResetBatch;
  m_streamStart = -1;
  m_pending.clear();
  m_streaming = false;
  if (startTime > -1) {
    bool anyNotes = false;
    for (const auto& voice : m_score.AllVoices()) {
      voice->GetInit(startTime);
      if (voice->NextTime(key) > -1) anyNotes = true;
    }
    if (anyNotes) m_streamStart = startTime;
  }
  if (m_streamStart > -1) {
    m_streaming = true;
    m_marksFrom = m_score.AllGlobals().MeasureStart(startTime);
    m_ties.emplace(m_score, FirstEndingEnds());
  }
}

// Where the first endings end (each a measure long, as AnnounceMarks tells the host).
std::vector<int> Score::PlaybackStream::FirstEndingEnds() const {
  const GlobalEvents& globals = m_score.AllGlobals();
  std::vector<int> ends;
  for (const auto& e : globals) {
    if (e->EventType() != evtSectionDefine || e->Value1() != sctEnding1) continue;
    int number = 0, length = 0;
    globals.MeasureInfo(e->EventTime(), number, length);
    ends.push_back(SaturatingAdd(e->EventTime(), length));
  }
  return ends;
}

std::shared_ptr<MIDIEvent> Score::PlaybackStream::Run() {
  if (m_timer) m_timer->Stop();  // one run per asynchronous request
  if (!m_streaming) return nullptr;

  while (m_batch >= 1) {
    auto raw = NextNoteEvent();
    if (!raw) break;
    --m_batch;
    Expand(*raw);
  }
  // The look-ahead can run short (many voices, notes without pitches): make more until no
  // event still to be made could come before the one about to be delivered.
  for (;;) {
    const int next = NextRawTime();
    if (next < 0) break;
    if (!m_pending.empty() && m_pending.front()->EventTime() <= next) break;
    auto raw = NextNoteEvent();
    if (!raw) break;
    Expand(*raw);
  }

  auto event = PopPendingEvent();
  if (event) AnnounceMarks(event->EventTime());
  return event;
}

// The earliest next note among the voices that can still play; -1 when none.
int Score::PlaybackStream::NextRawTime() const {
  const Internal key;
  const int floor = std::max(m_streamStart, 0);
  int best = -1;
  for (const auto& voice : m_score.AllVoices()) {
    const int t = voice->NextTime(key);
    if (t >= floor && (best < 0 || t < best)) best = t;
  }
  return best;
}

bool Score::PlaybackStream::Silent(const notecraft::Voice& voice) const {
  if (!voice.Instrument()) return true;
  for (const auto& staff : m_score.AllStaffs())
    if (staff->Mute() && staff->ValidVoice(voice.ID())) return true;
  return false;
}

std::optional<Score::PlaybackStream::RawEvent> Score::PlaybackStream::NextNoteEvent() {
  const Internal key;
  const int floor = std::max(m_streamStart, 0);
  for (;;) {
    // The voice with the earliest next note; on a tie the first in collection order.
    notecraft::Voice* chosen = nullptr;
    int time = 0;
    for (const auto& voice : m_score.AllVoices()) {
      const int t = voice->NextTime(key);
      if (t >= floor && (!chosen || t < time)) {
        chosen = voice.get();
        time = t;
      }
    }
    if (!chosen) return std::nullopt;

    if (Silent(*chosen)) {
      // Passed over without a sound, its program change still due.
      chosen->GetNext();
      continue;
    }
    const auto instrument = chosen->Instrument();
    RawEvent raw;
    raw.time = time;
    raw.channel = instrument->Channel();
    const bool drums = raw.channel == kDrumChannel;

    if (chosen->ProgramPending(key)) {
      // The cursor stays: the voice's note follows on the next call.
      chosen->SetProgramPending(key, false);
      raw.type = midProgramChange;
      raw.program = instrument->Value();
      raw.velocity = drums ? kLoudVelocity : kVelocity;
      return raw;
    }

    auto note = chosen->GetNext();
    if (!note) continue;  // the voice is now exhausted
    raw.type = midNoteOn;
    raw.velocity = (drums || (note->Flags() & nteAccent)) ? kLoudVelocity : kVelocity;
    const int index = chosen->Notes().IndexAtOrAfter(note->NoteTime());
    const GlobalEvents* globals = &m_score.AllGlobals();
    m_ties->Strikes(
        *chosen, *note, index, m_streamStart,
        [globals](const Note& n) { return SoundsFor(n, SoundingLength(n), globals); }, m_strikes);
    return raw;
  }
}

void Score::PlaybackStream::Expand(const RawEvent& raw) {
  const Internal key;
  auto make = [&](MIDITypes type, int time, int value0) {
    auto event = std::make_shared<MIDIEvent>();
    event->SetEventTime(time);
    event->SetEventType(type);
    event->SetChannel(key, raw.channel);
    event->SetValue(key, 0, value0);
    event->SetValue(key, 1, raw.velocity);
    return event;
  };
  if (raw.type == midProgramChange) {
    Insert(make(midProgramChange, raw.time, raw.program));
    return;
  }
  for (const TiedNotes::Strike& strike : m_strikes) {
    const std::size_t onAt = Insert(make(midNoteOn, raw.time, strike.Pitch));
    Insert(make(midNoteOff, strike.Off, strike.Pitch), onAt + 1);
  }
}

// A dot adds half; a triplet sounds two thirds of that (never past its end: SoundsFor);
// staccato then halves what sounds.
// Double dots are not played differently. Each step rounds half to even; a staccato 64th,
// rounded to 0, still sounds for one 64th, its note-off after its note-on.
int Score::PlaybackStream::SoundingLength(const Note& note) {
  const int flags = note.Flags();
  std::int64_t length = note.Duration();
  if (flags & nteDot) length = RoundHalfEven(static_cast<double>(length) * 1.5);
  if (flags & nteTriplet) length = RoundHalfEven(static_cast<double>(length) * 2.0 / 3.0);
  if (flags & nteStacato) length = RoundHalfEven(static_cast<double>(length) / 2.0);
  return static_cast<int>(std::max<std::int64_t>(1, length));
}

// Scans from the back, where new events mostly belong. A note-off goes before every
// trailing event at its time or later; a note-on or program change after every event at
// its time or earlier. Nothing goes before position `lowest`.
std::size_t Score::PlaybackStream::Insert(std::shared_ptr<MIDIEvent> event, std::size_t lowest) {
  const int t = event->EventTime();
  const bool off = event->EventType() == midNoteOff;
  std::size_t pos = m_pending.size();
  while (pos > lowest) {
    const int before = m_pending[pos - 1]->EventTime();
    if (off ? before < t : before <= t) break;
    --pos;
  }
  m_pending.insert(m_pending.begin() + static_cast<std::ptrdiff_t>(pos), std::move(event));
  return pos;
}

std::shared_ptr<MIDIEvent> Score::PlaybackStream::PopPendingEvent() {
  if (m_pending.empty()) {
    m_streaming = false;  // the end of the stream until the next restart
    return nullptr;
  }
  auto event = std::move(m_pending.front());
  m_pending.pop_front();
  return event;
}

// On the first event delivered in a new measure, announces the repeat and first-ending
// marks standing at that measure's start, whether or not the event itself falls there (a
// measure may begin with a rest). Measures passed over without any event of their own,
// since the last one examined or since the restart, are examined too, so a repeat in a
// silent measure is not lost. Each mark is announced with its own time; a repeat end and a
// first ending carry the time the measure ends.
void Score::PlaybackStream::AnnounceMarks(int eventTime) {
  // One measure arithmetic throughout (MeasureInfo's: each time signature starts a
  // measure), so that a mark on a bar after a signature off the old bar line is seen.
  GlobalEvents& globals = m_score.AllGlobals();
  int number = 0, length = 0;
  globals.MeasureInfo(eventTime, number, length);
  const int start = globals.MeasureStart(eventTime);
  if (m_measureSeen && start == m_lastMeasure) return;
  int from = start;
  if (!m_measureSeen) from = std::min(m_marksFrom, start);
  else if (m_lastMeasure < start) from = m_lastMeasure + 1;
  m_measureSeen = true;
  m_lastMeasure = start;

  struct Mark {
    int type, time, length;
  };
  std::vector<Mark> marks;
  // First event at or after `from` (the list is in time order).
  int lo = 1, hi = globals.Count() + 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (globals.ByIndex(mid)->EventTime() < from) lo = mid + 1;
    else hi = mid;
  }
  for (int i = lo; i <= globals.Count(); ++i) {
    const auto e = globals.ByIndex(i);
    const int t = e->EventTime();
    if (t > start) break;
    const int type = e->EventType();
    const bool wanted = type == evtRepeatBegin || type == evtRepeatEnd ||
                        (type == evtSectionDefine && e->Value1() == sctEnding1);
    if (!wanted) continue;
    int markLength = length;
    if (t != start) {
      // A passed-over measure: only marks on its bar line count.
      int n = 0;
      globals.MeasureInfo(t, n, markLength);
      if (globals.MeasureStart(t) != t) continue;
    }
    marks.push_back({type, t, markLength});
  }

  // Collected first: a listener may change the score's events.
  for (const Mark& m : marks) {
    const int end = SaturatingAdd(m.time, m.length);
    switch (m.type) {
      case evtRepeatBegin: Notify(m_score, [&](ScoreEvents& l) { l.MarkRepeat(m.time); }); break;
      case evtRepeatEnd: Notify(m_score, [&](ScoreEvents& l) { l.GoRepeat(end); }); break;
      default: Notify(m_score, [&](ScoreEvents& l) { l.SkipSection(m.time, end); }); break;
    }
  }
}

}  // namespace notecraft
