#include "notecraft/player/playbackscheduler.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "notecraft/core/internal.h"
#include "notecraft/player/playbacksource.h"
#include "tonegen/soundmaster.h"

namespace notecraft {

namespace {

int SoundingIndex(const MIDIEvent& event) {
  return std::clamp(event.Channel(), 0, 15) * 128 + std::clamp(event.Value(0), 0, 127);
}

}  // namespace

PlaybackScheduler::PlaybackScheduler(PlaybackClock& clock, tonegen::SoundMaster& sound)
    : PlaybackScheduler(clock, sound, Rules{}) {}

PlaybackScheduler::PlaybackScheduler(PlaybackClock& clock, tonegen::SoundMaster& sound,
                                     Rules rules)
    : m_clock(clock), m_sound(sound), m_rules(rules) {
  m_rules.QueueLimit = std::max(m_rules.QueueLimit, 1);
}

PlaybackScheduler::~PlaybackScheduler() { Stop(); }

double PlaybackScheduler::MsPer64th(int tempo) {
  const int quartersPerMinute = tempo > 0 ? tempo : kDefaultTempo;
  return 60000.0 / (quartersPerMinute * 16.0);
}

PlaybackScheduler::Duration PlaybackScheduler::DueTime(std::int64_t position) const {
  return m_start + Duration(std::llround(static_cast<double>(position) * m_nsPer64th));
}

void PlaybackScheduler::Start(PlaybackSource& source, int tempo) {
  Stop();
  m_source = &source;
  m_queue.clear();
  m_fetched.reset();
  m_exhausted = false;
  m_mostQueued = 0;
  m_slips = 0;
  m_nsPer64th = MsPer64th(tempo) * 1e6;
  m_start = m_clock.Now();
  m_offset = 0;
  m_lastPosition = 0;
  m_markRepeat = 0;
  m_goRepeat = -1;
  m_repeatDone = -1;
  m_ending1Start = -1;
  m_ending1End = -1;
  m_skipUntil = -1;
  std::fill(m_sounding.begin(), m_sounding.end(), 0);
  m_soundingCount = 0;
  // Reset before the first fetch: the stream announces the first measure's marks from it.
  Fetch(true, 0);
  Fill();
}

void PlaybackScheduler::SetMarkRepeat(long time) {
  m_markRepeat = time;
  // Forget the marks of earlier measures. Those of this measure stay, whatever order the
  // score announced them in: a one-bar repeat's end may come before its start.
  if (m_goRepeat <= time) m_goRepeat = -1;
  if (m_ending1End <= time) {
    m_ending1Start = -1;
    m_ending1End = -1;
  }
}

void PlaybackScheduler::Ending1(long curTime, long nextTime) {
  m_ending1Start = curTime;
  m_ending1End = nextTime;
}

int PlaybackScheduler::NextEventTime() const {
  return m_queue.empty() ? 0 : m_queue.front().Event->EventTime();
}

void PlaybackScheduler::Fetch(bool restart, int startTime) {
  if (!m_source) return;
  // The source may announce marks from inside these calls (they land in the setters).
  m_fetched = restart ? m_source->Restart(startTime) : m_source->Next();
}

bool PlaybackScheduler::JumpPending() const {
  return m_rules.FollowRepeats && m_goRepeat >= 0 && m_markRepeat != m_repeatDone;
}

void PlaybackScheduler::Fill() {
  const auto limit = static_cast<std::size_t>(m_rules.QueueLimit);
  while (m_source && !m_exhausted && m_queue.size() < limit) {
    if (!m_fetched) {
      // A repeat that closes the piece still plays twice.
      if (JumpPending()) {
        if (!JumpBack()) break;
        continue;
      }
      m_exhausted = true;
      m_source->End();
      break;
    }
    const long t = m_fetched->EventTime();
    const bool noteOff = m_fetched->EventType() == midNoteOff;
    if (m_skipUntil >= 0 && t >= m_skipUntil) m_skipUntil = -1;
    // The notes ending on the repeat's last bar line stop before the jump.
    if (JumpPending() && (t > m_goRepeat || (t == m_goRepeat && !noteOff))) {
      if (!JumpBack()) break;
      continue;
    }
    if (noteOff) {
      // Kept even inside a skipped ending, so that no note hangs.
      Enqueue(std::move(m_fetched));
      Fetch(false);
      continue;
    }
    if (m_skipUntil >= 0) {
      Fetch(false);
      continue;
    }
    if (m_rules.FollowRepeats && m_markRepeat == m_repeatDone && m_ending1Start >= 0 &&
        t >= m_ending1Start && t < m_ending1End) {
      // Second pass: the music goes on after the first ending as if it were not there.
      m_skipUntil = m_ending1End;
      m_offset -= m_ending1End - m_ending1Start;
      m_ending1Start = -1;
      m_ending1End = -1;
      Fetch(false);
      continue;
    }
    Enqueue(std::move(m_fetched));
    Fetch(false);
  }
}

bool PlaybackScheduler::JumpBack() {
  // The notes still sounding at the repeat's end are stopped there: the stream restarts at
  // the repeat's start and never delivers their note-offs. Wait for room for them.
  const auto limit = static_cast<std::size_t>(m_rules.QueueLimit);
  if (!m_queue.empty() && m_queue.size() + m_soundingCount > limit) return false;
  const std::int64_t jumpPosition = std::max<std::int64_t>(m_goRepeat + m_offset, m_lastPosition);
  for (int index = 0; index < static_cast<int>(m_sounding.size()); ++index) {
    while (m_sounding[index] > 0) {
      auto off = std::make_shared<MIDIEvent>();
      off->SetEventType(midNoteOff);
      off->SetEventTime(static_cast<int>(m_goRepeat));
      off->SetChannel(Internal{}, index / 128);
      off->SetValue(Internal{}, 0, index % 128);
      Enqueue(std::move(off), jumpPosition);
    }
  }
  m_repeatDone = m_markRepeat;
  m_offset += m_goRepeat - m_markRepeat;
  m_goRepeat = -1;
  Fetch(true, static_cast<int>(m_markRepeat));
  return true;
}

void PlaybackScheduler::Enqueue(std::shared_ptr<MIDIEvent> event,
                                std::optional<std::int64_t> position) {
  const std::int64_t at =
      std::max(position.value_or(event->EventTime() + m_offset), m_lastPosition);
  m_lastPosition = at;
  const bool starts = event->EventType() == midNoteOn && event->Value(1) > 0;
  const bool stops = event->EventType() == midNoteOff ||
                     (event->EventType() == midNoteOn && event->Value(1) == 0);
  if (starts || stops) {
    std::uint8_t& count = m_sounding[static_cast<std::size_t>(SoundingIndex(*event))];
    if (starts && count < 255) {
      ++count;
      ++m_soundingCount;
    } else if (stops && count > 0) {
      --count;
      --m_soundingCount;
    }
  }
  m_queue.push_back({std::move(event), at});
  m_mostQueued = std::max(m_mostQueued, m_queue.size());
}

std::optional<PlaybackScheduler::Duration> PlaybackScheduler::Service() {
  if (!m_source) return std::nullopt;
  const Duration now = m_clock.Now();
  while (!m_queue.empty()) {
    const Duration due = DueTime(m_queue.front().Position);
    if (due > now) break;
    // After a stall, play on from here rather than rush through what was missed.
    if (now - due > kSlipLimit) {
      m_start += now - due;
      ++m_slips;
    }
    const std::shared_ptr<MIDIEvent> event = std::move(m_queue.front().Event);
    m_queue.pop_front();
    Dispatch(*event);
    Fill();
  }
  Fill();
  if (m_queue.empty()) {
    Finish(true);
    return std::nullopt;
  }
  return DueTime(m_queue.front().Position);
}

void PlaybackScheduler::Dispatch(const MIDIEvent& event) {
  switch (event.EventType()) {
    case midNoteOff:
      m_sound.SetChannel(event.Channel());
      m_sound.StopNote(event.Value(0));
      break;
    case midNoteOn:
      m_sound.SetChannel(event.Channel());
      m_sound.StartNote(event.Value(0), m_rules.EventVelocity ? event.Value(1) : -1);
      break;
    case midProgramChange:
      m_sound.SetChannel(event.Channel());
      m_sound.SetInstrument(event.Value(0));
      m_sound.SetVolume(m_rules.ProgramVolume < 0 ? event.Value(1) : m_rules.ProgramVolume);
      m_sound.SetPan(kCentrePan);
      break;
    default:
      break;
  }
}

void PlaybackScheduler::Stop() {
  if (Active()) Finish(true);
}

void PlaybackScheduler::Abandon() {
  if (Active()) Finish(false);
}

void PlaybackScheduler::Finish(bool releaseSource) {
  PlaybackSource* source = std::exchange(m_source, nullptr);
  if (releaseSource && source && !m_exhausted) source->End();
  m_queue.clear();
  m_fetched.reset();
  m_sound.Silence();
}

}  // namespace notecraft
