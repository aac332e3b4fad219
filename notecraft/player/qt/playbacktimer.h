#pragma once
// Runs a PlaybackScheduler on Qt's event loop: a precise single-shot QTimer wakes the
// player a little before the next event is due, and the last stretch is slept on the
// monotonic clock, so an event leaves within a fraction of a millisecond of its time
// although Qt's timers count whole milliseconds.

#include <QObject>
#include <QTimer>
#include <chrono>

namespace notecraft {

class PlaybackClock;
class PlaybackScheduler;

class PlaybackTimer final : public QObject {
  Q_OBJECT

public:
  // How early the timer is set to fire: Qt's timers round to whole milliseconds and may be
  // a little late; the rest of the wait is slept.
  static constexpr std::chrono::milliseconds kWakeEarly{2};

  // Both are borrowed for the timer's life.
  PlaybackTimer(PlaybackScheduler& scheduler, PlaybackClock& clock, QObject* parent = nullptr);

  // Services the scheduler (after its Start) now and whenever its next event is due.
  void Run();
  // Stops waking the scheduler; the scheduler itself is not stopped.
  void Halt();
  bool Running() const { return m_timer.isActive(); }

signals:
  // Play ended by itself: the scheduler sent its last event.
  void finished();

private:
  void Service();

  PlaybackScheduler& m_scheduler;
  PlaybackClock& m_clock;
  QTimer m_timer;
};

}  // namespace notecraft
