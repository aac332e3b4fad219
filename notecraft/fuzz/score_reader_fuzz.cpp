// libFuzzer target for the native score reader.
//
// Each input is read into a score. When it reads, the score is written, and what is
// written must read again: the writer never makes a file its reader refuses. Reading goes
// through the model's own add operations, whose rules may change a score from an odd file
// (a note added before a later one it overlaps is not shortened, but is when the notes
// come in time order, as the writer puts them; two instruments of one program become one,
// keeping what the second record cannot set): saving and opening again must come to rest
// within a few rounds, after which a save reads back to the very same bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/io/scorefilewriter.h"
#include "notecraft/fuzz/fuzzscores.h"

namespace {

using namespace notecraft;

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  fuzzscores::Fail("score_reader_fuzz", what, detail);
}
using fuzzscores::First;
using fuzzscores::Second;

// The bytes of `score` after writing it and reading it back into `into`.
std::vector<std::uint8_t> RoundTrip(Score& score, Score& into, const char* step) {
  auto written = ScoreFileWriter::Write(score);
  if (!written) Fail(step, written.Error().Message);
  if (!into.ReadScoreFile(Internal{}, written.Value(), "again.sco"))
    Fail("a written file does not read", into.LastFileError());
  return std::move(written.Value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Score& score = First();
  if (!score.ReadScoreFile(Internal{}, std::span<const std::uint8_t>(data, size), "fuzz.sco"))
    return 0;
  if (auto written = ScoreFileWriter::Write(score); !written) {
    // Only what the format cannot hold may be refused, and a score just read from the
    // format holds nothing of the kind but for a file that has grown past 16 MiB.
    if (written.Error().Code != FileErrorCode::NotStorable) Fail("write", written.Error().Message);
    return 0;
  }
  constexpr int kRounds = 4;
  Score* from = &score;
  Score* to = &Second();
  auto previous = RoundTrip(*from, *to, "write");
  for (int round = 1; round <= kRounds; ++round) {
    std::swap(from, to);
    auto next = RoundTrip(*from, *to, "write again");
    if (next == previous) return 0;
    previous = std::move(next);
  }
  Fail("round trip", "saving and opening again keeps changing the file");
  return 0;
}
