#pragma once
// Deterministic test scores for benchmarks and the scorebench tool.
//
// GenerateScore(measures, staves) builds what a real score holds: every staff has two
// voices of mixed durations (dotted notes, triplets, chords with accidentals, rests between
// notes, ties over bar lines), the first staff has lyrics, every staff has dynamics, and the
// time signature or key changes every 50 measures. The same arguments give the same score.

#include <memory>
#include <optional>
#include <string_view>

namespace notecraft {
class Score;
}

namespace scoregen {

std::unique_ptr<notecraft::Score> GenerateScore(int measures, int staves);

struct GenSpec {
  int measures = 0;
  int staves = 0;
};
// Parses "gen:MEASURES:STAVES" (1..100000 measures, 1..85 staves); nothing for other names.
std::optional<GenSpec> ParseGenName(std::string_view name);

}  // namespace scoregen
