// What a live note costs in the software synthesizer, measured offline (audio driver
// "none", TimGM6mb unless TONEGEN_SOUNDFONT names another font):
//  - BM_RenderPeriod: rendering one audio period with N voices sounding. The driver's
//    period must render in well under its own duration; "load_pct" is the share used
//    (period 480 frames = 10 ms is the PulseAudio/PipeWire setting, 128 the ALSA one).
//  - BM_NoteOnOff: one StartNote + StopNote through SoundMaster into the synthesizer.
//  - BM_StopReopen: CloseOutput + OpenOutput, what the transport does on every Stop
//    (includes draining the effects tail, and no soundfont reload).
//  - BM_NoteOnset: frames from note-on to the first sample above -60 dBFS, reported as
//    counters in ms (the soundfont's attack plus FluidSynth's 64-frame block).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tonegen/fluidsynth/engine.h"
#include "tonegen/soundmaster.h"

namespace {

using tonegen::SoundMaster;
using tonegen::fluidsynth::Engine;

// One process-wide SoundMaster on the synthesizer with no audio driver.
SoundMaster& Master() {
  static SoundMaster* sm = [] {
    ::setenv("TONEGEN_AUDIO_DRIVER", "none", 1);
    if (!std::getenv("TONEGEN_SOUNDFONT")) ::setenv("TONEGEN_SOUNDFONT", "/usr/share/sounds/sf2/TimGM6mb.sf2", 1);
    auto* m = new SoundMaster;
    m->OpenOutput();
    return m;
  }();
  return *sm;
}

void RenderFrames(int frames) {
  std::vector<float> l(static_cast<std::size_t>(frames));
  std::vector<float> r(static_cast<std::size_t>(frames));
  Engine::Current()->Render(l, r);
}

void BM_RenderPeriod(benchmark::State& state) {
  SoundMaster& sm = Master();
  const int frames = static_cast<int>(state.range(0));
  const int voices = static_cast<int>(state.range(1));
  sm.CloseOutput();
  sm.OpenOutput();
  sm.SetInstrument(48);  // strings hold while the key is down
  for (int v = 0; v < voices; ++v) sm.StartNote(36 + v % 60, 90);
  std::vector<float> l(static_cast<std::size_t>(frames));
  std::vector<float> r(static_cast<std::size_t>(frames));
  auto engine = Engine::Current();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    engine->Render(l, r);
    benchmark::DoNotOptimize(l.data());
  }
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
  const double rendered = static_cast<double>(state.iterations()) * frames / Engine::kSampleRate;
  // Rendering time over the audio time rendered, in percent: 100 would just keep up.
  state.counters["load_pct"] = 100.0 * spent.count() / rendered;
  state.counters["active_voices"] = fluid_synth_get_active_voice_count(engine->Synth());
  for (int v = 0; v < voices; ++v) sm.StopNote(36 + v % 60);
}
BENCHMARK(BM_RenderPeriod)->ArgsProduct({{64, 128, 480}, {1, 16, 64}})->Unit(benchmark::kMicrosecond);

void BM_NoteOnOff(benchmark::State& state) {
  SoundMaster& sm = Master();
  sm.SetInstrument(0);
  int n = 0;
  for (auto _ : state) {
    sm.StartNote(60, 100);
    sm.StopNote(60);
    if (++n % 64 == 0) RenderFrames(64);  // let the synthesizer take the queued events
  }
}
BENCHMARK(BM_NoteOnOff);

void BM_StopReopen(benchmark::State& state) {
  SoundMaster& sm = Master();
  for (auto _ : state) {
    sm.CloseOutput();
    sm.OpenOutput();
  }
}
BENCHMARK(BM_StopReopen)->Unit(benchmark::kMillisecond);

// Frames until the output first exceeds -60 dBFS after a note-on.
double OnsetMs(SoundMaster& sm, int channel, int program, int note) {
  sm.CloseOutput();  // silent start: voices cut, effects drained
  sm.OpenOutput();
  sm.SetChannel(channel);
  sm.SetInstrument(program);
  sm.StartNote(note, 100);
  constexpr int kBlock = 64;
  std::vector<float> l(kBlock);
  std::vector<float> r(kBlock);
  for (int frame = 0; frame < static_cast<int>(Engine::kSampleRate); frame += kBlock) {
    Engine::Current()->Render(l, r);
    for (int i = 0; i < kBlock; ++i) {
      if (std::fabs(l[static_cast<std::size_t>(i)]) > 1e-3f || std::fabs(r[static_cast<std::size_t>(i)]) > 1e-3f) {
        sm.StopNote(note);
        return (frame + i) * 1000.0 / Engine::kSampleRate;
      }
    }
  }
  sm.StopNote(note);
  return -1;
}

void BM_NoteOnset(benchmark::State& state) {
  SoundMaster& sm = Master();
  double piano = 0;
  double strings = 0;
  double snare = 0;
  for (auto _ : state) {
    piano = OnsetMs(sm, 0, 0, 60);
    strings = OnsetMs(sm, 0, 48, 60);
    snare = OnsetMs(sm, 9, 0, 38);
  }
  state.counters["piano_ms"] = piano;
  state.counters["strings_ms"] = strings;
  state.counters["snare_ms"] = snare;
}
BENCHMARK(BM_NoteOnset)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
