#pragma once
// Where the ALSA port lists come from: the running sequencer (SeqPortSource), or a test's
// table. A source that cannot reach a sequencer reports that and lists nothing.

#include <string>
#include <vector>

#include "tonegen/alsa/portlist.h"

namespace tonegen::alsa {

struct PortSnapshot {
  bool Available = false;  // false: no sequencer; Error says why
  std::string Error;
  int OwnClient = -1;
  std::vector<PortInfo> Ports;
};

class PortSource {
public:
  virtual ~PortSource() = default;
  virtual PortSnapshot Query() noexcept = 0;
};

}  // namespace tonegen::alsa
