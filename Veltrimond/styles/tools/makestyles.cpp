// Writes the accompaniment styles the editor ships (data/Styles) with the score engine, so
// they are real score files of the current format. Each style is one measure of one voice
// on one staff, written in C (the Insert Style dialog moves it to the chosen root).
//
//   makestyles OUTPUT_FOLDER          writes every style there
//   makestyles --check FOLDER         exit 1 when FOLDER's styles differ from what would be
//                                     written (the shipped files are out of date)
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "notecraft/core/clock.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace {

using namespace notecraft;

struct Hit {
  int time;  // 64ths from the start of the measure
  int duration;
  std::vector<int> pitches;
  int flags = 0;
};

enum class Kind { Treble, Bass, Drums };

struct StyleSpec {
  const char* name;
  Kind kind;
  int numerator;
  int beatNote;  // the beat's note value in 64ths: 16 for x/4, 8 for x/8
  int tempo;
  int program;  // instrument-table row; drums use the kit row
  std::vector<Hit> hits;
};

// General MIDI drum notes.
constexpr int kKick = 36, kSnare = 38, kClosedHat = 42, kPedalHat = 44, kOpenHat = 46;
constexpr int kRide = 51, kCrash = 49, kSoftKick = 35;
// Table rows: the first drum sound, acoustic bass, piano, accordion.
constexpr int kDrumKitRow = 128, kBassRow = 32, kPianoRow = 0, kAccordionRow = 21;
// The kit's slots, for the style editor's drum list: the drum notes; their table rows are
// the notes + 93 (row 128 is note 35).
constexpr int kKit[8] = {kClosedHat, kSnare, kKick, kRide, kPedalHat, kCrash, kOpenHat, kSoftKick};

std::vector<StyleSpec> Styles() {
  const int q = durQuarter, e = durEighth, s = durSixteenth, h = durHalf;
  std::vector<StyleSpec> styles;
  const auto add = [&styles](const char* name, Kind kind, int numerator, int beatNote, int tempo,
                             int program) -> std::vector<Hit>& {
    styles.push_back({name, kind, numerator, beatNote, tempo, program, {}});
    return styles.back().hits;
  };
  // Drums.
  add("Rock Drums", Kind::Drums, 4, 16, 120, kDrumKitRow) = {
      {0, e, {kKick, kClosedHat}},   {8, e, {kClosedHat}},         {16, e, {kSnare, kClosedHat}},
      {24, e, {kClosedHat}},         {32, e, {kKick, kClosedHat}}, {40, e, {kKick, kClosedHat}},
      {48, e, {kSnare, kClosedHat}}, {56, e, {kOpenHat}}};
  // Swing written as it is read: "ding, ding-a" on the ride, hi-hat on two and four.
  add("Swing Drums", Kind::Drums, 4, 16, 132, kDrumKitRow) = {
      {0, q, {kSoftKick, kRide}},
      {16, e, {kSoftKick, kPedalHat, kRide}, nteDot},
      {28, s, {kRide}},
      {32, q, {kSoftKick, kRide}},
      {48, e, {kSoftKick, kPedalHat, kRide}, nteDot},
      {60, s, {kRide}}};
  add("Waltz Drums", Kind::Drums, 3, 16, 144, kDrumKitRow) = {
      {0, q, {kKick}}, {16, q, {kSnare, kClosedHat}}, {32, q, {kSnare, kClosedHat}}};
  add("Polka Drums", Kind::Drums, 2, 16, 120, kDrumKitRow) = {{0, e, {kKick, kClosedHat}},
                                                              {8, e, {kClosedHat}},
                                                              {16, e, {kSnare, kClosedHat}},
                                                              {24, e, {kClosedHat}}};
  // Bass (C2 = 36).
  add("Walking Bass", Kind::Bass, 4, 16, 132, kBassRow) = {
      {0, q, {36}}, {16, q, {40}}, {32, q, {43}}, {48, q, {45}}};
  add("Rock Bass", Kind::Bass, 4, 16, 120, kBassRow) = {{0, e, {36}},  {8, e, {36}},  {16, e, {36}},
                                                        {24, e, {36}}, {32, e, {43}}, {40, e, {43}},
                                                        {48, e, {45}}, {56, e, {43}}};
  add("Waltz Bass", Kind::Bass, 3, 16, 144, kBassRow) = {{0, h, {36}, nteDot}};
  add("Polka Bass", Kind::Bass, 2, 16, 120, kBassRow) = {{0, q, {36}}, {16, q, {43}}};
  // Treble (middle C = 60).
  add("Ballad", Kind::Treble, 4, 16, 72, kPianoRow) = {{0, e, {60}},  {8, e, {67}},  {16, e, {72}},
                                                       {24, e, {76}}, {32, e, {79}}, {40, e, {76}},
                                                       {48, e, {72}}, {56, e, {67}}};
  // Oom-pah-pah: the bass note, then the chord twice.
  add("Waltz", Kind::Treble, 3, 16, 144, kAccordionRow) = {
      {0, q, {60}}, {16, q, {64, 67, 72}}, {32, q, {64, 67, 72}}};
  add("Jig", Kind::Treble, 6, 8, 110, kPianoRow) = {{0, e, {60}},  {8, e, {64}},  {16, e, {67}},
                                                    {24, e, {72}}, {32, e, {67}}, {40, e, {64}}};
  return styles;
}

bool Build(const StyleSpec& spec, Score& score) {
  score.CreateDefault();
  score.SetTitle(spec.name);
  score.SetComposer("");
  score.SetArrangedBy("");
  score.SetCount(spec.tempo);
  score.AllGlobals().SetDftTimeVal(spec.numerator * 128 + spec.beatNote);

  // The style editor's layout: one staff, one voice, one instrument.
  const auto staff = score.Staff(1);
  if (!staff) return false;
  staff->Clear();
  score.AllInstruments().Clear();
  score.AllVoices().Clear();
  const auto instrument = score.AllInstruments().Add(score.AllInstruments().NewID(), spec.program);
  if (!instrument) return false;
  if (spec.kind == Kind::Drums) {
    for (int slot = 1; slot <= 8; ++slot) {
      instrument->SetDrumCode(slot, kKit[slot - 1] + 93);
      instrument->SetDrumValue(slot, kKit[slot - 1]);
    }
  }
  const auto voice = staff->AddVoice(instrument);
  if (!voice) return false;
  staff->SetDefaultClef(spec.kind == Kind::Drums  ? clfPercussion
                        : spec.kind == Kind::Bass ? clfBass
                                                  : clfTreble);
  for (const Hit& hit : spec.hits) {
    auto pitch = hit.pitches.begin();
    const auto note = voice->Notes().Add(hit.time, *pitch, hit.duration, hit.flags);
    if (!note) return false;
    for (++pitch; pitch != hit.pitches.end(); ++pitch) note->AddValue(*pitch);
  }
  return true;
}

// Object identifiers come from the time of day; a fixed one makes every run write the same
// bytes.
class Midnight final : public Clock {
public:
  int SecondsOfDay() const override { return 0; }
};

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: makestyles OUTPUT_FOLDER | makestyles --check FOLDER\n");
    return 2;
  }
  const fs::path folder = argv[argc - 1];
  std::error_code ec;
  fs::path out = folder;
  if (check) out = fs::temp_directory_path(ec) / ("makestyles-" + std::to_string(::getpid()));
  fs::create_directories(out, ec);
  if (ec) {
    std::fprintf(stderr, "makestyles: cannot create %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }

  Midnight midnight;
  SetClock(&midnight);
  int failures = 0;
  for (const StyleSpec& spec : Styles()) {
    const fs::path file = out / (std::string(spec.name) + ".sty");
    Score score;
    if (!Build(spec, score) || !score.SaveFile(file.string())) {
      std::fprintf(stderr, "makestyles: %s: %s\n", spec.name, score.LastFileError().c_str());
      ++failures;
      continue;
    }
    if (check && ReadAll(file) != ReadAll(folder / file.filename())) {
      std::fprintf(stderr, "makestyles: %s is out of date; run makestyles %s\n",
                   (folder / file.filename()).c_str(), folder.c_str());
      ++failures;
    }
  }
  if (check) {
    // A style that is no longer made is no longer shipped.
    for (fs::directory_iterator it(folder, ec), done; !ec && it != done; it.increment(ec)) {
      if (it->path().extension() == ".sty" && !fs::exists(out / it->path().filename())) {
        std::fprintf(stderr, "makestyles: %s is not made any more\n", it->path().c_str());
        ++failures;
      }
    }
    fs::remove_all(out, ec);
  }
  return failures == 0 ? 0 : 1;
}
