#include "notecraft/core/note.h"

#include <algorithm>

#include "notecraft/core/internal.h"

namespace notecraft {

int Note::AddValue(int value) {
  if (value < 0 || value > 127) return -1;
  const auto v = static_cast<std::uint8_t>(value);
  std::uint8_t* data = Data();
  std::uint8_t* it = std::lower_bound(data, data + m_count, v);
  const auto index = static_cast<int>(it - data);
  if (it != data + m_count && *it == v) return index;
  if (m_count == m_capacity) {  // at most 128 distinct MIDI pitches, so a byte holds it
    const int capacity = std::min(128, m_capacity + 8);
    auto grown = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(capacity));
    std::copy(data, data + m_count, grown.get());
    m_heap = std::move(grown);
    m_capacity = static_cast<std::uint8_t>(capacity);
    data = m_heap.get();
  }
  std::copy_backward(data + index, data + m_count, data + m_count + 1);
  data[index] = v;
  ++m_count;
  return index;
}

bool Note::RemoveValue(int value) {
  std::uint8_t* data = Data();
  std::uint8_t* it = std::find(data, data + m_count, value);
  if (it == data + m_count) return false;
  std::copy(it + 1, data + m_count, it);
  --m_count;
  return true;
}

void Note::SetSingleValue() {
  if (m_count > 1) m_count = 1;
}

int Note::Value(int index) const {
  if (index < 0 || index >= m_count) return 0;
  return Data()[index];
}

void Note::SetValue(int index, int value) {
  if (index < 0 || index >= m_count) return;
  Data()[index] = static_cast<std::uint8_t>(value & 127);
}

void Note::SetDuration(Internal, int duration) {
  m_duration = static_cast<std::uint8_t>(std::clamp(duration, 1, 255));
}

void Note::SetFlags(Internal, int flags) { m_flags = flags; }

void Note::SetNoteTime(Internal, int time) { m_noteTime = time; }

}  // namespace notecraft
