#include "notecraft/core/timer.h"

#include <gtest/gtest.h>

#include <string>

namespace notecraft {
namespace {

TEST(ManualTimers, TicksArriveInTimeOrder) {
  ManualTimerFactory clock;
  std::string log;
  auto fast = clock.CreateTimer([&] { log += "f"; });
  auto slow = clock.CreateTimer([&] { log += "S"; });
  fast->Start(25);
  slow->Start(180);
  clock.Advance(200);
  EXPECT_EQ(log, "fffffffSf");  // 25..175, then 180, then 200
  EXPECT_EQ(clock.Now(), 200);
  EXPECT_EQ(clock.ActiveTimers(), 2);
}

TEST(ManualTimers, ATickMayStopOrDestroyItsTimer) {
  ManualTimerFactory clock;
  int ticks = 0;
  std::unique_ptr<Timer> self;
  self = clock.CreateTimer([&] {
    if (++ticks == 3) self.reset();
  });
  self->Start(10);
  clock.Advance(100);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(clock.ActiveTimers(), 0);

  int stops = 0;
  std::unique_ptr<Timer> other;
  other = clock.CreateTimer([&] {
    ++stops;
    other->Stop();
  });
  other->Start(10);
  clock.Advance(100);
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(other->IsActive());
}

TEST(ManualTimers, TheDefaultFactoryNeverTicks) {
  int ticks = 0;
  auto t = CurrentTimerFactory().CreateTimer([&] { ++ticks; });
  t->Start(1);
  EXPECT_TRUE(t->IsActive());
  t->Stop();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace notecraft
