#include "harmonygrid/core/clsmap.h"

#include <algorithm>
#include <limits>
#include <new>

namespace harmonygrid {

namespace {

bool Fits16(int v) {
  return v >= std::numeric_limits<std::int16_t>::min() &&
         v <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

void clsMap::SetValue(int value) noexcept {
  if (Fits16(value)) m_value = static_cast<std::int16_t>(value);
}

void clsMap::SetTop(int top) noexcept {
  if (Fits16(top)) m_top = static_cast<std::int16_t>(top);
}

int clsMap::Add(int x, int y) noexcept {
  if (!Fits16(x) || !Fits16(y) || Count() >= kMaxPairs) return -1;
  try {
    m_pairs.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return Count() - 1;
}

int clsMap::X(int i) const noexcept {
  return i >= 0 && i < Count() ? m_pairs[static_cast<std::size_t>(i)].X : 0;
}

void clsMap::SetX(int i, int x) noexcept {
  if (i >= 0 && i < Count() && Fits16(x))
    m_pairs[static_cast<std::size_t>(i)].X = static_cast<std::int16_t>(x);
}

int clsMap::Y(int i) const noexcept {
  return i >= 0 && i < Count() ? m_pairs[static_cast<std::size_t>(i)].Y : 0;
}

void clsMap::SetY(int i, int y) noexcept {
  if (i >= 0 && i < Count() && Fits16(y))
    m_pairs[static_cast<std::size_t>(i)].Y = static_cast<std::int16_t>(y);
}

void clsMap::Remove(int index) noexcept {
  // An index at or past Count would otherwise drop the last pair unasked.
  if (index < 0 || index >= Count()) return;
  m_pairs.erase(m_pairs.begin() + index);
}

int clsMap::ComputeTop(int fretCount) const noexcept {
  int highest = 0;
  int lowestFretted = std::numeric_limits<int>::max();
  for (const Pair& p : m_pairs) {
    highest = std::max(highest, static_cast<int>(p.Y));
    // Open (0) and muted (-1) strings do not decide the position: counting them would put an
    // open-string voicing high on the neck at Top -1 and drop its finger marks from the diagram.
    if (p.Y > 0) lowestFretted = std::min(lowestFretted, static_cast<int>(p.Y));
  }
  if (highest <= fretCount || lowestFretted == std::numeric_limits<int>::max()) return 0;
  return lowestFretted - 1;
}

}  // namespace harmonygrid
