#pragma once
// Where a staff's drawing lies on the page, so that what is placed around its notes later
// (dynamics, tempo marks, text labels, lyrics, ornaments) keeps clear of it. While the staff
// drawer records (SymbolState::RecordInk), every text, line and filled shape drawn through
// the drawing context adds its box to SymbolState::Ink: music-font glyphs by their outlines
// (the font's ink table), other text by its character cell, lines and shapes by the box of
// their points. Twips from the page's top-left corner, y growing downwards.

#include <algorithm>
#include <string_view>
#include <vector>

#include "notecraft/view/surface.h"
#include "notecraft/view/symbolstate.h"

namespace notecraft {

// The box that text drawn with its cell's top-left corner at (x, y) in the window's current
// font covers: the outlines of music-font glyphs, the cell of any other text. Empty (Right
// below Left) for text that draws nothing.
InkArea TextInk(const Surface& window, std::string_view text, int x, int y) noexcept;

// The box of a music-font glyph string drawn at (x, y) at a font size of em twips.
InkArea GlyphInk(std::string_view glyphs, int x, int y, int em) noexcept;

// What a mark placed around the staff's drawing keeps free from it: a quarter of the line
// space s, a twip at least.
inline int InkGap(int s) noexcept {
  return std::max(s / 4, 1);
}

// True when box comes closer than gap to any area of ink.
bool Collides(const std::vector<InkArea>& ink, const InkArea& box, int gap) noexcept;

// box moved down (down true) or up until it keeps gap from all ink; it stays where it is
// when nothing is in its way.
InkArea MovedClear(const std::vector<InkArea>& ink, InkArea box, bool down, int gap) noexcept;

// The lowest edge of the ink that reaches below y between left and right (inclusive); y when
// none does.
int LowestInk(const std::vector<InkArea>& ink, int left, int right, int y) noexcept;

}  // namespace notecraft
