#pragma once
// Which measures form one system and how wide each is. A measure is as wide as the places
// its staves draw a note or a rest at need (MeasureSlots); the first also holds the clef and
// the widest key signature, and at the score's start the time signature. A line-end event
// starts a new system, a measure-size event widens or narrows its measure (never below what
// its lyrics need to keep their syllables apart, view/lyricspacing.h), a system holds at
// most 16 measures, and what room is left is shared among the measures taken, so that the
// last bar line stands at the right edge. A line takes no more measures than it can give
// each the least width its glyphs need to stand clear (its floor, view/measurefloor.h), which
// the painter gives it from the measures wider than theirs. The score's last system ends with the measure
// that holds its end (nothing follows its final bar line); when its measures take less than
// half the line they keep their own widths, and the system ends at its last bar line.

#include <memory>
#include <optional>
#include <vector>

#include "notecraft/layout/layoutmemo.h"
#include "notecraft/view/measurefloor.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notespacing.h"

namespace notecraft {

class Score;
class Staff;
class Voice;
struct SystemLayout;

// How many staff heights the note positions of the measure [start, start + duration) take
// over all staves: every place where some voice draws a note or a rest (measurerhythm.h)
// takes one, or half of one when the next place follows within less than an eighth; never
// fewer than four, and an even number. The measure's width is this many staff heights.
//
// The staves' voices are looked up once, at the first count: an object counts measures of
// the score as it stands (one page's layout, one edit). The counts are kept in memo where
// one is given (the layout's, kept over pages), else in the object.
class MeasureSlots {
public:
  explicit MeasureSlots(Score& score, LayoutMemo* memo = nullptr) : m_score(score), m_memo(memo) {}
  int Count(int start, int duration);

private:
  struct VoiceSlot {
    std::shared_ptr<Staff> Of;
    std::shared_ptr<notecraft::Voice> Voice;
    bool First = false;  // the staff's first voice, which fills its gaps with rests
    bool Drums = false;
  };
  void FindVoices();
  int CountNow(int start, int duration);
  std::vector<LayoutMemo::Count> m_counted;  // the measures counted so far, without a memo

  Score& m_score;
  LayoutMemo* m_memo;
  std::vector<VoiceSlot> m_voices;
  bool m_found = false;
  std::vector<RhythmNote> m_notes;
  MeasureRhythm m_rhythm;
  std::vector<unsigned char> m_taken;  // per 64th of the measure: some item stands there
};

class SystemMeasures {
public:
  static constexpr int kMaxMeasures = 16;

  // The measures' counts, glyph floors and lyric widths are kept in memo.
  SystemMeasures(Score& score, LayoutMemo& memo)
      : m_score(score), m_memo(memo), m_slots(score, &memo) {}

  // Takes measures from system.Start across system.Left .. system.Right at staff height
  // staffHeight (twips), none starting at or after endTime but the first: fills
  // system.Measures (at least one) and system.End, where the next system starts; a short
  // last system moves system.Right in to its last bar line. At most most measures are taken
  // (at least one), the room left shared among them as at the line's end.
  void Fill(SystemLayout& system, int staffHeight, int endTime, int most = kMaxMeasures);

private:
  // The glyph floor of the measure at start (MeasureFloor::Floor::Glyphs) at staffHeight,
  // the system's first or not; found once per memo, as the measure counts are.
  int GlyphFloor(int start, int duration, int flags, bool first, int staffHeight, int endTime);
  // LyricMeasureWidth, found once per memo.
  int LyricWidth(int start, int duration, int width, int staffHeight);

  Score& m_score;
  LayoutMemo& m_memo;
  MeasureSlots m_slots;
  std::optional<MeasureFloor> m_floors;  // at m_floorsHeight, for [m_floorsFrom, m_floorsTo)
  int m_floorsHeight = -1;
  int m_floorsFrom = -1;
  int m_floorsTo = -1;
  std::vector<int> m_visible;  // the visible staves, found with the first floor
  std::optional<PositionReader> m_reader;
};

}  // namespace notecraft
