#include "notecraft/player/playbacksource.h"

#include "notecraft/core/score.h"
#include "notecraft/player/playbackscheduler.h"

namespace notecraft {

std::shared_ptr<MIDIEvent> ScorePlaybackSource::Restart(int startTime) {
  // Asynchronous delivery would hand every event out later through LoadMIDI; the scheduler
  // reads the stream as it goes, so the score answers at once.
  if (m_score.GetAsync()) m_score.SetGetAsync(false);
  return m_score.GetMIDIEvent(startTime);
}

std::shared_ptr<MIDIEvent> ScorePlaybackSource::Next() { return m_score.GetMIDIEvent(); }

void ScorePlaybackSource::End() { m_score.GetMIDIEvent(-1); }

PlaybackMarksListener::PlaybackMarksListener(Score& score, PlaybackScheduler& scheduler)
    : m_score(score), m_scheduler(scheduler) {
  m_score.AddListener(this);
}

PlaybackMarksListener::~PlaybackMarksListener() { m_score.RemoveListener(this); }

void PlaybackMarksListener::MarkRepeat(int curTime) { m_scheduler.SetMarkRepeat(curTime); }

void PlaybackMarksListener::GoRepeat(int nextTime) { m_scheduler.SetGoRepeat(nextTime); }

void PlaybackMarksListener::SkipSection(int curTime, int nextTime) {
  m_scheduler.Ending1(curTime, nextTime);
}

}  // namespace notecraft
