#pragma once
// Notes, stems, flags and beams. The staff drawer calls DrawNote for each note of a voice
// in time order and BeamGeometry wherever a beam group ends (a beat boundary, a voice's
// end); notes shorter than a quarter wait in the symbol state's beam group until then.

namespace notecraft {

// The dividing pitch DrawNote takes for a drum voice: above every MIDI pitch, so all of its
// notes are drawn, as percussion heads.
inline constexpr int kDrumSplit = 140;
// The dividing pitch of a grand staff: its upper staff draws middle C and above, the lower
// one the pitches below (and rest notes).
inline constexpr int kGrandSplit = 60;
// Ledger lines reach this far (twips) either side of a head a line space wide.
inline constexpr int kLedgerOverhang = 60;

class DrawContext;
class Note;
struct MeasureFrame;

// The value a note is drawn with: its glyph's length in 64ths (1 .. 64), a dot, whether it
// stands in a triplet group, and where. The staff drawer reads it from the measure's rhythm
// (measurerhythm.h); on its own a note shows its stored value.
struct DrawnValue {
  int Duration = 16;
  bool Dotted = false;
  bool Triplet = false;
  int At = -1;  // the score time it stands at; -1 for its own

  static DrawnValue Of(const Note& note);
};

// Draws one chord with the given value in the current fore colour: heads from the highest
// pitch down (the head of a second beside its neighbour, on the far side of the stem), dots,
// accidentals from the measure's spelling in columns left of the heads (accidentalcolumns.h),
// ledger lines in the voice's colour, one articulation, one ornament (in ColorBars, after
// which ColorNotes stays the fore colour) and the stem.
// The stem direction comes from, in rising precedence: the highest head's place (up below
// the middle line) or the note's force flags, the staff's forced stem mode, the triplet
// group, and a pending beam group.
//
// Records the drawn position in the note: X, Up, and Y (the bottom head's anchor for an up
// stem, the top head's for a down stem). clef places the pitches, key spells them;
// grandHalf 1 draws only pitches at or above split, 2 only those below it, 0 all; a split
// of 140 marks a drum voice: percussion heads and no accidentals.
//
// A triplet note counts into the symbol state's triplet group (the first one's stem
// direction holds for the group); the caller draws the group's bracket.
void DrawNote(DrawContext& dc, Note& note, const MeasureFrame& measure, int clef, int key,
              int grandHalf, int split, const DrawnValue& value);

// The note with its stored value; a third triplet note in a row draws the bracket over the
// three, as a group of its own.
void DrawNote(DrawContext& dc, Note& note, const MeasureFrame& measure, int clef, int key,
              int grandHalf, int split);

// Draws the pending beam group in the voice's colour, or a lone note's flag, and empties
// the group: a straight beam through the stem ends of its outer notes, moved until it
// clears every inner head, with one, two or three levels by duration (and stubs where
// durations are mixed), and every stem drawn to it.
void BeamGeometry(DrawContext& dc);

}  // namespace notecraft
