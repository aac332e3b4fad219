#include "tonegen/soundmaster.h"

#include "tonegen/mididevices.h"
#include "tonegen/midisystem.h"
#include "tonegen/processoutput.h"
#include "tonegen/shortmessage.h"
#include "tonegen/systemmidi.h"

namespace tonegen {

namespace {

constexpr int kDrumChannel = 9;  // MIDI channel 10: percussion, no programs
constexpr const char* kMapperCaption = "MIDI Mapper";

bool IsMidiData(int value) { return value >= 0 && value <= 127; }

}  // namespace

SoundMaster::SoundMaster() noexcept : SoundMaster(nullptr) {}

SoundMaster::SoundMaster(std::shared_ptr<MidiSystem> system) noexcept {
  try {
    m_system = system ? std::move(system) : std::make_shared<SystemMidi>();
    m_inputDevices = std::make_shared<MIDIDevices>();
    m_outputDevices = std::make_shared<MIDIDevices>();
    m_system->ListInputDevices(*m_inputDevices);
    m_system->ListOutputDevices(*m_outputDevices);
  } catch (...) {
    // Out of memory while listing: carry on with whatever lists exist; without a system
    // nothing will be opened.
  }
  m_inputDevice = 0;
  m_outputDevice = -1;
  m_volume.fill(127);
  m_pan.fill(64);
}

SoundMaster::~SoundMaster() { CloseOutput(); }

void SoundMaster::SetChannel(int value) noexcept {
  if (value >= 0 && value <= 15) m_channel = value;
}

void SoundMaster::CloseOutput() noexcept { ProcessOutput::Instance().Close(); }

void SoundMaster::OpenOutput() noexcept {
  if (m_system && m_outputDevices && m_outputDevices->Count() > 0) {
    auto entry = m_outputDevices->Item(m_outputDevice);
    ProcessOutput::Instance().Open(*m_system, m_outputDevice, entry.get());
  }
  ResetState();
}

void SoundMaster::Silence() noexcept {
  auto& output = ProcessOutput::Instance();
  if (output.IsOpen()) {
    for (int channel = 0; channel < 16; ++channel) {
      output.Send(ShortMessage::Make(kControlChange + channel, kCtlAllNotesOff, 0).Packed());
      output.Send(ShortMessage::Make(kControlChange + channel, kCtlAllSoundOff, 0).Packed());
    }
  }
  ResetState();
}

void SoundMaster::ResetState() noexcept {
  m_instrument.fill(0);
  m_volume.fill(127);
  m_pan.fill(64);
  m_channel = 0;
  m_velocity = 64;
}

std::string SoundMaster::InputCaption() const noexcept {
  try {
    if (m_inputDevice < 0) return kMapperCaption;
    auto entry = m_inputDevices ? m_inputDevices->Item(m_inputDevice) : nullptr;
    return entry ? entry->Caption() : std::string();
  } catch (...) {
    return {};
  }
}

std::string SoundMaster::OutputCaption() const noexcept {
  try {
    if (m_outputDevice < 0) return kMapperCaption;
    auto entry = m_outputDevices ? m_outputDevices->Item(m_outputDevice) : nullptr;
    return entry ? entry->Caption() : std::string();
  } catch (...) {
    return {};
  }
}

void SoundMaster::SetInputDevice(int deviceId) noexcept {
  m_inputDevice = (m_inputDevices && m_inputDevices->Item(deviceId)) ? deviceId : -1;
}

void SoundMaster::SetOutputDevice(int deviceId) noexcept {
  int stored = (m_outputDevices && m_outputDevices->Item(deviceId)) ? deviceId : -1;
  if (stored != m_outputDevice) CloseOutput();
  m_outputDevice = stored;
}

void SoundMaster::Send(int status, int data1, int data2) noexcept {
  auto& output = ProcessOutput::Instance();
  if (!output.IsOpen()) return;
  output.Send(ShortMessage::Make(status + m_channel, data1, data2).Packed());
}

void SoundMaster::SetInstrument(int program) noexcept {
  m_instrument[Ch()] = program;
  if (m_channel == kDrumChannel) return;
  Send(kControlChange, kCtlBankSelect, 0);
  Send(kProgramChange, program, 0);
}

void SoundMaster::SetVolume(int value) noexcept {
  m_volume[Ch()] = value;
  Send(kControlChange, kCtlVolume, value);
}

void SoundMaster::SetPan(int value) noexcept {
  m_pan[Ch()] = value;
  Send(kControlChange, kCtlPan, value);
}

void SoundMaster::SetVelocity(int value) noexcept { m_velocity = value; }

void SoundMaster::StartNote(int Value, int Velocity) noexcept {
  // A pitch outside 0..127 is no MIDI note; clamping it would sound a wrong one.
  if (!IsMidiData(Value)) return;
  Send(kNoteOn, Value, Velocity < 0 ? m_velocity : Velocity);
}

void SoundMaster::StopNote(int Value) noexcept {
  if (!IsMidiData(Value)) return;
  Send(kNoteOn, Value, 0);
}

std::uint32_t SoundMaster::PlaybackVolume() const noexcept {
  return m_system ? m_system->GetVolume(m_outputDevice) : 0;
}

void SoundMaster::SetPlaybackVolume(std::uint32_t value) noexcept {
  if (m_system) m_system->SetVolume(m_outputDevice, value);
}

}  // namespace tonegen
