// libFuzzer target for Standard MIDI File import.
//
// Each input is read into a score as OpenFile would. A file that is refused must leave
// the score as it was; one that reads is written as a MIDI file again, and what is
// written must read: the writer never makes a file its reader refuses (a score without a
// voice aside, whose file has a single track). The write-back is left out for scores of
// many notes: it would double the time of the inputs that are already the slowest, and
// small scores exercise the writer as well.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"
#include "notecraft/fuzz/fuzzscores.h"
#include "notecraft/midi/midifilewriter.h"

namespace {

using namespace notecraft;

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  fuzzscores::Fail("midi_import_fuzz", what, detail);
}
using fuzzscores::First;
using fuzzscores::Second;

constexpr long kMaxNotesWrittenBack = 5000;

long NoteCount(const Score& score) {
  long n = 0;
  for (const auto& voice : score.AllVoices()) n += voice->Notes().Count();
  return n;
}

// Empties both scores when an input is done, so that a run frees what it allocated:
// libFuzzer runs an input again under the leak checker whenever a run leaves more
// allocations than it freed, which for a large import costs more than the import.
struct Reset {
  ~Reset() {
    First().CreateDefault();
    Second().CreateDefault();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Reset reset;
  Score& score = First();
  const std::string marker = "unread " + std::to_string(size);
  score.SetTitle(marker);
  if (!score.ReadMIDIFile(Internal{}, std::span<const std::uint8_t>(data, size), "fuzz.mid")) {
    if (score.Title() != marker) Fail("a refused file changed the score", score.LastFileError());
    if (score.LastFileError().empty()) Fail("a refused file without a reason", "");
    return 0;
  }
  if (NoteCount(score) > kMaxNotesWrittenBack) return 0;
  const auto written = MidiFileWriter::Write(score, false);
  if (written.size() < 12 || written[10] * 256 + written[11] < 2) return 0;  // no voice
  if (!Second().ReadMIDIFile(Internal{}, written, "again.mid"))
    Fail("a written file does not read", Second().LastFileError());
  (void)MidiFileWriter::Write(Second(), true);
  return 0;
}
