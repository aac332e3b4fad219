#pragma once
// MIDI output to another client's ALSA sequencer port (a hardware synth, a running
// FluidSynth or TiMidity, a DAW): our own client with one readable port, subscribed to the
// target, sending each message directly (unqueued).

#include <string>

#include "tonegen/alsa/sequencer.h"
#include "tonegen/midiout.h"

namespace tonegen::alsa {

class Output : public MidiOut {
public:
  // address is "client:port"; caption names the device in messages.
  static OpenResult Open(const std::string& address, const std::string& caption, const std::string& clientName) noexcept;
  ~Output() override;

  Status Send(std::uint32_t message) noexcept override;
  // Sends all-notes-off and all-sound-off on every channel, unsubscribes and closes.
  Status Close() noexcept override;

private:
  Output() = default;

  Sequencer m_seq;
  int m_port = -1;
  int m_destClient = -1;
  int m_destPort = -1;
  std::string m_caption;
};

}  // namespace tonegen::alsa
