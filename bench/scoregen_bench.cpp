// Building a generated score in memory: the cost every scorebench run starts with.

#include <benchmark/benchmark.h>

#include "notecraft/core/score.h"
#include "scoregen.h"

namespace {

void BM_GenerateScore(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  std::int64_t notes = 0;
  for (auto _ : state) {
    auto score = scoregen::GenerateScore(measures, 16);
    notes = 0;
    for (const auto& voice : score->AllVoices()) notes += voice->Notes().Count();
    benchmark::DoNotOptimize(notes);
  }
  state.counters["notes"] = static_cast<double>(notes);
  state.SetItemsProcessed(state.iterations() * notes);
}
BENCHMARK(BM_GenerateScore)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
