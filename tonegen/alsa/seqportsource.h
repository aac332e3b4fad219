#pragma once
// The ports of the running ALSA sequencer, read through a short-lived client of our own
// (snd_seq_query_next_client / snd_seq_query_next_port).

#include "tonegen/alsa/portsource.h"

namespace tonegen::alsa {

class SeqPortSource : public PortSource {
public:
  PortSnapshot Query() noexcept override;
};

}  // namespace tonegen::alsa
