#include "tonegen/processoutput.h"

#include "tonegen/internal.h"
#include "tonegen/midiout.h"
#include "tonegen/midisystem.h"
#include "tonegen/report.h"

namespace tonegen {

ProcessOutput& ProcessOutput::Instance() {
  static ProcessOutput output;
  return output;
}

ProcessOutput::ProcessOutput() = default;

ProcessOutput::~ProcessOutput() {
  // At process exit: silence and release the device (stops the synthesizer's audio thread
  // before the engine goes), but report nothing, since the host's handler may be gone.
  if (m_output) (void)m_output->Close();
}

void ProcessOutput::Open(MidiSystem& system, int deviceId, const MIDIDevice* entry) noexcept {
  Close();
  OpenResult opened = system.OpenOutput(deviceId, entry);
  // An error box shown during that open runs an event loop, which may have opened an
  // output meanwhile; the one just opened wins.
  Close();
  if (!opened.Output) {
    std::string message = opened.Error.Message();
    if (message.empty()) message = "The MIDI output device could not be opened.";
    if (message != m_lastOpenFailure) ReportError(message);
    m_lastOpenFailure = std::move(message);
    return;
  }
  m_lastOpenFailure.clear();
  m_output = std::move(opened.Output);
  m_writeFailureReported = false;
}

void ProcessOutput::Close() noexcept {
  if (!m_output) return;
  // The handle is dropped whether or not the close succeeds.
  std::unique_ptr<MidiOut> output = std::move(m_output);
  Status closed = output->Close();
  output.reset();
  if (!closed) ReportError(closed.Message());
}

void ProcessOutput::Send(std::uint32_t message) noexcept {
  if (!m_output) return;
  Status sent = m_output->Send(message);
  if (!sent && !m_writeFailureReported) {
    m_writeFailureReported = true;
    ReportError(sent.Message());
  }
}

void ProcessOutput::ForgetFailures(Internal) noexcept { m_lastOpenFailure.clear(); }

}  // namespace tonegen
