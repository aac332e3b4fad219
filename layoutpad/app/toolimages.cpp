#include "layoutpad/app/toolimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace layoutpad {

namespace {

constexpr int kSize = 24;

void DrawNote(QPainter& p, int value) {
  const QPointF head(10.5, 17.5);
  p.save();
  p.translate(head);
  p.rotate(-20);
  const QRectF oval(-4.2, -3.0, 8.4, 6.0);
  if (value <= 2) {
    p.setPen(QPen(Qt::black, 1.6));
    p.setBrush(Qt::NoBrush);
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
  }
  p.drawEllipse(oval);
  p.restore();
  if (value == 1) return;
  const qreal stemX = head.x() + 3.7;
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(QPointF(stemX, head.y() - 1), QPointF(stemX, 2.5));
  int flags = 0;
  for (int v = value; v > 4; v /= 2) ++flags;
  for (int i = 0; i < flags; ++i) {
    const qreal y = 2.5 + i * 4.0;
    QPainterPath flag(QPointF(stemX, y));
    flag.cubicTo(QPointF(stemX + 2, y + 3), QPointF(stemX + 6, y + 4), QPointF(stemX + 4, y + 8));
    p.setPen(QPen(Qt::black, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
  }
}

void DrawMark(QPainter& p, const QString& key) {
  if (key == QLatin1String("Z01")) {
    QFont font = p.font();
    font.setPixelSize(15);
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("3"));
    return;
  }
  DrawNote(p, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  if (key == QLatin1String("Z02"))
    p.drawEllipse(QPointF(19.5, 17.5), 1.8, 1.8);
  else
    p.drawEllipse(QPointF(10.5, 22.5), 1.5, 1.5);
}

}  // namespace

QIcon ToolImage(const QString& key) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (key.startsWith(QLatin1Char('N')))
    DrawNote(p, key.mid(1).toInt());
  else
    DrawMark(p, key);
  p.end();
  return QIcon(pixmap);
}

}  // namespace layoutpad
