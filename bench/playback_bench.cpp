// Reading a long score's whole playback stream: 16 staves (15 instruments and drums) of
// 1,000 to 4,000 measures in 4/4, four quarter-note beats a measure, every third beat a
// chord, with a repeat every 16 measures. Reports delivered events per second; the time per
// event stays flat from 1,000 to 4,000 measures when reading the stream is linear.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace {

using namespace notecraft;

constexpr int kStaves = 16;

std::unique_ptr<Score> BuildScore(int measures) {
  auto score = std::make_unique<Score>();
  score->AllGlobals().Add(0, evtTimeChange, 4, 16);
  for (int m = 0; m < measures; m += 16) {
    score->AllGlobals().Add(m * 64, evtRepeatBegin);
    score->AllGlobals().Add((m + 15) * 64, evtRepeatEnd);
  }
  static constexpr int kRows[kStaves] = {0,  24, 32, 40, 41, 42, 56, 57,
                                         60, 65, 68, 71, 73, 48, 52, 129};  // 129: drums
  for (int s = 0; s < kStaves; ++s) {
    auto staff = score->AllStaffs().AddStaff(Internal{}, score->AllStaffs().NewID(), "Staff",
                                             std::nullopt, true);
    auto voice = staff->AddVoice(score->AllInstruments().Add(score->AllInstruments().NewID(),
                                                             kRows[s]));
    auto& notes = voice->Notes();
    for (int m = 0; m < measures; ++m) {
      for (int beat = 0; beat < 4; ++beat) {
        const int t = m * 64 + beat * 16;
        const int pitch = 40 + (m * 7 + beat * 3 + s * 5) % 48;
        notes.Add(t, pitch, durQuarter, beat == 3 ? nteStacato : 0);
        if ((m + beat) % 3 == 0) notes.Add(t, pitch + 4, durQuarter, 0);
      }
    }
  }
  return score;
}

Score& ScoreOf(int measures) {
  static std::map<int, std::unique_ptr<Score>> scores;
  auto& score = scores[measures];
  if (!score) score = BuildScore(measures);
  return *score;
}

void BM_PlaybackReadWholeStream(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  Score& score = ScoreOf(measures);
  std::int64_t events = 0;
  for (auto _ : state) {
    std::int64_t n = 0;
    for (auto e = score.GetMIDIEvent(0); e; e = score.GetMIDIEvent()) ++n;
    benchmark::DoNotOptimize(n);
    events += n;
  }
  state.SetItemsProcessed(events);
  state.counters["events"] =
      benchmark::Counter(static_cast<double>(events) / static_cast<double>(state.iterations()));
  // Seconds per delivered event: flat across sizes when the stream is linear.
  state.counters["per_event"] = benchmark::Counter(
      static_cast<double>(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlaybackReadWholeStream)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
