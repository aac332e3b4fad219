#include "notecraft/view/clefsandbars.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "notecraft/core/enums.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {

namespace {

// Heights above the bottom line of the first flat and the first sharp of a key signature.
int FirstFlatHeight(int clef, int s) {
  switch (clef) {
    case clfBass: return s;                   // B on the second line
    case clfAlto: return s / 2 + s;           // B in the second space
    case clfTenor: return 2 * s + s / 2;      // B in the third space
    default: return 2 * s;                    // B on the middle line
  }
}

int FirstSharpHeight(int clef, int s) {
  switch (clef) {
    case clfBass: return 3 * s;               // F on the fourth line
    case clfAlto: return 3 * s + s / 2;       // F in the top space
    case clfTenor: return 4 * s + s / 2;      // F above the top line
    default: return 4 * s;                    // F on the top line
  }
}

}  // namespace

std::string ClefGlyph(int clef) {
  switch (clef) {
    case clfPercussion: return std::string(1, glyph::PercussionClef);
    case clfBass: return std::string(1, glyph::BassClef);
    case clfAlto:
    case clfTenor: return std::string(1, glyph::CClef);
    default: return std::string(1, glyph::TrebleClef);  // treble, grand
  }
}

void DrawClef(DrawContext& dc, int clef, int& x, int y) {
  Surface* window = dc.Window();
  if (!window) return;
  // The tenor clef is the C clef a line higher.
  const int shift = clef == clfTenor ? dc.LineSpace() : 0;
  const std::string text = ClefGlyph(clef);
  window->SetForeColor(dc.ColorBars());
  dc.DrawTextAt(text, x, y - shift);
  x += window->TextWidth(text);
}

void DrawKeySignature(DrawContext& dc, int key, int clef, int& x, int y) {
  Surface* window = dc.Window();
  if (!window || key == 0) return;
  const int s = dc.LineSpace();
  x += s;
  window->SetForeColor(dc.ColorBars());
  const int count = std::min(std::abs(key), 7);
  if (key < 0) {
    // B E A D G C F: up a fourth, down a fifth, down from the first flat.
    const int h0 = FirstFlatHeight(clef, s);
    int h = h0;
    for (int n = 1; n <= count; ++n) {
      dc.DrawTextAt(std::string(1, glyph::Flat), x, y - h);
      x += s;
      h = n % 2 != 0 ? h + (s / 2 + s) : h0 - (n / 2) * (s / 2);
    }
  } else {
    // F C G D A E B: down a fourth each time, the third and sixth back up near the first.
    const int h0 = FirstSharpHeight(clef, s);
    int h = h0;
    for (int n = 1; n <= count; ++n) {
      dc.DrawTextAt(std::string(1, glyph::Sharp), x, y - h);
      x += s;
      h -= s / 2 + s;
      if (n == 2) h = h0 + s / 2;
      if (n == 5) h = h0 - s / 2;
    }
  }
}

void DrawTimeSignature(DrawContext& dc, int packed, int x, int y) {
  Surface* window = dc.Window();
  if (!window) return;
  const int s = dc.LineSpace();
  const int kept = window->ForeColor();
  window->SetForeColor(dc.ColorBars());
  x += s;
  if (packed == 0) {
    dc.DrawTextAt(std::string(1, glyph::CommonTime), x, y);
  } else if (packed == 1) {
    dc.DrawTextAt(std::string(1, glyph::CutTime), x, y);
  } else {
    const int beats = packed / 128;
    const int unit = packed % 128;
    if (beats >= 1 && beats <= 9) {
      // The beat unit fills the lower half of the staff, the numerator the upper half.
      char unitDigit = '4';
      if (unit == durEighth) unitDigit = '8';
      else if (unit == durHalf) unitDigit = '2';
      else if (unit == durWhole) unitDigit = '1';
      dc.DrawTextAt(std::string(1, unitDigit), x, y - s);
      dc.DrawTextAt(std::string(1, static_cast<char>(glyph::Digit0 + beats)), x, y - 3 * s);
    }
  }
  window->SetForeColor(kept);
}

void DrawBarGlyph(DrawContext& dc, int kind, int offsetX, int y, int& x, int topY) {
  Surface* window = dc.Window();
  if (!window) return;
  std::string_view full;
  std::string_view continuation;
  bool rightAligned = true;
  switch (kind) {
    case evtRepeatBegin:
      full = glyph::RepeatBeginBar;
      continuation = std::string_view(&glyph::ThickThinBar, 1);
      rightAligned = false;
      break;
    case evtRepeatEnd:
      full = glyph::RepeatEndBar;
      continuation = std::string_view(&glyph::ThinThickBar, 1);
      break;
    case evtSectionEnd:
      full = continuation = std::string_view(&glyph::DoubleBar, 1);
      break;
    case evtScoreEnd:
      full = continuation = std::string_view(&glyph::ThinThickBar, 1);
      break;
    default: return;
  }
  const int kept = window->ForeColor();
  window->SetForeColor(dc.ColorBars());
  int continuationX = x;
  if (rightAligned) {
    continuationX = x - window->TextWidth(continuation);
    x -= window->TextWidth(full);
    dc.DrawTextAt(full, x + offsetX, y);
  } else {
    dc.DrawTextAt(full, x + offsetX, y);
    x += window->TextWidth(full);
  }
  if (topY > 0) {
    // One continuation glyph spans a staff of this size; they overlap by a pixel so that
    // no gap shows. The step is at least a pixel whatever the staff height.
    const int step = std::max(dc.Geometry().FourSpaces - dc.ScreenPixelY(), dc.ScreenPixelY());
    for (int at = topY; at < y; at += step) dc.DrawTextAt(continuation, continuationX + offsetX, at);
  }
  window->SetForeColor(kept);
}

}  // namespace notecraft
