#pragma once
// Plays one score from its beginning through a SoundMaster, in the order the score hands
// its events out (repeats and endings are not followed), each event at its time on the
// monotonic clock. Notes start at their own velocity, as in the editor; a program change
// sets volume 112 and the centre pan.

#include <QObject>

#include "notecraft/player/playbackclock.h"
#include "notecraft/player/playbackscheduler.h"
#include "notecraft/player/playbacksource.h"
#include "notecraft/player/qt/playbacktimer.h"

namespace notecraft {
class Score;
}  // namespace notecraft

namespace tonegen {
class SoundMaster;
}  // namespace tonegen

namespace listenbox {

class ListenPlayer final : public QObject {
  Q_OBJECT

public:
  static constexpr int kQueueLimit = 250;
  static constexpr int kProgramVolume = 112;
  static notecraft::PlaybackScheduler::Rules Rules();

  // Both borrowed for the player's life.
  ListenPlayer(notecraft::Score& score, tonegen::SoundMaster& sound, QObject* parent = nullptr);
  ~ListenPlayer() override;

  // From the beginning; a play already running is stopped first.
  void Play();
  // Silences at once; nothing is sent afterwards.
  void Stop();
  bool Playing() const { return m_scheduler.Active(); }
  // Score time (64ths) of the next event to sound; 0 when none.
  int NextEventTime() const { return m_scheduler.NextEventTime(); }

signals:
  // The last event was sent (not raised by Stop).
  void finished();

private:
  notecraft::Score& m_score;
  notecraft::SteadyPlaybackClock m_clock;
  notecraft::ScorePlaybackSource m_source;
  notecraft::PlaybackScheduler m_scheduler;
  notecraft::PlaybackTimer m_timer;
};

}  // namespace listenbox
