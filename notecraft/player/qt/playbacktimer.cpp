#include "notecraft/player/qt/playbacktimer.h"

#include "notecraft/player/playbackclock.h"
#include "notecraft/player/playbackscheduler.h"

namespace notecraft {

PlaybackTimer::PlaybackTimer(PlaybackScheduler& scheduler, PlaybackClock& clock, QObject* parent)
    : QObject(parent), m_scheduler(scheduler), m_clock(clock) {
  m_timer.setSingleShot(true);
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &PlaybackTimer::Service);
}

void PlaybackTimer::Run() { Service(); }

void PlaybackTimer::Halt() { m_timer.stop(); }

void PlaybackTimer::Service() {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  for (;;) {
    const auto next = m_scheduler.Service();
    if (!next) {
      m_timer.stop();
      emit finished();
      return;
    }
    const auto left = *next - m_clock.Now();
    if (left > kWakeEarly) {
      m_timer.start(duration_cast<milliseconds>(left - kWakeEarly));
      return;
    }
    m_clock.SleepUntil(*next);
  }
}

}  // namespace notecraft
