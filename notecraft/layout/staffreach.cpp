#include "notecraft/layout/staffreach.h"

#include <algorithm>
#include <array>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notesandbeams.h"

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

// One drawn chord of a beam group or standing alone: where it stands in time (the beam line
// runs in proportion to it) and its highest and lowest head.
struct Chord {
  int Time = 0;
  int Duration = 0;
  double Top = 0;
  double Bottom = 0;
  bool Triplet = false;  // in a triplet group, whose bracket stands beyond the stems
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
// with a thirty-second's or sixty-fourth's flag. Triplet notes among them have their
// bracket beyond.
void AddBeamGroup(Extent& extent, const std::vector<Chord>& group, bool up, double bracket) {
  if (group.empty()) return;
  const bool triplet =
      std::any_of(group.begin(), group.end(), [](const Chord& c) { return c.Triplet; });
  auto add = [&](double end) {
    extent.Add(end);
    if (triplet) extent.Add(up ? std::min(end, kTopLine) - bracket : std::max(end, 0.0) + bracket);
  };
  if (group.size() == 1) {
    const Chord& c = group.front();
    const double flag = c.Duration <= durThirtySecond ? kShortFlagExtra : 0;
    add(up ? c.Top - kStemUp - flag : c.Bottom + kStemDown + flag);
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
  add(up ? std::min(y0, yn) - kStemUp : std::max(y0, yn) + kStemDown);
}

// A pitch's place on a staff of clef, spelled in key as the note drawer spells it (the
// accidentals written before it in the measure change its sign, never its place): line
// spaces below the bottom line. Each clef and key is spelled once, for every pitch.
double PlaceOf(int pitch, int clef, int key) {
  struct Table {
    int Clef = 0;
    int Key = 0;
    std::array<float, 128> Places{};
  };
  static thread_local std::vector<Table> tables;
  auto table = std::find_if(tables.begin(), tables.end(),
                            [&](const Table& t) { return t.Clef == clef && t.Key == key; });
  if (table == tables.end()) {
    Table made{clef, key, {}};
    for (int p = 0; p < 128; ++p) {
      AccidentalMemory memory;
      made.Places[static_cast<std::size_t>(p)] =
          static_cast<float>(SpellPitch(p, clef, key, memory).Y);
    }
    table = tables.insert(tables.end(), made);
  }
  return table->Places[static_cast<std::size_t>(std::clamp(pitch, 0, 127))];
}

// The staff's voices, fetched once, and whether a voice of the other pair (2 and 4 for 1
// and 3, and the reverse) starts a note in a span, as the staff drawer asks to point the
// stems of a shared staff apart. Asked with rising times for each voice in turn.
class OtherPair {
public:
  explicit OtherPair(const Staff& staff) : m_count(staff.Voices()) {
    for (int v = 1; v <= std::min(m_count, Staff::kMaxVoices); ++v) {
      const auto voice = staff.Voice(v);
      if (!voice) continue;
      m_notes[static_cast<std::size_t>(v)] = &voice->Notes();
      const auto instrument = voice->Instrument();
      m_drums[static_cast<std::size_t>(v)] = instrument && instrument->Category() == catDrums;
    }
  }
  const Notes* Of(int v) const { return m_notes[static_cast<std::size_t>(v)]; }
  bool Drums(int v) const { return m_drums[static_cast<std::size_t>(v)]; }

  void StartVoice(int from) {
    for (std::size_t w = 1; w < m_notes.size(); ++w)
      if (m_notes[w]) m_next[w] = m_notes[w]->IndexAtOrAfter(from);
  }
  // 1 for voices 1 and 3, 2 for 2 and 4, when a voice of the other pair starts a note in
  // [from, to); else 0.
  int Forced(int v, int from, int to) {
    if (m_count < 2) return 0;
    const bool upper = v == 1 || v == 3;
    for (const int w : upper ? std::array{2, 4} : std::array{1, 3}) {
      const Notes* notes = m_notes[static_cast<std::size_t>(w)];
      if (!notes) continue;
      int& next = m_next[static_cast<std::size_t>(w)];
      while (next <= notes->Count() && notes->ByIndex(next)->NoteTime() < from) ++next;
      if (next <= notes->Count() && notes->ByIndex(next)->NoteTime() < to) return upper ? 1 : 2;
    }
    return 0;
  }

private:
  int m_count;
  std::array<const Notes*, Staff::kMaxVoices + 1> m_notes{};
  std::array<bool, Staff::kMaxVoices + 1> m_drums{};
  std::array<int, Staff::kMaxVoices + 1> m_next{};
};

// Where a measure's notes stand: the clef it starts with, and whether it changes inside.
struct MeasureClef {
  int Clef = clfTreble;
  bool Changes = false;
};

// One staff (or one half of a grand staff) across the system: fed each note of each voice
// in time order, measure by measure, as the staff drawer draws them.
class HalfReach {
public:
  HalfReach(Staff& staff, OtherPair& pairs, int half, int pulse, bool shared, double bracket)
      : m_staff(staff),
        m_pairs(pairs),
        m_half(half),
        m_pulse(std::max(pulse, 1)),
        m_shared(shared),
        m_bracket(bracket) {}

  // A voice's measure begins: no beam group, the first beat, the measure's clef.
  void StartMeasure(int start, const MeasureClef& clef) {
    CloseGroup();
    m_beat = start + m_pulse;
    m_forced = 0;
    m_measureClef = clef;
    m_triplet = -1;
  }
  void EndMeasure() { CloseGroup(); }

  // triplet: the triplet group of the measure the note stands in; -1 for none.
  void Add(const Note& note, int voice, bool drums, int key, int triplet) {
    Chord chord;
    if (!Place(note, drums, key, chord)) return;
    chord.Triplet = triplet >= 0;
    const int time = note.NoteTime();
    if (time >= m_beat) {
      CloseGroup();
      m_forced = 0;
      while (m_beat <= time) m_beat += m_pulse;
    }
    // The beat's forced stems: 1 up (a percussion clef), 2 down (a shared staff's second
    // pair of voices), down winning.
    if (m_shared && m_forced == 0) m_forced = m_pairs.Forced(voice, time, m_beat);
    if (drums || m_clef == clfPercussion) m_forced |= 1;
    const int flags = note.Flags();
    bool up = !(flags & nteForceDown) && (chord.Top > kMiddleLine || (flags & nteForceUp));
    if (m_forced & 1) up = true;
    if (m_forced & 2) up = false;
    // A triplet group's notes point their stems as its first one does.
    if (triplet >= 0 && triplet == m_triplet) up = m_tripletUp;

    if (note.Duration() < durQuarter) {
      if (m_group.empty()) m_groupUp = up;
      up = m_groupUp;
      m_group.push_back(chord);
    } else {
      CloseGroup();
      if (note.Duration() != durWhole)
        AddBeamGroup(m_extent, {chord}, up, m_bracket);  // a whole note: no stem
    }
    if (triplet >= 0) {
      m_triplet = triplet;
      m_tripletUp = up;
    }
    AddMarks(flags, chord, up);
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
      const double place = PlaceOf(drums ? DrumStaffPitch(value) : value, m_clef, drums ? 0 : key);
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
    const int clef = m_measureClef.Changes ? m_staff.CurClef(time) : m_measureClef.Clef;
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
    AddBeamGroup(m_extent, m_group, m_groupUp, m_bracket);
    m_group.clear();
  }

  Staff& m_staff;
  OtherPair& m_pairs;
  const int m_half;  // 0 an ordinary staff, 1 and 2 a grand staff's upper and lower
  const int m_pulse;
  const bool m_shared;
  const double m_bracket;
  int m_beat = 0;
  int m_forced = 0;
  int m_triplet = -1;  // the triplet group of the measure drawn last, and its direction
  bool m_tripletUp = false;
  int m_clef = clfTreble;
  MeasureClef m_measureClef;
  std::vector<Chord> m_group;
  bool m_groupUp = false;
  Extent m_extent;
};

}  // namespace

StaffReach ReachOf(Staff& staff, const std::vector<MeasureSlot>& measures, int pulse,
                   bool sharedStaves, double bracket) {
  StaffReach reach;
  if (measures.empty()) return reach;
  const bool grand = staff.DefaultClef() == clfGrand;
  OtherPair pairs(staff);
  HalfReach upper(staff, pairs, grand ? 1 : 0, pulse, sharedStaves, bracket);
  HalfReach lower(staff, pairs, 2, pulse, sharedStaves, bracket);
  // The key the system starts in spells every note: a key change inside it moves a head by
  // half a space at most.
  const int key = staff.CurKey(measures.front().Start);
  // Mostly one clef for the whole system; else each measure looks for its own.
  auto clefOf = [&staff](int start, int end) {
    MeasureClef clef{staff.CurClef(start), false};
    const auto change = staff.GlobalEvents().Find(end - 1, evtClefChange);
    clef.Changes = change && change->EventTime() > start;
    return clef;
  };
  auto endOf = [](const MeasureSlot& m) { return m.Start + std::max(m.Duration, 1); };
  const MeasureClef whole = clefOf(measures.front().Start, endOf(measures.back()));
  std::vector<MeasureClef> clefs(measures.size(), whole);
  if (whole.Changes)
    for (std::size_t i = 0; i < measures.size(); ++i)
      clefs[i] = clefOf(measures[i].Start, endOf(measures[i]));
  const Score* score = staff.Parent(Internal{});
  const GlobalEvents* globals = score ? &score->AllGlobals() : nullptr;
  // The notes in triplet groups, whose brackets the bands keep room for.
  TripletNotes upperTriplets;
  TripletNotes lowerTriplets;
  for (int v = 1; v <= staff.Voices(); ++v) {
    const Notes* notes = pairs.Of(v);
    if (!notes) continue;
    const bool drums = pairs.Drums(v);
    pairs.StartVoice(measures.front().Start);
    int k = notes->IndexAtOrAfter(measures.front().Start);
    const bool triplets = HoldsTriplets(*notes, k, endOf(measures.back()));
    upperTriplets.Clear();
    lowerTriplets.Clear();
    for (std::size_t i = 0; i < measures.size(); ++i) {
      const MeasureSlot& m = measures[i];
      const int end = endOf(m);
      upper.StartMeasure(m.Start, clefs[i]);
      if (triplets)
        upperTriplets.Read(*notes, k, m.Start, end - m.Start, globals, 1, grand ? kGrandSplit : 0,
                           drums);
      if (grand) {
        lower.StartMeasure(m.Start, clefs[i]);
        if (triplets)
          lowerTriplets.Read(*notes, k, m.Start, end - m.Start, globals, 2, kGrandSplit, drums);
      }
      for (; k <= notes->Count(); ++k) {
        const Note& note = *notes->ByIndex(k);
        if (note.NoteTime() >= end) break;
        if (note.ValueCount() == 0 || note.Value(0) == 0) continue;  // a rest
        upper.Add(note, v, drums, key, upperTriplets.GroupOf(note));
        if (grand) lower.Add(note, v, drums, key, lowerTriplets.GroupOf(note));
      }
      upper.EndMeasure();
      if (grand) lower.EndMeasure();
    }
  }
  reach.Above = upper.Result().Above();
  reach.Below = upper.Result().Below();
  if (grand) {
    reach.LowerAbove = lower.Result().Above();
    reach.LowerBelow = lower.Result().Below();
  }
  return reach;
}

}  // namespace notecraft
