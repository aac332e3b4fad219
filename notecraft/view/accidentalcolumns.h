#pragma once
// Where the accidentals of one chord stand: in columns left of its heads. The highest sign
// takes the column nearest the heads; each lower sign takes the nearest column in which it
// clears every sign already there, so that signs whose glyphs would overlap (a flat over a
// natural a second below it) alternate between columns while signs a seventh or more apart
// share one.

#include <vector>

#include "notecraft/core/pitchspelling.h"

namespace notecraft {

struct AccidentalSign {
  double Step = 0;  // the head's place: line spaces below the bottom line, negative above
  Accidental Mark = Accidental::None;
};

// The column of each sign (0 nearest the heads), for signs given from the highest head down;
// returns how many columns they take (0 without any).
int AccidentalColumns(const std::vector<AccidentalSign>& signs, std::vector<int>& columns);

// Whether a sign's ink reaches a staff or ledger line at step line (line spaces below the
// bottom line, whole numbers: 0 the bottom line, -4 the top line).
bool AccidentalMeetsLine(const AccidentalSign& sign, int line);

// Whether any of the signs meets one of the ledger lines of a chord whose highest and lowest
// heads stand at steps highest and lowest (the lines above the staff from the highest head's
// down to step -5, below it from step 1 to the lowest head's).
bool AccidentalsMeetLedgers(const std::vector<AccidentalSign>& signs, double highest,
                            double lowest);

}  // namespace notecraft
