#include "notecraft/view/measurerhythm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"

namespace notecraft {

namespace {

// The smallest triplet group: three triplet sixteenths.
constexpr int kSmallestGroup = 8;
// A drum hit's own length, in thirds: whatever room there is up to the next hit.
constexpr int kRingsOn = INT_MAX / 8;

// Plain and dotted values, longest first.
constexpr std::array<int, 13> kValues = {96, 64, 48, 32, 24, 16, 12, 8, 6, 4, 3, 2, 1};

bool PowerOfTwo(int v) {
  return v > 0 && (v & (v - 1)) == 0;
}

// The longest plain or dotted value not above length; a sixty-fourth at least.
int LongestValue(int length) {
  if (length >= kValues.front()) return kValues.front();
  if (length <= 1) return 1;
  const int plain = std::bit_floor(static_cast<unsigned>(length));
  return plain + plain / 2 <= length && plain >= 2 ? plain + plain / 2 : plain;
}

// A length that LongestValue gives, as a glyph value and a dot.
void SetLength(RhythmItem& item, int length) {
  item.Dotted = !PowerOfTwo(length);
  item.Value = item.Dotted ? length * 2 / 3 : length;
}

// How long the note means to sound, in thirds of a 64th.
int OwnThirds(const RhythmNote& note, bool drums) {
  if (drums) return kRingsOn;
  const int d = std::max(note.Duration, 0);
  const bool dotted = note.Flags & nteDot;
  // A triplet lasts two thirds of its value, a dotted one the whole value.
  if ((note.Flags & nteTriplet) && PowerOfTwo(d)) return dotted ? 3 * d : 2 * d;
  if (dotted) return d * 9 / 2;
  return 3 * d;
}

// Where a triplet group of span 64ths holding time t begins, or -1 when it has no place:
// within t's beat when it fits in a beat, else on the beat holding t; inside the measure.
int GroupStart(int t, int span, const Metre& metre) {
  const int beatStart = t / metre.Beat * metre.Beat;
  int start = beatStart;
  if (span <= metre.Beat) {
    start = beatStart + (t - beatStart) / span * span;
    if (start + span > beatStart + metre.Beat) return -1;  // a compound beat's thirds
  }
  return start + span <= metre.Length ? start : -1;
}

// A planned group: its span and the notes [First, Last) that start inside it.
struct Plan {
  int Start = 0;
  int Span = 0;
  std::size_t First = 0;
  std::size_t Last = 0;
};

// Where slot k (0..2) of a planned group begins, rounded down to a 64th.
int SlotStart(const Plan& plan, int k) {
  return plan.Start + k * plan.Span / 3;
}

class RhythmReader {
public:
  RhythmReader(const std::vector<RhythmNote>& notes, const Metre& metre, RhythmOptions options,
               MeasureRhythm& out)
      : m_notes(notes), m_metre(metre), m_options(options), m_out(out) {}

  void Read();

private:
  void PlanGroups();
  // A group of span holding note i, starting at or after reached, whose notes each find a
  // slot of their own.
  bool TryGroup(std::size_t i, int span, int reached, Plan& plan);
  // Each note's nearest slot of the group (written when asked); false when two notes
  // share a slot.
  bool Slot(const Plan& plan, bool write);
  void Straight(int to);
  void Triplets(const Plan& plan);
  int CountedFrom(std::size_t i, int from, int to) const;
  // A note counted and drawn from time (a rest note: its rests from there).
  void AddNote(const RhythmNote& note, int time, int length);
  void Rests(int from, int to, int group) { AppendRests(from, to, m_metre, group, m_out.Items); }

  const std::vector<RhythmNote>& m_notes;
  const Metre& m_metre;
  RhythmOptions m_options;
  MeasureRhythm& m_out;
  std::vector<Plan> m_plans;
  std::vector<int> m_slots;  // per note, its slot in its group
  std::size_t m_next = 0;    // the next note to draw
  int m_cursor = 0;          // where the items drawn so far end
};

void RhythmReader::Read() {
  m_out.Items.clear();
  m_out.Groups.clear();
  PlanGroups();
  for (const Plan& plan : m_plans) {
    Straight(plan.Start);
    Triplets(plan);
  }
  Straight(m_metre.Length);
}

void RhythmReader::PlanGroups() {
  int reached = 0;  // the end of the last group planned
  for (std::size_t i = 0; i < m_notes.size(); ++i) {
    const RhythmNote& note = m_notes[i];
    if (!(note.Flags & nteTriplet) || note.Time < reached) continue;
    if (!PowerOfTwo(note.Duration) || note.Duration < kSmallestGroup / 2) continue;
    // Three of its value, the note taking one slot; or, for a lone note longer than the
    // beat (or where three do not fit), three of half its value, the note taking two.
    const int own = 2 * note.Duration;
    Plan plan;
    Plan half;
    const bool fits = TryGroup(i, own, reached, plan);
    const bool lone = fits && plan.Last - plan.First == 1 && own > m_metre.Beat;
    if (fits && !lone) {
      m_plans.push_back(plan);
    } else if (own / 2 >= kSmallestGroup && TryGroup(i, own / 2, reached, half)) {
      m_plans.push_back(half);
    } else if (fits) {
      m_plans.push_back(plan);
    } else {
      continue;  // no room for a group: the note shows a plain value
    }
    Slot(m_plans.back(), true);
    reached = m_plans.back().Start + m_plans.back().Span;
  }
}

bool RhythmReader::TryGroup(std::size_t i, int span, int reached, Plan& plan) {
  const int start = GroupStart(m_notes[i].Time, span, m_metre);
  if (start < reached) return false;  // also no place at all (-1)
  plan.Start = start;
  plan.Span = span;
  plan.First = i;
  while (plan.First > 0 && m_notes[plan.First - 1].Time >= start) --plan.First;
  plan.Last = i;
  while (plan.Last < m_notes.size() && m_notes[plan.Last].Time < start + span) ++plan.Last;
  return Slot(plan, false);
}

bool RhythmReader::Slot(const Plan& plan, bool write) {
  int previous = -1;
  for (std::size_t j = plan.First; j < plan.Last; ++j) {
    // The nearest of the three slots, halves upwards.
    const int offset = m_notes[j].Time - plan.Start;
    const int k = std::min((6 * offset + plan.Span) / (2 * plan.Span), 2);
    if (k <= previous) return false;
    if (write) {
      if (m_slots.empty()) m_slots.assign(m_notes.size(), -1);  // only measures with triplets
      m_slots[j] = k;
    }
    previous = k;
  }
  return true;
}

void RhythmReader::AddNote(const RhythmNote& note, int time, int length) {
  if (note.Rest) {
    const std::size_t first = m_out.Items.size();
    Rests(time, time + length, -1);
    if (first < m_out.Items.size()) m_out.Items[first].Of = note.Of;
    return;
  }
  RhythmItem item;
  item.Of = note.Of;
  item.Time = time;
  SetLength(item, length);
  m_out.Items.push_back(item);
}

// Where the rhythm counts a note from, and draws it: a note played a 64th off the 32nd grid
// (as played parts are) stands on the nearer sixteenth, beside what sounds there on other
// staves, and no sixty-fourth rest (which the font cannot show) stands before or after it;
// only where that lies between the note counted before it and the voice's next note (a run
// of 64ths keeps its times), and before the region's end.
int RhythmReader::CountedFrom(std::size_t i, int from, int to) const {
  const int t = m_notes[i].Time;
  if (t % 2 == 0) return t;
  const int nearer = (t + 1) % 4 == 0 ? t + 1 : t - 1;
  const int limit = i + 1 < m_notes.size() ? std::min(m_notes[i + 1].Time, to) : to;
  return nearer > from && nearer < limit ? nearer : t;
}

void RhythmReader::Straight(int to) {
  int counted = m_next < m_notes.size() ? CountedFrom(m_next, m_cursor - 1, to) : to;
  while (m_next < m_notes.size() && m_notes[m_next].Time < to) {
    const RhythmNote& note = m_notes[m_next];
    const bool last = m_next + 1 >= m_notes.size() || m_notes[m_next + 1].Time >= to;
    const int next = last ? to : CountedFrom(m_next + 1, counted, to);
    if (m_options.FillGaps && counted > m_cursor) Rests(m_cursor, counted, -1);
    int room = next - counted;
    // A drum hit rings on up to the next hit, within its beat.
    if (m_options.Drums)
      room = std::min(room, (counted / m_metre.Beat + 1) * m_metre.Beat - counted);
    int length = LongestValue(std::min(room, OwnThirds(note, m_options.Drums) / 3));
    if (length < 2 && room >= 2) length = 2;  // a sixty-fourth: the font draws a 32nd
    AddNote(note, counted, length);
    m_cursor = counted + length;
    counted = next;
    ++m_next;
  }
  if (m_options.FillGaps && m_cursor < to) Rests(m_cursor, to, -1);
  m_cursor = to;
}

void RhythmReader::Triplets(const Plan& plan) {
  const int group = static_cast<int>(m_out.Groups.size());
  const std::size_t firstItem = m_out.Items.size();
  std::size_t j = plan.First;
  bool plain = false;  // one note takes all three slots: no triplet after all
  for (int k = 0; k < 3;) {
    const int nextOnset = j < plan.Last ? m_slots[j] : 3;
    if (nextOnset != k) {
      // Empty slots up to the next note: one rest of one or two slots.
      if (m_options.FillGaps) {
        RhythmItem rest;
        rest.Rest = true;
        rest.Time = SlotStart(plan, k);
        rest.Value = nextOnset - k == 1 ? plan.Span / 2 : plan.Span;
        rest.Triplet = true;
        rest.Group = group;
        m_out.Items.push_back(rest);
      }
      k = nextOnset;
      continue;
    }
    const RhythmNote& note = m_notes[j];
    const int free = (j + 1 < plan.Last ? m_slots[j + 1] : 3) - k;
    const int own = OwnThirds(note, m_options.Drums);
    // Slots are plan.Span thirds long; the note takes as many as its length rounds to.
    const long long wanted = (2LL * own + plan.Span) / (2LL * plan.Span);
    const int slots = static_cast<int>(std::clamp<long long>(wanted, 1, free));
    RhythmItem item;
    item.Of = note.Of;
    item.Rest = note.Rest;
    // Where the group's glyphs say it sounds: a note played late in its slot (up to the
    // bar line) stands at the slot's start like a rest there would.
    item.Time = SlotStart(plan, k);
    if (slots == 3) {
      item.Value = plan.Span;
      plain = true;
    } else {
      item.Value = slots == 1 ? plan.Span / 2 : plan.Span;
      item.Triplet = true;
      item.Group = group;
    }
    m_out.Items.push_back(item);
    k += slots;
    ++j;
  }
  if (!plain && m_out.Items.size() > firstItem) {
    TripletGroup g;
    g.Start = plan.Start;
    g.Span = plan.Span;
    g.First = static_cast<int>(firstItem);
    g.Last = static_cast<int>(m_out.Items.size()) - 1;
    m_out.Groups.push_back(g);
  }
  m_next = plan.Last;
  m_cursor = plan.Start + plan.Span;
}

}  // namespace

int RhythmItem::Thirds() const {
  if (MeasureRest) return 3 * Value;
  int thirds = 3 * Value;
  if (Dotted) thirds += thirds / 2;
  if (Triplet) thirds = thirds * 2 / 3;
  return thirds;
}

Metre Metre::Of(int packed, int length) {
  Metre metre;
  metre.Length = std::max(length, 1);
  const int numerator = packed / 128;
  const int unit = packed % 128;
  int beat = 16;
  if (numerator > 0 && unit > 0) {
    beat = unit;
    // 6/8, 9/8, 12/8: the beat is a dotted value of three units.
    if (numerator % 3 == 0 && numerator > 3 && unit <= 8) beat = 3 * unit;
  }
  if (beat > metre.Length || metre.Length % beat != 0) {
    beat = 16;
    while (beat > 1 && metre.Length % beat != 0) beat /= 2;
  }
  metre.Beat = beat;
  return metre;
}

void ReadRhythm(const std::vector<RhythmNote>& notes, const Metre& metre, RhythmOptions options,
                MeasureRhythm& out) {
  RhythmReader(notes, metre, options, out).Read();
}

void GatherRhythmNotes(const Notes& notes, int start, int length, int grandHalf, int split,
                       std::vector<RhythmNote>& out) {
  GatherRhythmNotesFrom(notes, notes.IndexAtOrAfter(start), start, length, grandHalf, split, out);
}

void GatherRhythmNotesFrom(const Notes& notes, int first, int start, int length, int grandHalf,
                           int split, std::vector<RhythmNote>& out) {
  out.clear();
  for (auto it = notes.begin() + (first - 1); it != notes.end(); ++it) {
    Note& note = **it;
    const int time = note.NoteTime() - start;
    if (time >= length) break;
    const auto pitches = note.Values();
    if (pitches.empty()) continue;
    // Without a split every note is drawn.
    bool drawn = split <= 0 && grandHalf != 2;
    for (auto p = pitches.begin(); !drawn && p != pitches.end(); ++p)
      drawn = grandHalf == 2 ? *p < split : *p >= split;
    if (!drawn) continue;
    out.push_back({&note, time, note.Duration(), note.Flags(), pitches[0] == 0});
  }
}

bool HoldsTriplets(const Notes& notes, int first, int end) {
  for (auto it = notes.begin() + (first - 1); it != notes.end(); ++it) {
    if ((*it)->NoteTime() >= end) return false;
    if ((*it)->Flags() & nteTriplet) return true;
  }
  return false;
}

void TripletNotes::Read(const Notes& notes, int first, int start, int length,
                        const GlobalEvents* globals, int grandHalf, int split, bool drums) {
  m_members.clear();
  if (!HoldsTriplets(notes, first, start + length)) return;
  const int packed = globals ? globals->CurTimeVal(start) : 4 * 128 + durQuarter;
  GatherRhythmNotesFrom(notes, first, start, length, grandHalf, split, m_notes);
  RhythmOptions options;
  options.Drums = drums;
  ReadRhythm(m_notes, Metre::Of(packed, length), options, m_rhythm);
  for (const RhythmItem& item : m_rhythm.Items)
    if (item.Group >= 0 && item.Of) m_members.push_back({item.Of, item.Time, item.Group});
}

const TripletNotes::Member* TripletNotes::Find(const Note& note) const {
  for (const Member& member : m_members)
    if (member.Of == &note) return &member;
  return nullptr;
}

int TripletNotes::TimeOf(const Note& note) const {
  const Member* member = Find(note);
  return member ? member->Time : -1;
}

int TripletNotes::GroupOf(const Note& note) const {
  const Member* member = Find(note);
  return member ? member->Group : -1;
}

void AppendRests(int from, int to, const Metre& metre, int group, std::vector<RhythmItem>& out) {
  if (from >= to) return;
  RhythmItem rest;
  rest.Rest = true;
  rest.Group = group;
  if (from == 0 && to == metre.Length && group < 0) {
    rest.MeasureRest = true;
    rest.Value = metre.Length;
    out.push_back(rest);
    return;
  }
  const int beat = std::max(metre.Beat, 1);
  // Two beats at the half bar of a four-beat measure; otherwise a rest stays within its
  // beat, at a multiple of its own length from the beat's start.
  const bool halfBars = metre.Length == 4 * beat;
  for (int at = from; at < to;) {
    int length = 1;
    for (const int v : {32, 16, 8, 4, 2}) {
      if (v > to - at) continue;
      const int beatStart = at / beat * beat;
      const bool inBeat = v <= beat && (at - beatStart) % v == 0 && at + v <= beatStart + beat;
      const bool halfBar = halfBars && v == 2 * beat && at % v == 0;
      if (inBeat || halfBar) {
        length = v;
        break;
      }
    }
    rest.Time = at;
    rest.Value = length;
    out.push_back(rest);
    at += length;
  }
}

}  // namespace notecraft
