#pragma once
// The stretch of time a range of measures covers, in 64ths, and the staves it runs over.

#include <vector>

namespace notecraft {
class Score;
}

namespace edittools {

struct TimeSpan {
  int Start = 0;
  int End = 0;  // exclusive
  bool Empty() const { return Start >= End; }
};

// From the start of fromMeasure (0: time 0) to the end of toMeasure (0: one past the score's
// last note).
TimeSpan MeasureSpan(const notecraft::Score& score, int fromMeasure, int toMeasure);

// Staff numbers in order: staff alone (1-based; none when the score lacks it), 0 every staff.
std::vector<int> RangeStaves(const notecraft::Score& score, int staff);

}  // namespace edittools
