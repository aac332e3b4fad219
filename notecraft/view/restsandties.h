#pragma once
// Rests, ties and triplet brackets. Rests are not stored: the staff drawer fills the gaps
// of a measure with them. Ties are evtTie events of a staff (start time, end time in
// Value1 x 256 + Value2, the voice number as text), drawn as curves between the positions
// where the notes were drawn on the same staff in the same paint; a tie across a system
// break runs from its first note to the system's end, and again into its last note from
// just before it. Twips and 64ths.

namespace notecraft {

class DrawContext;
struct MeasureFrame;

// Rests covering gapStart up to gapEnd of the measure, in the current fore colour: greedily
// the longest rest that fits, and a whole-measure rest (the half-rest glyph in a measure of
// 32) centred when the gap is the whole measure. A key, time or clef change drawn at the
// measure's start moves them right by its width.
void FillRests(DrawContext& dc, const MeasureFrame& measure, int gapStart, int gapEnd);

// The ties of staff staffIndex that touch the system last drawn (the symbol state's
// SystemStart up to SystemEnd), in ColorTies, between the notes that DrawNote drew since
// the staff (or its grand-staff half) began (the symbol state's DrawnNotes): each half of
// a grand staff draws the ties of its own notes. A tie running on into the next system
// ends at the system's last bar line (SystemRight); one coming from the previous system
// starts two line spaces before its last note. A tie whose voice or notes are missing (or
// not drawn here) at one end is drawn as a stub of two line spaces from the other end; with
// both ends missing, not at all.
void DrawTies(DrawContext& dc, int staffIndex);

// One tie from (x1, y1) to (x2, y2), bending downwards when below: a closed outline of two
// Bezier curves one pixel apart whose height grows with the logarithm of its width. A tie
// too short to bend is drawn flat; one with an end at or above the page's top edge (y of 0
// or less after the print offset) is not drawn.
void DrawTieCurve(DrawContext& dc, int color, int x1, int y1, int x2, int y2, bool below);

// The "3" and its bracket lines over the current triplet group, at height y, in ColorNotes.
void DrawTriplet(DrawContext& dc, int y);

}  // namespace notecraft
