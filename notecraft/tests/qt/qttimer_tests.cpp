// The score's playback pump on real Qt timers: an asynchronous request is answered once,
// by LoadMIDI from the event loop, about 25 ms later.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/qttimerfactory.h"

namespace notecraft {
namespace {

struct Loads : ScoreEvents {
  void LoadMIDI(const std::shared_ptr<MIDIEvent>& e) override { events.push_back(e); }
  std::vector<std::shared_ptr<MIDIEvent>> events;
};

TEST(QtTimers, AnAsynchronousRequestIsAnsweredOnceFromTheEventLoop) {
  QtTimerFactory factory;
  SetTimerFactory(&factory);
  {
    Score score;
    score.CreateDefault();
    score.Staff(1)->Voice(1)->Notes().Add(0, 60, 16, 0);
    Loads loads;
    score.AddListener(&loads);
    score.SetGetAsync(true);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(score.GetMIDIEvent(0), nullptr);  // the answer comes later
    EXPECT_TRUE(loads.events.empty());
    while (loads.events.empty() && clock.elapsed() < 2000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto waited = clock.elapsed();
    ASSERT_EQ(loads.events.size(), 1u);
    EXPECT_EQ(loads.events[0]->EventType(), midProgramChange);
    EXPECT_GE(waited, 20);
    EXPECT_LT(waited, 1000);

    // No further event without a further request.
    clock.restart();
    while (clock.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(loads.events.size(), 1u);
    score.RemoveListener(&loads);
  }
  SetTimerFactory(nullptr);
}

}  // namespace
}  // namespace notecraft
