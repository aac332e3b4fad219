#pragma once
// What the score's events place around a staff rather than on it: section marks (codas,
// segnos, ending brackets, octave lines), dynamics and tempo marks, free text labels, chord
// symbols, and the small centred text of lyrics. The staff drawer calls these per measure.
//
// All values are twips and 64ths. y is the staff's reference y (the anchor of a music glyph
// on the bottom line) except where a function says otherwise; s below is the line space in
// force (DrawContext::LineSpace). Nothing here throws: drawing runs with errors ignored, and
// without a window nothing is drawn. Each function says which fore colour and font it leaves.

#include <string_view>

namespace notecraft {

class DrawContext;
class Staff;

// The section marks of one measure in ColorBars; the fore colour is put back after each mark
// and the music font is selected again when a mark changed the font.
// kind: the measure's SectionTypes bits (sctRepeatMeasure and sctPickup are ignored); x the
// measure's left bar line; xStart its content offset (the first note position) and xEnd its
// width, both relative to x; atTime its start time. staff: the staff being drawn.
// - Coda and segno stand at the first note position, to-coda and to-segno two spaces before
//   the right bar line, seven spaces above the reference y; several in one measure stand
//   side by side.
// - Endings (sctEnding1, sctEnding2, sctEnding) are bracketed on the system's top staff only
//   (the score's first visible staff), labelled "1", "2" or the text of their score-wide
//   section definition at atTime.
// - Octave lines (sct8va, sct8vb) are the staff's own section definitions at atTime (Value2 1
//   or 2); they are drawn whether or not kind carries them, so call this for every measure,
//   kind 0 included. A definition whose text is "+" continues a line from the previous
//   system: it starts three spaces further left, with no hook and no octave sign.
// A bracket without its section definition is not drawn.
void DrawSectionMarks(DrawContext& dc, const Staff& staff, int kind, int x, int y, int xStart,
                      int xEnd, int atTime) noexcept;

// sct8va and/or sct8vb for the octave lines the staff's own events mark at exactly atTime;
// 0 when none. The layout adds them (times 16) to the staff band's measure flags.
int StaffOctaveKinds(const Staff& staff, int atTime) noexcept;

// Where the marks of one measure go besides their notes' times: the measure's place in its
// system (its change shifts and note spreads in the drawing context's symbol state move the
// marks with the notes; -1: none), and how far the dynamics and the tempo-mark rows stand
// below their usual places (understaff.h).
struct MarkPlace {
  int Measure = -1;
  int Lowering = 0;
  int TempoLowering = 0;
};

// The staff's dynamics (below the staff, the music-font character whose code is the event's
// Value1) and tempo marks (a line lower, in the bold italic expression font) of the time
// range [startTime, startTime + duration), each at x + pad - s + (time - startTime) x
// twipsPerUnit and its shift; of several at one time only the last is drawn. A mark that
// would meet what the staff has drawn (SymbolState::Ink) moves down until it is clear.
// Leaves ColorTies as the fore colour when anything was drawn, and the music font selected.
void DrawTempoMarks(DrawContext& dc, const Staff& staff, int x, int y, int pad, int twipsPerUnit,
                    int startTime, int duration, const MarkPlace& place = {}) noexcept;

// The staff's text labels of that range, in ColorBars and the copyright font, at the middle
// line moved by their half-space offsets (Value1 up, Value2 down). Here y is the staff's top
// line. A label that would meet what the staff has drawn moves away from the middle line
// (up when it stands above it, else down) until it is clear. When anything was drawn,
// leaves the music font selected and ColorNotes as the fore colour.
void DrawTextEvents(DrawContext& dc, const Staff& staff, int x, int y, int pad, int twipsPerUnit,
                    int startTime, int duration, int measure = -1) noexcept;

// Every score-wide chord symbol of that range, through the score's chord table (Chord::Render)
// on the window: the name line ending at y, or three spaces higher when flags (the measure's
// section bits) hold an ending, a coda or a segno, which stand where the names would;
// centred on the symbol's note position, with its fretboard diagram when the score shows
// chord maps, in ColorChords, with the score's capo when it uses one. When anything was
// rendered, leaves the music font selected and the fore colour as the renderer left it.
// measure: as for MarkPlace.
void FindChordSymbol(DrawContext& dc, int flags, int x, int y, int pad, int twipsPerUnit,
                     int startTime, int duration, int measure = -1) noexcept;

// Selects the small text's font on dc's window: the copyright font at 8 points, not bold.
void SelectSmallTextFont(DrawContext& dc);

// text in the small text's font, in ColorChords, centred on centreX with its cell top at y;
// right receives its right edge. Leaves the music font selected and ColorNotes as the fore
// colour.
void DrawSmallText(DrawContext& dc, std::string_view text, int centreX, int y, int& right) noexcept;

// Moves y by a text label's half-space offsets: up by offset1 x inc, then down by
// offset2 x inc.
void TextPosByOffset(int& y, int offset1, int offset2, int inc) noexcept;

}  // namespace notecraft
