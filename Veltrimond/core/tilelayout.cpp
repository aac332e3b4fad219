#include "Veltrimond/core/tilelayout.h"

namespace veltrimond {

QList<QRect> TileRects(const QRect& area, int count, TileDirection direction) {
  QList<QRect> rects;
  if (count <= 0 || area.isEmpty()) return rects;
  const bool strips = direction == TileDirection::Horizontal;
  const int total = strips ? area.height() : area.width();
  const int each = total / count;
  for (int i = 0; i < count; ++i) {
    const int start = i * each;
    const int length = i == count - 1 ? total - start : each;
    if (strips) {
      rects.append(QRect(area.x(), area.y() + start, area.width(), length));
    } else {
      rects.append(QRect(area.x() + start, area.y(), length, area.height()));
    }
  }
  return rects;
}

}  // namespace veltrimond
