#include "tonegen/fluidsynth/engine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

#include "tonegen/internal.h"
#include "tonegen/options.h"
#include "tonegen/report.h"
#include "tonegen/shortmessage.h"

namespace tonegen::fluidsynth {

namespace {

std::shared_ptr<Engine> s_engine;  // user-interface thread only
std::atomic<int> s_loads{0};
std::atomic<std::uint32_t> s_volume{0xFFFFFFFFu};

// FluidSynth's own messages go to the library log. Its errors are expected on machines
// without sound ("Failed to create PulseAudio connection"); the library reports the
// outcome itself, so they are kept below Warning.
void LogFromFluid(int level, const char* message, void*) {
  LogLevel ours = (level == FLUID_PANIC || level == FLUID_ERR) ? LogLevel::Info : LogLevel::Debug;
  Log(ours, std::string("fluidsynth: ") + (message ? message : ""));
}

void RouteFluidMessages() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
      fluid_set_log_function(level, &LogFromFluid, nullptr);
    }
  });
}

// Reads only the file's header (RIFF ... sfbk), never loads it.
bool LooksLikeSoundFont(const std::string& path) { return fluid_is_soundfont(path.c_str()) != 0; }

std::string NoSoundFontText() {
  return "No General MIDI soundfont was found, so the software synthesizer is silent. Install "
         "fluid-soundfont-gm (or timgm6mb-soundfont), or choose a soundfont file in the options.";
}

}  // namespace

Engine::~Engine() = default;

std::shared_ptr<Engine> Engine::Current() noexcept { return s_engine; }

bool Engine::Available() noexcept {
  try {
    if (s_engine) return true;
    // FluidSynth usable at all: creating settings registers every driver's options.
    static const bool fluidOk = [] {
      RouteFluidMessages();
      fluid_settings_t* s = new_fluid_settings();
      if (!s) return false;
      delete_fluid_settings(s);
      return true;
    }();
    if (!fluidOk) return false;
    return !ResolveSoundFont(LooksLikeSoundFont).Path.empty();
  } catch (...) {
    return false;
  }
}

std::shared_ptr<Engine> Engine::Acquire(Status& error) noexcept {
  try {
    RouteFluidMessages();
    if (!s_engine) {
      std::shared_ptr<Engine> engine(new Engine);
      engine->m_settings.reset(new_fluid_settings());
      if (!engine->m_settings) {
        error = Status::Error("The software synthesizer could not be started (FluidSynth settings).");
        return nullptr;
      }
      fluid_settings_setnum(engine->Settings(), "synth.sample-rate", kSampleRate);
      fluid_settings_setnum(engine->Settings(), "synth.gain", kGain);
      engine->m_synth.reset(new_fluid_synth(engine->Settings()));
      if (!engine->m_synth) {
        error = Status::Error("The software synthesizer could not be started (FluidSynth synth).");
        return nullptr;
      }
      s_engine = std::move(engine);
      s_engine->ApplyVolume();
    }

    Engine& e = *s_engine;
    SoundFontChoice font = ResolveSoundFont(LooksLikeSoundFont);
    if (!font.Skipped.empty()) {
      ReportOnce("soundfont-skipped:" + font.Skipped,
                 "The file " + font.Skipped + " cannot be read as a soundfont" +
                     (font.Path.empty() ? std::string(".") : "; using " + font.Path + " instead."));
    }
    if (font.Path.empty()) {
      if (e.m_fontId >= 0) return s_engine;  // keep what was loaded
      error = Status::Error(NoSoundFontText());
      return nullptr;
    }
    if (font.Path == e.m_soundFont && e.m_fontId >= 0) return s_engine;

    ++s_loads;
    int id = fluid_synth_sfload(e.Synth(), font.Path.c_str(), 1);
    if (id == FLUID_FAILED) {
      std::string text = "The soundfont " + font.Path + " could not be loaded";
      if (e.m_fontId >= 0) {
        ReportOnce("soundfont-load:" + font.Path, text + "; keeping " + e.m_soundFont + ".");
        return s_engine;
      }
      error = Status::Error(text + ", so the software synthesizer is silent.");
      return nullptr;
    }
    if (e.m_fontId >= 0) fluid_synth_sfunload(e.Synth(), e.m_fontId, 1);
    e.m_fontId = id;
    e.m_soundFont = font.Path;
    Log(LogLevel::Info, "soundfont loaded: " + font.Path);
    return s_engine;
  } catch (...) {
    error = Status::Error("The software synthesizer could not be started: out of memory.");
    return nullptr;
  }
}

void Engine::Dispatch(std::uint32_t message) noexcept {
  fluid_synth_t* synth = Synth();
  const ShortMessage m = ShortMessage::Unpack(message);
  const int ch = m.Channel();
  // Return values are ignored on purpose: FLUID_FAILED here means "nothing to do".
  switch (m.Kind()) {
    case kNoteOff: (void)fluid_synth_noteoff(synth, ch, m.Data1); break;
    case kNoteOn: (void)fluid_synth_noteon(synth, ch, m.Data1, m.Data2); break;  // 0 = note off
    case kKeyPressure: (void)fluid_synth_key_pressure(synth, ch, m.Data1, m.Data2); break;
    case kControlChange: (void)fluid_synth_cc(synth, ch, m.Data1, m.Data2); break;
    case kProgramChange: (void)fluid_synth_program_change(synth, ch, m.Data1); break;
    case kChannelPressure: (void)fluid_synth_channel_pressure(synth, ch, m.Data1); break;
    case kPitchBend: (void)fluid_synth_pitch_bend(synth, ch, m.Data1 | (m.Data2 << 7)); break;
    default: break;  // system messages
  }
}

void Engine::Render(std::span<float> left, std::span<float> right) noexcept {
  const auto frames = static_cast<int>(std::min(left.size(), right.size()));
  if (frames > 0) (void)fluid_synth_write_float(Synth(), frames, left.data(), 0, 1, right.data(), 0, 1);
}

void Engine::Silence() noexcept {
  (void)fluid_synth_all_sounds_off(Synth(), -1);
  // The effects ring for about a second after the last voice (-100 dB after 1.25 s with
  // FluidSynth's default reverb and chorus).
  constexpr int kTailFrames = static_cast<int>(kSampleRate * 1.5);
  constexpr int kBlock = 1024;
  std::array<float, kBlock> left;
  std::array<float, kBlock> right;
  for (int done = 0; done < kTailFrames; done += kBlock) {
    (void)fluid_synth_write_float(Synth(), kBlock, left.data(), 0, 1, right.data(), 0, 1);
  }
}

std::uint32_t Engine::Volume() noexcept { return s_volume.load(); }

void Engine::SetVolume(std::uint32_t volume) noexcept {
  s_volume.store(volume);
  if (s_engine) s_engine->ApplyVolume();
}

void Engine::ApplyVolume() noexcept {
  const std::uint32_t v = s_volume.load();
  const double left = static_cast<double>(v & 0xFFFFu);
  const double right = static_cast<double>(v >> 16);
  // The synthesizer has one gain: the two channels' mean, full scale at kGain.
  fluid_synth_set_gain(Synth(), static_cast<float>(kGain * (left + right) / 2.0 / 65535.0));
}

int Engine::SoundFontLoads(Internal) noexcept { return s_loads.load(); }

}  // namespace tonegen::fluidsynth
