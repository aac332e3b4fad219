#pragma once
// Where one measure of one staff is drawn, as the staff drawer hands it to the note and rest
// drawers: its start time and length, its left x and width, the staff's reference y, the
// horizontal scale and the offset of the first note position. Twips and 64ths.

namespace notecraft {

struct MeasureFrame {
  int Start = 0;         // score time at the measure's start
  int Duration = 64;     // the measure's length in 64ths
  int Left = 0;          // x of the measure's left bar line
  int Width = 0;         // the measure's width
  int Y = 0;             // the staff's reference y: the anchor of a glyph on the bottom line
  int TwipsPerUnit = 0;  // horizontal twips per 64th
  int Pad = 0;           // x of the first note position relative to Left
  int Index = 0;         // the measure's place in its system, 0 for the first
};

}  // namespace notecraft
