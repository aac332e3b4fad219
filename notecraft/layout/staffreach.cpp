#include "notecraft/layout/staffreach.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/marksandtext.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/musicfontmetrics.h"
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
// A tie bows from half a space beyond its heads, a space deep at most.
constexpr double kTieReach = 2.0;
// An ornament keeps this far from the stem end it would touch (the drawer's ink gap).
constexpr double kOrnamentGap = 0.5;
// The middle line, in line spaces above the bottom line (places grow downwards).
constexpr double kMiddleLine = -2.0;
constexpr double kTopLine = -4.0;
// Where the marks over a measure stand: codas and segnos with their baseline three spaces
// over the top line, octave lines 3.76 spaces over it (the drawer's 2.2 spaces over the
// reference y).
constexpr double kSectionMarkBaseline = 3.0;
constexpr double kOctaveLine = 3.76;
constexpr int kSectionMarks = sctCoda | sctSegundo | sctToCoda | sctToSegundo;

// How far a music-font glyph's ink reaches above and below its baseline, in line spaces.
double GlyphAbove(char glyph) {
  return std::max<int>(0, musicfont::Ink[static_cast<unsigned char>(glyph)].Top) * 4.0 /
         musicfont::UnitsPerEm;
}
double GlyphBelow(char glyph) {
  return -std::min<int>(0, musicfont::Ink[static_cast<unsigned char>(glyph)].Bottom) * 4.0 /
         musicfont::UnitsPerEm;
}

// One drawn chord of a beam group or standing alone: where it stands in time (the beam line
// runs in proportion to it) and its highest and lowest head.
struct Chord {
  int Time = 0;
  int Duration = 0;
  double Top = 0;
  double Bottom = 0;
  bool Triplet = false;  // in a triplet group, whose bracket stands beyond the stems
};

// What one half of a staff draws in one measure, read from its notes once and placed in
// the system's columns (Place) wherever the measure stands: places (line spaces below the
// bottom line, growing downwards) at the times of the measure's notes.
struct Point {
  int Time = 0;
  double High = 0;  // the highest place drawn there, and the lowest
  double Low = 0;
};
// A beam group's (or a lone stem's) beam line from its first to its last stem, and with
// triplet notes the bracket beyond its far end.
struct Beam {
  int From = 0;  // times of its outer stems
  int To = 0;
  double Y0 = 0;  // the line's ends, stems included
  double Yn = 0;
  bool Up = false;
  bool Triplet = false;
};
// A chord drawn, for the ties that reach it.
struct Drawn {
  int Time = 0;
  int Voice = 0;
  double Top = 0;
  double Bottom = 0;
};
struct HalfMarks {
  std::vector<Point> Points;
  std::vector<Beam> Beams;
  std::vector<Drawn> Chords;
  void Clear() {
    Points.clear();
    Beams.clear();
    Chords.clear();
    Points.reserve(32);
    Beams.reserve(8);
    Chords.reserve(16);
  }
  void Add(int time, double place) {
    if (!Points.empty() && Points.back().Time == time) {
      Points.back().High = std::min(Points.back().High, place);
      Points.back().Low = std::max(Points.back().Low, place);
    } else {
      Points.push_back({time, place, place});
    }
  }
};

// The stems of a beam group end on one straight line through the outer stem ends, moved
// away from the heads until no inner head reaches past it (the note drawer's rule); the beam
// runs on that line over the columns between its outer stems. A lone note's stem ends at
// its own length, further with a thirty-second's or sixty-fourth's flag. Triplet notes among
// them have their bracket beyond the group's far end, level.
void AddBeamGroup(HalfMarks& marks, const Chord* group, std::size_t size, bool up) {
  if (size == 0) return;
  const bool triplet =
      std::any_of(group, group + size, [](const Chord& c) { return c.Triplet; });
  const Chord& first = group[0];
  const Chord& last = group[size - 1];
  double y0 = up ? first.Top : first.Bottom;
  double yn = up ? last.Top : last.Bottom;
  if (size == 1) {
    const double flag = first.Duration <= durThirtySecond ? kShortFlagExtra : 0;
    y0 = yn = up ? y0 - flag : y0 + flag;
  }
  const double span = static_cast<double>(last.Time - first.Time);
  if (span > 0) {
    double move = 0;
    for (std::size_t i = 1; i + 1 < size; ++i) {
      const double line = y0 + (group[i].Time - first.Time) / span * (yn - y0);
      move = std::max(move, up ? line - group[i].Top : group[i].Bottom - line);
    }
    y0 += up ? -move : move;
    yn += up ? -move : move;
  }
  marks.Beams.push_back({first.Time, last.Time, y0, yn, up, triplet});
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

// The ties of a staff that reach into a system: the voice, and the times of the two notes
// they join.
struct Tie {
  int Voice = 0;
  int From = 0;
  int To = 0;
};

std::vector<Tie> TiesOf(const Staff& staff, int start, int end) {
  std::vector<Tie> ties;
  const GlobalEvents& events = staff.GlobalEvents();
  const auto last = events.Find(end - 1, evtTie);
  if (!last) return ties;
  // Back over the ties that end no more than a measure before the system, as the tie drawer
  // looks for them.
  for (int i = last->Index(); i >= 1; --i) {
    const auto tie = events.ByIndex(i);
    if (!tie || tie->EventType() != evtTie) continue;
    const int to = tie->Value1() * 256 + tie->Value2();
    if (to < start - durWhole) break;
    if (tie->EventTime() < end && (tie->EventTime() >= start || to >= start))
      ties.push_back({static_cast<int>(Val(tie->Text())), tie->EventTime(), to});
  }
  return ties;
}

// One staff (or one half of a grand staff) across the system: fed each note of each voice
// in time order, measure by measure, as the staff drawer draws them.
class HalfReach {
public:
  HalfReach(Staff& staff, OtherPair& pairs, int half, int pulse, bool shared)
      : m_staff(staff), m_pairs(pairs), m_half(half), m_pulse(std::max(pulse, 1)), m_shared(shared) {}

  // A voice's measure begins, its marks read into marks: no beam group, the first beat, the
  // measure's clef.
  void StartMeasure(HalfMarks& marks, int start, const MeasureClef& clef) {
    CloseGroup();
    m_marks = &marks;
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
        AddBeamGroup(*m_marks, &chord, 1, up);  // a whole note: no stem
    }
    if (triplet >= 0) {
      m_triplet = triplet;
      m_tripletUp = up;
    }
    AddMarks(flags, chord, up);
    m_marks->Chords.push_back({chord.Time, voice, chord.Top, chord.Bottom});
  }

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
    m_marks->Add(chord.Time, chord.Top - kHeadHalf);
    m_marks->Add(chord.Time, chord.Bottom + kHeadHalf);
    return true;
  }

  int ClefAt(int time, bool drums) {
    if (drums) return clfPercussion;
    if (m_half == 1) return clfTreble;
    if (m_half == 2) return clfBass;
    const int clef = m_measureClef.Changes ? m_staff.CurClef(time) : m_measureClef.Clef;
    return clef == clfGrand ? clfTreble : clef;
  }

  // An articulation beyond the head on the side away from the stem; an ornament over the
  // note (over its stem when the stem points up), or, a fermata over an up stem, under it.
  void AddMarks(int flags, const Chord& chord, bool up) {
    const int time = chord.Time;
    if (flags & (nteStacato | nteAccent | nteAccent2)) {
      const double extra =
          (flags & nteAccent2) && !(flags & (nteStacato | nteAccent)) ? kAccentExtra : 0;
      m_marks->Add(time, up ? chord.Bottom + kMarkReach + extra : chord.Top - kMarkReach);
    }
    constexpr int kOrnaments =
        nteTrill | nteMordent | nteHalfMordent | nteTurn | nteFermata | nteBowUp | nteBowDown;
    if (!(flags & kOrnaments)) return;
    char sign = glyph::Trill;
    if (flags & nteBowDown)
      sign = glyph::DownBow;
    else if (flags & nteBowUp)
      sign = glyph::UpBow;
    else if (flags & nteHalfMordent)
      sign = glyph::HalfMordent;
    else if (flags & nteMordent)
      sign = glyph::Mordent;
    else if (flags & nteTurn)
      sign = glyph::Turn;
    else if (!(flags & nteTrill))
      sign = up ? glyph::FermataBelow : glyph::FermataAbove;
    // A lower staff's ornament that would meet the staff above goes under its note.
    const bool under = sign == glyph::FermataBelow || m_half == 2;
    if (sign != glyph::FermataBelow) {
      double baseline = up ? (chord.Top >= 0 ? kTopLine - 1 : chord.Top - 4)
                           : (chord.Top >= kTopLine ? kTopLine - 1 : chord.Top - 1);
      if (up) baseline = std::min(baseline, chord.Top - kStemUp - kShortFlagExtra - kOrnamentGap);
      m_marks->Add(time, baseline - GlyphAbove(sign));
    }
    if (under) {
      const char below = sign == glyph::FermataAbove ? glyph::FermataBelow : sign;
      double baseline = std::max(chord.Bottom, 0.0) + 1;
      if (!up) baseline = std::max(baseline, chord.Bottom + kStemDown + 1 + kOrnamentGap);
      m_marks->Add(time, baseline + GlyphAbove(below) + GlyphBelow(below));
    }
  }

  void CloseGroup() {
    if (m_marks) AddBeamGroup(*m_marks, m_group.data(), m_group.size(), m_groupUp);
    m_group.clear();
  }

  Staff& m_staff;
  OtherPair& m_pairs;
  const int m_half;  // 0 an ordinary staff, 1 and 2 a grand staff's upper and lower
  const int m_pulse;
  const bool m_shared;
  HalfMarks* m_marks = nullptr;  // the measure being read
  int m_beat = 0;
  int m_forced = 0;
  int m_triplet = -1;  // the triplet group of the measure drawn last, and its direction
  bool m_tripletUp = false;
  int m_clef = clfTreble;
  MeasureClef m_measureClef;
  std::vector<Chord> m_group;
  bool m_groupUp = false;
};

}  // namespace

void SystemColumns::Reset(const std::vector<MeasureSlot>& measures, int left, int staffHeight) {
  m_measures.clear();
  m_left = left;
  m_width = std::max(1, staffHeight / 4);
  const int s = m_width;
  int x = left;
  for (std::size_t i = 0; i < measures.size(); ++i) {
    const MeasureSlot& m = measures[i];
    Measure measure;
    measure.Start = m.Start;
    measure.Duration = std::max(m.Duration, 1);
    measure.Left = x;
    measure.Right = x + m.Width;
    // The first measure's notes follow the clef, key and time signature; the others keep
    // two spaces from the bar line, and the last place keeps room for its head.
    const int lead = i == 0 ? std::min(m.Width / 2, 2 * staffHeight) : 2 * s;
    measure.Notes = x + lead;
    measure.Scale = std::max(0.0, static_cast<double>(m.Width - lead - 2 * s)) / measure.Duration;
    m_measures.push_back(measure);
    x += m.Width;
  }
  m_count = std::max(1, (x - left + m_width - 1) / m_width);
}

int SystemColumns::At(int time) const {
  if (m_measures.empty() || time < m_measures.front().Start) return 0;
  auto next = std::upper_bound(m_measures.begin(), m_measures.end(), time,
                               [](int t, const Measure& m) { return t < m.Start; });
  return In(static_cast<int>(next - m_measures.begin()) - 1, time);
}

int SystemColumns::In(int measure, int time) const {
  const Measure& m = m_measures[static_cast<std::size_t>(measure)];
  const int inside = std::clamp(time - m.Start, 0, m.Duration);
  return AtX(m.Notes + static_cast<int>(inside * m.Scale));
}

int SystemColumns::AtX(int x) const {
  return std::clamp((x - m_left) / m_width, 0, m_count - 1);
}

void Outline::Reset(int columns) {
  Above.assign(static_cast<std::size_t>(std::max(columns, 1)), 0.0f);
  Below.assign(static_cast<std::size_t>(std::max(columns, 1)), 0.0f);
  m_maxAbove = m_maxBelow = 0.0f;
}

namespace {

void Raise(std::vector<float>& side, float& largest, int from, int to, double spaces) {
  const int last = static_cast<int>(side.size()) - 1;
  const auto value = static_cast<float>(spaces);
  from = std::max(from, 0);
  to = std::min(to, last);
  if (from > to) return;
  for (int c = from; c <= to; ++c) {
    float& v = side[static_cast<std::size_t>(c)];
    v = std::max(v, value);
  }
  largest = std::max(largest, value);
}

}  // namespace

void Outline::Settle() {
  m_maxAbove = Above.empty() ? 0.0f : *std::max_element(Above.begin(), Above.end());
  m_maxBelow = Below.empty() ? 0.0f : *std::max_element(Below.begin(), Below.end());
}

void Outline::RaiseAbove(int from, int to, double spaces) {
  Raise(Above, m_maxAbove, from, to, spaces);
}
void Outline::RaiseBelow(int from, int to, double spaces) {
  Raise(Below, m_maxBelow, from, to, spaces);
}

// One measure of a staff read: what its halves draw, by time, wherever the measure stands.
struct MeasureMarks {
  int Start = 0;
  int Duration = 0;
  int Key = 0;
  int Pulse = 0;
  bool Shared = false;
  bool Octave = false;  // an octave line stands over it
  std::array<HalfMarks, 2> Half;  // the staff (a grand staff's upper one), and its lower one
};

struct ReachMemo::Measures {
  std::vector<MeasureMarks> Read;
};

ReachMemo::ReachMemo() = default;
ReachMemo::~ReachMemo() = default;
ReachMemo::ReachMemo(ReachMemo&&) noexcept = default;
ReachMemo& ReachMemo::operator=(ReachMemo&&) noexcept = default;

void ReachMemo::ForgetBefore(int time) {
  if (m_measures)
    std::erase_if(m_measures->Read,
                  [time](const MeasureMarks& marks) { return marks.Start < time; });
}

namespace {

// Raises the outline to reach place (line spaces below the bottom line) over columns
// [from, to].
void Put(Outline& outline, double place, int from, int to) {
  if (place < kTopLine)
    outline.RaiseAbove(from, to, kTopLine - place);
  else if (place > 0)
    outline.RaiseBelow(from, to, place);
}

// Reads the measure [start, start + duration) of staff into marks.
void ReadMeasure(Staff& staff, OtherPair& pairs, HalfReach& upper, HalfReach& lower, bool grand,
                 const GlobalEvents* globals, MeasureMarks& marks) {
  const int start = marks.Start;
  const int end = start + marks.Duration;
  marks.Half[0].Clear();
  marks.Half[1].Clear();
  MeasureClef clef{staff.CurClef(start), false};
  const auto change = staff.GlobalEvents().Find(end - 1, evtClefChange);
  clef.Changes = change && change->EventTime() > start;
  marks.Octave = StaffOctaveKinds(staff, start) != 0;
  // The notes in triplet groups, whose brackets the bands keep room for.
  TripletNotes upperTriplets;
  TripletNotes lowerTriplets;
  for (int v = 1; v <= staff.Voices(); ++v) {
    const Notes* notes = pairs.Of(v);
    if (!notes) continue;
    const bool drums = pairs.Drums(v);
    pairs.StartVoice(start);
    int k = notes->IndexAtOrAfter(start);
    upper.StartMeasure(marks.Half[0], start, clef);
    upperTriplets.Read(*notes, k, start, end - start, globals, 1, grand ? kGrandSplit : 0, drums);
    if (grand) {
      lower.StartMeasure(marks.Half[1], start, clef);
      lowerTriplets.Read(*notes, k, start, end - start, globals, 2, kGrandSplit, drums);
    }
    for (; k <= notes->Count(); ++k) {
      const Note& note = *notes->ByIndex(k);
      if (note.NoteTime() >= end) break;
      if (note.ValueCount() == 0 || note.Value(0) == 0) continue;  // a rest
      upper.Add(note, v, drums, marks.Key, upperTriplets.GroupOf(note));
      if (grand) lower.Add(note, v, drums, marks.Key, lowerTriplets.GroupOf(note));
    }
    upper.EndMeasure();
    if (grand) lower.EndMeasure();
  }
}

// Places what a half of measure i draws in the system's columns.
void PlaceMarks(const HalfMarks& marks, int i, const SystemColumns& columns, double bracket,
                Outline& outline) {
  for (const Point& point : marks.Points) {
    // Of the places drawn at one time only the highest and lowest can reach furthest.
    const int c = columns.In(i, point.Time);
    Put(outline, point.High, c, c);
    if (point.Low != point.High) Put(outline, point.Low, c, c);
  }
  for (const Beam& beam : marks.Beams) {
    const int from = columns.In(i, beam.From);
    const int to = columns.In(i, beam.To);
    const double stem = beam.Up ? -kStemUp : kStemDown;
    const double y0 = beam.Y0;
    const double yn = beam.Yn;
    for (int c = from; c <= to; ++c) {
      const double along = to > from ? static_cast<double>(c - from) / (to - from) : 0.0;
      Put(outline, y0 + along * (yn - y0) + stem, c, c);
    }
    if (beam.Triplet) {
      const double end = beam.Up ? std::min(y0, yn) + stem : std::max(y0, yn) + stem;
      Put(outline, beam.Up ? std::min(end, kTopLine) - bracket : std::max(end, 0.0) + bracket,
          from, to);
    }
  }
}

// A tie bows on one side of the heads or the other: room on both, from each tied note to the
// one it joins.
void PlaceTies(const HalfMarks& marks, int i, const SystemColumns& columns,
               const std::vector<Tie>& ties, Outline& outline) {
  for (const Drawn& chord : marks.Chords) {
    int tiedTo = -1;
    bool tiedFrom = false;
    for (const Tie& tie : ties) {
      if (tie.Voice != chord.Voice) continue;
      if (tie.From == chord.Time) tiedTo = tie.To;
      if (tie.To == chord.Time) tiedFrom = true;
    }
    if (tiedTo < 0 && !tiedFrom) continue;
    const int column = columns.In(i, chord.Time);
    const int from = tiedFrom ? column - 1 : column;
    const int to = tiedTo >= 0 ? columns.At(tiedTo) : column;
    Put(outline, chord.Top - kTieReach, std::max(from, 0), to);
    Put(outline, chord.Bottom + kTieReach, std::max(from, 0), to);
  }
}

}  // namespace

void ReachOf(Staff& staff, const std::vector<MeasureSlot>& measures, const SystemColumns& columns,
             int pulse, bool sharedStaves, double bracket, StaffReach& reach, ReachMemo* memo) {
  const bool grand = staff.DefaultClef() == clfGrand;
  reach.Upper.Reset(columns.Count());
  if (grand) {
    reach.Lower.Reset(columns.Count());
  } else {
    reach.Lower.Above.clear();
    reach.Lower.Below.clear();
  }
  reach.Above = reach.Below = reach.LowerAbove = reach.LowerBelow = 0;
  if (measures.empty()) return;
  ReachMemo local;
  if (!memo) memo = &local;
  if (!memo->m_measures) memo->m_measures = std::make_unique<ReachMemo::Measures>();
  std::vector<MeasureMarks>& read = memo->m_measures->Read;
  std::optional<OtherPair> pairs;
  std::optional<HalfReach> upper;
  std::optional<HalfReach> lower;
  // The key the system starts in spells every note: a key change inside it moves a head by
  // half a space at most.
  const int key = staff.CurKey(measures.front().Start);
  const Score* score = staff.Parent(Internal{});
  const GlobalEvents* globals = score ? &score->AllGlobals() : nullptr;
  auto endOf = [](const MeasureSlot& m) { return m.Start + std::max(m.Duration, 1); };
  const int systemEnd = endOf(measures.back());
  const std::vector<Tie> ties = TiesOf(staff, measures.front().Start, systemEnd);
  static const double coda = std::max({GlyphAbove(glyph::Coda), GlyphAbove(glyph::Segno),
                                       GlyphAbove(glyph::ToCoda), GlyphAbove(glyph::ToSegno)});
  for (std::size_t i = 0; i < measures.size(); ++i) {
    const MeasureSlot& m = measures[i];
    const int duration = endOf(m) - m.Start;
    auto found = std::find_if(read.begin(), read.end(), [&](const MeasureMarks& marks) {
      return marks.Start == m.Start && marks.Duration == duration && marks.Key == key &&
             marks.Pulse == pulse && marks.Shared == sharedStaves;
    });
    if (found == read.end()) {
      if (!pairs) {
        pairs.emplace(staff);
        upper.emplace(staff, *pairs, grand ? 1 : 0, pulse, sharedStaves);
        lower.emplace(staff, *pairs, 2, pulse, sharedStaves);
      }
      MeasureMarks marks;
      marks.Start = m.Start;
      marks.Duration = duration;
      marks.Key = key;
      marks.Pulse = pulse;
      marks.Shared = sharedStaves;
      ReadMeasure(staff, *pairs, *upper, *lower, grand, globals, marks);
      found = read.insert(read.end(), std::move(marks));
    }
    const int at = static_cast<int>(i);
    Outline& lowerOutline = grand ? reach.Lower : reach.Upper;
    PlaceMarks(found->Half[0], at, columns, bracket, reach.Upper);
    if (grand) PlaceMarks(found->Half[1], at, columns, bracket, lowerOutline);
    if (!ties.empty()) {
      PlaceTies(found->Half[0], at, columns, ties, reach.Upper);
      if (grand) PlaceTies(found->Half[1], at, columns, ties, lowerOutline);
    }
    // The marks over whole measures: codas, segnos and their jumps (on every staff), and the
    // staff's own octave lines.
    const int first = columns.First(at);
    const int last = columns.Last(at);
    if ((m.Flags >> 4) & kSectionMarks)
      reach.Upper.RaiseAbove(first, last, kSectionMarkBaseline + coda);
    if (found->Octave) reach.Upper.RaiseAbove(first, last, kOctaveLine + kHeadHalf);
  }
  reach.Above = reach.Upper.MaxAbove();
  reach.Below = reach.Upper.MaxBelow();
  if (grand) {
    reach.LowerAbove = reach.Lower.MaxAbove();
    reach.LowerBelow = reach.Lower.MaxBelow();
  }
}

int MeetingDistance(const std::vector<float>& below, int upperSpace,
                    const std::vector<float>& above, int lowerSpace, int clearance, int reach) {
  const int count = static_cast<int>(std::min(below.size(), above.size()));
  if (count == 0) return clearance;
  const double highest = *std::max_element(above.begin(), above.begin() + count) * lowerSpace;
  double need = 0;
  for (int c = 0; c < count; ++c) {
    const double low = static_cast<double>(below[static_cast<std::size_t>(c)]) * upperSpace;
    if (low + highest <= need) continue;  // nothing near it can need more
    float facing = 0;
    for (int k = std::max(c - reach, 0); k <= std::min(c + reach, count - 1); ++k)
      facing = std::max(facing, above[static_cast<std::size_t>(k)]);
    need = std::max(need, low + static_cast<double>(facing) * lowerSpace);
  }
  return static_cast<int>(std::ceil(need)) + clearance;
}

}  // namespace notecraft
