#pragma once
// Where a playback takes its events from: a score's playback stream (Score::GetMIDIEvent),
// or a test's list. Restart(t) starts over at score time t and gives the first event, Next()
// the following one; both give null at the end. End() releases the stream.

#include <memory>

#include "notecraft/core/midievent.h"
#include "notecraft/core/scoreevents.h"

namespace notecraft {

class Score;

class PlaybackSource {
public:
  virtual ~PlaybackSource() = default;
  virtual std::shared_ptr<MIDIEvent> Restart(int startTime) = 0;
  virtual std::shared_ptr<MIDIEvent> Next() = 0;
  virtual void End() = 0;
};

// A score's stream. The score is borrowed: the owner ends the playback before the score goes.
class ScorePlaybackSource final : public PlaybackSource {
public:
  explicit ScorePlaybackSource(Score& score) : m_score(score) {}
  std::shared_ptr<MIDIEvent> Restart(int startTime) override;
  std::shared_ptr<MIDIEvent> Next() override;
  void End() override;

private:
  Score& m_score;
};

class PlaybackScheduler;

// Hands a score's repeat and first-ending announcements to a scheduler, for hosts in which
// no window forwards them. Listens while alive.
class PlaybackMarksListener final : public ScoreEvents {
public:
  PlaybackMarksListener(Score& score, PlaybackScheduler& scheduler);
  ~PlaybackMarksListener() override;
  PlaybackMarksListener(const PlaybackMarksListener&) = delete;
  PlaybackMarksListener& operator=(const PlaybackMarksListener&) = delete;

  void MarkRepeat(int curTime) override;
  void GoRepeat(int nextTime) override;
  void SkipSection(int curTime, int nextTime) override;

private:
  Score& m_score;
  PlaybackScheduler& m_scheduler;
};

}  // namespace notecraft
