// The editing tools on gen:4000:16: transposing, copying and moving a range of N measures of
// every staff (N = 250, 500, 1000, from measure 1001), each on a fresh score. The time should
// grow with N alone: the tools touch the notes of the range and shift each voice's note list
// once per staff, not once per note.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "edittools/core/copymovetool.h"
#include "edittools/core/transposetool.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "scoregen.h"

namespace {

using namespace edittools;

std::shared_ptr<notecraft::Score> FreshScore() {
  return std::shared_ptr<notecraft::Score>(scoregen::GenerateScore(4000, 16));
}

long long NotesIn(const notecraft::Score& score, int fromTime, int toTime) {
  long long n = 0;
  for (int s = 1; s <= score.Staffs(); ++s)
    for (int v = 1; v <= score.Staff(s)->Voices(); ++v) {
      const auto& notes = score.Staff(s)->Voice(v)->Notes();
      n += notes.IndexAtOrAfter(toTime) - notes.IndexAtOrAfter(fromTime);
    }
  return n;
}

void Run(SteppedTool& tool) {
  tool.Setup();
  while (tool.Step()) {
  }
  tool.Finish();
}

template <class MakeTool>
void RunOnFreshScores(benchmark::State& state, MakeTool make) {
  const int measures = static_cast<int>(state.range(0));
  const ToolRange range{false, 0, 1001, 1000 + measures};
  long long touched = 0;
  for (auto _ : state) {
    // Timed by hand: making and freeing the big score cost far more than the tool.
    auto score = FreshScore();
    const int from = score->AllGlobals().MeasureTime(1001);
    const int to = score->AllGlobals().MeasureTime(1001 + measures);
    touched = NotesIn(*score, from, to);
    auto tool = make(score, range);
    const auto start = std::chrono::steady_clock::now();
    Run(*tool);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["notes"] = static_cast<double>(touched);  // in the range, every voice
}

void BM_TransposeRange(benchmark::State& state) {
  RunOnFreshScores(state, [](auto score, const ToolRange& range) {
    return std::make_unique<TransposeTool>(score, range, ToolDest{1, 1, 3});  // up 3 half-steps
  });
}

void BM_CopyRange(benchmark::State& state) {
  RunOnFreshScores(state, [](auto score, const ToolRange& range) {
    return std::make_unique<CopyMoveTool>(score, range, ToolDest{0, 3001, 0}, false, 1);
  });
}

void BM_MoveRange(benchmark::State& state) {
  RunOnFreshScores(state, [](auto score, const ToolRange& range) {
    return std::make_unique<CopyMoveTool>(score, range, ToolDest{0, 3001, 0}, true, 0);
  });
}

BENCHMARK(BM_TransposeRange)->Arg(250)->Arg(500)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CopyRange)->Arg(250)->Arg(500)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MoveRange)->Arg(250)->Arg(500)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
