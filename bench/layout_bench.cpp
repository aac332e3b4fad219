// Page layout and painting: one page of a 16-staff score with four voices a staff (a grand
// staff among every four) laid out, and laid out and painted, on the engine's recording
// surface; and full pagination of 1000 and 4000 measures of 16 staves, which should cost
// the same per page (pagination is linear in the score's length), also with a time
// signature in every measure.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/range.h"
#include "notecraft/core/score.h"
#include "notecraft/layout/pagebreaker.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/recordingsurface.h"
#include "scoregen.h"

namespace {

using namespace notecraft;

std::unique_ptr<Score> SixteenStaves(int measures) {
  scoregen::GenOptions options;
  options.measures = measures;
  options.staves = 16;
  options.voices = 4;
  options.grandStaves = true;
  return scoregen::GenerateScore(options);
}

void Paginate(Score& score) {
  score.RestartPagination(1);
  while (score.Paginating()) score.PaginateStep(Internal{});
}

// Laying out page 2 (no headings), as a pagination step does.
void BM_LayOutPage16Staves(benchmark::State& state) {
  auto score = SixteenStaves(60);
  RecordingSurface surface;
  score->SetWindow(&surface);
  Paginate(*score);
  const int start = score->PageTimes()[1].Low();
  const int height = score->PageLayouts()[0].High();
  PageBreaker breaker(*score, score->View(Internal{}));
  for (auto _ : state) {
    PageLayout page = breaker.LayOut(2, start, height, score->EndTime());
    benchmark::DoNotOptimize(page.End);
  }
  score->SetWindow(nullptr);
}
BENCHMARK(BM_LayOutPage16Staves)->Unit(benchmark::kMillisecond);

// PaintWindow on page 2: its layout and every symbol on it.
void BM_LayOutAndPaintPage16Staves(benchmark::State& state) {
  auto score = SixteenStaves(60);
  RecordingSurface surface;
  score->SetWindow(&surface);
  Paginate(*score);
  score->SetCurPage(2);
  std::size_t ops = 0;
  for (auto _ : state) {
    surface.ClearRecord();
    score->PaintWindow();
    ops = surface.Ops().size();
  }
  state.counters["ops"] = static_cast<double>(ops);
  score->SetWindow(nullptr);
}
BENCHMARK(BM_LayOutAndPaintPage16Staves)->Unit(benchmark::kMillisecond);

// Every page of gen:MEASURES:16 laid out without drawing.
void BM_Paginate16Staves(benchmark::State& state) {
  auto score = scoregen::GenerateScore(static_cast<int>(state.range(0)), 16);
  RecordingSurface surface;
  score->SetWindow(&surface);
  for (auto _ : state) Paginate(*score);
  state.counters["pages"] = score->LastPage();
  state.counters["per_page"] = benchmark::Counter(
      static_cast<double>(score->LastPage()), benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
  score->SetWindow(nullptr);
}
BENCHMARK(BM_Paginate16Staves)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The same with a time signature standing in every measure (the one in force there, so the
// music does not move): measure lookups must not grow with the number of signatures.
void BM_Paginate16StavesSignatureEveryMeasure(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  auto score = scoregen::GenerateScore(measures, 16);
  GlobalEvents& globals = score->AllGlobals();
  std::vector<std::pair<int, int>> bars;  // start, signature value
  for (int m = 1; m <= measures; ++m) {
    const int start = globals.MeasureTime(m);
    bars.emplace_back(start, globals.CurTimeVal(start));
  }
  for (const auto& [start, value] : bars)
    if (!globals.Find(start, evtTimeChange, true))
      globals.Add(start, evtTimeChange, static_cast<std::uint8_t>(value / 128),
                  static_cast<std::uint8_t>(value % 128));
  RecordingSurface surface;
  score->SetWindow(&surface);
  for (auto _ : state) Paginate(*score);
  state.counters["signatures"] = globals.TimeItemCount();
  state.counters["pages"] = score->LastPage();
  state.counters["per_page"] = benchmark::Counter(
      static_cast<double>(score->LastPage()), benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
  score->SetWindow(nullptr);
}
BENCHMARK(BM_Paginate16StavesSignatureEveryMeasure)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
