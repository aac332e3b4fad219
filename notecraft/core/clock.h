#pragma once
// Time of day for object identifiers, injected so that tests are deterministic.

#include <functional>
#include <string>

namespace notecraft {

class Clock {
public:
  virtual ~Clock() = default;
  // Seconds since local midnight, 0..86399.
  virtual int SecondsOfDay() const;
};

// The installed clock (not owned); by default the system's local time.
Clock& CurrentClock();
void SetClock(Clock* clock);

// A new identifier for a voice ("V"), instrument ("I") or staff ("S"): the letter followed by
// the time of day "hhnnss" read as a number (09:05:07 gives V90507), counted up by one until
// `taken` says it is free.
std::string NewObjectID(char letter, const std::function<bool(const std::string&)>& taken);

}  // namespace notecraft
