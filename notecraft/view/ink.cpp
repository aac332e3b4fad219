#include "notecraft/view/ink.h"

#include <algorithm>
#include <climits>

#include "notecraft/view/musicfontmetrics.h"

namespace notecraft {

namespace {

// Font units at an em of em twips, to the nearest twip.
int Scaled(int units, int em) {
  const long long twips = static_cast<long long>(units) * em;
  const long long half = musicfont::UnitsPerEm / 2;
  return static_cast<int>((twips >= 0 ? twips + half : twips - half) / musicfont::UnitsPerEm);
}

bool Near(const InkArea& a, const InkArea& b, int gap) {
  return a.Left < b.Right + gap && b.Left < a.Right + gap && a.Top < b.Bottom + gap &&
         b.Top < a.Bottom + gap;
}

}  // namespace

InkArea GlyphInk(std::string_view glyphs, int x, int y, int em) noexcept {
  InkArea box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  const int baseline = y + Scaled(musicfont::Ascent, em);
  int pen = x;
  for (const char c : glyphs) {
    const auto code = static_cast<unsigned char>(c);
    const musicfont::InkBox& ink = musicfont::Ink[code];
    if (ink.Right > ink.Left) {
      box.Left = std::min(box.Left, pen + Scaled(ink.Left, em));
      box.Right = std::max(box.Right, pen + Scaled(ink.Right, em));
      box.Top = std::min(box.Top, baseline - Scaled(ink.Top, em));
      box.Bottom = std::max(box.Bottom, baseline - Scaled(ink.Bottom, em));
    }
    const int advance = musicfont::Advance[code];
    pen += Scaled(advance == 0 ? musicfont::NotdefAdvance : advance, em);
  }
  if (box.Left == INT_MAX) return InkArea{x, y, x - 1, y - 1};
  return box;
}

InkArea TextInk(const Surface& window, std::string_view text, int x, int y) noexcept {
  if (window.IsMusicFont()) return GlyphInk(text, x, y, EmTwips(window.Font()));
  if (text.find_first_not_of(' ') == std::string_view::npos) return InkArea{x, y, x - 1, y - 1};
  return InkArea{x, y, x + window.TextWidth(text), y + window.TextHeight()};
}

bool Collides(const std::vector<InkArea>& ink, const InkArea& box, int gap) noexcept {
  if (box.Right < box.Left) return false;
  return std::any_of(ink.begin(), ink.end(), [&](const InkArea& area) {
    return area.Right >= area.Left && Near(area, box, gap);
  });
}

InkArea MovedClear(const std::vector<InkArea>& ink, InkArea box, bool down, int gap) noexcept {
  if (box.Right < box.Left) return box;
  // Each step passes one area in the way, so as many steps as areas reach a free place.
  for (std::size_t step = 0; step <= ink.size(); ++step) {
    int move = 0;
    for (const InkArea& area : ink) {
      if (area.Right < area.Left || !Near(area, box, gap)) continue;
      move = down ? std::max(move, area.Bottom + gap - box.Top)
                  : std::max(move, box.Bottom - (area.Top - gap));
    }
    if (move <= 0) break;
    box.Top += down ? move : -move;
    box.Bottom += down ? move : -move;
  }
  return box;
}

int LowestInk(const std::vector<InkArea>& ink, int left, int right, int y) noexcept {
  int lowest = y;
  for (const InkArea& area : ink)
    if (area.Right >= area.Left && area.Left <= right && area.Right >= left)
      lowest = std::max(lowest, area.Bottom);
  return lowest;
}

}  // namespace notecraft
