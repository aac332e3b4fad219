// Building and searching big note and event lists: a voice of 100,000 notes, and a staff
// event list of 100,000 events that is mostly lyrics with rare clef and key changes.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/notes.h"

namespace {

using namespace notecraft;

constexpr int kCount = 100000;

void BuildVoice(Notes& notes, int count) {
  static constexpr int kDurations[] = {16, 8, 8, 4, 4, 32, 16, 24};
  int t = 0;
  for (int i = 0; i < count; ++i) {
    const int d = kDurations[i % 8];
    notes.Add(t, 60 + i % 12, d == 24 ? 16 : d, d == 24 ? nteDot : 0);
    if (i % 5 == 0) notes.Add(t, 67, d == 24 ? 16 : d, 0);  // some chords
    t += d;
  }
}

void BuildStaffEvents(GlobalEvents& events, int count) {
  int t = 0;
  for (int i = 0; i < count; ++i) {
    if (i % 997 == 0) events.Add(t, evtClefChange, static_cast<std::uint8_t>(1 + i % 2));
    else if (i % 1499 == 0) events.Add(t, evtKeyChange, static_cast<std::uint8_t>(i % 8));
    else if (i % 50 == 0) events.Add(t, evtDynamic, dynMF);
    else events.Add(t, evtLyric, 1, 0, "la");
    t += 8;
  }
}

void BM_NotesBuildInTimeOrder(benchmark::State& state) {
  for (auto _ : state) {
    Notes notes;
    BuildVoice(notes, kCount);
    benchmark::DoNotOptimize(notes.Count());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_NotesBuildInTimeOrder)->Unit(benchmark::kMillisecond);

void BM_NotesItemLE(benchmark::State& state) {
  Notes notes;
  BuildVoice(notes, kCount);
  const int end = notes.ByIndex(notes.Count())->NoteTime();
  std::mt19937 rng(1);
  std::vector<int> times(4096);
  for (auto& t : times) t = static_cast<int>(rng() % static_cast<unsigned>(end));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(notes.Item(times[i++ & 4095], true));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NotesItemLE);

void BM_NotesRemoveRange(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Notes notes;
    BuildVoice(notes, kCount);
    state.ResumeTiming();
    notes.RemoveRange(64, 128);  // delete the second measure: the whole tail moves
    benchmark::DoNotOptimize(notes.Count());
  }
}
BENCHMARK(BM_NotesRemoveRange)->Unit(benchmark::kMicrosecond);

void BM_EventsBuildInTimeOrder(benchmark::State& state) {
  for (auto _ : state) {
    GlobalEvents events;
    BuildStaffEvents(events, kCount);
    benchmark::DoNotOptimize(events.Count());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_EventsBuildInTimeOrder)->Unit(benchmark::kMillisecond);

// The last clef or key change before a time, over a list of lyrics: what layout asks of
// every staff at every system.
void BM_EventsFindRareKind(benchmark::State& state) {
  GlobalEvents events;
  BuildStaffEvents(events, kCount);
  std::mt19937 rng(2);
  std::vector<int> times(4096);
  for (auto& t : times) t = static_cast<int>(rng() % (kCount * 8));
  const int kind = static_cast<int>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(events.Find(times[i++ & 4095], kind));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EventsFindRareKind)->Arg(evtClefChange)->Arg(evtKeyChange)->Arg(evtTempo);

void BM_EventsFindAfterEdit(benchmark::State& state) {
  // An edit in the middle, then a lookup: the cost of rebuilding the kind index.
  GlobalEvents events;
  BuildStaffEvents(events, kCount);
  for (auto _ : state) {
    auto e = events.Add(kCount * 4 + 3, evtText);
    benchmark::DoNotOptimize(events.Find(kCount * 6, evtClefChange));
    events.Remove(e->EventTime(), evtText);
  }
}
BENCHMARK(BM_EventsFindAfterEdit)->Unit(benchmark::kMicrosecond);

void BM_MeasureInfo(benchmark::State& state) {
  GlobalEvents events;
  for (int i = 0; i < 40; ++i)
    events.Add(i * 50 * 64, evtTimeChange, static_cast<std::uint8_t>(3 + i % 2), 16);
  int t = 0;
  for (auto _ : state) {
    int number = 0, duration = 0;
    events.MeasureInfo(t, number, duration);
    benchmark::DoNotOptimize(number);
    t = (t + 997) % (2000 * 64);
  }
}
BENCHMARK(BM_MeasureInfo);

}  // namespace

BENCHMARK_MAIN();
