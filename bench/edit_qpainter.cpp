// Entry by position in a big score on the QPainter surface: as edit_bench, with the page
// buffer of the screen's size (a page at 15 twips a pixel) and the music font loaded.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "editbench.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qpaintersurface.h"

namespace {

using namespace notecraft;

void BM_AddNoteByHitAndRepaintQPainter(benchmark::State& state) {
  auto score = editbench::BigScore();
  QPainterSurface surface(score->PageWidthTwips(), score->PageHeightTwips());
  score->SetWindow(&surface);
  editbench::ShowMeasure1000(*score);
  const editbench::Click click = editbench::ChordClick(*score);
  for (auto _ : state) score->AddNoteByHit(click.X, click.Y, click.Duration, click.Flags);
  state.counters["page"] = score->CurPage();
  score->SetWindow(nullptr);
}
BENCHMARK(BM_AddNoteByHitAndRepaintQPainter)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  if (!LoadMusicFont()) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
