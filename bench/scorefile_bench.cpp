// Saving and opening native score files.
//
//   scorefile_bench [gen:MEASURES:STAVES | FILE] [--save OUT]
//
// With gen (the default is gen:4000:16) a score is built in memory: every staff has two
// voices (quarter notes with a three-note chord on every other beat, and half notes) and
// a lyric under every quarter, a dynamic every eight measures. It is saved (to OUT, or to
// a temporary file) and opened again. With FILE the file is opened (and saved to OUT when
// given). Prints the file size and the time and speed of each step.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "notecraft/core/allocator.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/io/fileops.h"
#include "notecraft/io/scorefilereader.h"
#include "notecraft/io/scorefilewriter.h"

namespace {

using namespace notecraft;

double Seconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, double seconds, std::uintmax_t bytes) {
  std::printf("%-22s %9.1f ms  %8.1f MB/s\n", what, seconds * 1000,
              static_cast<double>(bytes) / seconds / 1e6);
}

void Generate(Score& score, int measures, int staves) {
  const Internal key;
  score.CreateDefault();
  score.SetTitle("Benchmark");
  score.SetKey(1);
  score.AllGlobals().Add(0, evtRepeatBegin);
  auto& instruments = score.AllInstruments();
  static const char* syllables[] = {"la", "li", "lo", "lu"};
  for (int s = 1; s <= staves; ++s) {
    auto staff = s == 1 ? score.Staff(1)
                        : score.AllStaffs().AddStaff(key, score.AllStaffs().NewID(), "Staff", std::nullopt, true);
    // Sixteen instruments at most: the first staff keeps the default score's.
    auto ins = s == 1 ? staff->Voice(1)->Instrument() : instruments.Add(instruments.NewID(), (s * 7) % 120);
    while (staff->Voices() < 2) staff->AddVoice(ins);
    auto& upper = staff->Voice(1)->Notes();
    auto& lower = staff->Voice(2)->Notes();
    auto& events = staff->GlobalEvents();
    events.Add(0, evtKeyChange, 1, 0);
    for (int m = 0; m < measures; ++m) {
      const int t0 = m * 64;
      for (int beat = 0; beat < 4; ++beat) {
        const int t = t0 + beat * 16;
        auto note = upper.Add(t, 60 + (m + beat) % 12, 16, 0);
        if (beat % 2 == 0) {
          note->AddValue(64 + (m + beat) % 12);
          note->AddValue(67 + (m + beat) % 12);
        }
        events.Add(t, evtLyric, 0, 0, syllables[(m + beat) % 4]);
      }
      lower.Add(t0, 48 + m % 12, 32, 0);
      lower.Add(t0 + 32, 43 + m % 12, 32, 0);
      if (m % 8 == 0) events.Add(t0, evtDynamic, dynMF);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  TuneAllocator();  // as programs that open large scores do
  std::string source = "gen:4000:16";
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--save" && i + 1 < argc) out = argv[++i];
    else source = arg;
  }
  const bool generate = source.rfind("gen:", 0) == 0;
  const std::string temp = (std::filesystem::temp_directory_path() / "scorefile_bench.sco").string();
  const std::string path = !out.empty() ? out : generate ? temp : source;

  Score score;
  if (generate) {
    int measures = 4000, staves = 16;
    std::sscanf(source.c_str(), "gen:%d:%d", &measures, &staves);
    const double build = Seconds([&] { Generate(score, measures, staves); });
    std::printf("built %d measures x %d staves in %.1f ms\n", measures, staves, build * 1000);
  } else {
    // The first open of the process, on a fresh heap: what a user waits for.
    bool opened = false;
    const double first = Seconds([&] { opened = score.OpenFile(source); });
    if (!opened) {
      std::fprintf(stderr, "cannot open %s: %s\n", source.c_str(), score.LastFileError().c_str());
      return 1;
    }
    Report("open (fresh process)", first, std::filesystem::file_size(source));
  }

  if (generate || !out.empty()) {
    bool saved = false;
    const double save = Seconds([&] { saved = score.SaveFile(path); });
    if (!saved) {
      std::fprintf(stderr, "cannot save %s: %s\n", path.c_str(), score.LastFileError().c_str());
      return 1;
    }
    const auto size = std::filesystem::file_size(path);
    std::printf("file %s: %ju bytes\n", path.c_str(), static_cast<std::uintmax_t>(size));
    Report("save (write + commit)", save, size);
  }

  // The steps of opening one by one, then the whole.
  auto bytes = ReadFileBytes(path, 64u << 20);
  if (!bytes) return 1;
  const auto size = bytes.Value().Length;
  std::printf("file %s: %zu bytes\n", path.c_str(), size);
  const double write = Seconds([&] { (void)ScoreFileWriter::Write(score); });
  Report("write to memory", write, size);
  const double parse = Seconds([&] { (void)ScoreFileReader::Parse(bytes.Value().Bytes()); });
  Report("parse", parse, size);
  Score opened;
  const double open = Seconds([&] { opened.OpenFile(path); });
  Report("open", open, size);
  // Again into the same score: the allocator now has the memory of the content it replaces
  // (a host reopening or reloading), so the machine's first-touch page faults drop out.
  const double reopen = Seconds([&] { opened.OpenFile(path); });
  Report("open again", reopen, size);
  std::printf("opened: %d staves, %d voices, first voice %d notes\n", opened.Staffs(),
              opened.AllVoices().Count(),
              opened.Staffs() ? opened.Staff(1)->Voice(1)->Notes().Count() : 0);
  if (path == temp) std::filesystem::remove(temp);
  return 0;
}
