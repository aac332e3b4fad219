#include "notecraft/view/notespacing.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/drumnotation.h"

namespace notecraft {

namespace {

// What the proportional space and the spreads take at a scale of unit twips per 64th.
long long Taken(const std::vector<NotePosition>& positions, const std::vector<int>& rooms,
                int duration, int unit) {
  long long taken = static_cast<long long>(unit) * (duration + 1);
  for (std::size_t k = 1; k < positions.size(); ++k) {
    const long long proportional =
        static_cast<long long>(unit) * (positions[k].Time - positions[k - 1].Time);
    taken += std::max(0LL, rooms[k] - proportional);
  }
  return taken;
}

// The time a note occupies: half its duration in a triplet, and half again with a dot.
int Span(const Note& note) {
  const int duration = note.Duration();
  int span = (note.Flags() & nteTriplet) ? duration / 2 : duration;
  if (note.Flags() & nteDot) span += duration / 2;
  return span;
}

}  // namespace

int RoomBefore(const std::vector<NotePosition>& positions, std::size_t k, const GlyphRoom& room) {
  if (k == 0 || k >= positions.size()) return 0;
  const NotePosition& before = positions[k - 1];
  int need = (before.Dotted ? room.DottedHead : room.Head) + room.Gap;
  if (before.Second) need += room.Head;
  if (positions[k].Accidental) need += room.Accidental;
  if (positions[k].Second) need += room.Head;
  return std::max(need, positions[k].LyricRoom);
}

MeasureSpacing SpreadPositions(const std::vector<NotePosition>& positions, int duration,
                               int available, const GlyphRoom& room) {
  MeasureSpacing spacing;
  duration = std::max(duration, 1);
  available = std::max(available, 0);
  std::vector<int> rooms(positions.size(), 0);
  long long needed = 0;
  for (std::size_t k = 1; k < positions.size(); ++k) {
    rooms[k] = RoomBefore(positions, k, room);
    needed += rooms[k];
  }

  // What is taken grows with the scale (by at least one twip per unit, as the spreads
  // together span less than the measure), so the largest scale that fits is found by
  // halving.
  int low = 0;
  int high = available / (duration + 1);
  if (Taken(positions, rooms, duration, high) <= available) {
    low = high;
  } else {
    while (low < high) {
      const int mid = low + (high - low + 1) / 2;
      if (Taken(positions, rooms, duration, mid) <= available)
        low = mid;
      else
        high = mid - 1;
    }
  }
  spacing.TwipsPerUnit = low;

  // Glyphs that need more than the measure has share what there is.
  const bool squeezed = needed > available;
  for (std::size_t k = 1; k < positions.size(); ++k) {
    const int proportional = low * (positions[k].Time - positions[k - 1].Time);
    int want = rooms[k];
    if (squeezed) want = static_cast<int>(static_cast<long long>(rooms[k]) * available / needed);
    if (want > proportional) spacing.Spreads.push_back({positions[k].Time, want - proportional});
  }
  return spacing;
}

std::vector<NotePosition> CollectPositions(Score& score, const std::vector<int>& staves, int start,
                                           int duration) {
  std::map<int, NotePosition> at;
  auto mark = [&](int time) -> NotePosition& {
    NotePosition& p = at[time];
    p.Time = time;
    return p;
  };
  for (const int index : staves) {
    const auto staff = score.Staff(index);
    if (!staff) continue;
    const int key = staff->CurKey(start);
    AccidentalMemory memory;  // the staff's signs across its voices, as the drawer writes them
    for (int v = 1; v <= staff->Voices(); ++v) {
      const auto voice = staff->Voice(v);
      if (!voice) continue;
      const auto instrument = voice->Instrument();
      const bool drums = instrument && instrument->Category() == catDrums;
      const Notes& notes = voice->Notes();
      int restFrom = 0;  // the end of the voice's last note, where a rest may begin
      for (int k = notes.IndexAtOrAfter(start); k <= notes.Count(); ++k) {
        const auto note = notes.ByIndex(k);
        const int time = note->NoteTime() - start;
        if (time >= duration) break;
        if (v == 1 && restFrom < time) mark(restFrom);
        NotePosition& p = mark(time);
        if (note->Flags() & nteDot) p.Dotted = true;
        std::vector<double> steps;
        for (const int pitch : note->Values()) {
          if (pitch == 0) continue;
          const SpelledPitch spelled =
              SpellPitch(drums ? DrumStaffPitch(pitch) : pitch, clfTreble, key, memory);
          if (!drums && spelled.Mark != Accidental::None) p.Accidental = true;
          steps.push_back(spelled.Y);
        }
        std::sort(steps.begin(), steps.end());
        for (std::size_t s = 1; s < steps.size(); ++s)
          if (std::abs(steps[s] - steps[s - 1] - 0.5) < 1e-9) p.Second = true;
        restFrom = std::max(restFrom, time + Span(*note));
      }
      if (v == 1 && restFrom < duration) mark(restFrom);
    }
  }
  std::vector<NotePosition> positions;
  positions.reserve(at.size());
  for (const auto& [time, p] : at) positions.push_back(p);
  return positions;
}

}  // namespace notecraft
