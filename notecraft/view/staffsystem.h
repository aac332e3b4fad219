#pragma once
// Drawing one staff (or one half of a grand staff) across one system: the clef, key and
// time signature at the system's start, then measure by measure the special bar lines,
// section marks, key, time and clef changes, chord symbols, the notes and rests of every
// voice with their triplet brackets, and the bar line; once all the notes stand, the
// dynamics, tempo marks, lyrics and text labels, clear of them (ink.h); finally the measure
// numbers. The page painter calls it for every staff band of a system (a grand staff twice,
// once per half) and the tie drawer after it; a repaint of one system calls it from the
// bands alone.
//
// Twips and 64ths. The system's measure widths and flags come in a SystemGrid; the change
// shifts, stem mode and the other state the symbol drawers share live in the drawing
// context's SymbolState, which the caller clears at the start of each system.

#include <vector>

namespace notecraft {

class DrawContext;
class Region;

// The measures of one system as every staff of it draws them.
struct SystemGrid {
  std::vector<int> Widths;  // twips, from the staff lines' left edge on
  // Bar and section flags (Score::MeasureFlags). The staff drawer adds a section end (4) to
  // a measure that a key change follows, for the staves drawn after it as well.
  std::vector<int> Flags;
  int Pulse = 16;  // the beat by which beams are grouped, 64ths

  int Measures() const { return static_cast<int>(Widths.size()); }
};

// Where the staff is drawn.
struct StaffPlacement {
  int Left = 0;        // the staff lines' left edge
  int Top = 0;         // y of its top line
  int Right = 0;       // the staff lines' right edge
  int Bottom = 0;      // y of its bottom line
  int GrandHalf = 1;   // 1, or 2 for the lower staff of a grand staff
  int StaffIndex = 0;  // Staff::Index
  int StartTime = 0;   // the system's start
  // Above 0: the y from which repeat and section bar glyphs continue up to this staff (the
  // bottom of the staff above, inside a brace).
  int JoinTop = 0;
};

// Draws the staff and records in band, per measure, its width and start time (Measure),
// its content offset (MeasurePad) and its flags with the staff's own octave lines
// (MeasureFlag); band's measure count must be the grid's. Reads band.First() for the chord
// row and the measure numbers, which only the system's first band shows.
void DrawStaffSystem(DrawContext& dc, SystemGrid& grid, const StaffPlacement& place,
                     Region& band) noexcept;

}  // namespace notecraft
