#include "Veltrimond/child/toolimages.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include "pointerset/cursorshapes.h"

namespace veltrimond {

namespace {

const QString kMusicFamily = QStringLiteral("Veltrimond");

using pointerset::FitPath;

// Text in the serif face; short texts ("3", "1.") in italics, but not the text tool's "A".
QPainterPath Glyphs(const QString& text) {
  QFont font(QStringLiteral("Serif"));
  font.setPixelSize(200);
  font.setStyleStrategy(QFont::NoFontMerging);
  font.setItalic(text.size() <= 3 && text != QLatin1String("A"));
  QPainterPath path;
  path.addText(0, 0, font, text);
  return path;
}

QPainterPath Music(char16_t code) {
  return pointerset::GlyphPath(kMusicFamily, code);
}

void StaffLines(QPainter& p, qreal side) {
  p.save();
  p.setPen(QPen(QColor(120, 120, 120), side / 22.0));
  for (int i = 0; i < 5; ++i) {
    const qreal y = side * (0.26 + i * 0.12);
    p.drawLine(QPointF(1, y), QPointF(side - 1, y));
  }
  p.restore();
}

// Bar lines: kinds as letters, "t" thin, "T" thick, ":" dots.
void Bars(QPainter& p, qreal side, const char* kinds) {
  const qreal top = side * 0.2, bottom = side * 0.8;
  qreal x = side * 0.25;
  for (const char* k = kinds; *k; ++k) {
    if (*k == 't') {
      p.fillRect(QRectF(x, top, side * 0.06, bottom - top), Qt::black);
      x += side * 0.16;
    } else if (*k == 'T') {
      p.fillRect(QRectF(x, top, side * 0.16, bottom - top), Qt::black);
      x += side * 0.26;
    } else {
      p.setBrush(Qt::black);
      p.drawEllipse(QPointF(x + side * 0.04, side * 0.42), side * 0.06, side * 0.06);
      p.drawEllipse(QPointF(x + side * 0.04, side * 0.58), side * 0.06, side * 0.06);
      x += side * 0.18;
    }
  }
}

QPixmap Draw(const QString& key, int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const qreal s = side;
  const QRectF box(s * 0.1, s * 0.1, s * 0.8, s * 0.8);
  const QRectF wide(s * 0.04, s * 0.25, s * 0.92, s * 0.5);
  auto fill = [&](const QPainterPath& path, const QRectF& into) {
    p.drawPath(FitPath(path, into));
  };
  static const QHash<QString, char16_t> kGlyphs{
      {QStringLiteral("N01"), 0x77}, {QStringLiteral("N02"), 0x68}, {QStringLiteral("N04"), 0x71},
      {QStringLiteral("N08"), 0x65}, {QStringLiteral("N16"), 0x73}, {QStringLiteral("D02"), 0xB9},
      {QStringLiteral("D03"), 0x70}, {QStringLiteral("D04"), 0x50}, {QStringLiteral("D05"), 0x46},
      {QStringLiteral("D06"), 0x66}, {QStringLiteral("D07"), 0xC4}, {QStringLiteral("M01"), 0x25},
      {QStringLiteral("M02"), 0xDE}, {QStringLiteral("M03"), 0xD4}, {QStringLiteral("M06"), 0xC3},
      {QStringLiteral("M07"), 0xD7}, {QStringLiteral("X01"), 0xB3}, {QStringLiteral("X02"), 0x76},
      {QStringLiteral("X03"), 0x3E}, {QStringLiteral("X04"), 0x2D}, {QStringLiteral("X05"), 0x60},
      {QStringLiteral("X07"), 0x55}, {QStringLiteral("X08"), 0x4D}, {QStringLiteral("X09"), 0x6D},
      {QStringLiteral("X10"), 0x54},
  };
  static const QHash<QString, char16_t> kClefs{
      {QStringLiteral("C00"), 0xD6}, {QStringLiteral("C01"), 0x26}, {QStringLiteral("C02"), 0x3F},
      {QStringLiteral("C03"), 0x42}, {QStringLiteral("C04"), 0x42},
  };
  if (kGlyphs.contains(key)) {
    const bool flat = key.startsWith(QLatin1Char('D')) || key == QLatin1String("X04") ||
                      key == QLatin1String("X03") || key == QLatin1String("M06") ||
                      key == QLatin1String("M07");
    fill(Music(kGlyphs.value(key)), flat ? wide : box);
  } else if (kClefs.contains(key)) {
    StaffLines(p, s);
    // The tenor clef is the C clef a line higher than the alto clef.
    const qreal shift = key == QLatin1String("C04") ? -s * 0.12 : 0;
    const QRectF clef = key == QLatin1String("C00") ? QRectF(s * 0.3, s * 0.3, s * 0.4, s * 0.4)
                                                    : QRectF(s * 0.2, s * 0.05 + shift, s * 0.6,
                                                             s * 0.9);
    fill(Music(kClefs.value(key)), clef);
  } else if (key == QLatin1String("N32")) {
    fill(Music(0x73), QRectF(s * 0.05, s * 0.1, s * 0.5, s * 0.8));
    fill(Glyphs(QStringLiteral("32")), QRectF(s * 0.55, s * 0.55, s * 0.4, s * 0.35));
  } else if (key == QLatin1String("Pointer")) {
    fill(pointerset::PointerArrow(), box);
  } else if (key == QLatin1String("B01")) {
    Bars(p, s, "Tt:");
  } else if (key == QLatin1String("B02")) {
    Bars(p, s, ":tT");
  } else if (key == QLatin1String("B03")) {
    Bars(p, s, "tt");
  } else if (key == QLatin1String("B04")) {
    Bars(p, s, "tT");
  } else if (key == QLatin1String("G01")) {
    fill(Glyphs(QStringLiteral("{")), QRectF(s * 0.3, s * 0.05, s * 0.4, s * 0.9));
  } else if (key == QLatin1String("G02")) {
    p.fillRect(QRectF(s * 0.35, s * 0.12, s * 0.12, s * 0.76), Qt::black);
    p.fillRect(QRectF(s * 0.35, s * 0.08, s * 0.35, s * 0.06), Qt::black);
    p.fillRect(QRectF(s * 0.35, s * 0.86, s * 0.35, s * 0.06), Qt::black);
  } else if (key == QLatin1String("M04") || key == QLatin1String("M05")) {
    fill(Glyphs(key == QLatin1String("M04") ? QStringLiteral("D.C.") : QStringLiteral("D.S.")),
         wide);
  } else if (key == QLatin1String("M08")) {
    p.fillRect(QRectF(s * 0.15, s * 0.2, s * 0.7, s * 0.06), Qt::black);
    p.fillRect(QRectF(s * 0.15, s * 0.2, s * 0.06, s * 0.6), Qt::black);
    fill(Glyphs(QStringLiteral("1.")), QRectF(s * 0.3, s * 0.35, s * 0.4, s * 0.4));
  } else if (key == QLatin1String("X06")) {
    QPainterPath squiggle(QPointF(2, 12));
    squiggle.cubicTo(6, 2, 10, 22, 14, 10);
    squiggle.cubicTo(16, 6, 18, 8, 20, 10);
    p.setPen(QPen(Qt::black, s / 14.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(FitPath(squiggle, QRectF(s * 0.15, s * 0.3, s * 0.7, s * 0.4)));
  } else if (key == QLatin1String("R00")) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
      const qreal x = s * (0.22 + i * 0.19);
      p.drawLine(QPointF(x, s * 0.2), QPointF(x, s * 0.85));
      const qreal y = s * (0.2 + i * 0.215);
      p.drawLine(QPointF(s * 0.22, y), QPointF(s * 0.79, y));
    }
  } else if (key == QLatin1String("T00")) {
    fill(Glyphs(QStringLiteral("A")), box);
  } else if (key == QLatin1String("Z01")) {
    fill(Glyphs(QStringLiteral("3")), box);
  } else if (key == QLatin1String("Z02")) {
    fill(Music(0x71), QRectF(s * 0.1, s * 0.1, s * 0.5, s * 0.8));
    p.drawEllipse(QPointF(s * 0.75, s * 0.75), s * 0.07, s * 0.07);
  } else if (key == QLatin1String("Z03")) {
    fill(Music(0x71), QRectF(s * 0.25, s * 0.02, s * 0.5, s * 0.75));
    p.drawEllipse(QPointF(s * 0.4, s * 0.9), s * 0.07, s * 0.07);
  } else {
    p.setPen(Qt::black);
    p.drawText(pixmap.rect(), Qt::AlignCenter, key);
  }
  return pixmap;
}

}  // namespace

QPixmap ToolImage(const QString& key, int side) {
  static QHash<QString, QPixmap> cache;
  const QString cacheKey = key + QLatin1Char('@') + QString::number(side);
  auto it = cache.find(cacheKey);
  if (it == cache.end()) it = cache.insert(cacheKey, Draw(key, side));
  return it.value();
}

}  // namespace veltrimond
