#include "scoregen.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace scoregen {

using namespace notecraft;

namespace {

// A small linear congruential generator: the same score on every machine.
class Rng {
public:
  explicit Rng(unsigned seed) : m_state(seed * 2654435761u + 1u) {}
  unsigned Next(unsigned bound) {
    m_state = m_state * 1664525u + 1013904223u;
    return (m_state >> 8) % bound;
  }

private:
  unsigned m_state;
};

struct Signature {
  std::uint8_t v1, v2;
};
constexpr std::array<Signature, 3> kSignatures = {{{4, 16}, {3, 16}, {6, 8}}};
constexpr std::array<int, 6> kKeys = {0, 2, -3, 4, -1, 1};
constexpr std::array<int, 4> kDynamics = {dynMF, dynP, dynF, dynMP};
constexpr std::array<const char*, 6> kSyllables = {"la", "lo-", "ri", "da", "mi-", "so"};

// Fills one measure of a voice from `start` with durations that fit it.
void FillMeasure(Notes& notes, Rng& rng, int start, int length, int low, bool upper,
                 std::vector<int>* times) {
  int t = start;
  const int end = start + length;
  while (t < end) {
    const int left = end - t;
    if (upper && left >= 24 && rng.Next(9) == 0) {  // a triplet group: three spans of 8
      for (int i = 0; i < 3; ++i) {
        notes.Add(t, low + static_cast<int>(rng.Next(14)), durQuarter, nteTriplet);
        if (times) times->push_back(t);
        t += 8;
      }
      continue;
    }
    static constexpr std::array<int, 6> kUpper = {16, 8, 8, 4, 32, 16};
    static constexpr std::array<int, 4> kLower = {32, 16, 64, 16};
    int duration = upper ? kUpper[rng.Next(6)] : kLower[rng.Next(4)];
    while (duration > left) duration /= 2;
    int flags = 0;
    int span = duration;
    if (duration >= 8 && duration + duration / 2 <= left && rng.Next(5) == 0) {
      flags |= nteDot;
      span = duration + duration / 2;
    }
    if (rng.Next(7) == 0 && span < left) {  // a rest: leave the span empty
      t += span;
      continue;
    }
    const int pitch = low + static_cast<int>(rng.Next(upper ? 15 : 12));
    notes.Add(t, pitch, duration, flags);
    if (rng.Next(4) == 0) notes.Add(t, pitch + 3 + static_cast<int>(rng.Next(2)), duration, flags);
    if (rng.Next(6) == 0) notes.Add(t, pitch + 7, duration, flags);
    if (times) times->push_back(t);
    t += span;
  }
}

}  // namespace

std::unique_ptr<Score> GenerateScore(int measures, int staves) {
  GenOptions options;
  options.measures = measures;
  options.staves = staves;
  return GenerateScore(options);
}

std::unique_ptr<Score> GenerateScore(const GenOptions& options) {
  const int measures = options.measures;
  const int staves = options.staves;
  const int voices = std::clamp(options.voices, 1, 4);
  auto score = std::make_unique<Score>();
  score->CreateDefault();
  score->SetTitle("Generated Score");
  score->SetComposer("scoregen");
  const Internal key;
  auto& globals = score->AllGlobals();
  globals.Clear();

  // Time signatures and keys first, so measure starts can be computed.
  for (int m = 0; m < measures; m += 50) {
    const auto sig = kSignatures[static_cast<std::size_t>(m / 50) % kSignatures.size()];
    globals.Add(globals.MeasureTime(m + 1), evtTimeChange, sig.v1, sig.v2);
  }
  score->SetKey(kKeys[0]);
  std::vector<std::pair<int, int>> keyChanges;  // time, key
  for (int m = 25; m < measures; m += 50) {
    const int k = kKeys[static_cast<std::size_t>(m / 50 + 1) % kKeys.size()];
    keyChanges.emplace_back(globals.MeasureTime(m + 1), k);
    globals.Add(keyChanges.back().first, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(k)));
  }
  if (options.lineEndEvery > 0)
    for (int m = options.lineEndEvery; m < measures; m += options.lineEndEvery)
      globals.Add(globals.MeasureTime(m + 1), evtLineEnd);

  // The default score's staff keeps no voice or instrument of its own: every staff gets two
  // voices below.
  auto& staffs = score->AllStaffs();
  score->Staff(1)->Clear();
  score->AllVoices().Clear();
  score->AllInstruments().Clear();
  for (int s = 2; s <= staves; ++s)
    staffs.AddStaff(key, staffs.NewID(), "Staff " + std::to_string(s), std::nullopt, true);
  static constexpr std::array<int, 8> kPrograms = {0, 40, 73, 24, 56, 71, 42, 32};
  for (int s = 1; s <= staves; ++s) {
    auto staff = score->Staff(s);
    staff->SetDescription("Staff " + std::to_string(s));
    auto ins = score->AllInstruments().Add(score->AllInstruments().NewID(),
                                           kPrograms[static_cast<std::size_t>(s - 1) % kPrograms.size()]);
    staff->Clear();
    std::vector<std::shared_ptr<Voice>> parts;
    for (int v = 0; v < voices; ++v) parts.push_back(staff->AddVoice(ins));
    const bool grand = options.grandStaves && s % 4 == 0;
    staff->SetDefaultClef(grand ? clfGrand : s % 3 == 0 ? clfBass : clfTreble);
    Rng rng(static_cast<unsigned>(s));
    std::vector<int> upperTimes;
    std::vector<int>* lyricTimes = s == 1 ? &upperTimes : nullptr;
    auto& events = staff->GlobalEvents();
    for (int m = 1; m <= measures; ++m) {
      const int start = globals.MeasureTime(m);
      int number = 0, length = 0;
      globals.MeasureInfo(start, number, length);
      const int low = staff->DefaultClef() == clfBass ? 40 : 60;
      FillMeasure(parts[0]->Notes(), rng, start, length, low, true, lyricTimes);
      // A grand staff's second voice plays on its lower staff.
      if (voices > 1) FillMeasure(parts[1]->Notes(), rng, start, length, grand ? 36 : low - 12, false, nullptr);
      if (voices > 2) FillMeasure(parts[2]->Notes(), rng, start, length, low + 5, true, nullptr);
      if (voices > 3) FillMeasure(parts[3]->Notes(), rng, start, length, grand ? 40 : low - 7, false, nullptr);
      if ((m - 1) % 50 == 0)
        events.Add(start, evtDynamic,
                   static_cast<std::uint8_t>(kDynamics[static_cast<std::size_t>(m / 50) % kDynamics.size()]));
      // A tie over the bar line from the last upper note into the next measure's first.
      const int next = globals.MeasureTime(m + 1);
      if (m < measures && next < 65536 && rng.Next(6) == 0) {
        auto last = parts[0]->Notes().Lookup(next, false, true);
        if (last && last->NoteTime() >= start)
          events.Add(last->NoteTime(), evtTie, static_cast<std::uint8_t>(next >> 8),
                     static_cast<std::uint8_t>(next & 255), "1");
      }
    }
    // Staves take their keys from their own key changes.
    for (const auto& [time, k] : keyChanges)
      events.Add(time, evtKeyChange, static_cast<std::uint8_t>(KeyToByte(k)));
    for (std::size_t i = 0; i < upperTimes.size(); ++i)
      events.Add(upperTimes[i], evtLyric, 0, 0, kSyllables[i % kSyllables.size()]);
    if (!upperTimes.empty()) staff->SetVerses(key, 1);
  }
  score->SetChanged(false);
  return score;
}

std::optional<GenSpec> ParseGenName(std::string_view name) {
  if (name.substr(0, 4) != "gen:") return std::nullopt;
  name.remove_prefix(4);
  const auto colon = name.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  GenSpec spec;
  auto parse = [](std::string_view s, int& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc{} && end == s.data() + s.size();
  };
  if (!parse(name.substr(0, colon), spec.measures) || !parse(name.substr(colon + 1), spec.staves))
    return std::nullopt;
  if (spec.measures < 1 || spec.measures > 100000 || spec.staves < 1 || spec.staves > 85)
    return std::nullopt;
  return spec;
}

}  // namespace scoregen
