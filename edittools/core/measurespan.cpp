#include "edittools/core/measurespan.h"

#include "notecraft/core/score.h"

namespace edittools {

TimeSpan MeasureSpan(const notecraft::Score& score, int fromMeasure, int toMeasure) {
  const auto& globals = score.AllGlobals();
  TimeSpan span;
  span.Start = fromMeasure > 0 ? globals.MeasureTime(fromMeasure) : 0;
  if (toMeasure > 0) {
    const int start = globals.MeasureTime(toMeasure);
    int number = 0, duration = 0;
    globals.MeasureInfo(start, number, duration);
    span.End = start + duration;
  } else {
    span.End = score.HighTime() + 1;
  }
  return span;
}

std::vector<int> RangeStaves(const notecraft::Score& score, int staff) {
  std::vector<int> staves;
  if (staff > 0) {
    if (staff <= score.Staffs()) staves.push_back(staff);
  } else {
    for (int s = 1; s <= score.Staffs(); ++s) staves.push_back(s);
  }
  return staves;
}

}  // namespace edittools
