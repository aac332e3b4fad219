#pragma once
// The engine's timers as QTimers on the thread that creates them: precise, repeating until
// stopped, ticking from the Qt event loop.

#include "notecraft/core/timer.h"

namespace notecraft {

class QtTimerFactory : public TimerFactory {
public:
  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
};

}  // namespace notecraft
