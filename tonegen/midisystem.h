#pragma once
// The system's MIDI devices as SoundMaster sees them: it lists the output and input
// devices and opens an output by device id. SystemMidi is the real one (software
// synthesizer + ALSA sequencer ports); tests put a recording one in its place.

#include <cstdint>

#include "tonegen/midiout.h"

namespace tonegen {

class MIDIDevice;
class MIDIDevices;

class MidiSystem {
public:
  virtual ~MidiSystem() = default;
  MidiSystem() = default;
  MidiSystem(const MidiSystem&) = delete;
  MidiSystem& operator=(const MidiSystem&) = delete;

  // Fill the list afresh: outputs with the software synthesizer (-1) first when it is
  // available, then devices 0 .. N-1; inputs 0 .. N-1. A device that cannot be queried is
  // left out.
  virtual void ListOutputDevices(MIDIDevices& list) noexcept = 0;
  virtual void ListInputDevices(MIDIDevices& list) noexcept = 0;
  // Opens output deviceId; entry is that id's entry of the caller's output list, or null
  // when the list has none.
  virtual OpenResult OpenOutput(int deviceId, const MIDIDevice* entry) noexcept = 0;
  // Volume of an output device by id, the left channel in the low 16 bits and the right in
  // the high 16 bits; 0 when the device has no volume. Setting fails silently.
  virtual std::uint32_t GetVolume(int deviceId) noexcept = 0;
  virtual void SetVolume(int deviceId, std::uint32_t volume) noexcept = 0;
};

}  // namespace tonegen
