#include "notecraft/core/timer.h"

#include <algorithm>

namespace notecraft {

namespace {

class NullTimer : public Timer {
public:
  void Start(int) override { m_active = true; }
  void Stop() override { m_active = false; }
  bool IsActive() const override { return m_active; }

private:
  bool m_active = false;
};

class NullTimerFactory : public TimerFactory {
public:
  std::unique_ptr<Timer> CreateTimer(std::function<void()>) override {
    return std::make_unique<NullTimer>();
  }
};

NullTimerFactory g_nullFactory;
TimerFactory* g_factory = nullptr;

}  // namespace

TimerFactory& CurrentTimerFactory() { return g_factory ? *g_factory : g_nullFactory; }
void SetTimerFactory(TimerFactory* factory) { g_factory = factory; }

class ManualTimerFactory::ManualTimer : public Timer {
public:
  ManualTimer(ManualTimerFactory* owner, std::function<void()> onTick)
      : m_owner(owner), m_onTick(std::move(onTick)) {
    m_owner->m_timers.push_back(this);
  }
  ~ManualTimer() override {
    if (!m_owner) return;
    auto& timers = m_owner->m_timers;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
  }
  void Start(int intervalMs) override {
    m_interval = std::max(1, intervalMs);
    m_due = (m_owner ? m_owner->m_now : 0) + m_interval;
    m_active = true;
  }
  void Stop() override { m_active = false; }
  bool IsActive() const override { return m_active; }

  ManualTimerFactory* m_owner;
  std::function<void()> m_onTick;
  int m_interval = 1;
  long long m_due = 0;
  bool m_active = false;
};

ManualTimerFactory::ManualTimerFactory() = default;

ManualTimerFactory::~ManualTimerFactory() {
  for (auto* t : m_timers) t->m_owner = nullptr;
}

std::unique_ptr<Timer> ManualTimerFactory::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<ManualTimer>(this, std::move(onTick));
}

void ManualTimerFactory::Advance(int ms) {
  const long long end = m_now + std::max(0, ms);
  for (;;) {
    // The earliest due tick; a tick may stop, start or delete timers, so look again each time.
    ManualTimer* next = nullptr;
    for (auto* t : m_timers)
      if (t->m_active && t->m_due <= end && (!next || t->m_due < next->m_due)) next = t;
    if (!next) break;
    m_now = next->m_due;
    next->m_due += next->m_interval;
    auto tick = next->m_onTick;  // the callback may destroy the timer
    tick();
  }
  m_now = end;
}

int ManualTimerFactory::ActiveTimers() const {
  return static_cast<int>(std::count_if(m_timers.begin(), m_timers.end(),
                                        [](const ManualTimer* t) { return t->m_active; }));
}

}  // namespace notecraft
