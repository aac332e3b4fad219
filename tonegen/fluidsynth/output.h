#pragma once
// The software synthesizer as a MIDI output: the process's Engine with an audio driver
// started on it. Opening starts the driver, closing silences the synthesizer and stops the
// driver (freeing the sound device for other programs); the engine, its soundfont and its
// channel programs stay.
//
// Drivers are tried in the order of AudioDriverOrder (options.h). When none opens, the
// output still works without a driver, silently, and that is reported once until a driver
// opens again. Buffer sizes aim at about 10 ms from note to sound: see output.cpp.

#include <memory>
#include <string>

#include <fluidsynth.h>

#include "tonegen/midiout.h"

namespace tonegen::fluidsynth {

class Engine;

class Output : public MidiOut {
public:
  // Null and error set only when the engine cannot run (no usable soundfont).
  static OpenResult Open() noexcept;
  ~Output() override;

  Status Send(std::uint32_t message) noexcept override;
  Status Close() noexcept override;

  // The driver in use; empty when the output is silent.
  const std::string& DriverName() const { return m_driverName; }
  const std::shared_ptr<Engine>& GetEngine() const { return m_engine; }

private:
  struct DriverFree {
    void operator()(fluid_audio_driver_t* d) const { delete_fluid_audio_driver(d); }
  };

  Output() = default;

  std::shared_ptr<Engine> m_engine;
  std::unique_ptr<fluid_audio_driver_t, DriverFree> m_driver;
  std::string m_driverName;
};

}  // namespace tonegen::fluidsynth
