#pragma once
// The rules of the dialogs' number boxes, apart from any widget: which keys a box lets
// through, the number its text stands for, and clamping into the box's range.

#include <string_view>

namespace notecraft::dialogs {

// Digits and Backspace pass a number box's key filter; any other typed character is
// dropped with a beep.
bool IsNumberBoxKey(char32_t ch);

// The number a box's text starts with (leading blanks, digits, one decimal separator),
// rounded to the nearest integer with halves to even; 0 for no number. Saturates instead of
// overflowing, so any run of digits gives a value a range can clamp.
int LeadingNumber(std::string_view text);

struct NumberRange {
  int Min = 1;
  int Max = 1;
  int Clamp(int n) const { return n < Min ? Min : (n > Max ? Max : n); }
};

// The focus-loss validation: the leading number, clamped.
inline int ValidateNumber(std::string_view text, NumberRange range) {
  return range.Clamp(LeadingNumber(text));
}

// One spin step from the text's number, clamped.
int StepNumber(std::string_view text, int delta, NumberRange range);

}  // namespace notecraft::dialogs
