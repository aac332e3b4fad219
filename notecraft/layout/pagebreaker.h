#pragma once
// Lays out one page: its frame (PageFrame), then system after system (SystemMeasures for the
// measures, SystemStack for the height) while they fit above the page's bottom; a system
// that does not fit starts the next page. A page whose first system does not fit lowers its
// staff height once, with the spacing between staves and systems, so that it does, as far
// as the smallest readable staff height; a system too tall for a page even then takes fewer
// measures until it fits whole, and one that does not fit with one measure is cut into even
// parts, a page each, every part showing the staff names, and no part a lone staff.
// Nothing is drawn below the page's room for music, and every page with a visible staff
// moves the score on. A page at the score's own staff height that would leave more than a
// third of its room empty, music following, lowers its staff height as far as it must to take
// one system more (as far as the readable height). A page ends with the system that holds
// the score's end. A page without visible staves takes no system and ends the score.
//
// The result depends only on the model, the page number, where the page starts and the
// staff height handed in: background pagination, painting and printing all call this, and
// get the same systems.

#include "notecraft/layout/layoutmemo.h"
#include "notecraft/layout/pagelayout.h"

namespace notecraft {

class DrawContext;
class Score;

class PageBreaker {
public:
  // A lowered staff height stops at 4 mm, a staff space of 1 mm (unless the score's own is
  // smaller): below it the music is no longer readable on paper.
  static constexpr int kReadableStaffHeight = 227;

  PageBreaker(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}
  PageBreaker(const PageBreaker&) = delete;
  PageBreaker& operator=(const PageBreaker&) = delete;

  // Page page (1-based) starting at score time start, with the system there from its
  // (0-based) firstStaff-th visible staff on (a system an earlier page began), drawn at
  // staff height staffHeight unless its first system needs less; endTime is the score's end
  // (the last system ends there, and a page without visible staves ends there).
  PageLayout LayOut(int page, int start, int staffHeight, int endTime, int firstStaff = 0);

  // Where a lowered staff height is looked for first (the one a page before found); the
  // height found is the same whatever the guess. LayOut leaves the height it found here.
  void SetHeightGuess(int height) { m_guess = height; }
  int HeightGuess() const { return m_guess; }

  // What the layout reads from each measure is kept in memo (the score's, kept over pages
  // while nothing the layout reads changed), else for this page only.
  void SetMemo(LayoutMemo* memo) { m_memo = memo ? memo : &m_own; }

private:
  // The page at staff height staffHeight, lowered only for a first system that does not fit.
  PageLayout LayOutAt(int page, int start, int staffHeight, int endTime, int firstStaff);
  int m_guess = 0;
  LayoutMemo m_own;
  LayoutMemo* m_memo = &m_own;
  Score& m_score;
  DrawContext& m_dc;  // measures text on the score's window
};

}  // namespace notecraft
