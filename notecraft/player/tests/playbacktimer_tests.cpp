// The Qt driver of the scheduler on a real event loop and the monotonic clock: events
// leave close to their ideal times, and play ends by itself with `finished`.

#include "notecraft/player/qt/playbacktimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/player/playbackscheduler.h"
#include "notecraft/player/playbacksource.h"
#include "recordingsystem.h"
#include "timedrecording.h"
#include "tonegen/soundmaster.h"

namespace notecraft {
namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "notecraft_player_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

TEST(PlaybackTimerTest, SendsOnTimeOnTheEventLoopAndFinishes) {
  App();
  tonegen::test::ErrorCapture errors;
  SteadyPlaybackClock clock;
  auto system = std::make_shared<testing::TimedRecordingSystem>(clock);
  tonegen::SoundMaster sound(system);
  sound.OpenOutput();

  // Two bars of sixteenths at 240: an event every 62.5 ms, a second in all.
  Score score;
  score.AllGlobals().Add(0, evtTimeChange, 4, 16);
  auto staff = score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Staff",
                                          std::nullopt, true);
  auto voice = staff->AddVoice(score.AllInstruments().Add(score.AllInstruments().NewID(), 0));
  for (int t = 0; t < 128; t += 4) voice->Notes().Add(t, 60 + t % 12, durSixteenth, 0);

  PlaybackScheduler scheduler(clock, sound);
  ScorePlaybackSource source(score);
  PlaybackTimer timer(scheduler, clock);
  bool finished = false;
  QObject::connect(&timer, &PlaybackTimer::finished, [&] {
    finished = true;
    QCoreApplication::quit();
  });
  QTimer::singleShot(0, [&] {
    scheduler.Start(source, 240);
    timer.Run();
  });
  QTimer::singleShot(10'000, [] { QCoreApplication::quit(); });  // a hang fails, not blocks
  App().exec();

  ASSERT_TRUE(finished);
  EXPECT_FALSE(scheduler.Active());
  EXPECT_FALSE(timer.Running());
  std::vector<double> deviations;
  std::optional<double> first;
  int index = 0;
  for (const auto& m : system->Sent) {
    if (!m.NoteOn()) continue;
    if (!first) first = m.Ms();
    deviations.push_back(std::abs(m.Ms() - *first - index * 62.5));
    ++index;
  }
  ASSERT_EQ(deviations.size(), 32U);
  std::sort(deviations.begin(), deviations.end());
  // Generous bounds for a loaded test machine; the benchmark measures the real figures.
  EXPECT_LT(deviations[deviations.size() / 2], 2.0);
  EXPECT_LT(deviations.back(), 30.0);
}

}  // namespace
}  // namespace notecraft
