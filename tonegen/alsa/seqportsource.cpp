#include "tonegen/alsa/seqportsource.h"

#include <memory>

#include <alsa/asoundlib.h>

#include "tonegen/alsa/sequencer.h"

namespace tonegen::alsa {

namespace {

struct ClientInfoFree {
  void operator()(snd_seq_client_info_t* p) const { snd_seq_client_info_free(p); }
};
struct PortInfoFree {
  void operator()(snd_seq_port_info_t* p) const { snd_seq_port_info_free(p); }
};

}  // namespace

PortSnapshot SeqPortSource::Query() noexcept {
  PortSnapshot snapshot;
  try {
    Sequencer seq;
    if (Status opened = seq.Open(SND_SEQ_OPEN_DUPLEX, "tonegen device query"); !opened) {
      snapshot.Error = opened.Message();
      return snapshot;
    }
    snapshot.Available = true;
    snapshot.OwnClient = seq.ClientId();

    snd_seq_client_info_t* rawClient = nullptr;
    snd_seq_port_info_t* rawPort = nullptr;
    if (snd_seq_client_info_malloc(&rawClient) < 0) return snapshot;
    std::unique_ptr<snd_seq_client_info_t, ClientInfoFree> clientInfo(rawClient);
    if (snd_seq_port_info_malloc(&rawPort) < 0) return snapshot;
    std::unique_ptr<snd_seq_port_info_t, PortInfoFree> portInfo(rawPort);
    snd_seq_client_info_t* client = clientInfo.get();
    snd_seq_port_info_t* port = portInfo.get();
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq.Handle(), client) >= 0) {
      int clientId = snd_seq_client_info_get_client(client);
      const char* clientName = snd_seq_client_info_get_name(client);
      snd_seq_port_info_set_client(port, clientId);
      snd_seq_port_info_set_port(port, -1);
      while (snd_seq_query_next_port(seq.Handle(), port) >= 0) {
        const char* portName = snd_seq_port_info_get_name(port);
        snapshot.Ports.push_back({clientId, snd_seq_port_info_get_port(port), clientName ? clientName : "",
                                  portName ? portName : "", snd_seq_port_info_get_capability(port)});
      }
    }
  } catch (...) {
    snapshot.Ports.clear();
  }
  return snapshot;
}

}  // namespace tonegen::alsa
