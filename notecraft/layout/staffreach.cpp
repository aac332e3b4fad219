#include "notecraft/layout/staffreach.h"

#include <algorithm>

#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drumnotation.h"

namespace notecraft {

namespace {

// The music font's symbols, in line spaces from the place of the head they belong to (its
// pitch's line or space): a head's half height, the stems (the beams lie on their ends,
// towards the heads), the longer stem a thirty-second's flag needs, and where an
// articulation stands beyond the head (an accent one space further).
constexpr double kHeadHalf = 0.5;
constexpr double kStemUp = 3.56;
constexpr double kStemDown = 3.54;
constexpr double kShortFlagExtra = 1.0;
constexpr double kMarkReach = 1.5;
constexpr double kAccentExtra = 1.0;
// The middle line, in line spaces above the bottom line (places grow downwards).
constexpr double kMiddleLine = -2.0;
constexpr double kTopLine = -4.0;
// A grand staff's upper staff draws the pitches from middle C up, the lower one the rest.
constexpr int kGrandSplit = 60;

// One drawn chord of a beam group or standing alone: where it stands in time (the beam line
// runs in proportion to it) and its highest and lowest head.
struct Chord {
  int Time = 0;
  int Duration = 0;
  double Top = 0;
  double Bottom = 0;
};

// The highest and lowest place reached, in line spaces below the bottom line.
class Extent {
public:
  void Add(double place) {
    m_min = std::min(m_min, place);
    m_max = std::max(m_max, place);
  }
  double Above() const { return std::max(0.0, kTopLine - m_min); }
  double Below() const { return std::max(0.0, m_max); }

private:
  double m_min = 0;
  double m_max = 0;
};

// The stems of a beam group end on one straight line through the outer stem ends, moved
// away from the heads until no inner head reaches past it (the note drawer's rule); its far
// end is as far as the group reaches. A lone note's stem ends at its own length, further
// with a thirty-second's or sixty-fourth's flag.
void AddBeamGroup(Extent& extent, const std::vector<Chord>& group, bool up) {
  if (group.empty()) return;
  if (group.size() == 1) {
    const Chord& c = group.front();
    const double flag = c.Duration <= durThirtySecond ? kShortFlagExtra : 0;
    extent.Add(up ? c.Top - kStemUp - flag : c.Bottom + kStemDown + flag);
    return;
  }
  const Chord& first = group.front();
  const Chord& last = group.back();
  double y0 = up ? first.Top : first.Bottom;
  double yn = up ? last.Top : last.Bottom;
  const double span = static_cast<double>(last.Time - first.Time);
  if (span > 0) {
    double move = 0;
    for (std::size_t i = 1; i + 1 < group.size(); ++i) {
      const double line = y0 + (group[i].Time - first.Time) / span * (yn - y0);
      move = std::max(move, up ? line - group[i].Top : group[i].Bottom - line);
    }
    y0 += up ? -move : move;
    yn += up ? -move : move;
  }
  extent.Add(up ? std::min(y0, yn) - kStemUp : std::max(y0, yn) + kStemDown);
}

// One staff (or one half of a grand staff) across the system.
class HalfReach {
public:
  HalfReach(Staff& staff, int half, int pulse, bool shared)
      : m_staff(staff), m_half(half), m_pulse(std::max(pulse, 1)), m_shared(shared) {}

  void Measure(const MeasureSlot& m) {
    const int key = m_staff.CurKey(m.Start);
    const int end = m.Start + std::max(m.Duration, 1);
    for (int v = 1; v <= m_staff.Voices(); ++v) {
      const auto voice = m_staff.Voice(v);
      if (!voice) continue;
      const auto instrument = voice->Instrument();
      const bool drums = instrument && instrument->Category() == catDrums;
      const Notes& notes = voice->Notes();
      m_group.clear();
      int beat = m.Start + m_pulse;
      // The beat's forced stems: 1 up (a percussion clef), 2 down (a shared staff's second
      // pair of voices), down winning; cleared at every beat.
      int forced = 0;
      for (int k = notes.IndexAtOrAfter(m.Start); k <= notes.Count(); ++k) {
        const auto note = notes.ByIndex(k);
        const int time = note->NoteTime();
        if (time >= end) break;
        if (note->ValueCount() == 0 || note->Value(0) == 0) continue;  // a rest
        Chord chord;
        if (!Place(*note, drums, key, chord)) continue;
        if (time >= beat) {
          CloseGroup();
          forced = 0;
          while (beat <= time) beat += m_pulse;
        }
        if (m_shared && forced == 0) forced = m_staff.ForceFlag(time, beat, v);
        if (drums || m_clef == clfPercussion) forced |= 1;
        const int flags = note->Flags();
        bool up = !(flags & nteForceDown) && (chord.Top > kMiddleLine || (flags & nteForceUp));
        if (forced & 1) up = true;
        if (forced & 2) up = false;

        if (note->Duration() < durQuarter) {
          if (m_group.empty()) m_groupUp = up;
          up = m_groupUp;
          m_group.push_back(chord);
        } else {
          CloseGroup();
          if (note->Duration() != durWhole)
            AddBeamGroup(m_extent, {chord}, up);  // a whole note has no stem
        }
        AddMarks(flags, chord, up);
      }
      CloseGroup();
    }
  }

  const Extent& Result() const { return m_extent; }

private:
  // The places of the chord's heads on this staff, its clef found; false when none of its
  // pitches is drawn here.
  bool Place(const Note& note, bool drums, int key, Chord& chord) {
    // A grand staff's half draws the chords with a pitch of its own; a drum voice then
    // shows all of the chord's drums there.
    auto ours = [this](int value) {
      return m_half == 0 || (m_half == 1) == (value >= kGrandSplit);
    };
    const auto values = note.Values();
    if (std::none_of(values.begin(), values.end(), ours)) return false;
    bool any = false;
    for (const int value : values) {
      if (!drums && !ours(value)) continue;
      if (!any) m_clef = ClefAt(note.NoteTime(), drums);
      const int pitch = drums ? DrumStaffPitch(value) : value;
      m_memory.Clear();
      const double place = SpellPitch(pitch, m_clef, drums ? 0 : key, m_memory).Y;
      if (!any) {
        chord.Top = chord.Bottom = place;
        any = true;
      }
      chord.Top = std::min(chord.Top, place);
      chord.Bottom = std::max(chord.Bottom, place);
    }
    if (!any) return false;
    chord.Time = note.NoteTime();
    chord.Duration = note.Duration();
    m_extent.Add(chord.Top - kHeadHalf);
    m_extent.Add(chord.Bottom + kHeadHalf);
    return true;
  }

  int ClefAt(int time, bool drums) {
    if (drums) return clfPercussion;
    if (m_half == 1) return clfTreble;
    if (m_half == 2) return clfBass;
    const int clef = m_staff.CurClef(time);
    return clef == clfGrand ? clfTreble : clef;
  }

  // An articulation beyond the head on the side away from the stem.
  void AddMarks(int flags, const Chord& chord, bool up) {
    if (!(flags & (nteStacato | nteAccent | nteAccent2))) return;
    const double extra =
        (flags & nteAccent2) && !(flags & (nteStacato | nteAccent)) ? kAccentExtra : 0;
    m_extent.Add(up ? chord.Bottom + kMarkReach + extra : chord.Top - kMarkReach);
  }

  void CloseGroup() {
    AddBeamGroup(m_extent, m_group, m_groupUp);
    m_group.clear();
  }

  Staff& m_staff;
  const int m_half;  // 0 an ordinary staff, 1 and 2 a grand staff's upper and lower
  const int m_pulse;
  const bool m_shared;
  int m_clef = clfTreble;
  AccidentalMemory m_memory;
  std::vector<Chord> m_group;
  bool m_groupUp = false;
  Extent m_extent;
};

}  // namespace

StaffReach ReachOf(Staff& staff, const std::vector<MeasureSlot>& measures, int pulse,
                   bool sharedStaves) {
  StaffReach reach;
  const bool grand = staff.DefaultClef() == clfGrand;
  HalfReach upper(staff, grand ? 1 : 0, pulse, sharedStaves);
  for (const MeasureSlot& m : measures) upper.Measure(m);
  reach.Above = upper.Result().Above();
  reach.Below = upper.Result().Below();
  if (grand) {
    HalfReach lower(staff, 2, pulse, sharedStaves);
    for (const MeasureSlot& m : measures) lower.Measure(m);
    reach.LowerAbove = lower.Result().Above();
    reach.LowerBelow = lower.Result().Below();
  }
  return reach;
}

}  // namespace notecraft
