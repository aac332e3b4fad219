// Standard MIDI File export and import.
//
//   midi_bench [gen:MEASURES:STAVES | FILE.mid]
//
// With gen (the default is gen:4000:16, a score of scoregen) the score is written as a MIDI
// file in memory and read back; with FILE the file is read, written and read again. Prints
// the size, the notes, and the time and speed of each step.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/internal.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/midi/midifilewriter.h"
#include "scoregen.h"

namespace {

using namespace notecraft;

class QuietPlatform : public Platform {
public:
  void ShowMessage(const std::string& title, const std::string& text) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
};

double Seconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long NoteCount(const Score& score) {
  long n = 0;
  for (const auto& v : score.AllVoices())
    for (const auto& note : v->Notes()) n += note->ValueCount();
  return n;
}

void Report(const char* what, double seconds, std::size_t bytes, long notes) {
  std::printf("%-16s %9.1f ms  %8.1f MB/s  %10.0f notes/s\n", what, seconds * 1000,
              static_cast<double>(bytes) / seconds / 1e6, static_cast<double>(notes) / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  static QuietPlatform quiet;
  SetPlatform(&quiet);
  const std::string source = argc > 1 ? argv[1] : "gen:4000:16";
  auto score = std::make_unique<Score>();
  std::vector<std::uint8_t> bytes;
  if (auto spec = scoregen::ParseGenName(source)) {
    score = scoregen::GenerateScore(spec->measures, spec->staves);
  } else {
    std::ifstream in(source, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    bool ok = false;
    const double t = Seconds([&] { ok = score->ReadMIDIFile(Internal{}, bytes, source); });
    if (!ok) return 1;
    Report("import file", t, bytes.size(), NoteCount(*score));
  }
  const double write = Seconds([&] { bytes = MidiFileWriter::Write(*score, false); });
  std::printf("%s: %zu bytes, %d staves, %ld notes\n", source.c_str(), bytes.size(),
              score->Staffs(), NoteCount(*score));
  Report("export", write, bytes.size(), NoteCount(*score));
  auto back = std::make_unique<Score>();
  bool ok = false;
  const double read = Seconds([&] { ok = back->ReadMIDIFile(Internal{}, bytes, "bench.mid"); });
  if (!ok) return 1;
  Report("import", read, bytes.size(), NoteCount(*back));
  const double play = Seconds([&] { bytes = MidiFileWriter::Write(*back, true); });
  Report("playback export", play, bytes.size(), NoteCount(*back));
  return 0;
}
