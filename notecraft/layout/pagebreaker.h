#pragma once
// Lays out one page: its frame (PageFrame), then system after system (SystemStack for the
// height, SystemMeasures for the measures) while they fit above the page's bottom. A page
// whose first system does not fit lowers its staff height once so that it does, as far as
// the smallest staff height allows, and takes that system even when it still does not fit,
// so every page with a visible staff moves the score on. A page ends with the system that
// holds the score's end. A page without visible staves takes no system and ends the score.
//
// The result depends only on the model, the page number, the start time and the staff
// height handed in: background pagination and painting both call this, and get the same
// systems.

#include "notecraft/layout/pagelayout.h"

namespace notecraft {

class DrawContext;
class Score;

class PageBreaker {
public:
  PageBreaker(Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}

  // Page page (1-based) starting at score time start, drawn at staff height staffHeight
  // unless its first system needs less; endTime is the score's end (a page without
  // visible staves ends there).
  PageLayout LayOut(int page, int start, int staffHeight, int endTime);

private:
  Score& m_score;
  DrawContext& m_dc;  // measures text on the score's window
};

}  // namespace notecraft
