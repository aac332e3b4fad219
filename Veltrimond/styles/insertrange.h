#pragma once
// What the Insert Style dialog's boxes ask for: the measures to fill and the shift.
// Text that is not a number reads as 0; numbers are kept within 0..kToScoreEnd.

#include <string>

namespace veltrimond::styles {

// The whole number the text starts with, rounded; 0 when it starts with none. At most
// kToScoreEnd, at least 0.
int ReadNumber(const std::string& text);

// "First" (any case) is measure 1; otherwise the number, at least 1 (below kToScoreEnd).
int FirstMeasure(const std::string& atText);

// The measure before which filling stops. "For:" (forCount): first + the count ("Null"
// and an empty box are 0). "Thru Measure:": kToScoreEnd for "Last", else the number + 1.
// Not above first: first + 1, so one measure at least is filled.
int EndMeasure(int first, bool forCount, const std::string& quantText,
               const std::string& throughText);

// octave x 12 + rootIndex (0 C .. 11 B), or 0 with no root chosen (rootIndex < 0). The
// octave is kept within -3..3.
int StyleShift(const std::string& octaveText, int rootIndex);

}  // namespace veltrimond::styles
