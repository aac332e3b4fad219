#include "guideview/app/helpicons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace guideview {

namespace {

// Every picture is drawn on a 16-unit grid and scaled to the pixmap, so each size is sharp.
using DrawFn = void (*)(QPainter&);

const QColor kInk(40, 40, 40);

void DrawClosedBook(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(38, 84, 160));
  p.drawRoundedRect(QRectF(3, 1.5, 10, 13), 1, 1);
  p.setBrush(QColor(245, 240, 220));
  p.drawRect(QRectF(3, 12.5, 10, 2));
  p.setPen(QPen(QColor(230, 200, 90), 1.2));
  p.drawLine(QPointF(5.5, 4.5), QPointF(10.5, 4.5));
}

void DrawOpenBook(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(38, 84, 160));
  p.drawPolygon(QPolygonF({{0.5, 4}, {8, 5.5}, {15.5, 4}, {15.5, 14}, {8, 15}, {0.5, 14}}));
  p.setBrush(QColor(250, 248, 238));
  p.drawPolygon(QPolygonF({{1.5, 2.5}, {8, 4}, {8, 13.5}, {1.5, 12.5}}));
  p.drawPolygon(QPolygonF({{14.5, 2.5}, {8, 4}, {8, 13.5}, {14.5, 12.5}}));
  p.setPen(QPen(QColor(150, 150, 150), 0.6));
  for (double y : {6.0, 8.0, 10.0}) {
    p.drawLine(QPointF(3, y), QPointF(6.5, y + 0.6));
    p.drawLine(QPointF(9.5, y + 0.6), QPointF(13, y));
  }
}

void DrawPage(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}));
  p.drawPolyline(QPolygonF({{10, 1}, {10, 4}, {13, 4}}));
  p.setPen(QPen(QColor(60, 110, 190), 0.8));
  for (double y : {6.5, 8.5, 10.5, 12.5}) p.drawLine(QPointF(5, y), QPointF(11, y));
}

void Arrow(QPainter& p, bool right, const QColor& fill) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(fill);
  QPolygonF arrow({{1.5, 8}, {8, 2}, {8, 5.5}, {14.5, 5.5}, {14.5, 10.5}, {8, 10.5}, {8, 14}});
  if (right) {
    for (QPointF& pt : arrow) pt.setX(16 - pt.x());
  }
  p.drawPolygon(arrow);
}

void DrawBack(QPainter& p) {
  Arrow(p, false, QColor(70, 160, 70));
}
void DrawForward(QPainter& p) {
  Arrow(p, true, QColor(70, 160, 70));
}

void Triangle(QPainter& p, bool down) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(60, 110, 190));
  QPolygonF t({{3, 11}, {8, 4}, {13, 11}});
  if (down) {
    for (QPointF& pt : t) pt.setY(16 - pt.y());
  }
  p.drawPolygon(t);
  p.drawLine(QPointF(3, down ? 14 : 2), QPointF(13, down ? 14 : 2));
}

void DrawPrev(QPainter& p) {
  Triangle(p, false);
}
void DrawNext(QPainter& p) {
  Triangle(p, true);
}

void DrawStop(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(200, 50, 40));
  p.drawPolygon(
      QPolygonF({{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11}, {1, 5}}));
  p.setPen(QPen(Qt::white, 1.8));
  p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
  p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
}

void DrawHome(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(QColor(235, 225, 200));
  p.drawRect(QRectF(3.5, 7.5, 9, 7));
  p.setBrush(QColor(190, 60, 50));
  p.drawPolygon(QPolygonF({{1, 8}, {8, 1.5}, {15, 8}}));
  p.setBrush(QColor(120, 80, 40));
  p.drawRect(QRectF(7, 10, 2.5, 4.5));
}

void DrawRefresh(QPainter& p) {
  p.setPen(QPen(QColor(70, 160, 70), 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 280 * 16);
  p.setPen(QPen(kInk, 0.6));
  p.setBrush(QColor(70, 160, 70));
  p.drawPolygon(QPolygonF({{10.5, 1}, {14.5, 4.5}, {9.5, 6.5}}));
}

void DrawPrint(QPainter& p) {
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 1.5, 8, 6));
  p.setBrush(QColor(150, 150, 160));
  p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 10, 8, 5));
  p.setPen(QPen(QColor(120, 120, 120), 0.6));
  p.drawLine(QPointF(5.5, 12), QPointF(10.5, 12));
  p.drawLine(QPointF(5.5, 13.5), QPointF(10.5, 13.5));
}

QPixmap Render(DrawFn draw, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
  return pixmap;
}

}  // namespace

QIcon HelpIcon(const QString& key) {
  static const QHash<QString, DrawFn> kDrawings = {
      {"Section", DrawClosedBook}, {"Opened", DrawOpenBook}, {"Chapter", DrawPage},
      {"Back", DrawBack},          {"Forward", DrawForward}, {"Prev", DrawPrev},
      {"Next", DrawNext},          {"Stop", DrawStop},       {"Home", DrawHome},
      {"Refresh", DrawRefresh},    {"Print", DrawPrint},
  };
  // Drawn once per key: the tree asks again on every selection change.
  static QHash<QString, QIcon> s_icons;
  auto cached = s_icons.constFind(key);
  if (cached != s_icons.constEnd()) return *cached;
  DrawFn draw = kDrawings.value(key, nullptr);
  if (!draw) return {};
  QIcon icon;
  for (int size : {16, 24, 32, 48}) icon.addPixmap(Render(draw, size));
  s_icons.insert(key, icon);
  return icon;
}

}  // namespace guideview
