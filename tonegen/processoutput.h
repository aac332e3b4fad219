#pragma once
// The one open MIDI output of the process, shared by every SoundMaster: opening through
// any of them closes what another opened, and closing through any closes it for all.
// Used from the user-interface thread only.
//
// Failures go to the error handler (report.h), but never as a stream: a failed write is
// reported once per open (playback would otherwise raise one error per note), and an open
// that fails with the same message as the last failed open, with no success in between, is
// not reported again (the transport closes and reopens the output on every Stop).

#include <cstdint>
#include <memory>
#include <string>

namespace tonegen {

class MIDIDevice;
class MidiOut;
struct Internal;
class MidiSystem;

class ProcessOutput {
public:
  static ProcessOutput& Instance();
  ~ProcessOutput();
  ProcessOutput(const ProcessOutput&) = delete;
  ProcessOutput& operator=(const ProcessOutput&) = delete;

  bool IsOpen() const { return m_output != nullptr; }
  // Closes what is open, then opens deviceId through system. On failure the output stays
  // closed.
  void Open(MidiSystem& system, int deviceId, const MIDIDevice* entry) noexcept;
  void Close() noexcept;
  // Sends when open; nothing otherwise.
  void Send(std::uint32_t message) noexcept;

  // Tests: forget the last failed open, so that its message would be reported again.
  void ForgetFailures(Internal) noexcept;

private:
  ProcessOutput();

  std::unique_ptr<MidiOut> m_output;
  bool m_writeFailureReported = false;
  std::string m_lastOpenFailure;
};

}  // namespace tonegen
