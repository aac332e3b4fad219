#include "notecraft/edit/bandhit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "notecraft/core/enums.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/region.h"

namespace notecraft {

namespace {

BandMeasure Describe(const Region& band, int i, int left) {
  const Range* m = band.Measure(i);
  return {i, left, m->Low(), m->High(), band.MeasurePad(i), band.MeasureStops(i),
          band.MeasureRests(i)};
}

// Piecewise-linear from the drawn positions: left of the first one its time, between two
// the times in proportion, after the last one on to the right edge at length.
int OffsetBetweenStops(const BandMeasure& measure, int x, int length) {
  std::vector<MeasureStop> stops = measure.Stops;
  const int right = measure.Left + measure.Width;
  if (stops.back().Time < length && stops.back().X < right) stops.push_back({right, length});
  if (x <= stops.front().X) return std::clamp(stops.front().Time, 0, length);
  for (std::size_t k = 1; k < stops.size(); ++k) {
    const MeasureStop& a = stops[k - 1];
    const MeasureStop& b = stops[k];
    if (x >= b.X) continue;
    const long long time =
        a.Time + static_cast<long long>(x - a.X) * (b.Time - a.Time) / (b.X - a.X);
    return std::clamp(static_cast<int>(time), 0, length);
  }
  return std::clamp(stops.back().Time, 0, length);
}

}  // namespace

std::optional<BandMeasure> MeasureAt(const Region& band, int x) {
  int left = band.Left();
  for (int i = 0; i < band.Measures(); ++i) {
    const int width = band.Measure(i)->Low();
    if (x <= left + width) return Describe(band, i, left);
    left += width;
  }
  return std::nullopt;
}

std::optional<BandMeasure> MeasureHolding(const Region& band, int from, int to) {
  int left = band.Left();
  for (int i = 0; i < band.Measures(); ++i) {
    const int width = band.Measure(i)->Low();
    if (from >= left && to <= left + width) return Describe(band, i, left);
    left += width;
  }
  return std::nullopt;
}

int RestUnder(const BandMeasure& measure, int x) {
  for (const DrawnRest& rest : measure.Rests)
    if (x >= rest.Left && x <= rest.Right) return rest.Time;
  return -1;
}

int OffsetInMeasure(const BandMeasure& measure, int x, int length) {
  if (length <= 0) return 0;
  if (const int rest = RestUnder(measure, x); rest >= 0) return std::min(rest, length);
  if (!measure.Stops.empty()) return OffsetBetweenStops(measure, x, length);
  x = std::max(x, measure.Left);
  const int unit = (measure.Width - measure.Pad) / length;
  if (unit <= 0) return 0;
  return std::clamp((x - measure.Left - measure.Pad) / unit, 0, length);
}

std::shared_ptr<Note> HeadUnder(const Notes& notes, const Region& band, int x, int from, int to) {
  constexpr int kSlack = 30;
  const int space = band.IncY();
  std::shared_ptr<Note> nearest;
  int best = 0;
  for (int k = notes.IndexAtOrAfter(from); k <= notes.Count(); ++k) {
    auto note = notes.ByIndex(k);
    if (note->NoteTime() >= to) break;
    const int left = note->X() - kSlack;
    const int right = note->X() + space * 3 / 2 + kSlack;
    if (x < left || x > right) continue;
    const int distance = std::abs(x - (note->X() + space / 2));
    if (!nearest || distance < best) {
      nearest = std::move(note);
      best = distance;
    }
  }
  return nearest;
}

int LowerStaffTop(const Region& band) {
  const int plain = band.Top() + band.PadTop() + 8 * band.IncY();
  return band.LowerTop() > 0 ? band.LowerTop() : plain;
}

int GrandStaffGap(const Region& band) {
  return LowerStaffTop(band) - (band.Top() + band.PadTop() + 8 * band.IncY());
}

int PitchFromY(int y, int clef, int key, int top, int padTop, int incY, int lowerGap) {
  const double step = incY / 2.0;
  if (step < 1.0) return 65;
  const int base0 = top + padTop;
  int base = base0 + 5 * incY;  // treble (and percussion): middle C a ledger line below
  switch (clef) {
    case clfBass:
      base = base0 - incY;
      break;
    case clfAlto:
      base = base0 + 2 * incY;
      break;
    case clfTenor:
      base = base0 + incY;
      break;
    case clfGrand:
      // The lower staff starts four spaces (and the lyrics' room) below the upper one: its
      // middle C stands a ledger line above it.
      if (2.0 * y > 2.0 * base0 + 12.0 * incY + lowerGap) base = base0 + 7 * incY + lowerGap;
      break;
    default:
      break;
  }
  // Diatonic steps from middle C's position to the one nearest the point (negative: above
  // it), walked along the key's major scale; pc is the place above the key's tonic. Two
  // sharps and more make the position C sharp, six flats and more C flat.
  auto steps = RoundHalfEven(std::clamp((static_cast<double>(y) - base) / step, -80.0, 80.0));
  key = std::clamp(key, -7, 7);
  int pitch = 60 + (key >= 2 ? 1 : 0) - (key <= -6 ? 1 : 0);
  int pc = ((pitch - 7 * key) % 12 + 12) % 12;
  for (; steps < 0; ++steps) {
    const int up = (pc == 4 || pc == 11) ? 1 : 2;
    pitch += up;
    pc = (pc + up) % 12;
  }
  for (; steps > 0; --steps) {
    const int down = (pc == 0 || pc == 5) ? 1 : 2;
    pitch -= down;
    pc = (pc - down + 12) % 12;
  }
  return std::clamp(pitch, 0, 127);
}

}  // namespace notecraft
