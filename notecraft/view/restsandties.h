#pragma once
// Rests, ties and triplet brackets. Rests are not stored: the staff drawer fills the gaps
// of a measure with them. Ties are evtTie events of a staff (start time, end time in
// Value1 x 256 + Value2, the voice number as text), drawn as curves between the positions
// where the notes were drawn on the same staff in the same paint; a tie across a system
// break runs from its first note to the system's end, and again into its last note from
// just before it. Twips and 64ths.

#include <climits>
#include <vector>

#include "notecraft/view/symbolstate.h"

namespace notecraft {

class DrawContext;
struct MeasureFrame;
struct RhythmItem;

// Draws one rest of a measure's rhythm (its Time from the measure's start) in the current
// fore colour, raised by lift twips (lowered when negative); returns its x, and its glyph's
// right edge in right when given.
int DrawRest(DrawContext& dc, const MeasureFrame& measure, const RhythmItem& rest, int lift,
             int* right = nullptr);

// How far a rest moves, in twips (up positive), to clear the heads of the other voices on
// its staff that sound with it, the highest of them at highestStep and the lowest at
// lowestStep (line spaces below the bottom line): an upper voice's rest moves up over them,
// a lower voice's down under them, by whole line spaces, and not at all when clear.
int RestClearance(const DrawContext& dc, const RhythmItem& rest, bool upperVoice, double highestStep,
                  double lowestStep);

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
// Bezier curves one pixel apart whose height grows with the logarithm of its width, up to a
// quarter of its width. A tie too short to bend is drawn flat; one with an end at or above the page's top edge (y of 0
// or less after the print offset) is not drawn.
void DrawTieCurve(DrawContext& dc, int color, int x1, int y1, int x2, int y2, bool below);

// The "3" and its bracket lines over the current triplet group, at height y, in ColorNotes:
// its lines keep a line space and the digit's width at least, a bracket too narrow for that
// widening alike both ways.
void DrawTriplet(DrawContext& dc, int y);

// The height (twips) of a triplet bracket's "3", in its text font on dc's window (whose font
// is put back), with the pixel the screen may lift it by.
int TripletDigitHeight(DrawContext& dc);

// How far a triplet bracket reaches beyond the notes it keeps clear of, in line spaces of s
// twips, its "3" digit twips high: the quarter space it keeps free, then the digit (whose
// size does not follow the staff's) or a line space. The layout keeps this much room beyond
// a triplet group's stems.
double TripletBracketReach(int digit, int s);

// Where the bracket of a triplet group may stand on a staff.
struct TripletRoom {
  bool Above = true;  // the side it stands on: above, unless the group's stems point down
  int TopLine = 0;    // the staff's top and bottom lines
  int BottomLine = 0;
  int Top = INT_MIN;  // the part of the staff's band it stays inside
  int Bottom = INT_MAX;
};

// The bracket of the current triplet group (the symbol state's TripletLeft .. TripletRight),
// measured once for placing and drawing it: its lines run from Left to Right with the digit
// centred between them, a pixel right of the first item to a line space and a pixel right of
// the last; a group too narrow for lines of a line space (and of the digit's width) widens
// alike both ways, as far as TripletMinLeft .. TripletMaxRight allow. The digit's cell stands a line space above the
// lines.
struct TripletShape {
  int Left = 0;
  int Right = 0;
  int Digit = 0;  // the digit's left edge
  int DigitWidth = 0;
  int DigitHeight = 0;
  int Snap = 0;  // how far the screen may lift the digit to its pixel

  // What it covers with its lines at height y, for a line space s.
  InkArea At(int y, int s) const {
    return {Left, std::min(y - s - Snap, y), Right, std::max(y - s + DigitHeight, y)};
  }
};
TripletShape ShapeTriplet(DrawContext& dc);

// The height of a bracket's lines clear of ink, what its group drew: at its usual height
// (the staff's reference y above the staff; as far under the bottom line below it), moved
// further out until the lines and the "3" keep a quarter space from the ink and from the
// staff, and moved back in where that leaves room.Top..room.Bottom. Where it cannot stand
// clear inside them on its own side it takes the other side; where neither holds it, its own
// side at the edge of the room.
int PlaceTriplet(const DrawContext& dc, const TripletShape& shape, const TripletRoom& room,
                 const std::vector<InkArea>& ink);

// Whether the bracket at height y stays inside room and a quarter space clear of ink and of
// the staff.
bool TripletFits(const DrawContext& dc, const TripletShape& shape, const TripletRoom& room,
                 const std::vector<InkArea>& ink, int y);

// The bracket drawn with its lines at height y, as DrawTriplet.
void DrawTripletShape(DrawContext& dc, const TripletShape& shape, int y);

// The current group's bracket placed (PlaceTriplet) and drawn there. Returns the box it
// covers.
InkArea DrawTripletClear(DrawContext& dc, const TripletRoom& room, const std::vector<InkArea>& ink);

}  // namespace notecraft
