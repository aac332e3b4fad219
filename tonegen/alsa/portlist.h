#pragma once
// From the sequencer's ports to the library's device lists. Pure, so that it is tested
// without a sequencer.
//
// Outputs are the ports we can write to: SND_SEQ_PORT_CAP_WRITE and _SUBS_WRITE; inputs
// the ports we could read: _READ and _SUBS_READ. Client 0 (System: timer, announce), our
// own client and ports marked NO_EXPORT are left out. Lists are ordered by (client, port),
// which keeps device ids stable while the set of devices does not change. A caption is
// "client name: port name", whole.

#include <string>
#include <vector>

namespace tonegen::alsa {

struct PortInfo {
  int Client = 0;
  int Port = 0;
  std::string ClientName;
  std::string PortName;
  unsigned Capability = 0;  // SND_SEQ_PORT_CAP_* bits
};

struct PortEntry {
  std::string Caption;
  std::string Address;  // "client:port", as snd_seq_parse_address reads it
  bool operator==(const PortEntry&) const = default;
};

struct PortLists {
  std::vector<PortEntry> Outputs;
  std::vector<PortEntry> Inputs;
};

PortLists BuildPortLists(std::vector<PortInfo> ports, int ownClient);

// "128:0" -> client 128, port 0. False for anything else.
bool ParseAddress(const std::string& address, int& client, int& port);

}  // namespace tonegen::alsa
