#include "notecraft/view/marksandtext.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "harmonygrid/core/chord.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"

namespace notecraft {

namespace {

constexpr int kEndingKinds = sctEnding1 | sctEnding2;  // sctEnding is both bits
constexpr int kOctaveKinds = sct8va | sct8vb;
constexpr int kMarksOverTheStart = kEndingKinds | sctCoda | sctSegundo;
constexpr float kOctaveSignPoints = 14.0f;
constexpr float kLabelPoints = 8.0f;
constexpr int kLabelFont = fntCopyright;

// Octave lines are staff-level section definitions with Value1 0 and Value2 1 (8va) or 2
// (8vb); the same list also holds repeat-measure definitions (Value1 sctRepeatMeasure).
int OctaveMark(int kind) { return kind == sct8va ? 1 : 2; }

// Endings are bracketed over the system's top staff only: the first visible staff, which is
// the system's first band.
bool IsTopStaff(const DrawContext& dc, const Staff& staff) {
  for (const auto& each : dc.Owner().AllStaffs())
    if (each && each->Visible()) return each.get() == &staff;
  return false;
}

// The section definition that labels a bracket of kind at atTime: for an ending the
// score-wide definition of an ending, for an octave line the staff's definition of that
// octave mark. Null when there is none.
std::shared_ptr<GlobalEvent> BracketDefinition(const DrawContext& dc, const Staff& staff,
                                               int kind, int atTime) {
  const bool octave = (kind & kOctaveKinds) != 0;
  const GlobalEvents& events = octave ? staff.GlobalEvents() : dc.Owner().AllGlobals();
  for (const auto& e : events.At(atTime)) {
    if (!e || e->EventType() != evtSectionDefine) continue;
    if (octave ? e->Value2() == OctaveMark(kind) : (e->Value1() & kEndingKinds) != 0) return e;
  }
  return nullptr;
}

// One music-font glyph in ColorBars, the fore colour put back.
void DrawBarsGlyph(DrawContext& dc, char sign, int x, int y) {
  Surface& window = *dc.Window();
  const int kept = window.ForeColor();
  window.SetForeColor(dc.ColorBars());
  dc.DrawTextAt(std::string(1, sign), x, y);
  window.SetForeColor(kept);
}

// An ending bracket or an octave line: a hook down at its left end (unless it continues a
// line from the previous system), the line itself, then the octave sign or the ending's label.
void DrawBracket(DrawContext& dc, const Staff& staff, int kind, int x, int y, int xStart,
                 int xEnd, int atTime) {
  const auto definition = BracketDefinition(dc, staff, kind, atTime);
  if (!definition) return;
  Surface& window = *dc.Window();
  const int s = dc.LineSpace();
  const bool octave = (kind & kOctaveKinds) != 0;
  std::string label;
  if (!octave && definition->Value1() == sctEnding1)
    label = "1";
  else if (!octave && definition->Value1() == sctEnding2)
    label = "2";
  else
    label = definition->Text();
  const bool continued = label == "+";

  int left = x - s + xStart;
  const int height = y - SnapY(static_cast<int>(std::lround(2.2 * s)));
  int width = xEnd - xStart;
  if (continued) {
    left -= 3 * s;
    width += 3 * s;
  }

  const DrawStyle keptStyle = window.DrawStyle();
  if (octave) window.SetDrawStyle(DrawStyle::Dot);
  if (!continued) dc.DrawLine(dc.ColorBars(), left, height, left, height + 2 * s);
  dc.DrawLine(dc.ColorBars(), left, height, left + width, height);
  window.SetDrawStyle(keptStyle);

  if (octave) {
    if (continued) return;
    // The sign at a fixed size, hanging from the line by a quarter of its cell.
    dc.SelectFont(DrawContext::kMusicFont);
    FontSpec font = window.Font();
    font.Size = kOctaveSignPoints;
    window.SetFont(font);
    DrawBarsGlyph(dc, kind == sct8va ? glyph::OctaveUp : glyph::OctaveDown, left + s,
                  height - window.TextHeight() / 4);
    dc.SelectFont(DrawContext::kMusicFont);
  } else if (!continued && !label.empty()) {
    dc.SelectFont(kLabelFont);
    FontSpec font = window.Font();
    font.Size = kLabelPoints;
    font.Bold = true;
    window.SetFont(font);
    const int kept = window.ForeColor();
    window.SetForeColor(dc.ColorBars());
    dc.DrawTextAt(label, left + s, height + static_cast<int>(dc.TwipsPerPixelY()));
    window.SetForeColor(kept);
    dc.SelectFont(DrawContext::kMusicFont);
  }
}

// The x of a mark at time: a space before its note position, moved with the notes by the
// measure's change shifts and spreads.
int MarkX(const DrawContext& dc, int time, int x, int pad, int twipsPerUnit, int startTime,
          int measure) {
  return (time - startTime) * twipsPerUnit + x - dc.LineSpace() + pad +
         dc.Symbols().ShiftAt(measure, time);
}

// Walks the staff's events of one type in [startTime, startTime + duration) from the last
// backwards, handing each to draw: the last event of the type at or before the search time,
// which then moves to just before it.
template <typename Draw>
void WalkBackwards(const Staff& staff, int type, int startTime, int duration, Draw draw) {
  const GlobalEvents& events = staff.GlobalEvents();
  int t = startTime + duration - 1;
  while (t >= startTime) {
    const auto e = events.Find(t, type);
    if (!e || e->EventTime() < startTime) break;
    draw(*e);
    t = e->EventTime() - 1;
  }
}

}  // namespace

int StaffOctaveKinds(const Staff& staff, int atTime) noexcept {
  int kinds = 0;
  try {
    for (const auto& e : staff.GlobalEvents().At(atTime)) {
      if (!e || e->EventType() != evtSectionDefine) continue;
      if (e->Value2() == OctaveMark(sct8va)) kinds |= sct8va;
      if (e->Value2() == OctaveMark(sct8vb)) kinds |= sct8vb;
    }
  } catch (...) {
  }
  return kinds;
}

void DrawSectionMarks(DrawContext& dc, const Staff& staff, int kind, int x, int y, int xStart,
                      int xEnd, int atTime) noexcept {
  try {
    Surface* window = dc.Window();
    if (!window) return;
    // Octave lines reach the full paint only through the staff's own events, never through
    // the score-wide flags the caller has.
    kind |= StaffOctaveKinds(staff, atTime);
    const int s = dc.LineSpace();
    const int markY = y - 7 * s;

    // Each mark a measure holds is drawn on its own, so that a coda and a to-coda, or an
    // ending over an octave line, share a measure.
    int startX = x + xStart;
    for (const auto& [bit, sign] : {std::pair{sctCoda, glyph::Coda}, {sctSegundo, glyph::Segno}}) {
      if (!(kind & bit)) continue;
      DrawBarsGlyph(dc, sign, startX, markY);
      startX += window->TextWidth(std::string(1, sign));
    }
    // Two spaces before the right bar line, so that the mark ends inside its own measure
    // (and inside the system in its last measure) whatever the measure's content offset. A
    // second mark stands to the left of the first.
    int endX = x + xEnd - 2 * s;
    bool first = true;
    for (const auto& [bit, sign] :
         {std::pair{sctToCoda, glyph::ToCoda}, {sctToSegundo, glyph::ToSegno}}) {
      if (!(kind & bit)) continue;
      if (!first) endX -= window->TextWidth(std::string(1, sign));
      first = false;
      DrawBarsGlyph(dc, sign, endX, markY);
    }

    if ((kind & kEndingKinds) != 0 && IsTopStaff(dc, staff))
      DrawBracket(dc, staff, kind & kEndingKinds, x, y, xStart, xEnd, atTime);
    for (const int octave : {sct8va, sct8vb})
      if (kind & octave) DrawBracket(dc, staff, octave, x, y, xStart, xEnd, atTime);
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void DrawTempoMarks(DrawContext& dc, const Staff& staff, int x, int y, int pad, int twipsPerUnit,
                    int startTime, int duration, const MarkPlace& place) noexcept {
  try {
    Surface* window = dc.Window();
    if (!window) return;
    const int s = dc.LineSpace();
    const int dynamicsY = y + 3 * s + s / 2 + dc.Owner().DynAdjust();
    const int tempoY = dynamicsY + s / 2 + s + s + place.TempoLowering;
    const SymbolState& symbols = dc.Symbols();
    bool coloured = false;
    auto colour = [&] {
      if (!coloured) window->SetForeColor(dc.ColorTies());
      coloured = true;
    };
    // Where a mark stands: moved down until it keeps clear of what is drawn.
    auto clear = [&](const std::string& text, int markX, int markY) {
      const InkArea box = TextInk(*window, text, markX, markY);
      return markY + MovedClear(symbols.Ink, box, true, InkGap(s)).Top - box.Top;
    };

    // Dynamics are music-font characters whose code is the DynamicTypes value; any other
    // code prints whatever the font holds there.
    WalkBackwards(staff, evtDynamic, startTime, duration, [&](const GlobalEvent& e) {
      const std::string sign(1, static_cast<char>(e.Value1()));
      const int markX = MarkX(dc, e.EventTime(), x, pad, twipsPerUnit, startTime, place.Measure);
      colour();
      dc.DrawTextAt(sign, markX, clear(sign, markX, dynamicsY + place.Lowering));
    });

    bool expression = false;
    WalkBackwards(staff, evtTempo, startTime, duration, [&](const GlobalEvent& e) {
      if (!expression) dc.SelectFont(DrawContext::kExpressionFont);
      expression = true;
      const std::string text = TempoMarkText(e.Value1());
      const int markX = MarkX(dc, e.EventTime(), x, pad, twipsPerUnit, startTime, place.Measure);
      colour();
      dc.DrawTextAt(text, markX, clear(text, markX, tempoY));
    });
    if (expression) dc.SelectFont(DrawContext::kMusicFont);
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void DrawTextEvents(DrawContext& dc, const Staff& staff, int x, int y, int pad, int twipsPerUnit,
                    int startTime, int duration, int measure) noexcept {
  try {
    Surface* window = dc.Window();
    if (!window) return;
    const int s = dc.LineSpace();
    const int middle = y + 2 * s;
    const SymbolState& symbols = dc.Symbols();
    bool drawn = false;
    WalkBackwards(staff, evtText, startTime, duration, [&](const GlobalEvent& e) {
      if (!drawn) {
        dc.SelectFont(fntCopyright);
        window->SetForeColor(dc.ColorBars());
      }
      drawn = true;
      int textY = middle;
      TextPosByOffset(textY, e.Value1(), e.Value2(), s / 2);
      const int textX = MarkX(dc, e.EventTime(), x, pad, twipsPerUnit, startTime, measure);
      // Away from the middle line, out of the way of the notes.
      const InkArea box = TextInk(*window, e.Text(), textX, textY);
      const bool above = box.Top + box.Bottom < 2 * middle;
      textY += MovedClear(symbols.Ink, box, !above, InkGap(s)).Top - box.Top;
      dc.DrawTextAt(e.Text(), textX, textY);
    });
    if (drawn) {
      dc.SelectFont(DrawContext::kMusicFont);
      window->SetForeColor(dc.ColorNotes());
    }
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void FindChordSymbol(DrawContext& dc, int flags, int x, int y, int pad, int twipsPerUnit,
                     int startTime, int duration, int measure) noexcept {
  try {
    Surface* window = dc.Window();
    Score& score = dc.Owner();
    const harmonygrid::Chord* table = score.Chord();
    if (!window || !table) return;
    const int s = dc.LineSpace();
    const int capo = score.UseCapo() ? score.Capo() : 0;
    // Over a measure that starts with an ending bracket, a coda or a segno the chord row
    // moves up out of the mark's way.
    if (flags & kMarksOverTheStart) y -= 3 * s;

    const GlobalEvents& events = score.AllGlobals();
    const int end = startTime + duration;
    const auto last = events.Find(end - 1, evtChord);
    if (!last || last->EventTime() < startTime) return;
    // Back to the first event of the range, then every chord symbol forwards.
    int first = last->Index();
    while (first > 1) {
      const auto before = events.ByIndex(first - 1);
      if (!before || before->EventTime() < startTime) break;
      --first;
    }
    bool rendered = false;
    for (int i = first; i <= last->Index(); ++i) {
      const auto e = events.ByIndex(i);
      if (!e || e->EventType() != evtChord) continue;
      // A symbol whose shape has gone draws with the table's first shape.
      table->Render(*window, table->Layout(), table->GetIndex(e->Value1()),
                    (e->EventTime() - startTime) * twipsPerUnit - dc.PrintOffsetX() + x + pad +
                        dc.Symbols().ShiftAt(measure, e->EventTime()),
                    y - dc.PrintOffsetY(), score.UseChordMaps(), dc.ColorChords(), e->Text(), capo);
      rendered = true;
    }
    // The renderer leaves its own fonts on the window.
    if (rendered) dc.SelectFont(DrawContext::kMusicFont);
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void SelectSmallTextFont(DrawContext& dc) {
  Surface* window = dc.Window();
  if (!window) return;
  dc.SelectFont(fntCopyright);
  FontSpec font = window->Font();
  font.Size = kLabelPoints;
  font.Bold = false;
  window->SetFont(font);
}

void DrawSmallText(DrawContext& dc, std::string_view text, int centreX, int y, int& right) noexcept {
  right = centreX;
  try {
    Surface* window = dc.Window();
    if (!window) return;
    SelectSmallTextFont(dc);
    window->SetForeColor(dc.ColorChords());
    const int width = window->TextWidth(text);
    const int left = centreX - width / 2;
    dc.DrawTextAt(text, left, y);
    dc.SelectFont(DrawContext::kMusicFont);
    window->SetForeColor(dc.ColorNotes());
    right = left + width;
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void TextPosByOffset(int& y, int offset1, int offset2, int inc) noexcept {
  y -= offset1 * inc;
  y += offset2 * inc;
}

}  // namespace notecraft
