#include "tonegen/systemmidi.h"

#include "tonegen/alsa/output.h"
#include "tonegen/alsa/portlist.h"
#include "tonegen/alsa/seqportsource.h"
#include "tonegen/fluidsynth/engine.h"
#include "tonegen/fluidsynth/output.h"
#include "tonegen/internal.h"
#include "tonegen/mididevices.h"
#include "tonegen/null/output.h"
#include "tonegen/options.h"
#include "tonegen/report.h"

namespace tonegen {

namespace {

constexpr const char* kNoSynthKey = "fluidsynth-no-synth";

alsa::PortLists QueryPorts(alsa::PortSource& source) {
  alsa::PortSnapshot snapshot = source.Query();
  if (!snapshot.Available) {
    Log(LogLevel::Debug, "no MIDI ports: " + snapshot.Error);
    return {};
  }
  return alsa::BuildPortLists(std::move(snapshot.Ports), snapshot.OwnClient);
}

void AddPorts(MIDIDevices& list, const std::vector<alsa::PortEntry>& ports) {
  int id = 0;
  for (const auto& port : ports) {
    list.AddDevice(Internal{}, id++, port.Caption)->SetAddress(Internal{}, port.Address);
  }
}

}  // namespace

SystemMidi::SystemMidi()
    : SystemMidi(std::make_shared<alsa::SeqPortSource>(), [] { return fluidsynth::Engine::Available(); }) {}

SystemMidi::SystemMidi(std::shared_ptr<alsa::PortSource> ports, std::function<bool()> synthPresent)
    : m_ports(std::move(ports)), m_synthPresent(std::move(synthPresent)) {}

SystemMidi::~SystemMidi() = default;

void SystemMidi::ListOutputDevices(MIDIDevices& list) noexcept {
  try {
    list.ClearDevices(Internal{});
    if (m_synthPresent && m_synthPresent()) list.AddDevice(Internal{}, -1, kSynthCaption);
    if (m_ports) AddPorts(list, QueryPorts(*m_ports).Outputs);
  } catch (...) {
    // A device that cannot be listed is left out; so is the rest after an allocation failure.
  }
}

void SystemMidi::ListInputDevices(MIDIDevices& list) noexcept {
  try {
    list.ClearDevices(Internal{});
    if (m_ports) AddPorts(list, QueryPorts(*m_ports).Inputs);
  } catch (...) {
  }
}

OpenResult SystemMidi::OpenOutput(int deviceId, const MIDIDevice* entry) noexcept {
  try {
    if (deviceId < 0) {
      OpenResult synth = fluidsynth::Output::Open();
      if (synth.Output) {
        ClearReported(kNoSynthKey);
        return synth;
      }
      // Without a soundfont the synthesizer cannot sound, but the host's playback should
      // run on: a silent output, reported once rather than on every reopen.
      ReportOnce(kNoSynthKey, synth.Error.Message());
      return {std::make_unique<null::Output>(synth.Error.Message()), Status::Ok()};
    }
    if (!entry) {
      return {nullptr, Status::Error("The MIDI output device " + std::to_string(deviceId) + " is not present.")};
    }
    return alsa::Output::Open(entry->Address(Internal{}), entry->Caption(), CurrentOptions().ClientName);
  } catch (...) {
    return {nullptr, Status::Error("The MIDI output device could not be opened: out of memory.")};
  }
}

std::uint32_t SystemMidi::GetVolume(int deviceId) noexcept {
  // Sequencer ports have no volume of their own.
  return deviceId < 0 ? fluidsynth::Engine::Volume() : 0;
}

void SystemMidi::SetVolume(int deviceId, std::uint32_t volume) noexcept {
  if (deviceId < 0) fluidsynth::Engine::SetVolume(volume);
}

}  // namespace tonegen
