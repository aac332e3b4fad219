#pragma once
// Periodic timers the engine asks its host for (the score's 180 ms layout timer and its
// 25 ms event pump). Ticks arrive on the engine's one thread. The Qt part gives QTimers;
// tests and command-line tools give ManualTimers and advance the clock themselves.

#include <functional>
#include <memory>
#include <vector>

namespace notecraft {

class Timer {
public:
  virtual ~Timer() = default;
  // Starts (or restarts) ticking every intervalMs milliseconds.
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
};

class TimerFactory {
public:
  virtual ~TimerFactory() = default;
  virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) = 0;
};

// The installed factory (not owned); by default timers that never tick.
TimerFactory& CurrentTimerFactory();
void SetTimerFactory(TimerFactory* factory);

// A clock driven by hand: Advance(ms) delivers every tick that falls due, in time order.
class ManualTimerFactory : public TimerFactory {
public:
  ManualTimerFactory();
  ~ManualTimerFactory() override;
  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
  void Advance(int ms);
  long long Now() const { return m_now; }
  int ActiveTimers() const;

private:
  class ManualTimer;
  std::vector<ManualTimer*> m_timers;  // non-owning; timers unregister themselves
  long long m_now = 0;
};

}  // namespace notecraft
