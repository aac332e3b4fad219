#pragma once
// A packed MIDI short message as an ALSA sequencer event. Only the event's type and data
// are set; the caller sets source, destination and scheduling.

#include <cstdint>

#include <alsa/asoundlib.h>

namespace tonegen::alsa {

// False for messages that have no channel event (system messages: status 0xF0 and above,
// or a status byte without its top bit); ev is then left cleared.
bool ToSeqEvent(std::uint32_t message, snd_seq_event_t& ev);

}  // namespace tonegen::alsa
