#pragma once
// One open MIDI output: what every back end (software synthesizer, ALSA sequencer port,
// null) implements. The process keeps at most one (ProcessOutput).

#include <cstdint>
#include <memory>

#include "tonegen/status.h"

namespace tonegen {

class MidiOut {
public:
  virtual ~MidiOut() = default;
  MidiOut() = default;
  MidiOut(const MidiOut&) = delete;
  MidiOut& operator=(const MidiOut&) = delete;

  // Sends one short message, packed as status + data1 x 256 + data2 x 65536. Messages the
  // device ignores harmlessly (a note off with nothing sounding) are not failures; an error
  // means the device could not be written.
  virtual Status Send(std::uint32_t message) noexcept = 0;
  // Silences what still sounds and releases the device. Called at most once; the output is
  // destroyed right after.
  virtual Status Close() noexcept = 0;
};

// Result of opening an output: the output, or null and the reason.
struct OpenResult {
  std::unique_ptr<MidiOut> Output;
  Status Error;
};

}  // namespace tonegen
