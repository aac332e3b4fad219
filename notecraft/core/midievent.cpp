#include "notecraft/core/midievent.h"

#include <utility>

#include "notecraft/core/internal.h"

namespace notecraft {

int MIDIEvent::Value(int index) const {
  if (index < 0 || index >= kValueCount) return 0;
  return m_values[static_cast<std::size_t>(index)];
}

void MIDIEvent::SetChannel(Internal, int channel) { m_channel = channel; }

void MIDIEvent::SetText(Internal, std::string text) { m_text = std::move(text); }

void MIDIEvent::SetValue(Internal, int index, int value) {
  if (index < 0 || index >= kValueCount) return;
  m_values[static_cast<std::size_t>(index)] = value;
}

}  // namespace notecraft
