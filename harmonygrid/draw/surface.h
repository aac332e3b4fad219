#pragma once
// The engine's drawing target: one page on screen, on a printer or in a test.
//
// Coordinates are twips (1440 per inch) from the page's top-left corner, y growing downwards,
// whatever the device's resolution; an implementation converts them to its pixels in one
// place. Text is anchored at the top-left corner of its character cell (the cell top, not the
// baseline). Colours are packed as red + green x 256 + blue x 65536 (red + green * 256 + blue * 65536).
//
// The drawing state (fore colour, draw style and mode, line width, font) lives here, outside
// the implementations, which read it when they draw. Every operation draws with the fore
// colour; filled shapes are filled with it too.
//
// Music-font text (a FontSpec named MusicFontName) is a string of bytes, each the code of one
// glyph; any other text is UTF-8.
//
// Nothing here throws; a surface that cannot draw (no device) ignores the call.

#include <string_view>
#include <vector>

#include "harmonygrid/draw/fontspec.h"

namespace harmonygrid {

struct SurfacePoint {
  int X = 0;
  int Y = 0;
  bool operator==(const SurfacePoint&) const = default;
};

// The numbers are the ones the score sets (DrawStyle 0 and 2, DrawMode 13 and friends).
enum class DrawStyle { Solid = 0, Dot = 2 };
enum class DrawMode {
  Invert = 6,    // every pixel drawn over is inverted; the colour does not matter
  XorPen = 7,    // pen XOR page: drawing the same thing twice restores the page
  CopyPen = 13,  // plain drawing
};

struct SurfaceState {
  int ForeColor = 0;
  DrawStyle Style = DrawStyle::Solid;
  DrawMode Mode = DrawMode::CopyPen;
  int LineWidth = 1;  // device pixels, at least 1
  FontSpec Font{"Arial", 10.0f};

  bool operator==(const SurfaceState&) const = default;
};

// A font's em in twips: its size in points x 20, rounded.
int EmTwips(const FontSpec& font) noexcept;

class Surface {
public:
  virtual ~Surface() = default;

  // --- Page (twips) ---
  // The whole sheet; on a printer the paper.
  virtual int PageWidth() const noexcept = 0;
  virtual int PageHeight() const noexcept = 0;
  // The drawable part, whose top-left corner is (0, 0): the printable area on a printer,
  // the whole page elsewhere. (PageWidth - ScaleWidth) / 2 is the printer's unprintable edge.
  virtual int ScaleWidth() const noexcept = 0;
  virtual int ScaleHeight() const noexcept = 0;
  // Resizes a page buffer (the screen); a printer keeps its paper.
  virtual void SetPageSize(int width, int height) noexcept = 0;
  virtual double TwipsPerPixelX() const noexcept = 0;
  virtual double TwipsPerPixelY() const noexcept = 0;

  // Fills the whole page with the back colour (white unless set).
  virtual void Clear() noexcept = 0;
  int BackColor() const noexcept { return m_backColor; }
  void SetBackColor(int color) noexcept { m_backColor = color; }
  // Paged devices: ends the page and starts the next; ends the document. Nothing elsewhere.
  virtual void NewPage() noexcept {}
  virtual void EndDoc() noexcept {}

  // --- Drawing state ---
  int ForeColor() const noexcept { return m_state.ForeColor; }
  void SetForeColor(int color) noexcept { m_state.ForeColor = color; }
  harmonygrid::DrawStyle DrawStyle() const noexcept { return m_state.Style; }
  void SetDrawStyle(harmonygrid::DrawStyle style) noexcept { m_state.Style = style; }
  harmonygrid::DrawMode DrawMode() const noexcept { return m_state.Mode; }
  void SetDrawMode(harmonygrid::DrawMode mode) noexcept { m_state.Mode = mode; }
  int LineWidth() const noexcept { return m_state.LineWidth; }
  void SetLineWidth(int pixels) noexcept { m_state.LineWidth = pixels < 1 ? 1 : pixels; }
  const FontSpec& Font() const noexcept { return m_state.Font; }
  void SetFont(const FontSpec& font) { m_state.Font = font; }
  // The whole state at once, for drawers that put back what they changed.
  const SurfaceState& State() const noexcept { return m_state; }
  void SetState(const SurfaceState& state) { m_state = state; }
  bool IsMusicFont() const noexcept;

  // --- Text in the current font (twips) ---
  virtual int TextWidth(std::string_view text) const noexcept = 0;
  // The height of one line of text: the character cell, ascent plus descent.
  virtual int TextHeight() const noexcept = 0;
  // Draws text with the top-left corner of its cell at (x, y); no background is painted.
  virtual void DrawText(int x, int y, std::string_view text) noexcept = 0;

  // --- Shapes (twips) ---
  virtual void DrawLine(int x1, int y1, int x2, int y2) noexcept = 0;
  // A box with corners (x1, y1) and (x2, y2), both included, filled with the fore colour.
  virtual void FillBox(int x1, int y1, int x2, int y2) noexcept = 0;
  virtual void DrawPolyline(const std::vector<SurfacePoint>& points) noexcept = 0;
  virtual void FillPolygon(const std::vector<SurfacePoint>& points) noexcept = 0;
  // Cubic Bezier segments, stroked: a start point, then three points per segment (control,
  // control, end). A count that is not 1 + 3n draws the whole segments only.
  virtual void DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept = 0;
  // Part of the ellipse inscribed in the box (left, top)-(right, bottom): from startDeg,
  // counter-clockwise from three o'clock, through spanDeg (360 for the whole ellipse).
  virtual void DrawArc(int left, int top, int right, int bottom, double startDeg,
                       double spanDeg) noexcept = 0;
  virtual void FillEllipse(int left, int top, int right, int bottom) noexcept = 0;

protected:
  Surface() = default;
  Surface(const Surface&) = default;
  Surface& operator=(const Surface&) = default;

private:
  SurfaceState m_state;
  int m_backColor = 0xFFFFFF;
};

}  // namespace harmonygrid
