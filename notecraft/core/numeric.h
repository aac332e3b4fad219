#pragma once
// Numeric helpers with the semantics the score's arithmetic and its files rely on.
//
//  - RoundHalfEven: nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
//  - Integer division and remainder are C++ `/` and `%`: both truncate toward zero.
//  - FloorDiv: division rounded toward minus infinity (measure counting).
//  - Val: the leading number of a text; '.' and ',' are both decimal separators,
//    whatever the user's locale.
//  - FormatShortest: the shortest decimal text of a number, always with '.'.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace notecraft {

inline std::int64_t RoundHalfEven(double v) {
  double r = std::floor(v + 0.5);
  if (r - v == 0.5 && std::fmod(r, 2.0) != 0.0) r -= 1.0;  // exact half: go to even
  return static_cast<std::int64_t>(r);
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Leading blanks are skipped; then an optional sign, digits and at most one decimal
// separator. Reading stops at the first other character; no number gives 0.
double Val(std::string_view text);

// Length in bytes of the number Val reads at the start of text (blanks included), 0 when none.
std::size_t ValLength(std::string_view text);

// Shortest text that reads back as the same single-precision value ("12.7", "0.75", "1440").
std::string FormatShortest(float v);

}  // namespace notecraft
