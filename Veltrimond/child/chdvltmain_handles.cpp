// The staff-spacing handle list and its drag.
#include <cstdlib>

#include "Veltrimond/child/chdvltmain_handles.h"

namespace veltrimond {

void HandleMarks::Add(int type, int y) {
  for (Mark& mark : m_marks) {
    if (mark.Y == y) {
      mark.Type = type;
      return;
    }
  }
  m_marks.push_back({y, type});
}

void HandleMarks::Clear() {
  m_marks.clear();
  m_dragging = false;
  m_dragIndex = -1;
}

std::optional<int> HandleMarks::HitTest(int x, int y) const {
  if (x < 0 || x > kStripWidth) return std::nullopt;
  for (std::size_t i = 0; i < m_marks.size(); ++i)
    if (y > m_marks[i].Y - kReach && y < m_marks[i].Y + kReach) return static_cast<int>(i);
  return std::nullopt;
}

void HandleMarks::BeginDrag(int index) {
  if (index < 0 || index >= static_cast<int>(m_marks.size())) return;
  m_dragging = true;
  m_dragIndex = index;
  m_lastY = m_marks[static_cast<std::size_t>(index)].Y;
}

bool HandleMarks::DragTo(int y) {
  if (!m_dragging || y == m_lastY) return false;
  m_lastY = y;
  return true;
}

std::optional<HandleMarks::Drop> HandleMarks::EndDrag() {
  if (!m_dragging) return std::nullopt;
  m_dragging = false;
  if (m_dragIndex < 0 || m_dragIndex >= static_cast<int>(m_marks.size())) return std::nullopt;
  const Mark& mark = m_marks[static_cast<std::size_t>(m_dragIndex)];
  m_dragIndex = -1;
  if (m_lastY == mark.Y || mark.Type != 0) return std::nullopt;
  const int steps = Steps(mark.Y, m_lastY);
  if (steps == 0) return std::nullopt;
  return Drop{mark.Y, steps};
}

int HandleMarks::Steps(int from, int to) {
  const long long delta = static_cast<long long>(to) - from;
  long long whole = delta / kStepTwips;
  const long long rest = delta % kStepTwips;  // same sign as delta
  const long long twice = 2 * std::llabs(rest);
  const int sign = delta < 0 ? -1 : 1;
  if (twice > kStepTwips || (twice == kStepTwips && whole % 2 != 0)) whole += sign;
  return static_cast<int>(whole);
}

}  // namespace veltrimond
