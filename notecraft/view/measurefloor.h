#pragma once
// The least width of a measure, its floor: what the staff drawer takes for it when its note
// positions stand no further apart than their glyphs and syllables need (notespacing.h,
// lyricspacing.h), with the content offset, the clef, key and time signatures drawn at its
// start and inside it, and its end bars. A measure narrower than its floor would have its
// positions squeezed together until rests, heads, flags and syllables run into each other,
// so the page painter gives every measure of a system its floor where the line allows,
// taking the room from measures wider than theirs (FitToFloors). Twips and 64ths, at the
// page's staff height.

#include <vector>

#include "notecraft/view/notespacing.h"

namespace notecraft {

class DrawContext;
class Score;
class Staff;

class MeasureFloor {
public:
  // For the measures of [from, to): glyphs are measured on dc's window in the music font at
  // staffHeight (the window's font is put back).
  MeasureFloor(DrawContext& dc, Score& score, int staffHeight, int from, int to);

  // The floor of the measure [start, start + duration) whose note positions over the
  // system's staves, with their syllables' room, are positions and whose last syllable
  // needs end (GatherSystemPositions); flags: its measure flags (Score::MeasureFlags);
  // first: the measure opens its system, after the clef, key and time signature there.
  struct Floor {
    int Notes = 0;   // everything clear
    int Lyrics = 0;  // the syllables clear, with the notes between them as close as need be
    int Glyphs = 0;  // the glyphs clear of each other, the gaps between them given way
  };
  Floor Least(const std::vector<NotePosition>& positions, const LyricEnd& end, int start,
              int duration, int flags, bool first) const;
  // The glyph widths the floors are made of.
  const GlyphRoom& Room() const { return m_room; }

private:
  // A visible staff's clef and key changes from the first measure's start up to the last
  // measure's end (inclusive), in time order.
  struct Changes {
    const Staff* Of = nullptr;
    bool Drums = false;
    std::vector<int> Clefs;
    std::vector<int> Keys;
  };
  int StartSigns(int start, bool first) const;
  int InnerClefs(int start, int end) const;
  int EndBars(int start, int end, int flags) const;

  Score& m_score;
  int m_height;
  int m_s;
  GlyphRoom m_room;
  int m_clef = 0;         // the widest clef
  int m_repeatBegin = 0;  // the bar glyphs
  int m_repeatEnd = 0;
  int m_sectionEnd = 0;
  int m_scoreEnd = 0;
  std::vector<Changes> m_changes;
};

// The widths of a system's measures (twips, adding up to the line) with each measure given
// at least its floor: the room comes from the measures wider than their floors, in
// proportion to what they have beyond it. Where the floors together exceed the line, every
// measure keeps what its syllables, or its glyphs without their gaps, need and the rest of
// its floor is narrowed alike.
// Measures that need nothing keep their widths.
std::vector<int> FitToFloors(const std::vector<int>& widths,
                             const std::vector<MeasureFloor::Floor>& floors);

}  // namespace notecraft
