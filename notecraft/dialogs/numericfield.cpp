#include "notecraft/dialogs/numericfield.h"

#include <algorithm>
#include <limits>

#include "notecraft/core/numeric.h"

namespace notecraft::dialogs {

bool IsNumberBoxKey(char32_t ch) {
  return (ch >= U'0' && ch <= U'9') || ch == U'\b';
}

int LeadingNumber(std::string_view text) {
  constexpr double kLimit = std::numeric_limits<int>::max();
  const double v = std::clamp(Val(text), -kLimit, kLimit);
  return static_cast<int>(RoundHalfEven(v));
}

int StepNumber(std::string_view text, int delta, NumberRange range) {
  const long long n = static_cast<long long>(LeadingNumber(text)) + delta;
  return range.Clamp(static_cast<int>(std::clamp<long long>(n, range.Min, range.Max)));
}

}  // namespace notecraft::dialogs
