// Playback timing: a generated 200-bar, 4-staff score at tempo 240 played in real time
// through the playback scheduler on Qt's event loop (the editor's transport and the score
// player drive it the same way) into a recording sound backend that timestamps every
// message on the monotonic clock. Reports how far each note-on left from its ideal time
// (start + score time x 60000 / (tempo x 16) ms): p50, p99 and max in microseconds, and the
// drift (mean deviation over the last tenth of the piece minus that over the first tenth).
//
// One run takes the length of the piece (about three minutes); the two rule sets (the
// transport's, the player's) can be run apart with --benchmark_filter.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/player/playbackclock.h"
#include "notecraft/player/playbackscheduler.h"
#include "notecraft/player/playbacksource.h"
#include "notecraft/player/qt/playbacktimer.h"
#include "notecraft/player/tests/timedrecording.h"
#include "scoregen.h"
#include "tonegen/soundmaster.h"

namespace {

using namespace notecraft;

// PLAYTIMING_MEASURES shortens the piece for a quick look.
int Measures() {
  const char* text = std::getenv("PLAYTIMING_MEASURES");
  const int measures = text ? std::atoi(text) : 0;
  return measures > 0 ? measures : 200;
}
constexpr int kStaves = 4;
constexpr int kTempo = 240;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "playtiming";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Score times of the note-ons the stream delivers, in order.
std::vector<int> NoteOnTimes(Score& score) {
  std::vector<int> times;
  for (auto event = score.GetMIDIEvent(0); event; event = score.GetMIDIEvent())
    if (event->EventType() == midNoteOn && event->Value(1) > 0) times.push_back(event->EventTime());
  score.GetMIDIEvent(-1);
  return times;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

void PlayInRealTime(benchmark::State& state, PlaybackScheduler::Rules rules) {
  App();
  std::unique_ptr<Score> score = scoregen::GenerateScore(Measures(), kStaves);
  score->SetCount(kTempo);
  const std::vector<int> ideal = NoteOnTimes(*score);
  const double msPer64th = PlaybackScheduler::MsPer64th(kTempo);

  for (auto _ : state) {
    SteadyPlaybackClock clock;
    auto system = std::make_shared<testing::TimedRecordingSystem>(clock);
    system->Sent.reserve(ideal.size() * 3 + 1000);
    tonegen::SoundMaster sound(system);
    sound.OpenOutput();
    PlaybackScheduler scheduler(clock, sound, rules);
    ScorePlaybackSource source(*score);
    PlaybackTimer timer(scheduler, clock);
    QObject::connect(&timer, &PlaybackTimer::finished, &App(), &QCoreApplication::quit);
    PlaybackClock::Duration start{};
    QTimer::singleShot(0, [&] {
      start = clock.Now();
      scheduler.Start(source, kTempo);
      timer.Run();
    });
    App().exec();

    std::vector<double> deviations;  // microseconds, signed
    for (const auto& message : system->Sent) {
      if (!message.NoteOn() || deviations.size() >= ideal.size()) continue;
      const double due = static_cast<double>(start.count()) / 1e3 +
                         ideal[deviations.size()] * msPer64th * 1e3;
      deviations.push_back(static_cast<double>(message.Time.count()) / 1e3 - due);
    }
    if (deviations.size() != ideal.size()) {
      state.SkipWithError("not every note-on was sent");
      return;
    }
    std::vector<double> magnitudes;
    for (double d : deviations) magnitudes.push_back(std::abs(d));
    const std::size_t tenth = std::max<std::size_t>(deviations.size() / 10, 1);
    double first = 0, last = 0;
    for (std::size_t i = 0; i < tenth; ++i) {
      first += deviations[i];
      last += deviations[deviations.size() - 1 - i];
    }
    state.counters["note_ons"] = static_cast<double>(deviations.size());
    state.counters["seconds"] = ideal.back() * msPer64th / 1000.0;
    state.counters["p50_us"] = Percentile(magnitudes, 0.50);
    state.counters["p99_us"] = Percentile(magnitudes, 0.99);
    state.counters["max_us"] = Percentile(magnitudes, 1.0);
    state.counters["drift_us"] = (last - first) / static_cast<double>(tenth);
    state.counters["slips"] = static_cast<double>(scheduler.Slips());
    if (std::getenv("PLAYTIMING_TRACE")) {
      for (std::size_t i = 0; i < deviations.size(); i += std::max<std::size_t>(deviations.size() / 40, 1))
        std::fprintf(stderr, "%zu at %.0f ms: %.0f us\n", i, ideal[i] * msPer64th, deviations[i]);
    }
  }
}

void BM_TransportTiming(benchmark::State& state) { PlayInRealTime(state, {}); }

void BM_ListenboxTiming(benchmark::State& state) {
  PlaybackScheduler::Rules rules;
  rules.QueueLimit = 250;
  rules.FollowRepeats = false;
  rules.EventVelocity = false;
  rules.ProgramVolume = 112;
  PlayInRealTime(state, rules);
}

BENCHMARK(BM_TransportTiming)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ListenboxTiming)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
