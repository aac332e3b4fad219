#include "tonegen/fluidsynth/output.h"

#include <utility>

#include "tonegen/alsa/messages.h"
#include "tonegen/fluidsynth/engine.h"
#include "tonegen/options.h"
#include "tonegen/report.h"

namespace tonegen::fluidsynth {

namespace {

constexpr const char* kNoAudioKey = "fluidsynth-no-audio";

// Buffer settings per driver, at 48 kHz. A note reaches the ear after at most one
// synthesis block (64 frames, 1.3 ms) plus the driver's buffer:
//  - pulseaudio (and PipeWire through it): the stream's target length is one period and the
//    server adjusts its own latency to it, so 480 frames = 10 ms.
//  - alsa and the rest: 4 periods of 128 frames = 512 frames = 10.7 ms.
//  - jack: the server's own period; file: pacing only, so larger periods.
void ApplyDriverSettings(fluid_settings_t* s, const AudioDriverChoice& choice) {
  fluid_settings_setstr(s, "audio.driver", choice.Driver.c_str());
  if (choice.Driver == "pulseaudio") {
    fluid_settings_setint(s, "audio.period-size", 480);
    fluid_settings_setint(s, "audio.periods", 2);
    fluid_settings_setint(s, "audio.pulseaudio.adjust-latency", 1);
    fluid_settings_setstr(s, "audio.pulseaudio.media-role", "music");
  } else if (choice.Driver == "file") {
    fluid_settings_setint(s, "audio.period-size", 1024);
    fluid_settings_setint(s, "audio.periods", 2);
    fluid_settings_setstr(s, "audio.file.name", choice.FileName.c_str());
    // The null device has no extension to pick a type from; raw samples need no header.
    fluid_settings_setstr(s, "audio.file.type", choice.FileName == "/dev/null" ? "raw" : "auto");
  } else {
    fluid_settings_setint(s, "audio.period-size", 128);
    fluid_settings_setint(s, "audio.periods", 4);
  }
}

}  // namespace

OpenResult Output::Open() noexcept {
  OpenResult result;
  try {
    Status error;
    std::shared_ptr<Engine> engine = Engine::Acquire(error);
    if (!engine) {
      result.Error = error;
      return result;
    }
    std::unique_ptr<Output> out(new Output);
    out->m_engine = engine;

    auto order = AudioDriverOrder();
    std::string tried;
    for (const auto& choice : order) {
      if (choice.Driver == "none") {
        static bool said = false;  // user-interface thread only
        if (!std::exchange(said, true)) {
          Log(LogLevel::Info, "audio driver \"none\": the software synthesizer runs but is not heard");
        }
        ClearReported(kNoAudioKey);
        break;
      }
      alsa::RouteLibraryMessages();  // FluidSynth's ALSA driver prints through libasound
      ApplyDriverSettings(engine->Settings(), choice);
      fluid_audio_driver_t* driver = new_fluid_audio_driver(engine->Settings(), engine->Synth());
      if (driver) {
        out->m_driver.reset(driver);
        out->m_driverName = choice.Driver;
        ClearReported(kNoAudioKey);
        Log(LogLevel::Info, "audio driver: " + choice.Driver);
        break;
      }
      tried += (tried.empty() ? "" : ", ") + choice.Driver;
    }
    if (!tried.empty() && !out->m_driver) {
      if (ReportOnce(kNoAudioKey, "No audio output could be opened (tried " + tried +
                                      "), so notes are not heard. Check that a sound server "
                                      "(PipeWire or PulseAudio) is running or that a sound card is present.")) {
        Log(LogLevel::Warning, "the software synthesizer is silent: no audio driver opened (tried " + tried + ")");
      }
    }
    result.Output = std::move(out);
  } catch (...) {
    result.Output.reset();
    result.Error = Status::Error("The software synthesizer could not be opened: out of memory.");
  }
  return result;
}

Output::~Output() { (void)Close(); }

Status Output::Send(std::uint32_t message) noexcept {
  if (m_engine) m_engine->Dispatch(message);
  return Status::Ok();
}

Status Output::Close() noexcept {
  if (!m_engine) return Status::Ok();
  // Stop the driver (it joins its audio thread and releases the device), then cut the
  // voices and drain the effects, so that the next open starts in silence.
  m_driver.reset();
  m_driverName.clear();
  m_engine->Silence();
  m_engine.reset();
  return Status::Ok();
}

}  // namespace tonegen::fluidsynth
