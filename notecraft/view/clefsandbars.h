#pragma once
// The staff's signs at the start of a system and at changes inside it: clefs, key and time
// signatures, and the special bar lines (repeats, section end, final bar). Each draws
// music-font glyphs in ColorBars with the music font already selected; y is the staff's
// reference y (the anchor of a glyph on the bottom line), all values twips.

#include <string>

namespace notecraft {

class DrawContext;

// The music-font glyph of a clef (ClefTypes): the C clef for alto and tenor, the treble
// clef for a grand staff.
std::string ClefGlyph(int clef);

// The clef's glyph (ClefTypes; the tenor clef is the C clef a line space higher, a grand
// staff's upper half the treble clef) at (x, y); x advances past it. Leaves ColorBars as
// the fore colour.
void DrawClef(DrawContext& dc, int clef, int& x, int y);

// |key| sharps (key > 0) or flats (key < 0) at their places for clef, starting one line
// space right of x, one line space apart; x advances past them. Nothing for key 0.
void DrawKeySignature(DrawContext& dc, int key, int clef, int& x, int y);

// The time signature packed as beats x 128 + beat length in 64ths, one line space right of
// x: 0 common time, 1 cut time, else a numerator 1..9 over its beat-unit digit (others draw
// nothing). The fore colour is put back.
void DrawTimeSignature(DrawContext& dc, int packed, int x, int y);

// A special bar glyph of kind (EventTypes): repeat begin left-aligned at x, repeat end,
// section end and score end right-aligned at x; x moves past the glyph. offsetX is added
// to every x drawn. With topY above 0 the glyph's continuation is tiled from topY down to
// this staff, joining the staves above. Other kinds draw nothing. The fore colour is put
// back.
void DrawBarGlyph(DrawContext& dc, int kind, int offsetX, int y, int& x, int topY);

}  // namespace notecraft
