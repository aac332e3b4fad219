#include "notecraft/core/numeric.h"

#include <charconv>

namespace notecraft {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Scanned {
  std::size_t end = 0;  // one past the number, or 0 when there is none
  double value = 0;
};

Scanned Scan(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::string number;  // sign, digits and '.', handed to from_chars for an exact value
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') number += '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    number += s[i++];
    ++digits;
  }
  if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
    std::size_t j = i + 1;
    std::string fraction;
    while (j < s.size() && IsDigit(s[j])) fraction += s[j++];
    if (!fraction.empty() || digits > 0) {
      i = j;
      if (digits == 0) number += '0';
      number += '.';
      number += fraction.empty() ? "0" : fraction;
      digits += fraction.size();
    }
  }
  if (digits == 0) return {};
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return {i, value};
}

}  // namespace

double Val(std::string_view text) { return Scan(text).value; }

std::size_t ValLength(std::string_view text) { return Scan(text).end; }

std::string FormatShortest(float v) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec != std::errc{}) return "0";
  return std::string(buf, end);
}

}  // namespace notecraft
