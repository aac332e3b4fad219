#pragma once
// The drawing state of one score: the window it draws on, its six drawing colours, the
// device's twips per pixel and print offsets, the staff height and scale in force, the font
// kind selected last with the music font's glyph baseline, the staff geometry, and the
// symbol drawers' state of the system being drawn. Every score owns one (Score::View); the
// page renderer and the symbol drawers draw through it onto whatever Surface is attached.
//
// The window is not owned: the host keeps it alive while attached and detaches it (null)
// before it goes. Without a window every drawing call does nothing.
//
// Coordinates are twips from the page's top-left corner. While printing, the print offsets
// (the printer's unprintable edge) are subtracted from every position drawn.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "notecraft/view/staffgeometry.h"
#include "notecraft/view/surface.h"
#include "notecraft/view/symbolstate.h"

namespace notecraft {

class Score;

class DrawContext {
public:
  // The smallest staff height drawing accepts, in twips (two pixels a line space on screen):
  // below it symbol sizes, pixel steps and loops over staff heights would degenerate.
  static constexpr int kMinStaffHeight = 120;

  // Font kinds: the five text fonts of ScoreFonts, the music font, the expression font.
  static constexpr int kMusicFont = 5;
  static constexpr int kExpressionFont = 6;

  // The owner's colours start as the module-wide defaults, its resolution as the screen's
  // and its staff height as the score's.
  explicit DrawContext(Score& owner);
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  Score& Owner() const noexcept { return m_owner; }

  // --- Window ---
  Surface* Window() const noexcept { return m_window; }
  // Attaches a window: the module-wide colours become the score's, the window is cleared
  // and set to plain solid drawing, sized to the page, and the score is paginated and
  // painted on it. Null detaches and leaves the window's drawing as it is.
  void AttachWindow(Surface* window) noexcept;
  // Sizes the window to the score's page, as attaching does (not a printer while it prints,
  // nor to an empty page).
  void FitWindowToPage() noexcept;
  // Puts another surface in the window's place as it is, with nothing cleared or drawn (a
  // printer for the time of a print, then the screen again).
  void SwapWindow(Surface* window) noexcept { m_window = window; }

  // --- Colours (packed RGB) ---
  int ColorLines() const noexcept { return m_colors.Lines; }
  int ColorBars() const noexcept { return m_colors.Bars; }
  int ColorNotes() const noexcept { return m_colors.Notes; }
  int ColorLight() const noexcept { return m_colors.Light; }
  int ColorTies() const noexcept { return m_colors.Ties; }
  int ColorChords() const noexcept { return m_colors.Chords; }
  // Stores the colours here and as the module-wide defaults, with the lighter notes colour
  // derived from colorNotes.
  void SetColors(int colorLines, int colorBars, int colorNotes, int colorTies,
                 int colorChords) noexcept;
  // The module-wide colours become this score's (after attaching, after printing).
  void LoadModuleColors() noexcept;
  // All six colours at once (black for printing); the module-wide ones stay.
  void SetAllColors(int color) noexcept;
  // This score's six colours (lines, bars, notes, light, ties, chords), to put back later.
  std::array<int, 6> SavedColors() const noexcept;
  void RestoreColors(const std::array<int, 6>& colors) noexcept;

  // --- Device resolution, printing, pagination ---
  // The device's twips per pixel: the screen's, or the printer's while printing.
  double TwipsPerPixelX() const noexcept { return m_twipsPerPixelX; }
  double TwipsPerPixelY() const noexcept { return m_twipsPerPixelY; }
  void SetTwipsPerPixel(double x, double y) noexcept;  // values at or below 0 are ignored
  // One device pixel in twips, at least 1.
  int PixelX() const noexcept;
  int PixelY() const noexcept;
  // One screen pixel in twips, at least 1, whatever the device: the unit of the weights and
  // small steps that symbols are drawn with (tie outlines, stem offsets, bar-glyph overlaps),
  // so that they keep their size against the staff on paper as on screen.
  int ScreenPixelX() const noexcept;
  int ScreenPixelY() const noexcept;
  // Twips to device pixels, to the nearest, halves to even.
  int TwipsToPixelsX(int value) const noexcept;
  int TwipsToPixelsY(int value) const noexcept;
  bool Printing() const noexcept { return m_printing; }
  int PrintOffsetX() const noexcept { return m_printing ? m_printOffsetX : 0; }
  int PrintOffsetY() const noexcept { return m_printing ? m_printOffsetY : 0; }
  void SetPrinting(bool printing, int offsetX = 0, int offsetY = 0) noexcept;
  // Background pagination lays pages out without drawing: the page text lines then only
  // advance their y.
  bool Paginating() const noexcept { return m_paginating; }
  void SetPaginating(bool on) noexcept { m_paginating = on; }

  // --- Staff size and fonts ---
  // The staff height L in use (the page renderer may lower it for a page), never below
  // kMinStaffHeight.
  int StaffHeightTwips() const noexcept { return m_staffHeightTwips; }
  void SetStaffHeightTwips(int twips) noexcept;
  // (extra beam lines, step between beam levels): (4, 105) from 576 twips up, else (3, 90).
  std::pair<int, int> StaffHeightClass() const noexcept;
  // The scale of the staff being drawn (ScalePct / 100); 0 is read as 1 by SelectFont.
  float StaffScale() const noexcept { return m_staffScale; }
  void SetStaffScale(float scale) noexcept { m_staffScale = scale; }
  int FontKind() const noexcept { return m_fontKind; }
  // The music font's glyph anchor offset: a glyph anchored at a staff's top line less this
  // has its baseline on the bottom line. Set when the music font is selected.
  int GlyphBaseline() const noexcept { return m_glyphBaseline; }
  // Makes font kind 0..6 the window's font: the music font sized to the staff (L / 20 x
  // scale points), the expression font to L / 60 points; the size is written into the
  // score's own font object. Nothing without a window or for another kind.
  void SelectFont(int kind) noexcept;
  const StaffGeometry& Geometry() const noexcept { return m_geometry; }
  int LineSpace() const noexcept { return m_geometry.LineSpace; }
  void SetStaffUnit(int lineSpace) noexcept { m_geometry = StaffGeometry::FromLineSpace(lineSpace); }

  // --- Output ---
  // Text with the top-left corner of its cell at (x, y): on screen at the whole pixel
  // containing the point, while printing less the print offsets.
  void DrawTextAt(std::string_view text, int x, int y) noexcept;
  // A line from (x1, y1) to (x2, y2), or with box a filled box with those corners, in
  // colour; the window's fore colour is left as it was.
  void DrawLine(int color, int x1, int y1, int x2, int y2, bool box = false) noexcept;
  // A polygon filled in colour; the window's fore colour is left as it was.
  void FillPolygon(int color, std::vector<SurfacePoint> points) noexcept;
  // Lines of page text in the current font, each cut from its end to the printable width;
  // y advances by the line's height (a footer line moves up first, stacking upwards).
  // Nothing happens without a window or a printable width; while paginating nothing is
  // drawn but y still advances.
  void DrawHeadingLine(int& y, std::string_view text) noexcept;   // centred
  void DrawFooterLine(int& y, std::string_view text) noexcept;    // centred, above y
  void DrawRightLine(int& y, std::string_view text) noexcept;     // at the outer margin
  // At the inner margin; a character 2 in the text stands for the note sign of the score's
  // beat, drawn in the music font at 1.5 times the text size.
  void DrawTempoLine(int& y, std::string_view text) noexcept;

  // text as it fits width in the current font: whole, or cut at its end, a whole character
  // at a time, and ended with an ellipsis; empty when not even the ellipsis fits.
  std::string Ellipsized(std::string_view text, int width) const;

  // --- The symbol drawers' state of the system being drawn ---
  SymbolState& Symbols() noexcept { return m_symbols; }
  const SymbolState& Symbols() const noexcept { return m_symbols; }

private:
  struct Colors {
    int Lines = 0, Bars = 0, Notes = 0, Light = 0, Ties = 0, Chords = 0;
  };
  // The page's inner edge, outer margin and printable width for the page text lines.
  struct PageEdges {
    int Inner = 0;
    int Outer = 0;
    int Width = 0;
  };
  PageEdges Edges() const noexcept;
  // Text cut from its end, a whole character at a time, until it fits width.
  std::string_view Fit(std::string_view text, int width) const noexcept;

  Score& m_owner;
  Surface* m_window = nullptr;
  Colors m_colors;
  double m_twipsPerPixelX = 15.0;
  double m_twipsPerPixelY = 15.0;
  bool m_printing = false;
  int m_printOffsetX = 0;
  int m_printOffsetY = 0;
  bool m_paginating = false;
  int m_staffHeightTwips = 576;
  float m_staffScale = 1.0f;
  int m_fontKind = 0;
  int m_glyphBaseline = 0;
  StaffGeometry m_geometry;
  SymbolState m_symbols;
};

}  // namespace notecraft
