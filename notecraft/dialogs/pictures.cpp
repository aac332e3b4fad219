#include "notecraft/dialogs/pictures.h"

#include <QPainter>
#include <QPainterPath>

#include "notecraft/dialogs/captions.h"

namespace notecraft::dialogs {

namespace {

constexpr int kIconSize = 28;

QPixmap Blank(int w, int h) {
  QPixmap pixmap(w, h);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QIcon TimeSignatureIcon(int option) {
  QPixmap pixmap = Blank(kIconSize, kIconSize);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::black);
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setBold(true);
  const int tag = kTimeTags[static_cast<std::size_t>(option)];
  if (tag == 0 || tag == 1) {
    font.setPixelSize(22);
    p.setFont(font);
    p.drawText(QRect(0, 0, kIconSize, kIconSize), Qt::AlignCenter, QStringLiteral("C"));
    if (tag == 1) p.drawLine(kIconSize / 2, 2, kIconSize / 2, kIconSize - 2);  // cut time
  } else {
    font.setPixelSize(12);
    p.setFont(font);
    const QString top = tag < 0 ? QStringLiteral("?") : QString::number(tag / 128);
    const QString bottom =
        tag < 0 ? QStringLiteral("?") : QString::number(DenominatorOfBeat(tag % 128));
    p.drawText(QRect(0, 1, kIconSize, kIconSize / 2), Qt::AlignHCenter | Qt::AlignBottom, top);
    p.drawText(QRect(0, kIconSize / 2 - 1, kIconSize, kIconSize / 2),
               Qt::AlignHCenter | Qt::AlignTop, bottom);
  }
  return QIcon(pixmap);
}

QIcon NumberPositionIcon(int position) {
  QPixmap pixmap = Blank(kIconSize + 8, kIconSize);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  const int top = 9;
  for (int i = 0; i < 5; ++i) p.drawLine(2, top + i * 3, pixmap.width() - 3, top + i * 3);
  QFont font;
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  const int column = position % 3;
  const bool below = position >= 3;
  const QRect cell(2 + column * (pixmap.width() - 4) / 3, below ? top + 12 : 0,
                   (pixmap.width() - 4) / 3, 8);
  p.drawText(cell, Qt::AlignCenter, QStringLiteral("1"));
  return QIcon(pixmap);
}

QPixmap PageIcon(bool landscape) {
  const int w = landscape ? 30 : 22, h = landscape ? 22 : 30;
  QPixmap pixmap = Blank(w, h);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(1, 1, w - 3, h - 3);
  for (int y = 6; y < h - 5; y += 4) p.drawLine(5, y, w - 6, y);
  return pixmap;
}

void PaintTempoNote(QPainter& p, const QRect& r, char note) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.2));
  const double headW = r.width() * 0.42, headH = r.height() * 0.28;
  const QPointF head(r.left() + r.width() * 0.38, r.bottom() - headH * 0.75);
  p.save();
  p.translate(head);
  p.rotate(-20);
  p.setBrush(note == 'e' || note == 'q' ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
  p.drawEllipse(QPointF(0, 0), headW / 2, headH / 2);
  p.restore();
  if (note != 'w') {
    const double x = head.x() + headW / 2 - 0.8;
    const double top = r.top() + r.height() * 0.08;
    p.drawLine(QPointF(x, head.y() - 1), QPointF(x, top));
    if (note == 'e') {
      QPainterPath flag(QPointF(x, top));
      flag.cubicTo(QPointF(x + 1, top + r.height() * 0.25),
                   QPointF(x + r.width() * 0.35, top + r.height() * 0.3),
                   QPointF(x + r.width() * 0.2, top + r.height() * 0.55));
      p.setBrush(Qt::NoBrush);
      p.drawPath(flag);
    }
  }
  p.restore();
}

}  // namespace notecraft::dialogs
