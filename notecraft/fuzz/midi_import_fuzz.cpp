// libFuzzer target for Standard MIDI File import.
//
// Each input is read into a score as OpenFile would. A file that is refused must leave
// the score as it was; one that reads is written as a MIDI file again, and what is
// written must read: the writer never makes a file its reader refuses (a score without a
// voice aside, whose file has a single track). Its playback stream is read to the end:
// times never go back, and every note-on gets its note-off (tied notes among them). The
// write-back and the playback are left out for scores of many notes: they would double the
// time of the inputs that are already the slowest, and small scores exercise them as well.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/midievent.h"
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

// Reads the score's playback stream from the start and checks its order and its pairs.
void CheckPlayback(Score& score) {
  std::map<std::pair<int, int>, long> sounding;  // (channel, pitch): note-ons not yet off
  int last = 0;
  for (auto e = score.GetMIDIEvent(0); e; e = score.GetMIDIEvent()) {
    if (e->EventTime() < last)
      Fail("playback went back in time",
           std::to_string(last) + " to " + std::to_string(e->EventTime()));
    last = e->EventTime();
    const std::pair<int, int> key{e->Channel(), e->Value(0)};
    if (e->EventType() == midNoteOn) ++sounding[key];
    if (e->EventType() == midNoteOff && --sounding[key] < 0)
      Fail("a note-off without its note-on", std::to_string(key.second));
  }
  for (const auto& [key, count] : sounding)
    if (count != 0) Fail("a note-on without its note-off", std::to_string(key.second));
}

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
  CheckPlayback(score);
  const auto written = MidiFileWriter::Write(score, false);
  if (written.size() < 12 || written[10] * 256 + written[11] < 2) return 0;  // no voice
  if (!Second().ReadMIDIFile(Internal{}, written, "again.mid"))
    Fail("a written file does not read", Second().LastFileError());
  (void)MidiFileWriter::Write(Second(), true);
  return 0;
}
