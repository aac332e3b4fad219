#pragma once
// What a staff draws below itself across one system, worked out from the model alone, so
// that the layout can keep room for it and the staff drawer, the caret and the repaint all
// put the rows in the same place: first the notes (heads, ledger lines, down stems and
// beams, marks and ties under the heads, clefs changing inside a measure), then the row of
// dynamics, a line below it the row of tempo marks, and under everything the lyric lines.
// Each row keeps to its usual place unless what stands above it reaches that far; then it
// moves down just clear of it. A grand staff keeps its lyric lines between its two staves,
// where they always stand.
//
// Twips; times in 64ths. The answer is a little generous where the drawing decides late
// (the stem direction of a beamed group, the slope of its beam), never short.

#include <vector>

namespace notecraft {

class DrawContext;
class Staff;

// One mark of the rows under a staff, for the room kept between staves: how far below the
// staff's bottom line its ink reaches (twips), the time it stands at (-1: a row that runs
// under the whole system) and its width from a space before its note (twips).
struct RowMark {
  int Time = -1;
  int Depth = 0;
  int Width = 0;
};

struct UnderStaff {
  // How far the dynamics row, and the tempo-mark row, stand below their usual places.
  int Lowering = 0;
  int TempoLowering = 0;
  // The top of the first lyric line, below the staff's bottom line.
  int LyricTop = 0;
};

// The rows under staff for the system [start, end) at staff height staffHeight and the
// staff's scale; pad is the staff band's pad, where the first lyric line usually starts.
// grandHalf 2 measures under the lower staff of a grand staff, 1 under the upper one (or
// an ordinary staff); lyrics: whether the staff's lyric lines stand under it. Text is
// measured on dc's window (its font is put back). marks, when given, receives the dynamics
// where they stand and the row of tempo marks.
UnderStaff MeasureUnderStaff(DrawContext& dc, Staff& staff, int start, int end, int staffHeight,
                             float scale, int pad, int grandHalf, bool lyrics,
                             std::vector<RowMark>* marks = nullptr);

// Whether the staff places anything around its notes in [start, end) that must keep clear
// of them: lyrics, dynamics, tempo marks, text labels, ornaments or bowings.
bool PlacesMarks(Staff& staff, int start, int end);

}  // namespace notecraft
