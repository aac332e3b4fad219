#include "tonegen/alsa/seqevent.h"

#include "tonegen/shortmessage.h"

namespace tonegen::alsa {

bool ToSeqEvent(std::uint32_t message, snd_seq_event_t& ev) {
  snd_seq_ev_clear(&ev);
  const ShortMessage m = ShortMessage::Unpack(message);
  const int ch = m.Channel();
  switch (m.Kind()) {
    case kNoteOff:
      snd_seq_ev_set_noteoff(&ev, ch, m.Data1, m.Data2);
      return true;
    case kNoteOn:
      // Velocity 0 stays a note on: receivers read it as note off, as on a MIDI cable.
      snd_seq_ev_set_noteon(&ev, ch, m.Data1, m.Data2);
      return true;
    case kKeyPressure:
      snd_seq_ev_set_keypress(&ev, ch, m.Data1, m.Data2);
      return true;
    case kControlChange:
      snd_seq_ev_set_controller(&ev, ch, m.Data1, m.Data2);
      return true;
    case kProgramChange:
      snd_seq_ev_set_pgmchange(&ev, ch, m.Data1);
      return true;
    case kChannelPressure:
      snd_seq_ev_set_chanpress(&ev, ch, m.Data1);
      return true;
    case kPitchBend:
      // 14 bits, LSB first on the wire; the sequencer wants it centred on 0 (-8192..8191).
      snd_seq_ev_set_pitchbend(&ev, ch, (m.Data1 | (m.Data2 << 7)) - 8192);
      return true;
    default:
      return false;
  }
}

}  // namespace tonegen::alsa
