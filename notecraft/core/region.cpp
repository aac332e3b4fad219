#include "notecraft/core/region.h"

#include <algorithm>
#include <utility>

#include "notecraft/core/internal.h"

namespace notecraft {

Region::Region(Internal) {}

void Region::SetMeasures(int count) {
  count = std::max(count, 0);
  if (count == Measures()) return;
  m_measures.assign(static_cast<std::size_t>(count), MeasureEntry{});
}

const Range* Region::Measure(int index) const {
  return Valid(index) ? &m_measures[static_cast<std::size_t>(index)].Place : nullptr;
}

Range* Region::Measure(int index) {
  return Valid(index) ? &m_measures[static_cast<std::size_t>(index)].Place : nullptr;
}

void Region::SetMeasure(int index, const Range& range) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Place = range;
}

int Region::MeasureFlag(int index) const {
  return Valid(index) ? m_measures[static_cast<std::size_t>(index)].Flag : 0;
}

void Region::SetMeasureFlag(int index, int value) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Flag = value;
}

int Region::MeasurePad(int index) const {
  return Valid(index) ? m_measures[static_cast<std::size_t>(index)].Pad : 0;
}

void Region::SetMeasurePad(int index, int value) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Pad = value;
}

const std::vector<MeasureStop>& Region::MeasureStops(int index) const {
  static const std::vector<MeasureStop> none;
  return Valid(index) ? m_measures[static_cast<std::size_t>(index)].Stops : none;
}

void Region::SetMeasureStops(int index, std::vector<MeasureStop> stops) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Stops = std::move(stops);
}

const std::vector<DrawnRest>& Region::MeasureRests(int index) const {
  static const std::vector<DrawnRest> none;
  return Valid(index) ? m_measures[static_cast<std::size_t>(index)].Rests : none;
}

void Region::AddMeasureRest(int index, const DrawnRest& rest) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Rests.push_back(rest);
}

void Region::ClearMeasureRests(int index) {
  if (Valid(index)) m_measures[static_cast<std::size_t>(index)].Rests.clear();
}

}  // namespace notecraft
