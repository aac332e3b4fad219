#pragma once
// Placement of the score windows for Tile Horizontal, Tile Vertical and Cascade: horizontal
// tiling stacks full-width strips from top to bottom, vertical tiling puts full-height columns
// side by side (QMdiArea's own tiling is a grid, which is neither), and a cascade keeps every
// window large enough to show its page.

#include <QList>
#include <QRect>

namespace veltrimond {

enum class TileDirection { Horizontal, Vertical };

// `count` rectangles that fill `area` without overlap; the last one takes the remainder, so
// no pixel row or column is left over.
QList<QRect> TileRects(const QRect& area, int count, TileDirection direction);

// `count` rectangles for a cascade in `area`: each `step` right of and below the one before,
// all of one size, the area less the steps taken. The steps start over at the area's corner
// before a window would get less than two thirds of the area's width or height.
QList<QRect> CascadeRects(const QRect& area, int count, int step);

}  // namespace veltrimond
