#include "Veltrimond/core/tilelayout.h"

#include <algorithm>

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

QList<QRect> CascadeRects(const QRect& area, int count, int step) {
  QList<QRect> rects;
  if (count <= 0 || area.isEmpty()) return rects;
  step = std::max(step, 1);
  // How many places fit before a window would shrink below two thirds of the area.
  const int room =
      std::min(area.width() - area.width() * 2 / 3, area.height() - area.height() * 2 / 3);
  const int places = std::min(count, room / step + 1);
  const QSize size(area.width() - (places - 1) * step, area.height() - (places - 1) * step);
  for (int i = 0; i < count; ++i) {
    const int offset = (i % places) * step;
    rects.append(QRect(area.topLeft() + QPoint(offset, offset), size));
  }
  return rects;
}

}  // namespace veltrimond
