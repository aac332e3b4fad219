#include "notecraft/core/noteend.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/note.h"
#include "notecraft/core/numeric.h"

namespace notecraft {

namespace {

constexpr int kPlainMeasure = 64;  // 4/4, where no time signature stands
constexpr int kQuarter = 16;

int Saturate(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// The start of the slot a triplet of value d (> 0) at `at` takes, in thirds of a 64th from
// its measure's start (`at` too). A group spans two of the value (6d) in three slots of 2d
// and starts on one of the measure's quarters (on a multiple of its span when that is
// shorter). The note takes the slot start nearest its time, the later of two equally near.
std::int64_t SlotThirds(std::int64_t at, std::int64_t d) {
  const std::int64_t span = 6 * d;
  const std::int64_t step = 3 * std::min<std::int64_t>(2 * d, kQuarter);
  const std::int64_t latest = std::max<std::int64_t>(FloorDiv(at, step) * step, 0);
  std::int64_t slot = 0;
  std::int64_t distance = -1;
  for (std::int64_t group = std::max<std::int64_t>(latest - FloorDiv(span, step) * step, 0);
       group <= latest; group += step) {
    if (group < at - span) continue;
    // The group's slot start nearest at (of the three and the next group's first).
    const std::int64_t k = std::clamp<std::int64_t>(FloorDiv(at - group + d, 2 * d), 0, 3);
    const std::int64_t candidate = group + k * 2 * d;
    const std::int64_t off = candidate > at ? candidate - at : at - candidate;
    if (distance < 0 || off <= distance) {
      slot = candidate;
      distance = off;
    }
  }
  return slot;
}

// Thirds of a 64th to the nearest 64th: a third never lies halfway between two.
std::int64_t Rounded(std::int64_t thirds) {
  return FloorDiv(thirds + 1, 3);
}

int MeasureStartOf(int time, const GlobalEvents* globals) {
  return globals ? globals->MeasureStart(time)
                 : Saturate(FloorDiv(time, kPlainMeasure) * kPlainMeasure);
}

}  // namespace

int NoteEnd(int time, int duration, int flags, int measureStart) {
  const std::int64_t d = std::max(duration, 0);
  const std::int64_t t = time;
  std::int64_t end = t + d + ((flags & nteDot) ? d / 2 : 0);
  if ((flags & nteTriplet) && d > 0) {
    // Two thirds of the value from the slot's start, the whole value with a dot.
    const std::int64_t slot = SlotThirds(3 * (t - measureStart), d);
    end = measureStart + Rounded(slot + ((flags & nteDot) ? 3 * d : 2 * d));
  }
  return Saturate(std::max(end, t + 1));
}

int NoteEnd(int time, int duration, int flags, const GlobalEvents* globals) {
  // Only a triplet's places depend on where its measure starts.
  if (!(flags & nteTriplet)) return NoteEnd(time, duration, flags, time);
  return NoteEnd(time, duration, flags, MeasureStartOf(time, globals));
}

int SlotStart(int time, int duration, int flags, const GlobalEvents* globals) {
  if (!(flags & nteTriplet) || duration <= 0) return time;
  const int start = MeasureStartOf(time, globals);
  return Saturate(start +
                  Rounded(SlotThirds(3 * (static_cast<std::int64_t>(time) - start), duration)));
}

int NoteEnd(const Note& note, const GlobalEvents* globals) {
  return NoteEnd(note.NoteTime(), note.Duration(), note.Flags(), globals);
}

int SoundsFor(const Note& note, int length, const GlobalEvents* globals) {
  if (!(note.Flags() & nteTriplet)) return length;
  return std::max(1, std::min(length, NoteEnd(note, globals) - note.NoteTime()));
}

}  // namespace notecraft
