// The chord mapper control's arithmetic: where its parts go, how cells are laid out, which cell
// a point hits. Twips throughout.
#include <gtest/gtest.h>

#include "harmonygrid/core/mappergrid.h"

namespace harmonygrid {
namespace {

TEST(CellGrid, LayoutFollowsTheViewportWidth) {
  struct Case {
    const char* name;
    int viewportWidth, viewportHeight, count, chordTextHeight;
    int columns, cellWidth, cellHeight, rows, pageRows;
    bool scrolls;
    int chordHeight, fretCount;
  };
  const Case cases[] = {
      // 495 \ 2 rounds 321.75 to B = 322: 990 - 322 - 195 - 75 = 398, (398 - 60) \ 75 = 4.
      {"two wide columns", 2000, 2000, 5, 195, 2, 1000, 990, 3, 2, true, 398, 4},
      // Cells narrower than 900 are 900 high; B = 292.5, rounded to the even 292.
      {"cells at least 900 high", 1700, 2000, 5, 195, 2, 850, 900, 3, 2, true, 338, 3},
      {"height a multiple of 15", 1679, 4000, 2, 195, 1, 1679, 1665, 2, 2, false, 854, 10},
      {"every row fits", 2000, 3000, 6, 195, 2, 1000, 990, 3, 3, false, 398, 4},
      {"taller name line", 2000, 2000, 5, 240, 2, 1000, 990, 3, 2, true, 353, 3},
      {"no shapes still one row", 2000, 2000, 0, 195, 2, 1000, 990, 1, 2, false, 398, 4},
      // Narrower than one cell: one column rather than a division by zero.
      {"narrow viewport", 500, 2000, 3, 195, 1, 500, 900, 3, 2, true, 338, 3},
      {"no viewport yet", 0, 0, 3, 195, 1, 0, 900, 3, 1, true, 338, 3},
      {"negative sizes", -100, -100, -4, 195, 1, 0, 900, 1, 1, false, 338, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CellGrid g(c.viewportWidth, c.viewportHeight, c.count, c.chordTextHeight, 165);
    EXPECT_EQ(g.Columns(), c.columns);
    EXPECT_EQ(g.CellWidth(), c.cellWidth);
    EXPECT_EQ(g.CellHeight(), c.cellHeight);
    EXPECT_EQ(g.Rows(), c.rows);
    EXPECT_EQ(g.PageRows(), c.pageRows);
    EXPECT_EQ(g.Scrolls(), c.scrolls);
    const ChordLayout& l = g.Layout();
    EXPECT_EQ(l.AreaWidth, c.cellWidth);
    EXPECT_EQ(l.AreaHeight, c.cellHeight);
    EXPECT_EQ(l.ChordHeight, c.chordHeight);
    EXPECT_EQ(l.FretCount, c.fretCount);
    EXPECT_EQ(l.ChordWidth, 375);
    EXPECT_EQ(l.ChordTextHeight, c.chordTextHeight);
    EXPECT_EQ(l.FretTextHeight, 165);
  }
}

TEST(CellGrid, SixtyFivePercentRoundsHalvesToEven) {
  const std::pair<int, int> cases[] = {{495, 322}, {450, 292}, {470, 306}, {451, 293}, {0, 0},
                                       {-450, -292}};
  for (const auto& [x, expected] : cases) EXPECT_EQ(SixtyFivePercent(x), expected) << x;
}

TEST(CellGrid, CellsBandsAndOutlines) {
  const CellGrid g(2000, 2000, 5, 195, 165);
  EXPECT_EQ(g.Cell(3), (TwipRect{1000, 990, 1000, 990}));
  // The band of a cell right of another leaves that cell's border line free.
  EXPECT_EQ(g.HeaderBand(0), (TwipRect{0, 0, 1000, 180}));
  EXPECT_EQ(g.HeaderBand(3), (TwipRect{1015, 990, 985, 180}));
  EXPECT_EQ(g.KeyX(3), 1090);
  EXPECT_EQ(g.KeyY(3), 1005);
  EXPECT_EQ(g.CentreX(1), 1500);
  EXPECT_EQ(CellGrid(1700, 2000, 5, 195, 165).CentreX(0), 420);  // 425 down to a 15-twip step
  // Outlines start under the band: outer (1015, 195)-(1985, 975), inner 15 inside.
  const auto outlines = g.SelectionOutlines(1);
  EXPECT_EQ(outlines[0], (TwipRect{1015, 195, 970, 780}));
  EXPECT_EQ(outlines[1], (TwipRect{1030, 210, 940, 750}));
  EXPECT_EQ(g.SelectionOutlines(2)[0], (TwipRect{0, 990 + 195, 985, 780}));
}

TEST(CellGrid, CellAtPoint) {
  struct Case {
    const char* name;
    int viewportWidth, x, y, expected;
  };
  const Case cases[] = {
      {"first cell", 2000, 0, 0, 0},
      {"second column", 2000, 1500, 100, 1},
      {"third row", 2000, 500, 2000, 4},
      {"right of the last cell", 2000, 1500, 2000, -1},
      {"below every row", 2000, 10, 5000, -1},
      {"left of the grid", 2000, -1, 10, -1},
      {"above the grid", 2000, 10, -1, -1},
      // 1701 \ 2 = 850: x 1700 is past both columns and must not select the next row's first.
      {"last column's edge", 1701, 1699, 10, 1},
      {"sliver right of the columns", 1701, 1700, 10, -1},
      {"no viewport", 0, 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CellGrid(c.viewportWidth, 2000, 5, 195, 165).CellAt(c.x, c.y), c.expected);
  }
}

TEST(CellGrid, ScrollingByWholeRows) {
  // 7 shapes in 2 columns: 4 rows of 990, a viewport 2 rows high.
  const CellGrid g(2000, 2000, 7, 195, 165);
  EXPECT_EQ(g.ScrollTop(1), 0);
  EXPECT_EQ(g.ScrollTop(3), 1980);
  EXPECT_EQ(g.ScrollTop(99), 3 * 990);  // never past the last row
  EXPECT_EQ(g.ScrollTop(0), 0);
  EXPECT_EQ(g.FirstVisibleRow(1980), 2);
  EXPECT_EQ(g.LastVisibleRow(1980, 2000), 3);
  EXPECT_EQ(g.LastVisibleRow(0, 1980), 1);  // rows 0 and 1 exactly
  EXPECT_EQ(g.LastVisibleRow(0, 1981), 2);
  EXPECT_EQ(g.LastVisibleRow(0, 100000), 3);
}

TEST(MapperFrame, ClampsThenPlacesItsParts) {
  struct Case {
    const char* name;
    int width, height, placedWidth, placedHeight;
  };
  const Case cases[] = {
      {"too small both ways", 1000, 1000, 1650, 1275},
      {"too low", 3000, 900, 3000, 1275},
      {"too narrow", 900, 3000, 1650, 3000},
      {"default", 1650, 2460, 1650, 2460},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MapperFrame f = MapperFrame::Place(c.width, c.height);
    EXPECT_EQ(f.Width, c.placedWidth);
    EXPECT_EQ(f.Height, c.placedHeight);
  }
  const MapperFrame f = MapperFrame::Place(3000, 2000);
  EXPECT_EQ(f.Base, (TwipRect{0, 0, 2445, 2000}));
  EXPECT_EQ(f.Viewport, (TwipRect{0, 0, 2190, 1940}));
  EXPECT_EQ(f.ScrollBar, (TwipRect{2190, 0, 195, 1940}));
  EXPECT_EQ(f.Buttons[MapperFrame::New], (TwipRect{2565, 120, 315, 315}));
  EXPECT_EQ(f.Buttons[MapperFrame::Delete], (TwipRect{2565, 480, 315, 315}));
  EXPECT_EQ(f.Buttons[MapperFrame::Properties], (TwipRect{2565, 840, 315, 315}));
  // At the smallest size the viewport holds exactly one column.
  EXPECT_EQ(MapperFrame::Place(0, 0).Viewport.Width, CellGrid::kMinCellWidth);
}

}  // namespace
}  // namespace harmonygrid
