#pragma once
// The frame of one page: the left and right edges of the music (the margins, mirrored on
// even pages when the score asks), the page number and the footer lines that raise the
// bottom of the music, and page 1's headings, below which its music begins. Text is
// measured on the score's window in the fonts it is drawn with, through the same line
// drawers that paint it, so the room taken is the room painted.

namespace notecraft {

class DrawContext;
class Score;
struct PageLayout;

class PageFrame {
public:
  PageFrame(const Score& score, DrawContext& dc) : m_score(score), m_dc(dc) {}

  // Fills the page's edges and text lines; page.Page says which page it is. Returns the y
  // where the page's first system begins.
  int LayOut(PageLayout& page);

private:
  void PageNumber(PageLayout& page, bool mirrored);
  void Footers(PageLayout& page);
  int Headings(PageLayout& page);

  const Score& m_score;
  DrawContext& m_dc;  // measures text; nothing is drawn
};

}  // namespace notecraft
