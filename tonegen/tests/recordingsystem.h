#pragma once
// Test doubles: a MidiSystem with fixed device lists whose outputs record every packed
// message, and an RAII capture of the library's error reports.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tonegen/internal.h"
#include "tonegen/mididevices.h"
#include "tonegen/midisystem.h"
#include "tonegen/processoutput.h"
#include "tonegen/report.h"

namespace tonegen::test {

// What the outputs of one RecordingSystem did, and how they should fail.
struct Recorder {
  std::vector<std::uint32_t> Sent;
  std::vector<int> Opened;  // device id of each successful open
  int Closes = 0;
  bool FailOpen = false;
  bool FailSend = false;
  bool FailClose = false;
  std::uint32_t Volume = 0;
  int VolumeDevice = -99;
};

class RecordingOut : public MidiOut {
public:
  explicit RecordingOut(std::shared_ptr<Recorder> r) : m_r(std::move(r)) {}
  Status Send(std::uint32_t message) noexcept override {
    if (m_r->FailSend) return Status::Error("write failed");
    m_r->Sent.push_back(message);
    return Status::Ok();
  }
  Status Close() noexcept override {
    ++m_r->Closes;
    return m_r->FailClose ? Status::Error("close failed") : Status::Ok();
  }

private:
  std::shared_ptr<Recorder> m_r;
};

class RecordingSystem : public MidiSystem {
public:
  using Devices = std::vector<std::pair<int, std::string>>;
  RecordingSystem(Devices outputs, Devices inputs, std::shared_ptr<Recorder> r = std::make_shared<Recorder>())
      : m_outputs(std::move(outputs)), m_inputs(std::move(inputs)), m_r(std::move(r)) {}

  void ListOutputDevices(MIDIDevices& list) noexcept override { Fill(list, m_outputs); }
  void ListInputDevices(MIDIDevices& list) noexcept override { Fill(list, m_inputs); }
  OpenResult OpenOutput(int deviceId, const MIDIDevice*) noexcept override {
    if (m_r->FailOpen) return {nullptr, Status::Error("device " + std::to_string(deviceId) + " is busy")};
    m_r->Opened.push_back(deviceId);
    return {std::make_unique<RecordingOut>(m_r), Status::Ok()};
  }
  std::uint32_t GetVolume(int deviceId) noexcept override {
    m_r->VolumeDevice = deviceId;
    return m_r->Volume;
  }
  void SetVolume(int deviceId, std::uint32_t volume) noexcept override {
    m_r->VolumeDevice = deviceId;
    m_r->Volume = volume;
  }

  Recorder& Log() { return *m_r; }

private:
  static void Fill(MIDIDevices& list, const Devices& devices) {
    list.ClearDevices(Internal{});
    for (const auto& [id, caption] : devices) list.AddDevice(Internal{}, id, caption);
  }
  Devices m_outputs;
  Devices m_inputs;
  std::shared_ptr<Recorder> m_r;
};

// Sets an environment variable (or unsets it, for a null value) while alive.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (m_old) {
      ::setenv(m_name.c_str(), m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  std::string m_name;
  std::optional<std::string> m_old;
};

// Collects error reports while alive; starts and ends with the process output closed and
// the once-only reports forgotten, so that tests do not see each other's state.
class ErrorCapture {
public:
  ErrorCapture() {
    ProcessOutput::Instance().Close();
    ProcessOutput::Instance().ForgetFailures(Internal{});
    ResetReported(Internal{});
    m_previous = SetErrorHandler([this](const std::string& title, const std::string& text) {
      Titles.push_back(title);
      Texts.push_back(text);
    });
  }
  ~ErrorCapture() {
    ProcessOutput::Instance().Close();
    ProcessOutput::Instance().ForgetFailures(Internal{});
    SetErrorHandler(m_previous);
    ResetReported(Internal{});
  }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  std::vector<std::string> Titles;
  std::vector<std::string> Texts;

private:
  ErrorHandler m_previous;
};

}  // namespace tonegen::test
