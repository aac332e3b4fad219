#pragma once
// The arithmetic of the chord mapper control, in twips and without any window: where its
// parts go for a given control size, and how its cells are laid out and hit.
//
// The control is a viewport of cells with a scroll bar on its right and a column of three
// buttons (New, Delete, Properties) further right. Cells fill the viewport's width in columns
// at least 840 wide and are at least 900 high, a multiple of 15 (one screen pixel); rows
// scroll one whole row at a time. Each cell shows a header band with the shape's key, then the
// diagram drawn with the cell's own ChordLayout, which the table never sees.

#include <array>

#include "harmonygrid/core/chordlayout.h"

namespace harmonygrid {

struct TwipRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  int Right() const noexcept { return Left + Width; }
  int Bottom() const noexcept { return Top + Height; }
  friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// The control's parts for one control size.
struct MapperFrame {
  static constexpr int kDefaultWidth = 1650;
  static constexpr int kDefaultHeight = 2460;
  static constexpr int kMinWidth = 1650;
  static constexpr int kMinHeight = 1275;
  static constexpr int kButtonSize = 315;
  static constexpr int kScrollBarWidth = 195;

  enum Button { New = 0, Delete = 1, Properties = 2 };

  int Width = kDefaultWidth;  // after the clamps
  int Height = kDefaultHeight;
  TwipRect Base;       // the left part holding viewport and scroll bar
  TwipRect Viewport;   // in Base's coordinates
  TwipRect ScrollBar;  // in Base's coordinates
  std::array<TwipRect, 3> Buttons;

  // The parts for a control of width x height, raised first to the minimum height and then
  // to the minimum width.
  static MapperFrame Place(int width, int height) noexcept;
};

// The cells for one viewport size and shape count. Cell i lies in column i mod Columns and
// row i \ Columns; its left edge is column x CellWidth and its top row x CellHeight, in the
// coordinates of the whole grid (row 0 at the top, before scrolling).
class CellGrid {
public:
  static constexpr int kMinCellWidth = 840;
  static constexpr int kMinCellHeight = 900;
  static constexpr int kHeaderHeight = 180;
  static constexpr int kStep = 15;

  CellGrid() noexcept : CellGrid(0, 0, 0, 0, 0) {}
  // chordTextHeight and fretTextHeight are the heights of a line of the chord-name font and
  // of the fret-label font on the device the cells are drawn on.
  CellGrid(int viewportWidth, int viewportHeight, int shapeCount, int chordTextHeight,
           int fretTextHeight) noexcept;

  // At least 1, also for a viewport narrower than one cell.
  int Columns() const noexcept { return m_columns; }
  int CellWidth() const noexcept { return m_cellWidth; }
  int CellHeight() const noexcept { return m_cellHeight; }
  // At least 1, also without shapes.
  int Rows() const noexcept { return m_rows; }
  int Count() const noexcept { return m_count; }
  // Whole rows the viewport shows (at least 1): the scroll bar's page step.
  int PageRows() const noexcept { return m_pageRows; }
  // The scroll bar runs from 1 to Rows() and is enabled only when not every row fits.
  bool Scrolls() const noexcept { return m_pageRows < m_rows; }
  // Grid y at the viewport's top for a scroll-bar value (1 is the first row).
  int ScrollTop(int scrollValue) const noexcept;

  // The sizes the cells' diagrams are drawn with.
  const ChordLayout& Layout() const noexcept { return m_layout; }

  TwipRect Cell(int index) const noexcept;
  // The blue band along a cell's top; it leaves the first 15 twips to the border of the cell
  // on its left.
  TwipRect HeaderBand(int index) const noexcept;
  // Where a cell's key starts: 90 right of its left edge, 15 below its top.
  int KeyX(int index) const noexcept { return Cell(index).Left + 90; }
  int KeyY(int index) const noexcept { return Cell(index).Top + 15; }
  // The diagram's centre, on a 15-twip step, and its bottom (the cell's bottom).
  int CentreX(int index) const noexcept;
  // The two red outlines of a selected cell, outer then inner, as boxes whose corners are
  // both on the outline.
  std::array<TwipRect, 2> SelectionOutlines(int index) const noexcept;

  // The cell under a point of the grid; -1 for none: past the last shape, left of or above the
  // grid, or in the sliver right of the last column that a width not divisible by the column
  // count leaves.
  int CellAt(int x, int y) const noexcept;
  // Rows of the grid that a viewport showing grid y from top to top + height touches.
  int FirstVisibleRow(int top) const noexcept;
  int LastVisibleRow(int top, int height) const noexcept;

private:
  int m_columns = 1;
  int m_cellWidth = 0;
  int m_cellHeight = kMinCellHeight;
  int m_rows = 1;
  int m_count = 0;
  int m_pageRows = 1;
  ChordLayout m_layout;
};

// x x 65 / 100 rounded half to even, exactly.
int SixtyFivePercent(int x) noexcept;

}  // namespace harmonygrid
