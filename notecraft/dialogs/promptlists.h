#pragma once
// The lists the prompts fill from a score and from the instrument table.

#include <string>
#include <vector>

namespace notecraft {
class Score;
}

namespace notecraft::dialogs {

// "First", "Last", then per staff its number, followed by ": " and its description when it
// has one ("1: Piano", "2").
std::vector<std::string> StaffListItems(const Score& score);

struct InstrumentChoice {
  std::string Description;
  int Value = 0;  // the instrument-table row (and MIDI program)
};
// The instrument-table rows of a category, in row order; Solo lists every row.
std::vector<InstrumentChoice> InstrumentChoices(int category);

}  // namespace notecraft::dialogs
