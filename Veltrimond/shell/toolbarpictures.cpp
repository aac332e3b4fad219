#include "Veltrimond/shell/toolbarpictures.h"

#include <QRectF>

namespace veltrimond::toolbarpictures {

QPen Pen(const QColor& color, double width) {
  QPen pen(color, width);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

QImage Render(const Drawing& draw, int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 16.0, side / 16.0);
  draw(painter);
  painter.end();
  return image;
}

void Save(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(kBlue);
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void Printer(QPainter& p, const QColor& light) {
  p.setPen(Pen(kInk));
  p.setBrush(QColor(190, 190, 196));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  p.setBrush(kPaper);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(light);
  p.drawRect(QRectF(12, 8, 1.5, 1.5));
}

void Magnifier(QPainter& p) {
  p.setPen(Pen(kInk, 1.2));
  p.setBrush(QColor(210, 230, 255));
  p.drawEllipse(QPointF(9, 9), 3, 3);
  p.setPen(Pen(kInk, 2));
  p.drawLine(QPointF(11.2, 11.2), QPointF(14.5, 14.5));
}

}  // namespace veltrimond::toolbarpictures
