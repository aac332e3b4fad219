#include "notecraft/view/restsandties.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/note.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/measureframe.h"
#include "notecraft/view/measurerhythm.h"

namespace notecraft {

namespace {

// A rest's glyph by its value; a 64th takes the thirty-second rest, the shortest the font
// has, and a whole-measure rest the half rest in a measure of 32.
char RestGlyph(const RhythmItem& rest, int measureDuration) {
  if (rest.MeasureRest) return measureDuration == durHalf ? glyph::HalfRest : glyph::WholeRest;
  if (rest.Value >= durWhole) return glyph::WholeRest;
  if (rest.Value >= durHalf) return glyph::HalfRest;
  if (rest.Value >= durQuarter) return glyph::QuarterRest;
  if (rest.Value >= durEighth) return glyph::EighthRest;
  if (rest.Value >= durSixteenth) return glyph::SixteenthRest;
  return glyph::ThirtySecondRest;
}

// How far a rest's ink reaches below and above the staff's bottom line, in line spaces, as
// measured on the music font's outlines (the whole rest hangs from the fourth line, the
// half rest sits on the third, the shorter ones stand about the middle line).
struct RestInk {
  double Bottom = 0;
  double Top = 0;
};

RestInk InkOf(char rest) {
  switch (rest) {
    case glyph::WholeRest: return {2.38, 3.0};
    case glyph::HalfRest: return {2.0, 2.62};
    case glyph::QuarterRest: return {0.72, 3.58};
    case glyph::EighthRest: return {0.96, 2.82};
    case glyph::SixteenthRest: return {-0.04, 2.82};
    default: break;
  }
  return {-0.04, 3.82};
}

int TieEnd(const GlobalEvent& tie) { return tie.Value1() * 256 + tie.Value2(); }

// Where the note of voice starting exactly at time was drawn on this staff in this paint,
// or null.
const DrawnNote* DrawnAt(const SymbolState& state, const std::shared_ptr<Voice>& voice, int time) {
  if (!voice) return nullptr;
  const auto note = voice->Notes().Lookup(time);
  if (!note || note->NoteTime() != time) return nullptr;
  return state.FindDrawn(note.get());
}

void DrawTie(DrawContext& dc, const Staff& staff, const GlobalEvent& tie, int systemStart,
             int systemEnd) {
  const SymbolState& state = dc.Symbols();
  const int s = dc.LineSpace();
  const auto voice = staff.Voice(static_cast<int>(Val(tie.Text())));
  const int start = tie.EventTime();
  const int end = TieEnd(tie);
  // The ends stand just clear of the heads they join, a quarter space beyond the head's
  // outer edge (a head is a space high, its middle on its line or space): from the right
  // part of the first head to the left part of the last one.
  const int middle = dc.Geometry().FourSpaces + dc.GlyphBaseline();  // anchor to head middle
  const int clear = s / 2 + s / 4;
  auto headWidth = [&dc](const DrawnNote& note) {
    const bool whole = note.Of && note.Of->Duration() >= durWhole;
    return dc.Window()->TextWidth(std::string(1, whole ? glyph::WholeNote : glyph::FilledHead));
  };
  const DrawnNote* first = start >= systemStart ? DrawnAt(state, voice, start) : nullptr;
  const DrawnNote* last = end < systemEnd ? DrawnAt(state, voice, end) : nullptr;
  // The side the first note's stem leaves free (the last note's, for a tie coming from the
  // previous system).
  const DrawnNote* side = first ? first : last;
  const bool below = side && side->Up != side->MultiVoice;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (first) {
    x1 = first->X + headWidth(*first) * 3 / 4;
    y1 = first->Y + middle + (below ? clear : -clear);
  }
  if (last) {
    x2 = last->X + headWidth(*last) / 4;
    y2 = last->Y + middle + (below ? clear : -clear);
  }
  if (x1 + x2 <= 0) return;
  if (x1 == 0) {  // from the previous system, or its first note is missing
    x1 = x2 - 2 * s;
    y1 = y2;
  }
  if (x2 == 0) {
    // Into the next system: on to the system's last bar line. A missing last note leaves a
    // stub.
    x2 = x1 + 2 * s;
    if (end >= systemEnd && state.SystemRight > x2) x2 = state.SystemRight;
    y2 = y1;
  }
  DrawTieCurve(dc, dc.ColorTies(), x1, y1, x2, y2, below);
}

}  // namespace

int DrawRest(DrawContext& dc, const MeasureFrame& measure, const RhythmItem& rest, int lift,
             int* right) {
  if (!dc.Window()) return 0;
  const int s = dc.LineSpace();
  int x = 0;
  if (rest.MeasureRest) {
    // Centred in the measure. (The measure's index enters the centring as it always has: at
    // most a few twips.)
    x = (measure.Width - measure.TwipsPerUnit - measure.Pad - measure.Index) / 2 - s +
        measure.Left + measure.Pad;
  } else {
    x = rest.Time * measure.TwipsPerUnit + measure.Left + measure.Pad;
  }
  x += dc.Symbols().ShiftAt(measure.Index, measure.Start + rest.Time);
  const std::string glyph(1, RestGlyph(rest, measure.Duration));
  dc.DrawTextAt(glyph, x, measure.Y - lift);
  if (right) *right = x + dc.Window()->TextWidth(glyph);
  return x;
}

int RestClearance(const DrawContext& dc, const RhythmItem& rest, bool upperVoice, double highestStep,
                  double lowestStep) {
  // Heads reach half a space either side of their line; half a space more stays free.
  constexpr double kHead = 0.54;
  constexpr double kFree = 0.5;
  const RestInk ink = InkOf(RestGlyph(rest, rest.Value));
  double spaces = 0;
  if (upperVoice)
    spaces = std::max(0.0, std::ceil(-highestStep + kHead + kFree - ink.Bottom));
  else
    spaces = -std::max(0.0, std::ceil(ink.Top - (-lowestStep - kHead - kFree)));
  return static_cast<int>(spaces) * dc.LineSpace();
}

void DrawTies(DrawContext& dc, int staffIndex) {
  if (!dc.Window()) return;
  const auto staff = dc.Owner().Staff(staffIndex);
  if (!staff) return;
  const int systemStart = dc.Symbols().SystemStart;
  const int systemEnd = dc.Symbols().SystemEnd;
  const GlobalEvents& events = staff->GlobalEvents();
  const auto last = events.Find(systemEnd - 1, evtTie);
  if (!last) return;

  // Back from the last tie starting in the system over the earlier ties, as long as they
  // end no more than a measure before the system: the range of those that reach into it.
  int low = 0;
  int high = 0;
  for (int i = last->Index(); i >= 1; --i) {
    const auto tie = events.ByIndex(i);
    if (!tie || tie->EventType() != evtTie) continue;
    if (TieEnd(*tie) < systemStart - durWhole) break;
    if (tie->EventTime() >= systemStart || TieEnd(*tie) >= systemStart) {
      low = i;
      if (high == 0) high = i;
    }
  }
  if (low == 0) return;
  for (int i = low; i <= high; ++i) {
    const auto tie = events.ByIndex(i);
    if (tie && tie->EventType() == evtTie) DrawTie(dc, *staff, *tie, systemStart, systemEnd);
  }
}

void DrawTieCurve(DrawContext& dc, int color, int x1, int y1, int x2, int y2, bool below) {
  Surface* window = dc.Window();
  if (!window) return;
  x1 -= dc.PrintOffsetX();
  x2 -= dc.PrintOffsetX();
  y1 -= dc.PrintOffsetY();
  y2 -= dc.PrintOffsetY();
  // The bend depends on the ratio of the two page coordinates, which needs both positive.
  if (y1 <= 0 || y2 <= 0) return;

  const int kept = window->ForeColor();
  window->SetForeColor(color);
  // The outline's two edges stand a screen pixel apart on every device.
  const int pixelX = dc.ScreenPixelX();
  const int pixelY = dc.ScreenPixelY();
  const int width = x2 - x1;
  const int mid = x1 + width / 2;
  const int ratio = std::max(y1, y2) / std::min(y1, y2);
  const int k = std::max(1, static_cast<int>(RoundHalfEven(ratio * 3.2)));
  const int inset = width / k;  // a third of the width for nearby ends
  const int innerInset = inset - pixelX;
  // The height grows with the logarithm of the inset; a tie too short to bend (or drawn
  // backwards) stays flat.
  const double ln = innerInset >= 1 ? std::log(static_cast<double>(innerInset)) : 0.0;
  auto snapped = [](double v) { return SnapY(static_cast<int>(RoundHalfEven(v))); };
  // A short tie (a stub at a system's edge, notes close together) bends no further than a
  // quarter of its span, so that it stays a flat arc and not a hump.
  const int h1 = std::min(snapped(24 * ln), SnapY(std::max(width / 4, 0)));
  int d1 = 0, d1Inner = 0, d2 = 0, d2Inner = 0;
  if (below) {
    d1 = h1;
    d1Inner = d1 + pixelY;
    if (y1 != y2) {
      d2 = -snapped(41 * ln);
      d2Inner = d2 - pixelY;
    }
  } else {
    d1 = -h1;
    d1Inner = d1 - pixelY;
    if (y1 != y2) {
      d2 = snapped(28 * ln);
      d2Inner = d2 + pixelY;
    }
  }

  // Out along one edge and back along the other, one pixel apart, through whole pixels.
  auto point = [&](int x, int y) {
    return SurfacePoint{
        static_cast<int>(RoundHalfEven(dc.TwipsToPixelsX(x) * dc.TwipsPerPixelX())),
        static_cast<int>(RoundHalfEven(dc.TwipsToPixelsY(y) * dc.TwipsPerPixelY()))};
  };
  std::vector<SurfacePoint> points;
  points.push_back(point(x1, y1));
  if (y1 != y2) {
    points.push_back(point(mid - inset, y1 + d1));
    points.push_back(point(mid + inset, y2 - d2));
    points.push_back(point(x2, y2));
    points.push_back(point(mid + innerInset, y2 - d2Inner));
    points.push_back(point(mid - innerInset, y1 + d1Inner));
  } else {
    points.push_back(point(x1 + inset, y1 + d1));
    points.push_back(point(x2 - inset, y2 + d1));
    points.push_back(point(x2, y2));
    points.push_back(point(x2 - innerInset, y2 + d1Inner));
    points.push_back(point(x1 + innerInset, y1 + d1Inner));
  }
  points.push_back(points.front());
  window->DrawPolyBezier(points);
  window->SetForeColor(kept);
}

namespace {

constexpr std::string_view kTripletDigit = "3";
// A bracket keeps this many line spaces from the notes, and from the staff's outer line.
constexpr double kTripletClearance = 0.25;

int TripletGap(int s) {
  return std::max(static_cast<int>(s * kTripletClearance), 1);
}

// The digit's font: the small text font, bold and italic.
void SelectDigitFont(DrawContext& dc, Surface& window) {
  dc.SelectFont(fntCopyright);
  FontSpec digitFont = window.Font();
  digitFont.Size = 8;
  digitFont.Bold = true;
  digitFont.Italic = true;
  window.SetFont(digitFont);
}

// How far the screen may lift text to the pixel that holds it.
int SnapMargin(const DrawContext& dc) {
  return dc.Printing() ? 0 : dc.PixelY() - 1;
}

// The bracket of the group from TripletLeft to TripletRight: its lines run from a pixel
// right of the first item to a line space and a pixel right of the last, and each keeps a
// line space (and the digit's width) at least, the bracket widening alike both ways where
// the group is narrower than that.
}  // namespace

TripletShape ShapeTriplet(DrawContext& dc) {
  Surface* window = dc.Window();
  if (!window) return {};
  const SymbolState& state = dc.Symbols();
  const int s = dc.LineSpace();
  SelectDigitFont(dc, *window);
  TripletShape shape;
  shape.Left = state.TripletLeft + dc.ScreenPixelX();
  shape.Right = state.TripletRight + s + dc.ScreenPixelX();
  shape.DigitWidth = window->TextWidth(kTripletDigit);
  // The digit keeps half a space to the left line and a space to the right one; each line
  // is as long as the digit is wide at least (its size does not follow the staff's), a
  // bracket widening as far as its neighbours and the bar line let it.
  const int line = std::max(s, shape.DigitWidth);
  const int least = shape.DigitWidth + s / 2 + s + 2 * line + s / 2;
  if (shape.Right - shape.Left < least) {
    const long long want = least - (shape.Right - shape.Left);
    const long long roomLeft = std::max(0LL, static_cast<long long>(shape.Left) - state.TripletMinLeft);
    const long long roomRight = std::max(0LL, static_cast<long long>(state.TripletMaxRight) - shape.Right);
    long long left = std::min(want / 2, roomLeft);
    const long long right = std::min(want - left, roomRight);
    left = std::min(want - right, roomLeft);
    shape.Left -= static_cast<int>(left);
    shape.Right += static_cast<int>(right);
  }
  shape.DigitHeight = window->TextHeight();
  shape.Digit = shape.Left + (shape.Right - shape.DigitWidth - shape.Left) / 2;
  shape.Snap = SnapMargin(dc);
  dc.SelectFont(DrawContext::kMusicFont);
  return shape;
}

void DrawTripletShape(DrawContext& dc, const TripletShape& shape, int y) {
  Surface* window = dc.Window();
  if (!window) return;
  const int s = dc.LineSpace();
  const int kept = window->ForeColor();
  SelectDigitFont(dc, *window);
  window->SetForeColor(dc.ColorNotes());
  dc.DrawTextAt(kTripletDigit, shape.Digit, y - s);
  dc.SelectFont(DrawContext::kMusicFont);
  window->SetForeColor(kept);

  dc.DrawLine(dc.ColorNotes(), shape.Left, y, shape.Digit - s / 2, y);
  dc.DrawLine(dc.ColorNotes(), shape.Digit + shape.DigitWidth + s, y, shape.Right, y);
}

void DrawTriplet(DrawContext& dc, int y) { DrawTripletShape(dc, ShapeTriplet(dc), y); }

int TripletDigitHeight(DrawContext& dc) {
  Surface* window = dc.Window();
  if (!window) return 0;
  const SurfaceState kept = window->State();
  SelectDigitFont(dc, *window);
  const int digit = window->TextHeight();
  window->SetState(kept);
  return digit + SnapMargin(dc);
}

double TripletBracketReach(int digit, int s) {
  return kTripletClearance + std::max(1.0, static_cast<double>(digit) / std::max(s, 1));
}

int PlaceTriplet(const DrawContext& dc, const TripletShape& shape, const TripletRoom& room,
                 const std::vector<InkArea>& ink) {
  const int s = dc.LineSpace();
  const int gap = TripletGap(s);
  // The staff's outer line on each side is kept clear of as well.
  std::vector<InkArea> obstacles = ink;
  obstacles.push_back({shape.Left, room.TopLine, shape.Right, room.TopLine});
  obstacles.push_back({shape.Left, room.BottomLine, shape.Right, room.BottomLine});

  // The usual heights: the staff's reference y above it, and as far under the bottom line.
  const int above = room.TopLine - dc.GlyphBaseline();
  const InkArea usual = shape.At(above, s);
  const int rise = above - usual.Top;  // from the box's top to the lines
  const int below = room.BottomLine + (room.TopLine - usual.Bottom) + rise;

  // The height of the lines on one side, clear of the obstacles and inside the room; false
  // when there is none.
  auto place = [&](bool up, int& y) {
    InkArea box = MovedClear(obstacles, shape.At(up ? above : below, s), !up, gap);
    // Back towards the staff where the room ends, as far as the way is clear.
    const bool beyond = up ? box.Top < room.Top : box.Bottom > room.Bottom;
    if (beyond) {
      const int over = up ? room.Top - box.Top : box.Bottom - room.Bottom;
      InkArea in = box;
      in.Top += up ? over : -over;
      in.Bottom += up ? over : -over;
      if (Collides(obstacles, in, gap)) {
        y = box.Top + rise;
        return false;
      }
      box = in;
    }
    y = box.Top + rise;
    return true;
  };
  int y = 0;
  if (!place(room.Above, y)) {
    int other = 0;
    if (place(!room.Above, other)) {
      y = other;
    } else {
      // Nowhere clear: its own side, at the edge of the room.
      const InkArea box = shape.At(y, s);
      if (room.Above && box.Top < room.Top) y += room.Top - box.Top;
      if (!room.Above && box.Bottom > room.Bottom) y -= box.Bottom - room.Bottom;
    }
  }
  return y;
}

bool TripletFits(const DrawContext& dc, const TripletShape& shape, const TripletRoom& room,
                 const std::vector<InkArea>& ink, int y) {
  const InkArea box = shape.At(y, dc.LineSpace());
  if (box.Top < room.Top || box.Bottom > room.Bottom) return false;
  std::vector<InkArea> obstacles = ink;
  obstacles.push_back({box.Left, room.TopLine, box.Right, room.TopLine});
  obstacles.push_back({box.Left, room.BottomLine, box.Right, room.BottomLine});
  return !Collides(obstacles, box, TripletGap(dc.LineSpace()));
}

InkArea DrawTripletClear(DrawContext& dc, const TripletRoom& room,
                         const std::vector<InkArea>& ink) {
  if (!dc.Window()) return {0, 0, -1, -1};
  const TripletShape shape = ShapeTriplet(dc);
  const int y = PlaceTriplet(dc, shape, room, ink);
  DrawTripletShape(dc, shape, y);
  return shape.At(y, dc.LineSpace());
}

}  // namespace notecraft
