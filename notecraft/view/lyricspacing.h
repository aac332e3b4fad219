#pragma once
// Room for lyrics between a measure's note positions, so that syllables never touch. Two
// syllables of one verse that follow each other stand at least half of each, a space and
// (when the first ends in a hyphen) the hyphen with a space either side apart: the room
// goes to the note positions between them in proportion to their times
// (NotePosition::LyricRoom), which the spacing (notespacing.h) keeps like the room of a
// glyph. A measure's last syllable keeps its right half free up to the bar line, and what
// the next measure's first syllable needs beyond that measure's pad. The layout widens a
// measure that could not hold its syllables at its usual width (LyricMeasureWidth).
//
// Syllables are those the staff drawer shows: the first voice's, on an ordinary staff or the
// upper staff of a grand staff, of every verse. Twips and 64ths.

#include <utility>
#include <vector>

#include "notecraft/view/notespacing.h"
#include "notecraft/view/symbolstate.h"

namespace notecraft {

class DrawContext;
class Score;

// Adds the syllables' room of the given staves (Staff::Index) to positions, the note
// positions of the measure [start, start + duration) in time order, and returns what the
// measure's last syllable needs up to its bar line, with the staves drawn at staff height
// staffHeight. Text is measured on dc's window in the lyric font (its font is put back).
LyricEnd AddLyricRooms(DrawContext& dc, Score& score, const std::vector<int>& staves, int start,
                       int duration, int staffHeight, std::vector<NotePosition>& positions);

// Gathers, for every measure (start, duration) of a system, the note positions of the
// system's staves with their syllables' room into the drawing context's symbol state
// (Positions, LyricEnds), where every staff of the system spaces its notes from them.
void GatherSystemPositions(DrawContext& dc, Score& score, const std::vector<int>& staves,
                           const std::vector<std::pair<int, int>>& measures);

// SpreadPositions, with the measure's last syllable kept its room: reach is how far the
// measure's right bar line stands from where the proportional space of its notes begins,
// less the change shifts before the syllable's note.
MeasureSpacing SpreadKeepingLyricEnd(const std::vector<NotePosition>& positions, int duration,
                                     int available, const GlyphRoom& room, const LyricEnd& end,
                                     int reach);

// Whether a visible staff of the score shows lyrics.
bool ShowsLyrics(Score& score);

// The least width of a measure [start, start + duration) (after its first in a system) whose
// syllables keep apart, with its notes spread at the scale width would give them; width when
// that holds them already or no visible staff shows lyrics.
int LyricMeasureWidth(DrawContext& dc, Score& score, int start, int duration, int width,
                      int staffHeight);

}  // namespace notecraft
