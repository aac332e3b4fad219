#pragma once
// Owns one ALSA sequencer handle (snd_seq_open .. snd_seq_close). Move-only.

#include <string>

#include <alsa/asoundlib.h>

#include "tonegen/status.h"

namespace tonegen::alsa {

class Sequencer {
public:
  Sequencer() = default;
  ~Sequencer() { Reset(); }
  Sequencer(Sequencer&& other) noexcept : m_seq(other.m_seq) { other.m_seq = nullptr; }
  Sequencer& operator=(Sequencer&& other) noexcept;
  Sequencer(const Sequencer&) = delete;
  Sequencer& operator=(const Sequencer&) = delete;

  // Opens the "default" sequencer in blocking mode with streams SND_SEQ_OPEN_OUTPUT, _INPUT
  // or _DUPLEX, and names the client. Fails where there is no /dev/snd/seq (ENOENT).
  Status Open(int streams, const std::string& clientName);
  bool IsOpen() const { return m_seq != nullptr; }
  snd_seq_t* Handle() const { return m_seq; }
  // Our own client number; -1 when closed.
  int ClientId() const;
  // snd_seq_close's result; 0 when nothing was open.
  int Close();

private:
  void Reset() { (void)Close(); }
  snd_seq_t* m_seq = nullptr;
};

}  // namespace tonegen::alsa
