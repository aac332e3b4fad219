#pragma once
// The vertical layout of one system: the chord row, then each visible staff's band (moved by
// a staff-space event at the system's start, the staff lines padded above and below by half
// the staff spacing at the staff's scale, a grand staff's two staves four spaces apart) and
// the staff's lyric lines below the band (on a grand staff between its staves, which move
// apart by as much; on an ordinary staff moved down under the notes, dynamics and tempo
// marks of the system's measures, view/understaff.h). Where what two neighbouring staves
// draw into the gap between them at the same place of the system (their outlines,
// StaffReach: notes, marks, text labels, dynamics and tempo marks) needs more than the
// spacing, the gap grows until the two stay a space apart there; a high note at one end
// of the system and a low one at the other need nothing. The bands meet where the spacing
// puts them as long as each holds what its staff draws, else in proportion to what the two
// draw into the gap.
// This one computation decides both whether a system fits its page and where painting
// draws it, so pagination and painting agree.
//
// Below the score's staff height the spacing between staves and systems shrinks with the
// staff (the staves keep their proportions); lyric lines keep the height of their text.

#include <limits>
#include <vector>

#include "notecraft/layout/layoutmemo.h"
#include "notecraft/layout/staffreach.h"
#include "notecraft/view/understaff.h"

namespace notecraft {

class DrawContext;
class Score;
struct SystemLayout;

class SystemStack {
public:
  // Each staff's measures are read once per memo (kept over pages).
  SystemStack(Score& score, DrawContext& dc, LayoutMemo& memo)
      : m_score(score), m_dc(dc), m_memo(memo) {}

  // The share of the score's staff, system and staff-spacing distances kept at staff
  // height staffHeight: 1 at the score's own height or above, in proportion below it.
  static double SpacingScale(const Score& score, int staffHeight);
  // A spacing distance (twips) at that scale.
  static int Scaled(int twips, double scale);

  // Every visible staff (Staff::Index), top to bottom: a system's staves.
  static std::vector<int> VisibleStaves(const Score& score);
  // Whether some visible staff has notes in its second or a later voice: then the stems of
  // shared staves point away from each other, on every staff of the system.
  static bool SharedStaves(const Score& score);

  // The staff-name column: the widest staff description shown and room for three letters,
  // in the copyright font; 0 when no staff shows its description.
  int NameColumn();

  // Stacks the system's visible staves from the (0-based) firstStaff-th on, from y down, at
  // staff height staffHeight (twips): fills its Top, ChordRow, SystemStaves, FirstStaff,
  // Staves, Bottom and SharedStaves. Its measures, which the staves' reach is found in, are
  // filled already; stacked before they are, the system is as short as it can be (what its
  // notes and marks draw only adds room). Returns the staff heights stacked, a grand staff
  // counting three; 0 when no staff is stacked. Once a staff ends below limit the staves
  // after it are left out: the system is known not to fit there.
  int Stack(SystemLayout& system, int y, int staffHeight, int firstStaff = 0,
            int limit = std::numeric_limits<int>::max());

  // Where the system ends when it keeps only its first count stacked staves (its top for
  // none).
  static int PartBottom(const SystemLayout& system, std::size_t count);
  // Keeps the first count stacked staves and ends the system after the last of them.
  static void Cut(SystemLayout& system, std::size_t count);

private:
  int ChordRowHeight() const;
  // The reach of the visible staff at position k, drawn at line space s, found once per
  // range of measures and line space.
  const StaffReach& ReachAt(std::size_t k, class Staff& staff, const SystemLayout& system,
                            int staffHeight, int s);
  // Adds the staff's text labels to its outline, where they stand clear of its notes.
  void AddTextLabels(class Staff& staff, const SystemLayout& system, int s, StaffReach& reach);

  Score& m_score;
  DrawContext& m_dc;  // measures the staff descriptions; nothing is drawn
  // The columns of the measures from m_reachStart to m_reachEnd, from m_reachLeft at staff
  // height m_reachHeight, and the staves' reach in them.
  SystemColumns m_columns;
  std::vector<StaffReach> m_reach;
  std::vector<int> m_reachSpace;  // the line space each was found for; 0: not found
  LayoutMemo& m_memo;  // each staff's measures, read once
  int m_tripletDigit = -1;        // height of a triplet bracket's "3", measured once
  int m_labelHeight = -1;         // and of a text label
  // What the staff stacked last draws below itself, and the staff being stacked, in their
  // line spaces, column by column.
  std::vector<float> m_belowBefore;
  std::vector<float> m_below;
  std::vector<RowMark> m_rowMarks;  // the rows under the staff being stacked
  int m_reachStart = -1;
  int m_reachEnd = -1;
  int m_reachLeft = -1;
  int m_reachHeight = -1;
  int m_shared = -1;  // SharedStaves, found once: 1 or 0
};

}  // namespace notecraft
