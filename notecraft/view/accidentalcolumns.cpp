#include "notecraft/view/accidentalcolumns.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace notecraft {

namespace {

// How far a sign's ink reaches below and above its pitch, in line spaces, as measured on
// the music font's outlines (a flat's bowl sits low, its stem rises high).
struct Reach {
  double Below = 0;
  double Above = 0;
};

Reach ReachOf(Accidental mark) {
  switch (mark) {
    case Accidental::Flat:
    case Accidental::DoubleFlat:
      return {0.65, 1.86};
    case Accidental::DoubleSharp:
      return {0.54, 0.54};
    case Accidental::Sharp:
    case Accidental::Natural:
    case Accidental::None:
      break;
  }
  return {1.53, 1.53};
}

// Whether the ink of two signs overlaps, upper standing above lower (steps grow downwards).
bool Overlap(const AccidentalSign& upper, const AccidentalSign& lower) {
  const double distance = lower.Step - upper.Step;
  return distance < ReachOf(lower.Mark).Above + ReachOf(upper.Mark).Below;
}

}  // namespace

int AccidentalColumns(const std::vector<AccidentalSign>& signs, std::vector<int>& columns) {
  columns.assign(signs.size(), 0);
  int count = 0;
  for (std::size_t i = 0; i < signs.size(); ++i) {
    for (int column = 0;; ++column) {
      bool clear = true;
      for (std::size_t j = 0; j < i && clear; ++j) {
        if (columns[j] != column) continue;
        const bool above = signs[j].Step <= signs[i].Step;
        clear = !(above ? Overlap(signs[j], signs[i]) : Overlap(signs[i], signs[j]));
      }
      if (clear) {
        columns[i] = column;
        count = std::max(count, column + 1);
        break;
      }
    }
  }
  return count;
}

bool AccidentalMeetsLine(const AccidentalSign& sign, int line) {
  const Reach reach = ReachOf(sign.Mark);
  return line > sign.Step - reach.Above && line < sign.Step + reach.Below;
}

bool AccidentalsMeetLedgers(const std::vector<AccidentalSign>& signs, double highest,
                            double lowest) {
  const int top = static_cast<int>(std::floor(highest + 0.5));  // the highest ledger line
  if (top > -5 && lowest < 1) return false;  // no ledger lines
  for (const AccidentalSign& sign : signs) {
    for (int k = top; k <= -5; ++k)
      if (AccidentalMeetsLine(sign, k)) return true;
    for (int k = 1; k <= lowest; ++k)
      if (AccidentalMeetsLine(sign, k)) return true;
  }
  return false;
}

}  // namespace notecraft
