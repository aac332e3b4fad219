#pragma once
// Live MIDI output for a host: lists the MIDI devices, opens one output device and sounds
// single notes with a program, volume, pan and velocity per channel.
//
// The open output belongs to the process, not to the object: every SoundMaster shares it
// (ProcessOutput), so opening through one closes what another had open, and destroying any
// SoundMaster closes it. Each object keeps its own per-channel instrument, volume and pan
// values, current channel and default velocity; sending members update the stored value
// and send only while the output is open. Callers cut off sounding notes with CloseOutput
// followed by OpenOutput.
//
// Device lists are snapshots taken at construction. Output device -1 (OutputCaption
// "MIDI Mapper") is the software General MIDI synthesizer; 0 .. N-1 are the system's ports.
//
// Properties keep their established names: getter Name(), setter SetName(); `channel` is
// lower case. Values are stored as given; data sent to the device is clamped to 0..127 and
// a note outside 0..127 is not sent. Failures go to the error handler of report.h; nothing
// is thrown. Use from one thread.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tonegen {

class MIDIDevices;
class MidiSystem;

class SoundMaster {
public:
  // Lists the system's devices (software synthesizer and ALSA sequencer ports).
  SoundMaster() noexcept;
  // Lists and opens through the given system (tests; another platform).
  explicit SoundMaster(std::shared_ptr<MidiSystem> system) noexcept;
  // Closes the process's output.
  ~SoundMaster();
  SoundMaster(const SoundMaster&) = delete;
  SoundMaster& operator=(const SoundMaster&) = delete;

  // Channel of Instrument, Volume, Pan, StartNote and StopNote; values outside 0..15 are ignored.
  int channel() const noexcept { return m_channel; }
  void SetChannel(int value) noexcept;

  void CloseOutput() noexcept;
  // Closes any open output, opens OutputDevice (only when the output list is not empty)
  // and resets the stored state: instrument 0, volume 127, pan 64 on every channel,
  // channel 0, Velocity 64. The reset sends nothing.
  void OpenOutput() noexcept;
  // Cuts off whatever sounds (all notes off, then all sound off, on all 16 channels) and
  // resets the stored state as OpenOutput does, without closing the output: reopening a
  // synthesizer's audio driver or a sequencer port takes far too long to stop playback.
  void Silence() noexcept;

  // "MIDI Mapper" for a negative id, else the caption of that entry of the list ("" when
  // the list has no such entry).
  std::string InputCaption() const noexcept;
  std::string OutputCaption() const noexcept;
  // Setting keeps an id of the list, else stores -1. Inputs are listed, never opened.
  int InputDevice() const noexcept { return m_inputDevice; }
  void SetInputDevice(int deviceId) noexcept;
  // When the stored id changes, the open output is closed first.
  int OutputDevice() const noexcept { return m_outputDevice; }
  void SetOutputDevice(int deviceId) noexcept;
  std::shared_ptr<MIDIDevices> InputDevices() const noexcept { return m_inputDevices; }
  std::shared_ptr<MIDIDevices> OutputDevices() const noexcept { return m_outputDevices; }

  // Program of the current channel. Setting sends bank select 0 and the program change,
  // except on channel 9 (drums), where the value is only stored.
  int Instrument() const noexcept { return m_instrument[Ch()]; }
  void SetInstrument(int program) noexcept;
  // Controller 7 of the current channel.
  int Volume() const noexcept { return m_volume[Ch()]; }
  void SetVolume(int value) noexcept;
  // Controller 10 of the current channel.
  int Pan() const noexcept { return m_pan[Ch()]; }
  void SetPan(int value) noexcept;
  // Default note-on velocity (0 until the first OpenOutput, then 64). Sends nothing.
  int Velocity() const noexcept { return m_velocity; }
  void SetVelocity(int value) noexcept;

  // Note on. A negative Velocity (the default) uses the stored Velocity; 0 is sent as 0.
  void StartNote(int Value, int Velocity = -1) noexcept;
  // Note off, sent as a note on with velocity 0.
  void StopNote(int Value) noexcept;

  // The output device's own volume (by OutputDevice id, open or not): left channel in the
  // low 16 bits, right in the high 16 bits; 0 when the device has none. Setting fails silently.
  std::uint32_t PlaybackVolume() const noexcept;
  void SetPlaybackVolume(std::uint32_t value) noexcept;

private:
  int Ch() const noexcept { return m_channel; }
  void ResetState() noexcept;
  void Send(int status, int data1, int data2) noexcept;

  std::shared_ptr<MidiSystem> m_system;
  std::shared_ptr<MIDIDevices> m_inputDevices;
  std::shared_ptr<MIDIDevices> m_outputDevices;
  int m_channel = 0;
  std::array<int, 16> m_instrument{};
  std::array<int, 16> m_volume{};
  std::array<int, 16> m_pan{};
  int m_velocity = 0;
  int m_outputDevice = -1;
  int m_inputDevice = 0;
};

}  // namespace tonegen
