#pragma once
// The system's MIDI devices on Linux.
//
// Output -1 is the software synthesizer (FluidSynth with a General MIDI soundfont), listed
// when FluidSynth works and a soundfont file is readable; outputs 0 .. N-1 are the ALSA
// sequencer ports of other clients that accept writes, inputs 0 .. N-1 the ports that can
// be read. Where the sequencer cannot be opened (no /dev/snd/seq, as in containers) the
// port lists are empty.
//
// Ids are positions in the lists at the time of listing; each entry remembers its port's
// address, so an open goes to the port that was listed.

#include <functional>
#include <memory>

#include "tonegen/midisystem.h"

namespace tonegen {

namespace alsa {
class PortSource;
}

class SystemMidi : public MidiSystem {
public:
  static constexpr const char* kSynthCaption = "Software Synthesizer (GM)";

  SystemMidi();
  // Tests: ports from the given source, the synthesizer listed when synthPresent says so.
  SystemMidi(std::shared_ptr<alsa::PortSource> ports, std::function<bool()> synthPresent);
  ~SystemMidi() override;

  void ListOutputDevices(MIDIDevices& list) noexcept override;
  void ListInputDevices(MIDIDevices& list) noexcept override;
  OpenResult OpenOutput(int deviceId, const MIDIDevice* entry) noexcept override;
  std::uint32_t GetVolume(int deviceId) noexcept override;
  void SetVolume(int deviceId, std::uint32_t volume) noexcept override;

private:
  std::shared_ptr<alsa::PortSource> m_ports;
  std::function<bool()> m_synthPresent;
};

}  // namespace tonegen
