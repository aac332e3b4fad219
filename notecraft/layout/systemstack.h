#pragma once
// The vertical layout of one system: the chord row, then each visible staff's band (moved by
// a staff-space event at the system's start, the staff lines padded above and below by half
// the staff spacing at the staff's scale, a grand staff's two staves four spaces apart) and
// the staff's lyric lines below the band (on a grand staff between its staves, which move
// apart by as much; on an ordinary staff moved down under the notes, dynamics and tempo
// marks of the system's measures, view/understaff.h). Where a staff's notes reach further
// beyond its lines (StaffReach), or its dynamics and tempo marks stand lower, the gap grows
// to hold what both neighbouring staves draw into it, a space apart, and each band still
// holds what its own staff draws.
// This one computation decides both whether a system fits its page and where painting
// draws it, so pagination and painting agree.
//
// Below the score's staff height the spacing between staves and systems shrinks with the
// staff (the staves keep their proportions); lyric lines keep the height of their text.

#include <vector>

#include "notecraft/layout/staffreach.h"

namespace notecraft {

class DrawContext;
class Score;
struct SystemLayout;

class SystemStack {
public:
  SystemStack(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}

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
  // counting three; 0 when no staff is stacked.
  int Stack(SystemLayout& system, int y, int staffHeight, int firstStaff = 0);

  // Keeps the stacked staves whose band and lyrics end by bottom, at least `least` of them,
  // and ends the system after the last one kept; returns how many it keeps.
  static int Cut(SystemLayout& system, int bottom, int least);

private:
  int ChordRowHeight() const;
  // The reach of the visible staff at position k, drawn at line space s, found once per
  // range of measures and line space.
  const StaffReach& ReachAt(std::size_t k, class Staff& staff, const SystemLayout& system, int s);

  Score& m_score;
  DrawContext& m_dc;  // measures the staff descriptions; nothing is drawn
  // The staves' reach in the measures from m_reachStart to m_reachEnd.
  std::vector<StaffReach> m_reach;
  std::vector<int> m_reachSpace;  // the line space each was found for; 0: not found
  int m_tripletDigit = -1;        // height of a triplet bracket's "3", measured once
  int m_reachStart = -1;
  int m_reachEnd = -1;
  int m_shared = -1;  // SharedStaves, found once: 1 or 0
};

}  // namespace notecraft
