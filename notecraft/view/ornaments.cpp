#include "notecraft/view/ornaments.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/musicfontmetrics.h"

namespace notecraft {

namespace {

// How far below its anchor's baseline a glyph's ink reaches, at the window's music font.
int InkBelow(const Surface& window, char glyph) {
  const InkArea ink = GlyphInk(std::string(1, glyph), 0, 0, EmTwips(window.Font()));
  return ink.Right < ink.Left ? 0 : ink.Bottom;
}

}  // namespace

void DrawOrnament(DrawContext& dc, int flags, int x, int topY, int bottomY, bool up, int referenceY,
                  int grandHalf, int duration) {
  Surface* window = dc.Window();
  if (!window) return;
  const int s = dc.LineSpace();
  int ornamentY = 0;
  if (up)
    ornamentY = topY >= referenceY ? referenceY - 5 * s : topY - 4 * s;
  else
    ornamentY = topY >= referenceY - 4 * s ? referenceY - 5 * s : topY - s;
  int ornamentX = x;
  char sign = 0;
  if (flags & nteBowDown) {
    sign = glyph::DownBow;
  } else if (flags & nteBowUp) {
    sign = glyph::UpBow;
  } else if (flags & nteHalfMordent) {
    sign = glyph::HalfMordent;
    ornamentX -= s / 2;
  } else if (flags & nteMordent) {
    sign = glyph::Mordent;
    ornamentX -= s / 2;
  } else if (flags & nteTrill) {
    sign = glyph::Trill;
  } else if (flags & nteTurn) {
    sign = glyph::Turn;
    ornamentX -= s / 2;
  } else if (flags & nteFermata) {
    ornamentX -= s / 2;
    if (up) {
      sign = glyph::FermataBelow;
      ornamentY = bottomY <= referenceY ? referenceY + s : bottomY + s;
    } else {
      sign = glyph::FermataAbove;
    }
  }
  if (sign == 0) return;

  const std::vector<InkArea>& ink = dc.Symbols().Ink;
  const int gap = InkGap(s);
  const int em = EmTwips(window->Font());
  InkArea box = GlyphInk(std::string(1, sign), ornamentX, ornamentY, em);
  if (Collides(ink, box, gap)) {
    if (grandHalf == 2) {
      // Under the note: below its lowest head, or below the end of a down stem (and the
      // beam that may reach past it).
      if (sign == glyph::FermataAbove) sign = glyph::FermataBelow;
      const int head = bottomY + InkBelow(*window, glyph::FilledHead);
      int lowest = head;
      if (!up && duration != durWhole) {
        const char stem =
            duration <= durThirtySecond ? glyph::FlagThirtySecondDown : glyph::StemDown;
        lowest = bottomY + InkBelow(*window, stem) + (duration < durQuarter ? s : 0);
      }
      box = GlyphInk(std::string(1, sign), ornamentX, ornamentY, em);
      ornamentY += lowest + gap - box.Top;
      box = GlyphInk(std::string(1, sign), ornamentX, ornamentY, em);
      ornamentY += MovedClear(ink, box, true, gap).Top - box.Top;
    } else {
      ornamentY += MovedClear(ink, box, false, gap).Top - box.Top;
    }
  }
  window->SetForeColor(dc.ColorBars());
  dc.DrawTextAt(std::string(1, sign), ornamentX, ornamentY);
  window->SetForeColor(dc.ColorNotes());
}

}  // namespace notecraft
