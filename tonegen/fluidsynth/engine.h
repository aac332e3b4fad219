#pragma once
// The process's one FluidSynth synthesizer and its General MIDI soundfont.
//
// Created, and the soundfont loaded, on the first open of the software synthesizer; kept
// until the process ends, because loading a large soundfont takes long (FluidR3_GM about
// 0.3 s, an .sf3 nearly 1 s) and the transport closes and reopens the output on every Stop.
// Opening only starts an audio driver on it (fluidsynth::Output). A soundfont setting that
// changed since the last open is loaded at the next open.
//
// The engine renders at 48 kHz (what PipeWire and most desktop sound servers run at, so
// there is no resampling) with FluidSynth's default gain of 0.2. That leaves a single piano
// note some 20 dB below full scale, but louder settings clip full scores: with TimGM6mb at
// gain 0.5 one five-note string chord already peaks above full scale (chorus and reverb
// included).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include <fluidsynth.h>

#include "tonegen/status.h"

namespace tonegen {
struct Internal;
}

namespace tonegen::fluidsynth {

class Engine {
public:
  static constexpr double kSampleRate = 48000.0;
  static constexpr double kGain = 0.2;  // at full PlaybackVolume

  // The engine with the current soundfont loaded; null, and error set, when there is no
  // usable soundfont or FluidSynth cannot start. A soundfont that fails to load while an
  // earlier one is loaded keeps the earlier one (reported once).
  static std::shared_ptr<Engine> Acquire(Status& error) noexcept;
  // The engine if it exists.
  static std::shared_ptr<Engine> Current() noexcept;
  // Whether the software synthesizer can be offered: the engine exists, or FluidSynth can
  // create its settings and a soundfont file is readable and looks like one (the font is
  // not loaded).
  static bool Available() noexcept;

  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  fluid_synth_t* Synth() const { return m_synth.get(); }
  fluid_settings_t* Settings() const { return m_settings.get(); }
  const std::string& SoundFont() const { return m_soundFont; }

  // Hands a packed short message to the synthesizer. FluidSynth refuses harmless cases
  // (a note off with no voice, a program without a preset); those are not errors.
  void Dispatch(std::uint32_t message) noexcept;
  // Renders left.size() frames offline (the spans must be equally long). Only while no
  // audio driver runs on the engine: tests, benchmarks, export.
  void Render(std::span<float> left, std::span<float> right) noexcept;
  // Cuts every voice and runs the reverb and chorus tails out offline, so that the next
  // audio driver does not start with the end of what sounded before. Only while no audio
  // driver runs; about 2.5 ms of work.
  void Silence() noexcept;

  // The device volume of PlaybackVolume (left in the low 16 bits, right in the high 16),
  // kept for the process and applied as the synthesizer's gain.
  static std::uint32_t Volume() noexcept;
  static void SetVolume(std::uint32_t volume) noexcept;

  // Soundfont loads attempted in this process.
  static int SoundFontLoads(Internal) noexcept;

private:
  struct SettingsFree {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
  };
  struct SynthFree {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
  };

  Engine() = default;
  void ApplyVolume() noexcept;

  // Declared before the synth, so that the synth is deleted first.
  std::unique_ptr<fluid_settings_t, SettingsFree> m_settings;
  std::unique_ptr<fluid_synth_t, SynthFree> m_synth;
  int m_fontId = -1;
  std::string m_soundFont;
};

}  // namespace tonegen::fluidsynth
