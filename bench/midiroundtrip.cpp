// midiroundtrip: takes MIDI files through the engine as a user does, for measuring what an
// import and export keep. For every FILE it opens the file, exports it again as OUTDIR/NAME
// (same name), saves it as a score OUTDIR/NAME.sco, reopens that and saves it once more as
// OUTDIR/NAME.2.sco, and prints one tab-separated line:
//
//   FILE  opened|refused  staves  notes  ties  export(ok|message)  playback  score
//
// (a refused file has its message in the third field). playback is "agrees" when the
// playback stream sounds every pitch at the times the export does (note-ons and note-offs,
// in 64ths), else "differs: " and the counts; score is "same" when the second save wrote the
// same bytes as the first, else "differs" or the message that stopped it.
// bench/midi_compare.py compares the exported files note by note with the originals.
//
//   midiroundtrip OUTDIR FILE...
//
// Exit status: 0 when every line was printed, 2 for a wrong command line.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/midievent.h"
#include "notecraft/core/platform.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/midi/smfreader.h"

namespace {

using namespace notecraft;

// Messages go into the line, not to a box or standard error.
class Quiet final : public Platform {
public:
  void ShowMessage(const std::string&, const std::string&) override {}
};

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One line of a message: tabs and line breaks would break the columns.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

// (pitch, time) of every note-on and of every note-off, sorted.
using Sounds = std::pair<std::vector<std::pair<int, int>>, std::vector<std::pair<int, int>>>;

Sounds Sorted(Sounds sounds) {
  std::sort(sounds.first.begin(), sounds.first.end());
  std::sort(sounds.second.begin(), sounds.second.end());
  return sounds;
}

Sounds OfPlayback(Score& score) {
  Sounds sounds;
  for (auto e = score.GetMIDIEvent(0); e; e = score.GetMIDIEvent()) {
    if (e->EventType() == midNoteOn) sounds.first.emplace_back(e->Value(0), e->EventTime());
    if (e->EventType() == midNoteOff) sounds.second.emplace_back(e->Value(0), e->EventTime());
  }
  return Sorted(std::move(sounds));
}

// Times in 64ths: the export writes 8 ticks to the 64th.
Sounds OfExport(const std::vector<char>& file) {
  const std::vector<std::uint8_t> bytes(file.begin(), file.end());
  SmfReader reader(bytes);
  Sounds sounds;
  if (reader.ReadStructure(1000)) return sounds;
  const int division = reader.FileHeader().Division;
  for (const auto& track : reader.Tracks()) {
    auto cursor = reader.Events(track);
    SmfEvent e;
    while (cursor.Next(e)) {
      if (e.Type != SmfEvent::Kind::Channel) continue;
      const auto time = static_cast<int>(e.Tick * 16 / division);
      if (e.Command() == 0x90 && e.Data2 > 0)
        sounds.first.emplace_back(e.Data1, time);
      else if (e.Command() == 0x80 || e.Command() == 0x90)
        sounds.second.emplace_back(e.Data1, time);
    }
  }
  return Sorted(std::move(sounds));
}

void RoundTrip(const std::filesystem::path& outDir, const std::string& file) {
  Score score;
  if (!score.OpenFile(file)) {
    std::cout << file << "\trefused\t" << OneLine(score.LastFileError()) << '\n';
    return;
  }
  long notes = 0;
  for (const auto& voice : score.AllVoices()) notes += voice->Notes().Count();
  long ties = 0;
  for (const auto& staff : score.AllStaffs())
    for (const auto& e : staff->GlobalEvents())
      if (e->EventType() == evtTie) ++ties;
  std::cout << file << "\topened\t" << score.Staffs() << '\t' << notes << '\t' << ties << '\t';

  const std::filesystem::path name = std::filesystem::path(file).filename();
  const std::filesystem::path midi = outDir / name;
  const bool exported = score.SaveFile(midi.string(), fmtMIDI);
  std::cout << (exported ? "ok" : OneLine(score.LastFileError())) << '\t';
  if (exported) {
    const Sounds played = OfPlayback(score), written = OfExport(ReadAll(midi));
    if (played == written) {
      std::cout << "agrees\t";
    } else {
      std::cout << "differs: " << played.first.size() << "/" << written.first.size() << " on, "
                << played.second.size() << "/" << written.second.size() << " off\t";
    }
  } else {
    std::cout << "-\t";
  }

  const std::filesystem::path first = outDir / (name.string() + ".sco");
  const std::filesystem::path second = outDir / (name.string() + ".2.sco");
  if (!score.SaveFile(first.string(), fmtVeltrimond)) {
    std::cout << OneLine(score.LastFileError()) << '\n';
    return;
  }
  Score again;
  if (!again.OpenFile(first.string())) {
    std::cout << "reopen: " << OneLine(again.LastFileError()) << '\n';
    return;
  }
  if (!again.SaveFile(second.string(), fmtVeltrimond)) {
    std::cout << "second save: " << OneLine(again.LastFileError()) << '\n';
    return;
  }
  std::cout << (ReadAll(first) == ReadAll(second) ? "same" : "differs") << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: midiroundtrip OUTDIR FILE...\n";
    return 2;
  }
  Quiet quiet;
  SetPlatform(&quiet);
  const std::filesystem::path outDir = argv[1];
  std::filesystem::create_directories(outDir);
  for (int i = 2; i < argc; ++i) RoundTrip(outDir, argv[i]);
  SetPlatform(nullptr);
  return 0;
}
