#pragma once
// Room between a measure's note positions. The staff drawer spaces a measure's notes in
// proportion to their times; where two successive positions would stand closer than their
// glyphs need (a run of 32nds or 64ths after longer notes), the positions from the later
// one on move right by what is missing, and the proportional scale shrinks so that the
// measure still ends at its bar line. A measure whose positions all have room keeps its
// proportional spacing unchanged.
//
// The positions are the system's, gathered over all its visible staves, so that what sounds
// together stays aligned; the room is measured per staff with its own glyphs. Twips and
// 64ths.

#include <vector>

#include "notecraft/view/symbolstate.h"

namespace notecraft {

class Score;

// The glyph widths a position's room is made of, measured on the staff being drawn.
struct GlyphRoom {
  int Head = 0;        // a note head (or a rest)
  int DottedHead = 0;  // a head with its augmentation dot
  int Accidental = 0;  // a sign with its gap before the head
  int Gap = 0;         // kept free between two positions' glyphs
  int Flagged = 0;     // a head with an up stem's flag, which reaches further right
  int Ledger = 0;      // a ledger line through a head, from the head's left edge
};

// The least distance from position k - 1 to position k.
int RoomBefore(const std::vector<NotePosition>& positions, std::size_t k, const GlyphRoom& room);

// What the glyphs of a measure's last position need right of its x, with the gap that keeps
// them off the bar line: the head with its dot or flag, the ledger lines through it and a
// second's head beside it.
int RoomAfter(const NotePosition& last, const GlyphRoom& room);

// What the glyphs of a measure's first position need before it beyond the one column of
// accidentals that the start of every measure leaves: further columns, and a head beside
// the stem's far side (a second) that the signs stand left of.
int LeadRoom(const NotePosition& first, const GlyphRoom& room);

struct MeasureSpacing {
  int TwipsPerUnit = 0;
  // Where positions move right, in time order: each width adds to all positions at or after
  // its time.
  std::vector<ChangeShift> Spreads;
};

// Spaces positions (in time order, times inside the measure) over available twips for a
// measure of duration 64ths drawn as (duration + 1) units of proportional space: the largest
// scale at which the proportional space and the spreads fit. When the glyphs alone need
// more than is available, they share it in proportion to their room.
MeasureSpacing SpreadPositions(const std::vector<NotePosition>& positions, int duration,
                               int available, const GlyphRoom& room);

// The note positions of the measure [start, start + duration) over the given staves
// (Staff::Index): where every note and every rest of each voice's rhythm stands
// (measurerhythm.h), on each half of a grand staff. A note shorter than a quarter with no
// such note beside it in its beat (the score's pulse) marks its position as flagged.
std::vector<NotePosition> CollectPositions(Score& score, const std::vector<int>& staves, int start,
                                           int duration);

}  // namespace notecraft
