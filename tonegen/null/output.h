#pragma once
// An output that accepts every message and sounds nothing. It stands in where no real
// output can be had (the software synthesizer without a usable soundfont), so that the
// host's calls succeed and playback runs; it says once per process that it is silent.

#include <string>

#include "tonegen/midiout.h"

namespace tonegen::null {

class Output : public MidiOut {
public:
  // reason completes "MIDI output is silent: ..." in the log.
  explicit Output(const std::string& reason);

  Status Send(std::uint32_t) noexcept override { return Status::Ok(); }
  Status Close() noexcept override { return Status::Ok(); }
};

}  // namespace tonegen::null
