#include "notecraft/view/staffsystem.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/clefsandbars.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/lyricrow.h"
#include "notecraft/view/lyricspacing.h"
#include "notecraft/view/marksandtext.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notesandbeams.h"
#include "notecraft/view/notespacing.h"
#include "notecraft/view/restsandties.h"
#include "notecraft/view/understaff.h"

namespace notecraft {

namespace {

// Section bits handed to the section-mark and chord drawers (no repeat measure, no pickup).
constexpr int kSectionMask = 0x33F0;
// Flag bits of the marks that replace a measure's number (endings, coda, segno).
constexpr int kUnnumberedMask = 0xF0;

// One call of DrawStaffSystem: the staff's clef and keys as they change along the system,
// the content offset of the measure being drawn, and what waits until the notes stand: the
// measure's triplet brackets, the lyrics and the measures' marks.
class StaffSystemDrawer {
public:
  StaffSystemDrawer(DrawContext& dc, SystemGrid& grid, const StaffPlacement& place, Region& band)
      : m_dc(dc), m_grid(grid), m_place(place), m_band(band), m_score(dc.Owner()),
        m_state(dc.Symbols()) {}

  void Draw();

private:
  struct ClefAt {
    int Time = 0;
    int Clef = clfTreble;
  };

  void SystemStart();
  // Draws measure i, which starts at time t at x left; returns where it ends.
  int DrawMeasure(int i, int t, int left);
  void DrawVoice(int v, const MeasureFrame& frame);
  int RestLift(int v, const RhythmItem& rest, const MeasureFrame& frame) const;
  bool HasTriplets(int t, int end);
  int FirstNote(int v, const Notes& notes, int t);
  void DrawBrackets(bool recording, std::size_t inkFrom, int right);
  bool StemsUp(const TripletGroup& group) const;
  TripletRoom BracketRoom() const;
  void CollectLyric(const Note& note);
  void DrawMarks();
  int SystemEnd() const;
  void MeasureNumbers();
  int GrandClef(int clef) const;
  int SpaceMeasure(int i, int t, int duration, int inner);
  void RecordStops(int i, int t, int left, int duration, int twipsPerUnit);
  void CollectInnerClefChanges(int i, int t, int end);
  void DrawInnerClefs(int i, int t, int left, int twipsPerUnit);
  int ClefAtTime(int time) const;
  bool DrumStaff() const;

  DrawContext& m_dc;
  SystemGrid& m_grid;
  const StaffPlacement& m_place;
  Region& m_band;
  Score& m_score;
  SymbolState& m_state;
  std::shared_ptr<Staff> m_staff;

  int m_s = 0;        // line space
  int m_L = 0;        // staff height
  int m_y = 0;        // the staff's reference y
  int m_clef = clfTreble;
  int m_split = 0;
  int m_keyInForce = 0;
  int m_keyDrawn = 0;
  int m_offset = 0;          // content offset of the measure being drawn
  int m_repeatBegin = 0;     // where a repeat-begin sign stands in the measure
  int m_firstNumber = 0;     // the system's first measure number
  GlyphRoom m_glyphs;        // what successive note positions need between them
  std::vector<int> m_spacedTimes;  // the note positions of the measure spaced last
  Metre m_metre;                   // of the measure being drawn
  std::vector<RhythmNote> m_rhythmNotes;
  MeasureRhythm m_rhythm;          // of the voice being drawn
  // The measure's triplet groups whose brackets wait for all its voices: the x of their
  // first and last items, and their side.
  struct PendingBracket {
    int Left = 0;
    int Right = 0;
    bool Above = true;
  };
  std::vector<PendingBracket> m_brackets;
  LyricRow m_lyrics;
  // The measures whose dynamics, tempo marks and text labels wait until the notes stand.
  std::vector<MeasureFrame> m_marks;
  UnderStaff m_rows;  // the rows under the staff in this system
  // The clef at the measure's start and its changes inside it, in time order.
  std::vector<ClefAt> m_clefChanges;
  // Per voice, the index of its first note at or after m_firstTime: the measures, drawn in
  // time order, find their notes from there.
  std::vector<int> m_firstNote;
  int m_firstTime = -1;
};

void StaffSystemDrawer::Draw() {
  m_staff = m_score.Staff(m_place.StaffIndex);
  if (!m_staff || !m_dc.Window()) return;
  m_s = m_dc.LineSpace();
  m_L = m_dc.StaffHeightTwips();
  m_y = m_place.Top - m_dc.GlyphBaseline();
  SystemStart();
  int t = m_place.StartTime;
  int left = m_place.Left;
  for (int i = 0; i < m_grid.Measures(); ++i) {
    const int width = m_grid.Widths[static_cast<std::size_t>(i)];
    t = DrawMeasure(i, t, left);
    left = i == m_grid.Measures() - 1 ? m_place.Right : left + width;
  }
  DrawMarks();
  m_state.RecordInk = false;
  // A grand staff's upper staff hands its ink on to the lower one.
  if (m_place.GrandHalf == 2 || m_staff->DefaultClef() != clfGrand) m_state.Ink.clear();
  MeasureNumbers();
}

int StaffSystemDrawer::GrandClef(int clef) const {
  if (clef != clfGrand) return clef;
  return m_place.GrandHalf == 2 ? clfBass : clfTreble;
}

bool StaffSystemDrawer::DrumStaff() const {
  const auto first = m_staff->Voice(1);
  const auto instrument = first ? first->Instrument() : nullptr;
  return instrument && instrument->Category() == catDrums;
}

void StaffSystemDrawer::SystemStart() {
  const int start = m_place.StartTime;
  m_state.TripletCount = 0;
  m_state.DrawnNotes.clear();
  m_state.SystemRight = m_place.Right;
  m_glyphs = MeasureGlyphRoom(*m_dc.Window(), m_s);
  m_lyrics.Clear();
  m_marks.clear();
  // What the staff draws is recorded from here (both staves of a grand staff), so that the
  // marks placed around its notes keep clear of it; a staff with none draws unrecorded.
  const int end = SystemEnd();
  if (m_place.GrandHalf == 1) m_state.Ink.clear();
  m_state.RecordInk = PlacesMarks(*m_staff, start, end);
  const bool lyrics =
      m_place.GrandHalf == 1 && m_staff->Verses() >= 1 && m_staff->DefaultClef() != clfGrand;
  m_rows = MeasureUnderStaff(m_dc, *m_staff, start, end, m_L, m_dc.StaffScale(),
                             m_staff->LyricOffset(), m_place.GrandHalf, lyrics);

  int x = m_place.Left + m_s;
  m_clef = m_staff->CurClef(start);
  m_split = m_clef == clfGrand ? kGrandSplit : 0;
  m_clef = GrandClef(m_clef);
  DrawClef(m_dc, m_clef, x, m_y);

  // The key signature starts one staff height from the left edge.
  x = m_place.Left + m_L;
  const int key = m_staff->CurKey(start);
  if (!DrumStaff()) DrawKeySignature(m_dc, key, m_clef, x, m_y);
  m_keyInForce = key;
  m_keyDrawn = key;
  m_offset = x - m_place.Left;

  // The time signature at the score's start, and where one stands at the system's start.
  GlobalEvents& globals = m_score.AllGlobals();
  const auto time = globals.Find(start, evtTimeChange);
  const int packed = time ? time->Value1() * 128 + time->Value2() : globals.CurTimeVal(start);
  if (start == 0 || (time && time->EventTime() == start)) {
    DrawTimeSignature(m_dc, packed, x, m_y);
    m_offset = static_cast<int>(RoundHalfEven(m_offset + 0.7 * m_L));
  }
  m_offset += m_s;
  m_repeatBegin = m_offset;
  m_offset += m_s / 2;
  m_state.SystemStart = start;
}

int StaffSystemDrawer::DrawMeasure(int i, int t, int left) {
  const Internal key;
  Surface& window = *m_dc.Window();
  GlobalEvents& globals = m_score.AllGlobals();
  const auto index = static_cast<std::size_t>(i);
  const int width = m_grid.Widths[index];
  bool endBar = false;

  Range place;
  place.SetLow(key, width);
  place.SetHigh(key, t);
  m_band.SetMeasure(i, place);
  m_band.SetMeasurePad(i, m_offset);
  m_band.SetMeasureStops(i, {});
  if (m_place.GrandHalf == 1) m_band.ClearMeasureRests(i);

  int number = 0, duration = 0;
  globals.MeasureInfo(t, number, duration);
  duration = std::max(duration, 1);
  if (m_firstNumber == 0) m_firstNumber = number;
  const int end = t + duration;
  m_metre = Metre::Of(globals.CurTimeVal(t), duration);
  m_state.SystemEnd = end;
  const bool repeatsLast = m_staff->SameAsLast(t);

  // The changes at the measure's start stand one after the other from its left edge: a
  // clef, the key signature (in that clef), the time signature. The notes and rests of the
  // measure move right by all of them.
  int x = left;
  if (i > 0 && !repeatsLast && m_staff->GlobalEvents().Find(t, evtClefChange, true)) {
    m_clef = GrandClef(m_staff->CurClef(t));
    x += m_s;
    DrawClef(m_dc, m_clef, x, m_y);
  }
  // A key change found at the end of the measure before is drawn here.
  if (m_keyInForce != m_keyDrawn) {
    m_keyDrawn = m_keyInForce;
    DrawKeySignature(m_dc, m_keyInForce, m_clef, x, m_y);
  }
  if (i > 0) {
    if (const auto time = globals.Find(t, evtTimeChange, true)) {
      DrawTimeSignature(m_dc, time->Value1() * 128 + time->Value2(), x, m_y);
      x = static_cast<int>(RoundHalfEven(x + 0.7 * m_L));
    }
  }
  if (x > left) m_state.SetShift(i, t, std::max(m_state.ShiftOf(i).Width, x - left));

  // A key change is always preceded by a double bar. The key comes from the staff as at a
  // system's start, so a transposing instrument's change is written in its own key.
  if (m_staff->GlobalEvents().Find(end, evtKeyChange, true)) {
    m_keyInForce = m_staff->CurKey(end);
    // A repeat or final bar there serves as the double bar.
    if (m_keyInForce != m_keyDrawn && !(m_grid.Flags[index] & (2 | 8))) m_grid.Flags[index] |= 4;
  }
  const int flags = m_grid.Flags[index];
  m_band.SetMeasureFlag(i, flags | StaffOctaveKinds(*m_staff, t) * 16);
  const int bars = flags & 15;
  const int sections = (flags & kSectionMask) / 16;

  if (bars & 1) {
    // A repeat begins after the changes at the measure's start, whose room the notes
    // already keep.
    const int changes = x - left;
    int p = i == 0 ? m_repeatBegin : changes;
    DrawBarGlyph(m_dc, evtRepeatBegin, left, m_y, p, m_place.JoinTop);
    m_offset = p - changes + m_s / 2 + m_s;
  }
  // Octave lines come from the staff's own events, so every measure is asked.
  DrawSectionMarks(m_dc, *m_staff, sections, left, m_y, m_offset, width, t);

  // End bars stand right-aligned from the measure's right edge leftwards.
  int inner = width;
  if (bars & 14) {
    endBar = true;
    if (bars & 2) DrawBarGlyph(m_dc, evtRepeatEnd, left, m_y, inner, m_place.JoinTop);
    if (bars & 4) DrawBarGlyph(m_dc, evtSectionEnd, left, m_y, inner, m_place.JoinTop);
    if (bars & 8) DrawBarGlyph(m_dc, evtScoreEnd, left, m_y, inner, m_place.JoinTop);
  }

  if (repeatsLast) {
    // A measure that repeats the one before shows only the sign.
    window.SetForeColor(m_dc.ColorBars());
    const std::string sign(1, glyph::RepeatMeasure);
    m_dc.DrawTextAt(sign, left + (inner - window.TextWidth(sign)) / 2, m_y - m_s);
  } else {
    m_clefChanges.clear();
    m_clefChanges.push_back({t, m_clef});
    CollectInnerClefChanges(i, t, end);
    // The notes are spread over what the changes leave, with room after the last position
    // for its glyphs, so that nothing of the measure reaches its bar line.
    const int twipsPerUnit = SpaceMeasure(i, t, duration, inner);
    m_offset += 2 * twipsPerUnit;  // notes never touch the bar line
    RecordStops(i, t, left, duration, twipsPerUnit);
    DrawInnerClefs(i, t, left, twipsPerUnit);

    // Chord symbols stand once, in the row over the system: not again over a grand
    // staff's lower half, which shares its band.
    if (m_band.First() && m_place.GrandHalf == 1 && m_score.UseChords())
      FindChordSymbol(m_dc, sections, left, m_y, m_offset, twipsPerUnit, t, duration, i);

    MeasureFrame frame;
    frame.Start = t;
    frame.Duration = duration;
    frame.Left = left;
    frame.Width = width;
    frame.Y = m_y;
    frame.TwipsPerUnit = twipsPerUnit;
    frame.Pad = m_offset;
    frame.Index = i;
    m_marks.push_back(frame);
    // Accidentals hold until the bar line, across the voices of the staff.
    m_state.Accidentals.Clear();
    const bool triplets = HasTriplets(t, end);
    const bool recording = m_state.RecordInk;
    const std::size_t inkFrom = m_state.Ink.size();
    if (triplets) m_state.RecordInk = true;
    for (int v = 1; v <= m_staff->Voices(); ++v) DrawVoice(v, frame);
    if (triplets) DrawBrackets(recording, inkFrom, left + inner);
    m_clef = m_clefChanges.back().Clef;
  }

  m_offset = 2 * m_s;
  m_repeatBegin = 0;
  const int right = i == m_grid.Measures() - 1 ? m_place.Right : left + width;
  if (!endBar) m_dc.DrawLine(m_dc.ColorBars(), right, m_place.Top, right, m_place.Bottom);
  return end;
}

// Spaces the measure i (from time t) over its inner width: the scale per 64th, with the
// note positions moved apart where their glyphs need more room than the scale gives.
int StaffSystemDrawer::SpaceMeasure(int i, int t, int duration, int inner) {
  const auto index = static_cast<std::size_t>(i);
  if (m_state.Spreads.size() <= index) m_state.Spreads.resize(index + 1);
  m_state.Spreads[index].clear();
  // The system's positions when the painter gathered them, else this staff's own.
  std::vector<NotePosition> own;
  const std::vector<NotePosition>* positions = &own;
  LyricEnd lyricEnd;
  if (index < m_state.Positions.size()) {
    positions = &m_state.Positions[index];
    if (index < m_state.LyricEnds.size()) lyricEnd = m_state.LyricEnds[index];
  } else {
    own = CollectPositions(m_score, {m_place.StaffIndex}, t, duration, &m_glyphs);
    lyricEnd = AddLyricRooms(m_dc, m_score, {m_place.StaffIndex}, t, duration, m_L, own);
  }
  // The last position's glyphs keep clear of the bar line.
  const int last =
      positions->empty() ? m_glyphs.Head + m_glyphs.Gap : RoomAfter(positions->back(), m_glyphs);
  const int available = inner - (m_offset + m_state.ShiftWidth(i)) - last;
  // Signs of the first position that need more than the measure's start leaves move every
  // position right.
  const int lead = positions->empty() ? 0 : LeadRoom(positions->front(), m_glyphs);
  const int reach = inner - m_offset - m_state.ShiftAt(i, t + lyricEnd.Time) - lead;
  MeasureSpacing spacing = SpreadKeepingLyricEnd(*positions, duration, available - lead, m_glyphs,
                                                 lyricEnd, reach);
  if (lead > 0) spacing.Spreads.insert(spacing.Spreads.begin(), ChangeShift{0, lead});
  m_spacedTimes.clear();
  for (const NotePosition& p : *positions) m_spacedTimes.push_back(p.Time);
  for (ChangeShift& spread : spacing.Spreads) spread.Time += t;
  m_state.Spreads[index] = std::move(spacing.Spreads);
  return spacing.TwipsPerUnit;
}

// Where a measure whose positions moved apart drew them (and its end), so that a click maps
// back to the time drawn there; a proportionally spaced measure records nothing.
void StaffSystemDrawer::RecordStops(int i, int t, int left, int duration, int twipsPerUnit) {
  const auto index = static_cast<std::size_t>(i);
  if (index >= m_state.Spreads.size() || m_state.Spreads[index].empty()) return;
  std::vector<MeasureStop> stops;
  for (const int time : m_spacedTimes) {
    const int x = SnapX(time * twipsPerUnit + left + m_offset) + m_state.ShiftAt(i, t + time);
    stops.push_back({x, time});
  }
  stops.push_back({left + m_offset + duration * twipsPerUnit + m_state.ShiftWidth(i), duration});
  m_band.SetMeasureStops(i, std::move(stops));
}

// The staff's clef changes inside the measure [t, end), after the clef at its start; each
// makes room for its clef before the notes at its time.
void StaffSystemDrawer::CollectInnerClefChanges(int i, int t, int end) {
  const GlobalEvents& events = m_staff->GlobalEvents();
  const auto last = events.Find(end - 1, evtClefChange);
  if (!last || last->EventTime() <= t) return;
  std::vector<ClefAt> inner;
  for (int k = last->Index(); k >= 1; --k) {
    const auto e = events.ByIndex(k);
    if (!e || e->EventTime() <= t) break;
    if (e->EventType() == evtClefChange) inner.push_back({e->EventTime(), GrandClef(e->Value1())});
  }
  std::reverse(inner.begin(), inner.end());
  const Surface& window = *m_dc.Window();
  for (const ClefAt& change : inner) {
    if (change.Clef == m_clefChanges.back().Clef) continue;
    m_clefChanges.push_back(change);
    m_state.AddInnerShift(i, change.Time, window.TextWidth(ClefGlyph(change.Clef)) + m_s / 2);
  }
}

// Draws the clefs that change inside the measure, each just before the notes at its time.
void StaffSystemDrawer::DrawInnerClefs(int i, int t, int left, int twipsPerUnit) {
  for (std::size_t k = 1; k < m_clefChanges.size(); ++k) {
    const ClefAt& change = m_clefChanges[k];
    // Where the notes at its time would stand without the room it makes.
    int x = left + m_offset + (change.Time - t) * twipsPerUnit + m_state.ShiftAt(i, change.Time - 1);
    DrawClef(m_dc, change.Clef, x, m_y);
  }
}

int StaffSystemDrawer::ClefAtTime(int time) const {
  int clef = m_clefChanges.empty() ? m_clef : m_clefChanges.front().Clef;
  for (const ClefAt& change : m_clefChanges)
    if (time >= change.Time) clef = change.Clef;
  return clef;
}

// Draws what the voice's rhythm in the measure holds (measurerhythm.h): its notes and the
// rests of the first voice's gaps and of rest notes; the brackets of its triplet groups wait
// for DrawBrackets. Beams close at beat boundaries and at rests.
void StaffSystemDrawer::DrawVoice(int v, const MeasureFrame& frame) {
  const auto voice = m_staff->Voice(v);
  if (!voice) return;
  const auto instrument = voice->Instrument();
  const bool drums = instrument && instrument->Category() == catDrums;
  m_state.StemMode &= ~(SymbolState::kStemUp | SymbolState::kStemDown);
  m_state.NoteColor = v == m_score.Voice() ? m_dc.ColorNotes() : m_dc.ColorLight();
  m_dc.Window()->SetForeColor(m_state.NoteColor);
  m_state.Beam.clear();
  m_state.BeamUp = false;
  m_state.TripletCount = 0;

  // A grand staff's upper staff draws the chords with a pitch at or above the split, the
  // lower one those with a pitch below it; rest notes (pitch 0) go below.
  GatherRhythmNotesFrom(voice->Notes(), FirstNote(v, voice->Notes(), frame.Start), frame.Start,
                        frame.Duration, m_place.GrandHalf, m_split, m_rhythmNotes);
  RhythmOptions options;
  options.FillGaps = v == 1;
  options.Drums = drums;
  ReadRhythm(m_rhythmNotes, m_metre, options, m_rhythm);

  const int pulse = std::max(m_grid.Pulse, 1);
  int beat = frame.Start + pulse;
  int groupLeft = 0;  // x of the open triplet group's first item
  for (std::size_t k = 0; k < m_rhythm.Items.size(); ++k) {
    const RhythmItem& item = m_rhythm.Items[k];
    const int time = frame.Start + item.Time;
    if (time >= beat) {
      BeamGeometry(m_dc);
      m_state.StemMode &= ~(SymbolState::kStemUp | SymbolState::kStemDown);
      while (beat <= time) beat += pulse;
    }
    const TripletGroup* group =
        item.Group >= 0 ? &m_rhythm.Groups[static_cast<std::size_t>(item.Group)] : nullptr;
    if (group && group->First == static_cast<int>(k)) m_state.TripletCount = 0;

    int x = 0;
    if (item.Rest) {
      BeamGeometry(m_dc);
      int right = 0;
      x = DrawRest(m_dc, frame, item, RestLift(v, item, frame), &right);
      // A click there means the rest's time (a whole measure's rest stands for no time).
      if (!item.MeasureRest) m_band.AddMeasureRest(frame.Index, {x, right, item.Time});
    } else {
      if ((m_state.StemMode & SymbolState::kSharedStaves) &&
          !(m_state.StemMode & (SymbolState::kStemUp | SymbolState::kStemDown)))
        m_state.StemMode |= m_staff->ForceFlag(time, beat, v);
      const DrawnValue value{item.Value, item.Dotted, item.Triplet, time};
      if (drums)
        DrawNote(m_dc, *item.Of, frame, clfPercussion, 0, 0, kDrumSplit, value);
      else
        DrawNote(m_dc, *item.Of, frame, ClefAtTime(time), m_keyDrawn, m_place.GrandHalf, m_split,
                 value);
      x = item.Of->X();
    }
    if (item.Of && v == 1 && m_place.GrandHalf == 1 && m_staff->Verses() >= 1) CollectLyric(*item.Of);

    if (!group) continue;
    if (group->First == static_cast<int>(k)) groupLeft = x;
    if (group->Last == static_cast<int>(k)) {
      m_brackets.push_back({groupLeft, x, StemsUp(*group)});
      m_state.TripletCount = 0;
    }
  }
  BeamGeometry(m_dc);
}

// The index (1-based) of voice v's first note at or after t.
int StaffSystemDrawer::FirstNote(int v, const Notes& notes, int t) {
  if (t < m_firstTime) m_firstNote.clear();
  m_firstTime = t;
  const auto at = static_cast<std::size_t>(v);
  if (m_firstNote.size() <= at) m_firstNote.resize(at + 1, 0);
  int& first = m_firstNote[at];
  if (first < 1 || first > notes.Count() + 1) {
    first = notes.IndexAtOrAfter(t);
  } else {
    for (auto it = notes.begin() + (first - 1); it != notes.end() && (*it)->NoteTime() < t; ++it)
      ++first;
  }
  return first;
}

// Whether any voice of the staff has a triplet note in [t, end): then what the voices draw
// in the measure is recorded for the brackets to keep clear of.
bool StaffSystemDrawer::HasTriplets(int t, int end) {
  for (int v = 1; v <= m_staff->Voices(); ++v) {
    const auto voice = m_staff->Voice(v);
    if (voice && HoldsTriplets(voice->Notes(), FirstNote(v, voice->Notes(), t), end)) return true;
  }
  return false;
}

// The measure's triplet brackets, once all its voices stand (a group's beam may close after
// its last note, another voice's notes may stand under it): each clear of what the voices
// drew, and those on one side of the staff in one row, at the height the outermost of them
// needs, where none stands over another and the row keeps each of them clear; a bracket
// over another moves out of its way.
void StaffSystemDrawer::DrawBrackets(bool recording, std::size_t inkFrom, int right) {
  std::vector<InkArea> ink(m_state.Ink.begin() + static_cast<std::ptrdiff_t>(inkFrom),
                           m_state.Ink.end());
  TripletRoom room = BracketRoom();
  const int middle = (m_place.Top + m_place.Bottom) / 2;
  const std::size_t n = m_brackets.size();
  std::sort(m_brackets.begin(), m_brackets.end(),
            [](const PendingBracket& a, const PendingBracket& b) { return a.Left < b.Left; });
  // A bracket too narrow to read widens up to halfway to its neighbours, and short of the
  // bar line.
  const int pixel = m_dc.ScreenPixelX();
  auto use = [&](std::size_t k) {
    m_state.TripletLeft = m_brackets[k].Left;
    m_state.TripletRight = m_brackets[k].Right;
    m_state.TripletMinLeft =
        k == 0 ? INT_MIN : (m_brackets[k - 1].Right + m_s + m_brackets[k].Left + 2 * pixel) / 2;
    m_state.TripletMaxRight =
        k + 1 == n ? right - m_s / 4
                   : (m_brackets[k].Right + m_s + m_brackets[k + 1].Left + 2 * pixel) / 2;
    room.Above = m_brackets[k].Above;
  };
  std::vector<TripletShape> shapes(n);
  std::vector<int> ys(n);
  std::vector<InkArea> boxes(n);
  for (std::size_t k = 0; k < n; ++k) {
    use(k);
    shapes[k] = ShapeTriplet(m_dc);
    ys[k] = PlaceTriplet(m_dc, shapes[k], room, ink);
    boxes[k] = shapes[k].At(ys[k], m_s);
  }
  for (const bool above : {true, false}) {
    std::vector<std::size_t> row;
    for (std::size_t k = 0; k < n; ++k)
      if ((ys[k] < middle) == above) row.push_back(k);
    bool apart = row.size() > 1;
    for (std::size_t a = 0; apart && a < row.size(); ++a)
      for (std::size_t b = a + 1; apart && b < row.size(); ++b)
        apart = boxes[row[a]].Right < boxes[row[b]].Left || boxes[row[b]].Right < boxes[row[a]].Left;
    if (!apart) continue;
    int y = ys[row.front()];
    for (const std::size_t k : row) y = above ? std::min(y, ys[k]) : std::max(y, ys[k]);
    for (const std::size_t k : row) {
      room.Above = m_brackets[k].Above;
      if (TripletFits(m_dc, shapes[k], room, ink, y)) ys[k] = y;
    }
  }
  std::vector<InkArea> drawn;
  for (std::size_t k = 0; k < n; ++k) {
    room.Above = m_brackets[k].Above;
    if (Collides(drawn, shapes[k].At(ys[k], m_s), InkGap(m_s))) {
      std::vector<InkArea> around = ink;
      around.insert(around.end(), drawn.begin(), drawn.end());
      ys[k] = PlaceTriplet(m_dc, shapes[k], room, around);
    }
    DrawTripletShape(m_dc, shapes[k], ys[k]);
    drawn.push_back(shapes[k].At(ys[k], m_s));
  }
  m_brackets.clear();
  m_state.TripletMinLeft = INT_MIN;
  m_state.TripletMaxRight = INT_MAX;
  if (!recording) {
    m_state.Ink.resize(inkFrom);
    m_state.RecordInk = false;
  }
}

// A triplet group's bracket stands on its stems' side: above when they point up or it has
// none.
bool StaffSystemDrawer::StemsUp(const TripletGroup& group) const {
  for (int k = group.First; k <= group.Last; ++k) {
    const RhythmItem& item = m_rhythm.Items[static_cast<std::size_t>(k)];
    if (!item.Rest && item.Of && item.Value < durWhole) return item.Of->Up();
  }
  return true;
}

// Where triplet brackets may stand: within this staff's part of the band, a grand staff's
// halves meeting halfway between them.
TripletRoom StaffSystemDrawer::BracketRoom() const {
  TripletRoom room;
  room.TopLine = m_place.Top;
  room.BottomLine = m_place.Bottom;
  if (m_band.Bottom() <= m_band.Top()) return room;  // a band not laid out: no limits
  room.Top = m_band.Top();
  room.Bottom = m_band.Bottom();
  if (m_staff->DefaultClef() == clfGrand) {
    const int upperBottom = m_band.Top() + m_band.PadTop() + 4 * m_s;
    const int lowerTop = m_band.LowerTop();
    if (m_place.GrandHalf == 2)
      room.Top = (upperBottom + m_place.Top) / 2;
    else if (lowerTop > m_place.Bottom)
      room.Bottom = (m_place.Bottom + lowerTop) / 2;
  }
  return room;
}

// How far a rest of voice v moves off the heads of the staff's other voices that sound with
// it (up for voices 1 and 3, down for 2 and 4).
int StaffSystemDrawer::RestLift(int v, const RhythmItem& rest, const MeasureFrame& frame) const {
  if (m_staff->Voices() < 2) return 0;
  const int from = frame.Start + (rest.MeasureRest ? 0 : rest.Time);
  const int to = rest.MeasureRest ? frame.Start + frame.Duration : from + std::max(1, rest.Thirds() / 3);
  double highest = 0, lowest = 0;
  bool any = false;
  AccidentalMemory scratch;  // spelling for the heads' places only
  for (int u = 1; u <= m_staff->Voices(); ++u) {
    const auto voice = u == v ? nullptr : m_staff->Voice(u);
    if (!voice) continue;
    const auto instrument = voice->Instrument();
    const bool drums = instrument && instrument->Category() == catDrums;
    const Notes& notes = voice->Notes();
    // From the note sounding into the rest's start.
    for (int k = std::max(1, notes.IndexAtOrAfter(from) - 1); k <= notes.Count(); ++k) {
      const auto note = notes.ByIndex(k);
      const int onset = note->NoteTime();
      if (onset >= to) break;
      const DrawnValue own = DrawnValue::Of(*note);
      int length = own.Dotted ? own.Duration * 3 / 2 : own.Duration;
      if (own.Triplet) length = length * 2 / 3;
      if (onset + std::max(1, length) <= from) continue;
      for (const int pitch : note->Values()) {
        if (pitch == 0) continue;
        if (!drums && (m_place.GrandHalf == 2 ? pitch >= m_split : pitch < m_split)) continue;
        const double step =
            drums ? SpellPitch(DrumStaffPitch(pitch), clfPercussion, 0, scratch).Y
                  : SpellPitch(pitch, ClefAtTime(onset), m_keyDrawn, scratch).Y;
        highest = any ? std::min(highest, step) : step;
        lowest = any ? std::max(lowest, step) : step;
        any = true;
      }
    }
  }
  if (!any) return 0;
  return RestClearance(m_dc, rest, v % 2 == 1, highest, lowest);
}

void StaffSystemDrawer::CollectLyric(const Note& note) {
  const auto lyric = m_staff->GlobalEvents().Find(note.NoteTime(), evtLyric, true);
  m_lyrics.Add(note.X(), lyric ? std::optional<std::string>(lyric->Text()) : std::nullopt);
}

// The end of the system: the start of the measure after its last.
int StaffSystemDrawer::SystemEnd() const {
  int t = m_place.StartTime;
  for (int i = 0; i < m_grid.Measures(); ++i) {
    int number = 0, duration = 0;
    m_score.AllGlobals().MeasureInfo(t, number, duration);
    t += std::max(duration, 1);
  }
  return t;
}

// Once the notes stand: the dynamics and tempo marks under them, the lyrics under those,
// and the text labels clear of all of it.
void StaffSystemDrawer::DrawMarks() {
  const bool grand = m_staff->DefaultClef() == clfGrand;
  // A grand staff shows its dynamics and tempo marks once, under its lower staff: between
  // its staves, where its lyrics stand, they would reach the lower staff.
  MarkPlace place;
  place.Lowering = m_rows.Lowering;
  place.TempoLowering = m_rows.TempoLowering;
  for (const MeasureFrame& m : m_marks) {
    place.Measure = m.Index;
    if (!grand || m_place.GrandHalf == 2)
      DrawTempoMarks(m_dc, *m_staff, m.Left, m_y, m.Pad, m.TwipsPerUnit, m.Start, m.Duration,
                     place);
  }
  if (m_place.GrandHalf != 1) return;
  if (m_staff->Verses() >= 1) {
    // Under everything the staff drew; a grand staff's lyrics keep their place between its
    // staves, which the layout made for them.
    int top = m_place.Bottom + m_staff->LyricOffset();
    if (!grand) {
      top = std::max(
          m_place.Bottom + m_rows.LyricTop,
          LowestInk(m_state.Ink, m_place.Left, m_place.Right, m_place.Bottom) + InkGap(m_s));
    }
    m_band.SetLyricLine(top);
    m_lyrics.Draw(m_dc, top, m_place.Right);
  }
  for (const MeasureFrame& m : m_marks)
    DrawTextEvents(m_dc, *m_staff, m.Left, m_place.Top, m.Pad, m.TwipsPerUnit, m.Start, m.Duration,
                   m.Index);
}

void StaffSystemDrawer::MeasureNumbers() {
  if (!m_score.NumberMeasures() || !m_band.First()) return;
  Surface& window = *m_dc.Window();
  m_dc.SelectFont(fntCopyright);
  FontSpec font = window.Font();
  font.Size = 8;
  window.SetFont(font);
  window.SetForeColor(m_dc.ColorBars());
  const int position = m_score.NumberPos();
  // Positions 3 and up stand below the staff, 0..2 above it; the rest is the alignment.
  const int alignment = position >= 3 ? position - 3 : position;
  const int y = position >= 3 ? m_y + 4 * m_s + 2 * m_s : m_y - m_s;
  const int pixel = m_dc.ScreenPixelX();
  int x = m_place.Left;
  int number = m_firstNumber;
  for (int i = 0; i < m_grid.Measures(); ++i) {
    const auto index = static_cast<std::size_t>(i);
    const int width = m_grid.Widths[index];
    if ((m_grid.Flags[index] & kUnnumberedMask) == 0) {
      const std::string text = std::to_string(number);
      const int textWidth = window.TextWidth(text);
      int at = x + pixel;
      if (alignment == 1) at = x + (width - textWidth) / 2;
      if (alignment == 2) at = x + width - pixel - textWidth;
      m_dc.DrawTextAt(text, at, y);
    }
    x += width;
    ++number;
  }
  m_dc.SelectFont(DrawContext::kMusicFont);
}

}  // namespace

void DrawStaffSystem(DrawContext& dc, SystemGrid& grid, const StaffPlacement& place,
                     Region& band) noexcept {
  try {
    if (grid.Flags.size() < grid.Widths.size()) grid.Flags.resize(grid.Widths.size());
    StaffSystemDrawer(dc, grid, place, band).Draw();
  } catch (...) {
    // Drawing runs with errors ignored: what was drawn stays.
  }
  dc.Symbols().RecordInk = false;
}

}  // namespace notecraft
