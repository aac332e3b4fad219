// Entry by position in a big score: AddNoteByHit on the page of measure 1,000 of a
// 4,000-measure, 16-staff score, with the repaint of the system it triggers, drawn on the
// engine's recording surface. The pitch joins an existing chord, so the entry repaints the
// system in place; repeated clicks re-enter the same pitch, which costs the same.
#include <benchmark/benchmark.h>

#include "editbench.h"
#include "notecraft/view/recordingsurface.h"

namespace {

using namespace notecraft;

void BM_AddNoteByHitAndRepaint(benchmark::State& state) {
  auto score = editbench::BigScore();
  RecordingSurface surface;
  score->SetWindow(&surface);
  editbench::ShowMeasure1000(*score);
  const editbench::Click click = editbench::ChordClick(*score);
  std::size_t ops = 0;
  for (auto _ : state) {
    surface.ClearRecord();
    score->AddNoteByHit(click.X, click.Y, click.Duration, click.Flags);
    ops = surface.Ops().size();
  }
  if (!surface.Ops(SurfaceOp::Kind::Clear).empty())
    state.SkipWithError("the entry painted the whole page");
  state.counters["ops"] = static_cast<double>(ops);
  state.counters["page"] = score->CurPage();
  score->SetWindow(nullptr);
}
BENCHMARK(BM_AddNoteByHitAndRepaint)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
