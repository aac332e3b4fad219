#include "pointerset/cursorshapes.h"

#include <QFont>
#include <QPolygonF>
#include <QTransform>

namespace pointerset {

QPainterPath FitPath(const QPainterPath& path, const QRectF& box) {
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty()) return path;
  const qreal scale = qMin(box.width() / bounds.width(), box.height() / bounds.height());
  QTransform t;
  t.translate(box.center().x(), box.center().y());
  t.scale(scale, scale);
  t.translate(-bounds.center().x(), -bounds.center().y());
  return t.map(path);
}

QPainterPath GlyphPath(const QString& family, char16_t code) {
  QFont font(family);
  font.setPixelSize(200);
  font.setStyleStrategy(QFont::NoFontMerging);
  QPainterPath path;
  path.addText(0, 0, font, QString(QChar(code)));
  return path;
}

QPainterPath PointerArrow() {
  QPainterPath arrow;
  arrow.addPolygon(QPolygonF({{1, 1}, {1, 18}, {5, 14}, {8.5, 21}, {11, 20}, {7.5, 13}, {13, 13}}));
  arrow.closeSubpath();
  return arrow;
}

}  // namespace pointerset
