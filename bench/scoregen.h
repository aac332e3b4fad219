#pragma once
// Deterministic test scores for benchmarks and the scorebench tool.
//
// GenerateScore(measures, staves) builds what a real score holds: every staff has two
// voices of mixed durations (dotted notes, triplets, chords with accidentals, rests between
// notes, ties over bar lines), the first staff has lyrics, every staff has dynamics, and the
// time signature or key changes every 50 measures (the key on every staff, where staves
// take it from). The same arguments give the same score.

#include <memory>
#include <optional>
#include <string_view>

namespace notecraft {
class Score;
}

namespace scoregen {

std::unique_ptr<notecraft::Score> GenerateScore(int measures, int staves);

// More of what real scores hold, for layout and drawing measurements.
struct GenOptions {
  int measures = 0;
  int staves = 0;
  int voices = 2;             // per staff, 1..4: voices 3 and 4 like 1 and 2, a little apart
  bool grandStaves = false;   // every fourth staff a grand staff (a piano)
  int lineEndEvery = 0;       // a line-end event every that many measures; 0 for none
};
std::unique_ptr<notecraft::Score> GenerateScore(const GenOptions& options);

struct GenSpec {
  int measures = 0;
  int staves = 0;
};
// Parses "gen:MEASURES:STAVES" (1..100000 measures, 1..85 staves); nothing for other names.
std::optional<GenSpec> ParseGenName(std::string_view name);

}  // namespace scoregen
