#pragma once
// Arithmetic of entry by position shared by the score's editing members: the measure of a
// band under an x, the time inside it and the pitch under a y (a note's end: noteend.h).

#include <memory>
#include <optional>
#include <vector>

#include "notecraft/core/region.h"

namespace notecraft {

class Note;
class Notes;

// One measure of a band.
struct BandMeasure {
  int Index = 0;  // 0 = the band's first measure
  int Left = 0;   // x of its left edge
  int Width = 0;
  int Start = 0;  // its start time
  int Pad = 0;    // room before its first note position
  std::vector<MeasureStop> Stops;  // where its notes were moved apart (Region::MeasureStops)
  std::vector<DrawnRest> Rests;    // where its rests were drawn (Region::MeasureRests)
};

// The first measure whose right edge is at or right of x (a point left of the band takes
// its first measure); none right of the last one.
std::optional<BandMeasure> MeasureAt(const Region& band, int x);
// The measure holding all of [from, to] (edges included).
std::optional<BandMeasure> MeasureHolding(const Region& band, int from, int to);

// 64ths from the measure's start to x, clipped to 0..length: the note area (after the pad)
// spread evenly over length, 0 when the area is narrower than length twips. A measure
// with stops maps x between its drawn positions (and on to its right edge, at length)
// linearly, so that a click on a drawn note gives that note's time. An x on a drawn rest
// gives the rest's time.
int OffsetInMeasure(const BandMeasure& measure, int x, int length);
// The time (from the measure's start) of the rest drawn under x; -1 when no rest is.
int RestUnder(const BandMeasure& measure, int x);

// The note starting in [from, to) whose head, as last drawn on band, lies under x: from 30
// twips left of its drawn x to 30 twips right of a whole note's head (one and a half line
// spaces), the nearest head's when two reach x; null when none does.
std::shared_ptr<Note> HeadUnder(const Notes& notes, const Region& band, int x, int from, int to);

// The pitch (0..127) of the staff position nearest to y (half a step either side of each
// line and space, so a click a pixel off a line still means that line) on a staff whose
// top line is at top + padTop, lines incY apart, in clef (ClefTypes) and key (-7..7):
// diatonic steps from middle C along the key's scale. A grand staff takes the lower
// staff's middle C (seven spaces below the top line, and lowerGap further down where
// lyrics stand between its staves) for points below the midpoint of its two middle Cs. 65
// when incY is too small to tell positions apart.
int PitchFromY(int y, int clef, int key, int top, int padTop, int incY, int lowerGap = 0);

// The y of a grand staff's lower top line in its band, and how much further than four
// spaces below the upper staff it stands (its staves move apart for lyrics between them
// and for what their notes draw there).
int LowerStaffTop(const Region& band);
int GrandStaffGap(const Region& band);

}  // namespace notecraft
