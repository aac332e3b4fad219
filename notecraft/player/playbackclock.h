#pragma once
// The monotonic clock playback is scheduled against. Times are offsets from an arbitrary
// fixed point; only differences matter. Tests put a clock they move by hand in its place.

#include <chrono>
#include <thread>

namespace notecraft {

class PlaybackClock {
public:
  using Duration = std::chrono::nanoseconds;

  virtual ~PlaybackClock() = default;
  virtual Duration Now() const = 0;
  // Blocks until Now() reaches `time` (returns at once when it has).
  virtual void SleepUntil(Duration time) = 0;
};

// std::chrono::steady_clock: never set back, unaffected by changes of the wall time.
// SleepUntil sleeps to just short of the time and spins through the rest: a sleeping
// thread wakes a little late (and a yielding one may lose its processor for a whole time
// slice). Spinning longer costs processor time without helping on a busy machine, where
// the wake-up of the thread is what comes late.
class SteadyPlaybackClock final : public PlaybackClock {
public:
  static constexpr std::chrono::microseconds kSpinSpan{300};

  Duration Now() const override {
    return std::chrono::duration_cast<Duration>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  void SleepUntil(Duration time) override {
    if (time - Now() > kSpinSpan)
      std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
          std::chrono::duration_cast<std::chrono::steady_clock::duration>(time - kSpinSpan)));
    while (Now() < time) {
    }
  }
};

// A clock that moves only when told to (tests, simulations). SleepUntil jumps to the time.
class ManualPlaybackClock final : public PlaybackClock {
public:
  Duration Now() const override { return m_now; }
  void SleepUntil(Duration time) override {
    if (time > m_now) m_now = time;
  }
  void Set(Duration time) { m_now = time; }
  void Advance(Duration by) { m_now += by; }

private:
  Duration m_now{0};
};

}  // namespace notecraft
