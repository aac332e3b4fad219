#pragma once
// A MIDI system whose one output records every message with the time a playback clock
// shows when it arrives: the sound backend of the scheduler's tests and of the playback
// timing benchmark.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "notecraft/player/playbackclock.h"
#include "tonegen/internal.h"
#include "tonegen/mididevices.h"
#include "tonegen/midisystem.h"

namespace notecraft::testing {

struct TimedMessage {
  PlaybackClock::Duration Time;
  std::uint32_t Message = 0;

  int Status() const { return static_cast<int>(Message & 0xFF); }
  int Data1() const { return static_cast<int>((Message >> 8) & 0x7F); }
  int Data2() const { return static_cast<int>((Message >> 16) & 0x7F); }
  bool NoteOn() const { return (Status() & 0xF0) == 0x90 && Data2() > 0; }
  // The sound library stops a note with a note-on of velocity 0.
  bool NoteOff() const {
    return (Status() & 0xF0) == 0x80 || ((Status() & 0xF0) == 0x90 && Data2() == 0);
  }
  double Ms() const { return static_cast<double>(Time.count()) / 1e6; }
};

class TimedRecordingSystem final : public tonegen::MidiSystem {
public:
  explicit TimedRecordingSystem(const PlaybackClock& clock) : m_clock(clock) {}

  std::vector<TimedMessage> Sent;

  void ListOutputDevices(tonegen::MIDIDevices& list) noexcept override {
    list.ClearDevices(tonegen::Internal{});
    list.AddDevice(tonegen::Internal{}, -1, "Recording synthesizer");
  }
  void ListInputDevices(tonegen::MIDIDevices& list) noexcept override {
    list.ClearDevices(tonegen::Internal{});
  }
  tonegen::OpenResult OpenOutput(int, const tonegen::MIDIDevice*) noexcept override {
    return {std::make_unique<Out>(*this), tonegen::Status::Ok()};
  }
  std::uint32_t GetVolume(int) noexcept override { return 0; }
  void SetVolume(int, std::uint32_t) noexcept override {}

private:
  class Out final : public tonegen::MidiOut {
  public:
    explicit Out(TimedRecordingSystem& system) : m_system(system) {}
    tonegen::Status Send(std::uint32_t message) noexcept override {
      m_system.Sent.push_back({m_system.m_clock.Now(), message});
      return tonegen::Status::Ok();
    }
    tonegen::Status Close() noexcept override { return tonegen::Status::Ok(); }

  private:
    TimedRecordingSystem& m_system;
  };

  const PlaybackClock& m_clock;
};

}  // namespace notecraft::testing
