#include "tonegen/alsa/portlist.h"

#include <algorithm>
#include <charconv>

#include <alsa/asoundlib.h>

namespace tonegen::alsa {

namespace {

constexpr unsigned kWritable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kReadable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr int kSystemClient = 0;  // SND_SEQ_CLIENT_SYSTEM

bool Has(unsigned caps, unsigned bits) { return (caps & bits) == bits; }

}  // namespace

PortLists BuildPortLists(std::vector<PortInfo> ports, int ownClient) {
  std::sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
    return a.Client != b.Client ? a.Client < b.Client : a.Port < b.Port;
  });
  PortLists lists;
  for (const auto& p : ports) {
    if (p.Client == kSystemClient || p.Client == ownClient) continue;
    if ((p.Capability & SND_SEQ_PORT_CAP_NO_EXPORT) != 0) continue;
    PortEntry entry{p.ClientName + ": " + p.PortName, std::to_string(p.Client) + ":" + std::to_string(p.Port)};
    if (Has(p.Capability, kWritable)) lists.Outputs.push_back(entry);
    if (Has(p.Capability, kReadable)) lists.Inputs.push_back(entry);
  }
  return lists;
}

bool ParseAddress(const std::string& address, int& client, int& port) {
  auto colon = address.find(':');
  if (colon == std::string::npos) return false;
  const char* begin = address.data();
  const char* mid = begin + colon;
  const char* end = begin + address.size();
  int c = 0;
  int p = 0;
  auto [clientEnd, clientErr] = std::from_chars(begin, mid, c);
  if (clientErr != std::errc{} || clientEnd != mid || colon == 0) return false;
  auto [portEnd, portErr] = std::from_chars(mid + 1, end, p);
  if (portErr != std::errc{} || portEnd != end || mid + 1 == end) return false;
  // Client and port numbers are bytes in the sequencer's addresses.
  if (c < 0 || c > 255 || p < 0 || p > 255) return false;
  client = c;
  port = p;
  return true;
}

}  // namespace tonegen::alsa
