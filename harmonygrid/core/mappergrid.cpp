#include "harmonygrid/core/mappergrid.h"

#include <algorithm>

namespace harmonygrid {

namespace {

constexpr int kMaxSize = 1 << 24;  // keeps every sum and product below inside int

int Bounded(int v) { return std::clamp(v, 0, kMaxSize); }

}  // namespace

MapperFrame MapperFrame::Place(int width, int height) noexcept {
  MapperFrame f;
  f.Height = std::max(Bounded(height), kMinHeight);
  f.Width = std::max(Bounded(width), kMinWidth);
  f.Base = {0, 0, f.Width - 555, f.Height};
  f.Viewport = {0, 0, f.Base.Width - 255, f.Base.Height - 60};
  f.ScrollBar = {f.Base.Width - 255, 0, kScrollBarWidth, f.Base.Height - 60};
  const int left = f.Width - 435;
  f.Buttons = {TwipRect{left, 120, kButtonSize, kButtonSize},
               TwipRect{left, 480, kButtonSize, kButtonSize},
               TwipRect{left, 840, kButtonSize, kButtonSize}};
  return f;
}

int SixtyFivePercent(int x) noexcept {
  const long long scaled = static_cast<long long>(x) * 65;
  long long q = scaled / 100;
  const long long r = scaled % 100;
  if (r > 50 || (r == 50 && q % 2 != 0)) ++q;
  if (r < -50 || (r == -50 && q % 2 != 0)) --q;
  return static_cast<int>(q);
}

CellGrid::CellGrid(int viewportWidth, int viewportHeight, int shapeCount, int chordTextHeight,
                   int fretTextHeight) noexcept {
  const int v = Bounded(viewportWidth);
  m_count = Bounded(shapeCount);
  // A viewport narrower than one cell still gets one column, so nothing divides by zero.
  m_columns = std::max(1, v / kMinCellWidth);
  m_cellWidth = v / m_columns;
  m_cellHeight = std::max(m_cellWidth, kMinCellHeight) / kStep * kStep;
  m_rows = std::max(1, (m_columns + m_count - 1) / m_columns);
  m_pageRows = std::max(1, Bounded(viewportHeight) / m_cellHeight);

  // The diagram takes what the cell's height leaves below the band and above the name line;
  // B is the share of half a cell that the band and the fret-label line take.
  ChordLayout& l = m_layout;
  l.AreaWidth = m_cellWidth;
  l.AreaHeight = m_cellHeight;
  l.ChordTextHeight = Bounded(chordTextHeight);
  l.FretTextHeight = Bounded(fretTextHeight);
  l.ChordWidth = 375;
  const int b = SixtyFivePercent(m_cellHeight / 2);
  l.ChordHeight = m_cellHeight - b - l.ChordTextHeight - 75;
  l.FretCount = std::max(0, (l.ChordHeight - 60) / 75);
}

int CellGrid::ScrollTop(int scrollValue) const noexcept {
  return (std::clamp(scrollValue, 1, m_rows) - 1) * m_cellHeight;
}

TwipRect CellGrid::Cell(int index) const noexcept {
  const int i = std::max(0, index);
  return {i % m_columns * m_cellWidth, i / m_columns * m_cellHeight, m_cellWidth, m_cellHeight};
}

TwipRect CellGrid::HeaderBand(int index) const noexcept {
  TwipRect band = Cell(index);
  band.Height = kHeaderHeight;
  if (index % m_columns > 0) {
    band.Left += kStep;
    band.Width -= kStep;
  }
  return band;
}

int CellGrid::CentreX(int index) const noexcept {
  const TwipRect c = Cell(index);
  return (c.Left + c.Width / 2) / kStep * kStep;
}

std::array<TwipRect, 2> CellGrid::SelectionOutlines(int index) const noexcept {
  const TwipRect c = Cell(index);
  const int left = c.Left + (index % m_columns > 0 ? kStep : 0);
  const int top = c.Top + 195;
  const int right = c.Left + c.Width - kStep;
  const int bottom = c.Top + c.Height - kStep;
  const TwipRect outer{left, top, right - left, bottom - top};
  const TwipRect inner{left + kStep, top + kStep, outer.Width - 2 * kStep,
                       outer.Height - 2 * kStep};
  return {outer, inner};
}

int CellGrid::CellAt(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= m_columns * m_cellWidth) return -1;
  const long long index = x / m_cellWidth + static_cast<long long>(m_columns) * (y / m_cellHeight);
  return index < m_count ? static_cast<int>(index) : -1;
}

int CellGrid::FirstVisibleRow(int top) const noexcept {
  return std::clamp(top / m_cellHeight, 0, m_rows - 1);
}

int CellGrid::LastVisibleRow(int top, int height) const noexcept {
  const long long bottom = static_cast<long long>(std::max(0, top)) + std::max(1, height) - 1;
  return static_cast<int>(std::clamp<long long>(bottom / m_cellHeight, 0, m_rows - 1));
}

}  // namespace harmonygrid
