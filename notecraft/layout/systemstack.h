#pragma once
// The vertical layout of one system: the chord row, then each visible staff's band (moved by
// a staff-space event at the system's start, the staff lines padded above and below by half
// the staff spacing at the staff's scale, a grand staff's two staves four spaces apart) and
// the staff's lyric lines below the band (on a grand staff between its staves, which move
// apart by as much; on an ordinary staff moved down under the notes, dynamics and tempo
// marks of the system's measures when system.End is set, view/understaff.h). This one
// computation decides both whether a system fits its page and where painting draws it, so
// pagination and painting agree.

namespace notecraft {

class DrawContext;
class Score;
struct SystemLayout;

class SystemStack {
public:
  SystemStack(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}

  // Stacks the visible staves of the system that starts at system.Start from y down, at
  // staff height staffHeight (twips): fills its Top, ChordRow, Staves, Bottom and
  // SharedStaves, and, with names, LabelWidth (the widest shown staff description and room
  // for three letters, in the copyright font). Returns the staff heights the system holds,
  // a grand staff counting three; 0 when no staff is visible.
  int Stack(SystemLayout& system, int y, int staffHeight, bool names);

private:
  int ChordRowHeight() const;

  Score& m_score;
  DrawContext& m_dc;  // measures the staff descriptions; nothing is drawn
};

}  // namespace notecraft
