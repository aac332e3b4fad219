#include "notecraft/view/understaff.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/clefsandbars.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/musicfontmetrics.h"
#include "notecraft/view/notesandbeams.h"

namespace notecraft {

namespace {

// A head's place in line spaces below the bottom line: the middle line is two spaces up.
constexpr double kMiddleLine = -2.0;

// The sizes the rows are made of, for one staff at one staff height.
struct Measures {
  int s = 0;    // line space
  int em = 0;   // the music font's em: the staff height at the staff's scale
  int gap = 0;  // kept free between two rows

  int Units(int units) const {
    return static_cast<int>(std::lround(static_cast<double>(units) * em / musicfont::UnitsPerEm));
  }
  // How far a glyph's ink reaches below its baseline.
  int Below(char glyph) const {
    return Units(-std::min<int>(0, musicfont::Ink[static_cast<unsigned char>(glyph)].Bottom));
  }
};

// A pitch's place in line spaces below the bottom line, as low (sharps: C sharp on C's
// line, B sharp under C in the keys of six and seven sharps) or as high (flats) as any
// spelling in key puts it: the rows are placed for whichever the drawing chooses.
double PlaceOf(int pitch, int clef, int key, bool low) {
  static constexpr int kSharpLetter[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
  const int pc = pitch % 12;
  int step = pitch / 12 * 7 + kSharpLetter[pc];
  const bool black = kSharpLetter[pc] == kSharpLetter[(pc + 11) % 12] && pc != 0;
  if (low && key >= 6 && (pc == 0 || pc == 5)) --step;
  if (!low && black) ++step;
  if (!low && key <= -6 && (pc == 11 || pc == 4)) ++step;
  // The step of each clef's bottom line (E4 for the treble clef), as the spelling counts.
  const int bottom = clef == clfBass ? 25 : clef == clfAlto ? 31 : clef == clfTenor ? 29 : 37;
  return (bottom - step) / 2.0;
}

// One note as far as its depth goes: its lowest and highest head (line spaces below the
// bottom line), whether its stem may point down, and what hangs under it.
struct NoteDepth {
  double Top = 0;
  double Bottom = 0;
  bool Down = false;
  int Flags = 0;
  int Duration = 0;
  int Time = 0;
};

// The clefs of a staff in [start, end): the one at start, then each change, in time order.
using ClefChanges = std::vector<std::pair<int, int>>;  // time, clef
ClefChanges ClefsOf(Staff& staff, int start, int end) {
  ClefChanges clefs;
  const GlobalEvents& events = staff.GlobalEvents();
  for (auto e = events.Find(end - 1, evtClefChange); e && e->EventTime() > start;
       e = e->Index() > 1 ? events.Find(e->EventTime(), evtClefChange, false, e->Index() - 1)
                          : nullptr)
    clefs.emplace_back(e->EventTime(), e->Value1());
  clefs.emplace_back(start, staff.CurClef(start));
  std::reverse(clefs.begin(), clefs.end());
  return clefs;
}

int ClefAt(const ClefChanges& clefs, int time) {
  int clef = clefs.front().second;
  for (const auto& [at, value] : clefs)
    if (at <= time) clef = value;
  return clef;
}

// The notes of one voice in [start, end) drawn on this staff (or grand-staff half); key is
// the key in force (the most sharps or flats it reaches in the system).
std::vector<NoteDepth> VoiceNotes(Staff& staff, int v, int start, int end, int grandHalf,
                                  const ClefChanges& clefs, int key) {
  std::vector<NoteDepth> out;
  const auto voice = staff.Voice(v);
  if (!voice) return out;
  const auto instrument = voice->Instrument();
  const bool drums = instrument && instrument->Category() == catDrums;
  const Notes& notes = voice->Notes();
  for (int k = notes.IndexAtOrAfter(start); k <= notes.Count(); ++k) {
    const auto note = notes.ByIndex(k);
    if (!note || note->NoteTime() >= end) break;
    const int time = note->NoteTime();
    int clef = drums ? clfPercussion : ClefAt(clefs, time);
    int split = 0;
    if (clef == clfGrand) {
      split = kGrandSplit;
      clef = grandHalf == 2 ? clfBass : clfTreble;
    }
    NoteDepth d;
    bool any = false;
    for (const int value : note->Values()) {
      if (value == 0) continue;  // a rest stands on the staff
      const int pitch = drums ? DrumStaffPitch(value) : value;
      if (!drums && split > 0 && (grandHalf == 2 ? pitch >= split : pitch < split)) continue;
      const double high = PlaceOf(pitch, clef, key, false);
      const double low = PlaceOf(pitch, clef, key, true);
      d.Top = any ? std::min(d.Top, high) : high;
      d.Bottom = any ? std::max(d.Bottom, low) : low;
      any = true;
    }
    if (!any) continue;
    d.Flags = note->Flags();
    d.Duration = note->Duration();
    d.Time = time;
    // The drawing's own rule: up below the middle line or when forced up, never when forced
    // down; a percussion staff always up.
    const bool forcedDown = (d.Flags & nteForceDown) != 0;
    const bool forcedUp = (d.Flags & nteForceUp) != 0;
    d.Down = clef != clfPercussion && !drums && (forcedDown || (!forcedUp && d.Top <= kMiddleLine));
    out.push_back(d);
  }
  return out;
}

// Voices whose notes share the staff with another voice may be turned: the second and
// fourth voices down, the first and third up.
void SharedVoiceStems(std::vector<std::vector<NoteDepth>>& voices) {
  int used = 0;
  for (const auto& notes : voices) used += notes.empty() ? 0 : 1;
  if (used < 2) return;
  for (std::size_t v = 0; v < voices.size(); ++v)
    for (NoteDepth& d : voices[v]) d.Down = d.Down || (v % 2 == 1);
}

// A beamed group takes the direction of its first note: notes shorter than a quarter that
// follow each other inside one beat.
void BeamedStems(std::vector<NoteDepth>& notes, int start, int pulse) {
  pulse = std::max(pulse, 1);
  std::size_t first = 0;
  for (std::size_t k = 0; k < notes.size(); ++k) {
    const bool beamed = notes[k].Duration < durQuarter;
    const bool sameBeat =
        k > 0 && (notes[k].Time - start) / pulse == (notes[first].Time - start) / pulse;
    if (!beamed || k == 0 || notes[k - 1].Duration >= durQuarter || !sameBeat) {
      first = k;
      continue;
    }
    if (notes[first].Down) notes[k].Down = true;
  }
}

// The depth of one voice's notes below the bottom line.
int NotesDepth(const std::vector<NoteDepth>& notes, const std::vector<int>& tied,
               const Measures& m) {
  const int head = std::max({m.Below(glyph::FilledHead), m.Below(glyph::HalfHead),
                             m.Below(glyph::WholeNote), m.Below(glyph::PercussionHead)});
  const int stem = m.Below(glyph::StemDown);
  const int longStem = m.Below(glyph::FlagThirtySecondDown);
  int depth = 0;
  double groupLow = 0, groupHigh = 0;
  bool inGroup = false;
  for (std::size_t k = 0; k < notes.size(); ++k) {
    const NoteDepth& d = notes[k];
    const int bottom = static_cast<int>(std::lround(d.Bottom * m.s));
    depth = std::max(depth, bottom + head);
    // Beamed down stems: the beam may be moved below a stem's own end by as much as the
    // group's heads differ.
    const bool beamed = d.Duration < durQuarter;
    if (!beamed || !inGroup) {
      groupLow = groupHigh = d.Bottom;
      inGroup = beamed;
    } else {
      groupLow = std::min(groupLow, d.Bottom);
      groupHigh = std::max(groupHigh, d.Bottom);
    }
    if (d.Down && d.Duration != durWhole) {
      const int slope = beamed ? static_cast<int>(std::lround((groupHigh - groupLow) * m.s)) : 0;
      const int length = d.Duration <= durThirtySecond ? longStem : stem;
      depth = std::max(depth, static_cast<int>(std::lround(groupHigh * m.s)) + length + slope);
    } else {
      // Marks under an up stem: staccato and tenuto a space below the lowest head, the
      // accent two; a fermata a space below the head or the staff, hanging down.
      if (d.Flags & nteAccent2) depth = std::max(depth, bottom + 2 * m.s + m.Below(glyph::Accent));
      if (d.Flags & (nteStacato | nteAccent))
        depth =
            std::max(depth, bottom + m.s + std::max(m.Below(glyph::Dot), m.Below(glyph::Tenuto)));
      if (d.Flags & nteFermata)
        depth = std::max(depth, std::max(bottom, 0) + m.s + m.Below(glyph::FermataBelow));
    }
    // A tie below the heads bows a space and more under them.
    if (std::binary_search(tied.begin(), tied.end(), d.Time))
      depth = std::max(depth, bottom + head + 2 * m.s);
  }
  return depth;
}

// The times of the notes of voice v that a tie starts or ends at within [start, end), in
// time order.
std::vector<int> TiedTimes(const Staff& staff, int v, int start, int end) {
  std::vector<int> times;
  const GlobalEvents& events = staff.GlobalEvents();
  for (auto tie = events.Find(end - 1, evtTie); tie;
       tie = tie->Index() > 1 ? events.Find(tie->EventTime(), evtTie, false, tie->Index() - 1)
                              : nullptr) {
    const int last = tie->Value1() * 256 + tie->Value2();
    if (last < start - 64) break;
    if (std::atoi(tie->Text().c_str()) != v) continue;
    if (tie->EventTime() >= start) times.push_back(tie->EventTime());
    if (last >= start && last < end) times.push_back(last);
  }
  std::sort(times.begin(), times.end());
  return times;
}

// Clefs changing inside the system reach under the staff (the treble clef's tail).
int ClefDepth(const ClefChanges& clefs, int grandHalf, const Measures& m) {
  int depth = 0;
  for (std::size_t k = 1; k < clefs.size(); ++k) {
    int clef = clefs[k].second;
    if (clef == clfGrand) clef = grandHalf == 2 ? clfBass : clfTreble;
    const std::string sign = ClefGlyph(clef);
    if (!sign.empty()) depth = std::max(depth, m.Below(sign[0]));
  }
  return depth;
}

// The highest and lowest ink of the glyphs of the staff's dynamics in [start, end), above
// and below their baseline; none: {0, 0} and false.
bool DynamicsInk(const Staff& staff, int start, int end, const Measures& m, int& above,
                 int& below) {
  above = below = 0;
  bool any = false;
  const GlobalEvents& events = staff.GlobalEvents();
  for (auto e = events.Find(end - 1, evtDynamic); e && e->EventTime() >= start;
       e = e->Index() > 1 ? events.Find(e->EventTime(), evtDynamic, false, e->Index() - 1)
                          : nullptr) {
    const musicfont::InkBox& ink = musicfont::Ink[static_cast<unsigned char>(e->Value1())];
    above = std::max(above, m.Units(ink.Top));
    below = std::max(below, m.Units(-std::min<int>(0, ink.Bottom)));
    any = true;
  }
  return any;
}

// Each dynamic of the staff in [start, end) with its baseline at baseline: its depth and its
// glyph's width.
void DynamicsMarks(const Staff& staff, int start, int end, const Measures& m, int baseline,
                   std::vector<RowMark>& marks) {
  const GlobalEvents& events = staff.GlobalEvents();
  for (auto e = events.Find(end - 1, evtDynamic); e && e->EventTime() >= start;
       e = e->Index() > 1 ? events.Find(e->EventTime(), evtDynamic, false, e->Index() - 1)
                          : nullptr) {
    const auto glyph = static_cast<unsigned char>(e->Value1());
    const musicfont::InkBox& ink = musicfont::Ink[glyph];
    marks.push_back({e->EventTime(), baseline + m.Units(-std::min<int>(0, ink.Bottom)),
                     m.Units(std::max<int>(ink.Right, musicfont::Advance[glyph]))});
  }
}

bool HasEvent(const Staff& staff, int type, int start, int end) {
  const auto e = staff.GlobalEvents().Find(end - 1, type);
  return e && e->EventTime() >= start;
}

// The height of a tempo mark's line: the expression font's cell.
int TempoHeight(DrawContext& dc) {
  Surface* window = dc.Window();
  if (!window) return 0;
  const SurfaceState kept = window->State();
  dc.SelectFont(DrawContext::kExpressionFont);
  const int height = window->TextHeight();
  window->SetState(kept);
  return height;
}

}  // namespace

UnderStaff MeasureUnderStaff(DrawContext& dc, Staff& staff, int start, int end, int staffHeight,
                             float scale, int pad, int grandHalf, bool lyrics,
                             std::vector<RowMark>* marks) {
  UnderStaff rows;
  if (marks) marks->clear();
  rows.LyricTop = pad;
  if (end <= start) return rows;
  // Rows that are not there need no room.
  const bool dynamics = HasEvent(staff, evtDynamic, start, end);
  const bool tempo = HasEvent(staff, evtTempo, start, end);
  if (!lyrics && !dynamics && !tempo) return rows;
  Measures m;
  m.em = std::max(1, static_cast<int>(std::lround(staffHeight * static_cast<double>(scale))));
  m.s =
      std::max(1, static_cast<int>(RoundHalfEven(staffHeight / 4.0 * static_cast<double>(scale))));
  m.gap = InkGap(m.s);

  // The notes, voice by voice.
  const ClefChanges clefs = ClefsOf(staff, start, end);
  const int keyStart = staff.CurKey(start), keyEnd = staff.CurKey(end - 1);
  const int key = std::abs(keyStart) > std::abs(keyEnd) ? keyStart : keyEnd;
  std::vector<std::vector<NoteDepth>> voices;
  for (int v = 1; v <= staff.Voices(); ++v)
    voices.push_back(VoiceNotes(staff, v, start, end, grandHalf, clefs, key));
  SharedVoiceStems(voices);
  const int pulse = dc.Owner().AllGlobals().PulseValue();
  int notes = ClefDepth(clefs, grandHalf, m);
  for (std::size_t v = 0; v < voices.size(); ++v) {
    BeamedStems(voices[v], start, pulse);
    notes = std::max(
        notes, NotesDepth(voices[v], TiedTimes(staff, static_cast<int>(v) + 1, start, end), m));
  }
  int lowest = notes;

  // The dynamics row: its glyphs' baseline three spaces and a half under the bottom line
  // (and the score's adjustment), lowered until their ink clears the notes.
  const int glyphBaseline =
      SnapY(static_cast<int>(RoundHalfEven(staffHeight * 0.39 * static_cast<double>(scale))));
  const int reference = -(4 * m.s + glyphBaseline);  // the staff's reference y
  const int dynamicsTop = reference + 3 * m.s + m.s / 2 + dc.Owner().DynAdjust();
  const int baseline = dynamicsTop + m.Units(musicfont::Ascent);
  int above = 0, below = 0;
  if (dynamics && DynamicsInk(staff, start, end, m, above, below)) {
    rows.Lowering = std::max(0, notes + m.gap - (baseline - above));
    lowest = std::max(lowest, baseline + rows.Lowering + below);
    if (marks) DynamicsMarks(staff, start, end, m, baseline + rows.Lowering, *marks);
  }
  // The tempo marks' line under the dynamics row, clear of the notes and the dynamics.
  if (tempo) {
    const int tempoTop = dynamicsTop + m.s / 2 + 2 * m.s;
    const int need = lowest + m.gap;
    rows.TempoLowering = std::max(0, need - tempoTop);
    lowest = std::max(lowest, tempoTop + rows.TempoLowering + TempoHeight(dc));
    if (marks) marks->push_back({-1, lowest, 0});
  }
  if (lowest > 0) rows.LyricTop = std::max(pad, lowest + m.gap);
  return rows;
}

bool PlacesMarks(Staff& staff, int start, int end) {
  if (staff.Verses() >= 1) return true;
  for (const int type : {evtDynamic, evtTempo, evtText})
    if (HasEvent(staff, type, start, end)) return true;
  constexpr int kMarks =
      nteTrill | nteMordent | nteHalfMordent | nteTurn | nteFermata | nteBowUp | nteBowDown;
  for (int v = 1; v <= staff.Voices(); ++v) {
    const auto voice = staff.Voice(v);
    if (!voice) continue;
    const Notes& notes = voice->Notes();
    for (int k = notes.IndexAtOrAfter(start); k <= notes.Count(); ++k) {
      const auto note = notes.ByIndex(k);
      if (!note || note->NoteTime() >= end) break;
      if (note->Flags() & kMarks) return true;
    }
  }
  return false;
}

}  // namespace notecraft
