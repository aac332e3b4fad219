#include "notecraft/core/note.h"

#include <algorithm>

#include "notecraft/core/internal.h"

namespace notecraft {

int Note::AddValue(int value) {
  if (value < 0 || value > 127) return -1;
  auto v = static_cast<std::uint8_t>(value);
  auto it = std::lower_bound(m_pitches.begin(), m_pitches.end(), v);
  if (it != m_pitches.end() && *it == v) return static_cast<int>(it - m_pitches.begin());
  it = m_pitches.insert(it, v);
  return static_cast<int>(it - m_pitches.begin());
}

bool Note::RemoveValue(int value) {
  auto it = std::find(m_pitches.begin(), m_pitches.end(), value);
  if (it == m_pitches.end()) return false;
  m_pitches.erase(it);
  return true;
}

void Note::SetSingleValue() {
  if (m_pitches.size() > 1) m_pitches.resize(1);
}

int Note::Value(int index) const {
  if (index < 0 || index >= ValueCount()) return 0;
  return m_pitches[static_cast<std::size_t>(index)];
}

void Note::SetValue(int index, int value) {
  if (index < 0 || index >= ValueCount()) return;
  m_pitches[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value & 127);
}

void Note::SetDuration(Internal, int duration) {
  m_duration = static_cast<std::uint8_t>(std::clamp(duration, 1, 255));
}

void Note::SetFlags(Internal, int flags) { m_flags = flags; }

void Note::SetNoteTime(Internal, int time) { m_noteTime = time; }

}  // namespace notecraft
