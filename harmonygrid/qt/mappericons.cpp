#include "harmonygrid/qt/mappericons.h"

#include <functional>

#include <QPainter>
#include <QPixmap>

namespace harmonygrid {

namespace {

constexpr int kSize = 16;

// One picture at 16 x 16 and a sharper one for screens with two device pixels a pixel; the
// drawing works in the 16-pixel grid either way.
QIcon Draw(const std::function<void(QPainter&)>& paint) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, scale > 1);
    paint(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

// A small chord diagram: the nut and three strings and frets.
void Diagram(QPainter& p, const QRectF& box) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::black);
  p.drawRect(QRectF(box.left(), box.top(), box.width(), 1.5));
  for (int i = 0; i < 4; ++i) {
    const qreal x = box.left() + box.width() * i / 3;
    p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
  }
  for (int i = 1; i <= 3; ++i) {
    const qreal y = box.top() + box.height() * i / 3;
    p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
  }
}

}  // namespace

QIcon NewShapeIcon() {
  return Draw([](QPainter& p) {
    // A page with a folded corner and a green plus.
    QPolygonF page;
    page << QPointF(2.5, 0.5) << QPointF(10.5, 0.5) << QPointF(13.5, 3.5) << QPointF(13.5, 15.5)
         << QPointF(2.5, 15.5);
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(10.5, 0.5) << QPointF(10.5, 3.5) << QPointF(13.5, 3.5));
    Diagram(p, QRectF(4.5, 5.5, 6, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 0));
    p.drawRect(QRectF(9, 9, 7, 3));
    p.drawRect(QRectF(11, 7, 3, 7));
  });
}

QIcon DeleteShapeIcon() {
  return Draw([](QPainter& p) {
    Diagram(p, QRectF(3.5, 2.5, 9, 11));
    p.setPen(QPen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 2), QPointF(14, 14));
    p.drawLine(QPointF(14, 2), QPointF(2, 14));
  });
}

QIcon ShapePropertiesIcon() {
  return Draw([](QPainter& p) {
    Diagram(p, QRectF(1.5, 1.5, 9, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(4.5, 6.2), 1.6, 1.6);
    // A pencil across the lower right corner.
    QPolygonF pencil;
    pencil << QPointF(15.5, 7.5) << QPointF(8.5, 14.5) << QPointF(6.5, 15.5) << QPointF(7.5, 13.5)
           << QPointF(14.5, 6.5);
    p.setPen(QPen(QColor(90, 60, 0), 1));
    p.setBrush(QColor(240, 190, 40));
    p.drawPolygon(pencil);
  });
}

}  // namespace harmonygrid
