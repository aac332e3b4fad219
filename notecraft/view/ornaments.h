#pragma once
// The one ornament or bowing a note shows, drawn by the note drawer after the note's heads
// and marks: over the staff or the note by default, clear of what the staff has drawn
// (SymbolState::Ink). Over an ordinary staff (or the upper staff of a grand staff) a sign in
// the way of something moves up; on the lower staff of a grand staff, where the upper
// staff's notes and the lyrics stand above, it goes under the note instead.

namespace notecraft {

class DrawContext;

// flags: the note's NoteFlags (the first of bow down, bow up, half mordent, mordent, trill,
// turn and fermata is shown); x the note's left edge; topY and bottomY the anchors of its
// highest and lowest head; up its stem direction; referenceY the staff's reference y;
// grandHalf 2 for the lower staff of a grand staff. In ColorBars, after which ColorNotes is
// the fore colour.
void DrawOrnament(DrawContext& dc, int flags, int x, int topY, int bottomY, bool up, int referenceY,
                  int grandHalf, int duration);

}  // namespace notecraft
