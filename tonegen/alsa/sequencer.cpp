#include "tonegen/alsa/sequencer.h"

#include "tonegen/alsa/messages.h"

namespace tonegen::alsa {

Sequencer& Sequencer::operator=(Sequencer&& other) noexcept {
  if (this != &other) {
    Reset();
    m_seq = other.m_seq;
    other.m_seq = nullptr;
  }
  return *this;
}

Status Sequencer::Open(int streams, const std::string& clientName) {
  Reset();
  RouteLibraryMessages();
  snd_seq_t* seq = nullptr;
  int err = snd_seq_open(&seq, "default", streams, 0);
  if (err < 0) {
    return Status::Error(std::string("The ALSA sequencer could not be opened: ") + snd_strerror(err) + ".");
  }
  m_seq = seq;
  if (!clientName.empty()) snd_seq_set_client_name(m_seq, clientName.c_str());
  return Status::Ok();
}

int Sequencer::ClientId() const { return m_seq ? snd_seq_client_id(m_seq) : -1; }

int Sequencer::Close() {
  if (!m_seq) return 0;
  int err = snd_seq_close(m_seq);
  m_seq = nullptr;
  return err;
}

}  // namespace tonegen::alsa
