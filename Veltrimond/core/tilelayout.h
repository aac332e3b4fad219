#pragma once
// Placement of the score windows for Tile Horizontal and Tile Vertical: horizontal tiling
// stacks full-width strips from top to bottom, vertical tiling puts full-height columns side
// by side. (QMdiArea's own tiling is a grid, which is neither.)

#include <QList>
#include <QRect>

namespace veltrimond {

enum class TileDirection { Horizontal, Vertical };

// `count` rectangles that fill `area` without overlap; the last one takes the remainder, so
// no pixel row or column is left over.
QList<QRect> TileRects(const QRect& area, int count, TileDirection direction);

}  // namespace veltrimond
