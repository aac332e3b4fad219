#include "tonegen/alsa/output.h"

#include "tonegen/alsa/portlist.h"
#include "tonegen/alsa/seqevent.h"
#include "tonegen/shortmessage.h"

namespace tonegen::alsa {

namespace {

std::string Describe(const std::string& caption, const std::string& address) {
  return caption.empty() ? address : caption + " (" + address + ")";
}

}  // namespace

OpenResult Output::Open(const std::string& address, const std::string& caption,
                        const std::string& clientName) noexcept {
  OpenResult result;
  try {
    int client = 0;
    int port = 0;
    if (!ParseAddress(address, client, port)) {
      result.Error = Status::Error("The MIDI output device " + Describe(caption, address) + " has no valid address.");
      return result;
    }
    std::unique_ptr<Output> out(new Output);
    out->m_caption = Describe(caption, address);
    if (Status opened = out->m_seq.Open(SND_SEQ_OPEN_OUTPUT, clientName); !opened) {
      result.Error = Status::Error("The MIDI output device " + out->m_caption + " could not be opened. " + opened.Message());
      return result;
    }
    int own = snd_seq_create_simple_port(out->m_seq.Handle(), "MIDI out",
                                         SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                         SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (own < 0) {
      result.Error = Status::Error("The MIDI output device " + out->m_caption +
                                   " could not be opened: " + snd_strerror(own) + ".");
      return result;
    }
    out->m_port = own;
    if (int err = snd_seq_connect_to(out->m_seq.Handle(), own, client, port); err < 0) {
      result.Error = Status::Error("The MIDI output device " + out->m_caption +
                                   " could not be connected: " + snd_strerror(err) + ".");
      return result;
    }
    out->m_destClient = client;
    out->m_destPort = port;
    result.Output = std::move(out);
  } catch (...) {
    result.Output.reset();
    result.Error = Status::Error("The MIDI output device could not be opened: out of memory.");
  }
  return result;
}

Output::~Output() = default;  // the Sequencer closes the handle

Status Output::Send(std::uint32_t message) noexcept {
  if (!m_seq.IsOpen()) return Status::Ok();
  snd_seq_event_t ev;
  if (!ToSeqEvent(message, ev)) return Status::Ok();  // system messages are not ours to send
  snd_seq_ev_set_source(&ev, m_port);
  snd_seq_ev_set_subs(&ev);
  snd_seq_ev_set_direct(&ev);
  int err = snd_seq_event_output_direct(m_seq.Handle(), &ev);
  if (err < 0) {
    try {
      return Status::Error("Writing to the MIDI output device " + m_caption + " failed: " + snd_strerror(err) + ".");
    } catch (...) {
      return Status::Error({});
    }
  }
  return Status::Ok();
}

Status Output::Close() noexcept {
  if (!m_seq.IsOpen()) return Status::Ok();
  // Silence the receiver: a port keeps sounding what it was told until told otherwise.
  for (int ch = 0; ch < 16; ++ch) {
    (void)Send(ShortMessage::Make(kControlChange + ch, kCtlAllNotesOff, 0).Packed());
    (void)Send(ShortMessage::Make(kControlChange + ch, kCtlAllSoundOff, 0).Packed());
  }
  if (m_destClient >= 0) snd_seq_disconnect_to(m_seq.Handle(), m_port, m_destClient, m_destPort);
  int err = m_seq.Close();
  if (err < 0) {
    try {
      return Status::Error("The MIDI output device " + m_caption + " could not be closed: " + snd_strerror(err) + ".");
    } catch (...) {
      return Status::Error({});
    }
  }
  return Status::Ok();
}

}  // namespace tonegen::alsa
