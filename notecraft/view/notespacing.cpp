#include "notecraft/view/notespacing.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/accidentalcolumns.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notesandbeams.h"

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

// Marks what the heads of a drawn chord need at its position: a dot, a second, columns of
// accidentals. Pitches are spelled in the order the drawer writes them, highest first.
class ChordMarks {
public:
  void Mark(const RhythmItem& item, int grandHalf, int split, bool drums, int key,
            AccidentalMemory& memory, NotePosition& p) {
    if (item.Dotted) p.Dotted = true;
    if (item.Rest || !item.Of) return;
    m_heads.clear();
    m_signs.clear();
    const auto pitches = item.Of->Values();
    for (auto it = pitches.rbegin(); it != pitches.rend(); ++it) {
      const int pitch = *it;
      if (pitch == 0 || (grandHalf == 2 ? pitch >= split : pitch < split)) continue;
      const SpelledPitch spelled =
          SpellPitch(drums ? DrumStaffPitch(pitch) : pitch, clfTreble, key, memory);
      m_heads.push_back(spelled.Y);
      if (!drums && spelled.Mark != Accidental::None) m_signs.push_back({spelled.Y, spelled.Mark});
    }
    // Two heads less than a line apart (a second, or two drums on one place) stand side by
    // side, whatever order the drawer takes them in.
    std::sort(m_heads.begin(), m_heads.end());
    for (std::size_t s = 1; s < m_heads.size(); ++s)
      if (m_heads[s] - m_heads[s - 1] < 0.75) p.Second = true;
    if (m_signs.empty()) return;
    p.Accidental = true;
    p.AccidentalColumns = std::max(p.AccidentalColumns, AccidentalColumns(m_signs, m_columns));
  }

private:
  std::vector<double> m_heads;
  std::vector<AccidentalSign> m_signs;
  std::vector<int> m_columns;
};

// Whether item k of a voice's measure is a note drawn with a flag: shorter than a quarter,
// with no such note before or after it in the same beat to share a beam (a rest or a longer
// note closes a beam group, as does the beat).
bool Unbeamed(const std::vector<RhythmItem>& items, std::size_t k, int pulse) {
  auto beamed = [&](std::size_t j) {
    return !items[j].Rest && !items[j].MeasureRest && items[j].Value < durQuarter;
  };
  if (!beamed(k)) return false;
  const int beat = items[k].Time / pulse;
  if (k > 0 && beamed(k - 1) && items[k - 1].Time / pulse == beat) return false;
  if (k + 1 < items.size() && beamed(k + 1) && items[k + 1].Time / pulse == beat) return false;
  return true;
}

}  // namespace

int RoomBefore(const std::vector<NotePosition>& positions, std::size_t k, const GlyphRoom& room) {
  if (k == 0 || k >= positions.size()) return 0;
  const NotePosition& before = positions[k - 1];
  int need = std::max(before.Dotted ? room.DottedHead : room.Head, before.Flag ? room.Flagged : 0) +
             room.Gap;
  if (before.Second) need += room.Head;
  const NotePosition& at = positions[k];
  need += room.Accidental * std::max(at.AccidentalColumns, at.Accidental ? 1 : 0);
  if (positions[k].Second) need += room.Head;
  return std::max(need, positions[k].LyricRoom);
}

int RoomAfter(const NotePosition& last, const GlyphRoom& room) {
  int need = std::max(
      {last.Dotted ? room.DottedHead : room.Head, room.Ledger, last.Flag ? room.Flagged : 0});
  if (last.Second) need += room.Head;
  return need + room.Gap;
}

int LeadRoom(const NotePosition& first, const GlyphRoom& room) {
  const int columns = std::max(first.AccidentalColumns, first.Accidental ? 1 : 0);
  if (columns == 0) return 0;
  return (columns - 1) * room.Accidental + (first.Second ? room.Head : 0);
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
  const Metre metre = Metre::Of(score.AllGlobals().CurTimeVal(start), duration);
  const int pulse = std::max(score.AllGlobals().PulseValue(), 1);
  std::vector<RhythmNote> notes;
  MeasureRhythm rhythm;
  ChordMarks marks;
  for (const int index : staves) {
    const auto staff = score.Staff(index);
    if (!staff) continue;
    const int key = staff->CurKey(start);
    const bool grand = staff->CurClef(start) == clfGrand;
    for (int half = 1; half <= (grand ? 2 : 1); ++half) {
      const int split = grand ? kGrandSplit : 0;
      AccidentalMemory memory;  // the staff's signs across its voices, as the drawer writes them
      for (int v = 1; v <= staff->Voices(); ++v) {
        const auto voice = staff->Voice(v);
        if (!voice) continue;
        const auto instrument = voice->Instrument();
        RhythmOptions options;
        options.FillGaps = v == 1;
        options.Drums = instrument && instrument->Category() == catDrums;
        GatherRhythmNotes(voice->Notes(), start, duration, half, split, notes);
        ReadRhythm(notes, metre, options, rhythm);
        for (std::size_t k = 0; k < rhythm.Items.size(); ++k) {
          const RhythmItem& item = rhythm.Items[k];
          NotePosition& p = at[item.Time];
          p.Time = item.Time;
          marks.Mark(item, half, split, options.Drums, key, memory, p);
          if (Unbeamed(rhythm.Items, k, pulse)) p.Flag = true;
        }
      }
    }
  }
  std::vector<NotePosition> positions;
  positions.reserve(at.size());
  for (const auto& [time, p] : at) positions.push_back(p);
  return positions;
}

}  // namespace notecraft
