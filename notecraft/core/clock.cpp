#include "notecraft/core/clock.h"

#include <ctime>

namespace notecraft {

namespace {

Clock g_systemClock;
Clock* g_clock = nullptr;

}  // namespace

int Clock::SecondsOfDay() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

Clock& CurrentClock() { return g_clock ? *g_clock : g_systemClock; }
void SetClock(Clock* clock) { g_clock = clock; }

std::string NewObjectID(char letter, const std::function<bool(const std::string&)>& taken) {
  const int s = CurrentClock().SecondsOfDay();
  long long n = (s / 3600) * 10000LL + (s / 60 % 60) * 100LL + s % 60;
  for (;; ++n) {
    std::string id = std::string(1, letter) + std::to_string(n);
    if (!taken(id)) return id;
  }
}

}  // namespace notecraft
