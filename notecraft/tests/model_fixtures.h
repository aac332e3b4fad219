#pragma once
// Shared test helpers for the score model: a settable clock for object IDs and a recorder
// of score events.

#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/clock.h"
#include "notecraft/core/scoreevents.h"
#include "notecraft/core/staff.h"

namespace notecraft::testing {

// Installs itself as the clock for its lifetime.
class FixedClock : public Clock {
public:
  explicit FixedClock(int secondsOfDay) : m_seconds(secondsOfDay) { SetClock(this); }
  ~FixedClock() override { SetClock(nullptr); }
  int SecondsOfDay() const override { return m_seconds; }
  void Set(int secondsOfDay) { m_seconds = secondsOfDay; }

private:
  int m_seconds;
};

// Records events as short strings: "ChangeNotify(1)", "ActiveStaff(S5)".
class EventLog : public ScoreEvents {
public:
  std::vector<std::string> log;
  void ActiveMeasure(int n) override { log.push_back("ActiveMeasure(" + std::to_string(n) + ")"); }
  void ActiveStaff(const std::shared_ptr<Staff>& s) override {
    log.push_back("ActiveStaff(" + (s ? std::to_string(s->Index()) : std::string("-")) + ")");
  }
  void ActiveVoice(int n) override { log.push_back("ActiveVoice(" + std::to_string(n) + ")"); }
  void ChangeNotify(bool c) override { log.push_back(std::string("ChangeNotify(") + (c ? "1" : "0") + ")"); }
  void HistoryChanged(bool c) override { log.push_back(std::string("HistoryChanged(") + (c ? "1" : "0") + ")"); }
};

}  // namespace notecraft::testing
