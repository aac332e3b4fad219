#include "cursorpictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <cmath>
#include <functional>

#include "pointerset/cursorshapes.h"

namespace pointerset {

namespace {

constexpr int kSize = 32;
// The crosshair's centre, the point a placement tool places at.
constexpr QPoint kCross(6, 6);
// Where a placement tool shows its symbol: right of and below the crosshair.
const QRectF kSymbolBox(12.5, 10.5, 18.5, 20.5);
// The white rim around every mark.
constexpr qreal kRimWidth = 2.6;

// The mark filled in black over a white rim.
void Ink(QPainter& p, const QPainterPath& path) {
  p.strokePath(path, QPen(Qt::white, kRimWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.fillPath(path, Qt::black);
}

// A line of the given width as an outline that Ink can fill.
QPainterPath Line(QPointF from, QPointF to, qreal width) {
  QPainterPath line(from);
  line.lineTo(to);
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::FlatCap);
  return stroker.createStroke(line);
}

QPainterPath Crosshair() {
  QPainterPath cross;
  cross.setFillRule(Qt::WindingFill);  // the crossing is part of both lines
  cross.addRect(QRectF(kCross.x() - 5, kCross.y(), 11, 1));
  cross.addRect(QRectF(kCross.x(), kCross.y() - 5, 1, 11));
  return cross.simplified();
}

QPainterPath Glyph(const QString& family, char16_t code, const QRectF& box = kSymbolBox) {
  return FitPath(GlyphPath(family, code), box);
}

// A curly brace "{": the arms bow towards the point at its middle left.
QPainterPath Brace(const QRectF& box) {
  const qreal x = box.left(), w = box.width(), top = box.top(), h = box.height();
  const qreal mid = top + h / 2, arm = x + w * 0.45;
  QPainterPath centre(QPointF(x + w, top));
  centre.cubicTo(x + w * 0.45, top, arm, top + h * 0.12, arm, top + h * 0.28);
  centre.lineTo(arm, mid - h * 0.14);
  centre.cubicTo(arm, mid - 1.5, x + w * 0.25, mid, x, mid);
  centre.cubicTo(x + w * 0.25, mid, arm, mid + 1.5, arm, mid + h * 0.14);
  centre.lineTo(arm, top + h * 0.72);
  centre.cubicTo(arm, top + h * 0.88, x + w * 0.45, top + h, x + w, top + h);
  QPainterPathStroker stroker;
  stroker.setWidth(2.0);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(centre).simplified();
}

QPainterPath Bracket(const QRectF& box) {
  QPainterPath bracket;
  bracket.addRect(QRectF(box.left(), box.top(), 3, box.height()));
  QPainterPath hooks;
  for (bool upper : {true, false}) {
    const qreal y = upper ? box.top() : box.bottom();
    const qreal tip = upper ? y - 3 : y + 3;
    QPainterPath hook(QPointF(box.left(), upper ? y : y - 2));
    hook.lineTo(box.left(), upper ? y + 2 : y);
    hook.quadTo(box.left() + 5, upper ? y + 1 : y - 1, box.left() + 8, tip);
    hook.quadTo(box.left() + 5, upper ? y - 1 : y + 1, box.left(), upper ? y : y - 2);
    hooks.addPath(hook);
  }
  return bracket.united(hooks);
}

QPainterPath RepeatBegin(const QRectF& box) {
  QPainterPath bar;
  bar.addRect(QRectF(box.left() + 2, box.top() + 1, 3.5, box.height() - 2));
  bar.addRect(QRectF(box.left() + 8, box.top() + 1, 1.2, box.height() - 2));
  const qreal cy = box.center().y();
  bar.addEllipse(QPointF(box.left() + 12.5, cy - 3.5), 1.6, 1.6);
  bar.addEllipse(QPointF(box.left() + 12.5, cy + 3.5), 1.6, 1.6);
  return bar.simplified();
}

QPainterPath QuarterNote(const QRectF& box) {
  QPainterPath head;
  head.addEllipse(QPointF(0, 0), 4.2, 3.0);
  QTransform tilt;
  tilt.translate(box.left() + 6, box.bottom() - 4);
  tilt.rotate(-22);
  QPainterPath note = tilt.map(head);
  note.setFillRule(Qt::WindingFill);  // the stem runs into the head
  note.addPath(Line(QPointF(box.left() + 9.7, box.bottom() - 5.2),
                    QPointF(box.left() + 9.7, box.top() + 1), 1.3));
  return note.simplified();
}

// A chord diagram on a white card: four strings, the nut, three frets and two fingers. The
// lines sit too close for a rim of their own.
void ChordDiagram(QPainter& p, const QRectF& box) {
  const QRectF grid(std::floor(box.left()) + 3, std::floor(box.top()) + 4, 12, 15);
  QPainterPath card;
  card.addRoundedRect(grid.adjusted(-2.5, -2.5, 3.5, 2.5), 1.5, 1.5);
  p.strokePath(card, QPen(QColor(64, 64, 64), 1));
  p.fillPath(card, Qt::white);
  QPainterPath lines;
  lines.setFillRule(Qt::WindingFill);  // strings and frets cross
  lines.addRect(QRectF(grid.left(), grid.top(), grid.width() + 1, 2));
  for (int i = 0; i < 4; ++i)
    lines.addRect(QRectF(grid.left() + i * grid.width() / 3, grid.top(), 1, grid.height()));
  for (int i = 1; i <= 3; ++i)
    lines.addRect(QRectF(grid.left(), grid.top() + i * grid.height() / 3, grid.width() + 1, 1));
  const qreal string = grid.width() / 3, fret = grid.height() / 3;
  lines.addEllipse(QPointF(grid.left() + string + 0.5, grid.top() + fret * 1.5), 1.7, 1.7);
  lines.addEllipse(QPointF(grid.left() + 2 * string + 0.5, grid.top() + fret * 2.5), 1.7, 1.7);
  p.fillPath(lines, Qt::black);
}

// A text caret (I-beam) whose middle is the hotspot.
QPainterPath IBeam(QPoint centre) {
  const qreal x = centre.x(), y = centre.y();
  QPainterPath beam;
  beam.setFillRule(Qt::WindingFill);
  beam.addRect(QRectF(x, y - 8, 1, 17));
  beam.addRect(QRectF(x - 3, y - 9, 7, 1));
  beam.addRect(QRectF(x - 3, y + 9, 7, 1));
  return beam.simplified();
}

QPainterPath Letter(const QString& text, const QRectF& box) {
  QFont font("DejaVu Sans");
  font.setPixelSize(200);
  font.setBold(true);
  QPainterPath path;
  path.addText(0, 0, font, text);
  return FitPath(path, box);
}

QPainterPath DashedBox(const QRectF& box) {
  QPainterPath dashes;
  dashes.setFillRule(Qt::WindingFill);
  for (qreal x = box.left(); x < box.right(); x += 4) {
    dashes.addRect(QRectF(x, box.top(), 2, 1));
    dashes.addRect(QRectF(x, box.bottom(), 2, 1));
  }
  for (qreal y = box.top(); y < box.bottom(); y += 4) {
    dashes.addRect(QRectF(box.left(), y, 1, 2));
    dashes.addRect(QRectF(box.right(), y, 1, 2));
  }
  return dashes;
}

ToolCursorPicture Draw(const char* file, const char* caption, QPoint hotspot,
                       const std::function<void(QPainter&)>& paint) {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  p.end();
  return {QString::fromLatin1(file), QString::fromLatin1(caption), image, hotspot};
}

// A placement tool's cursor: the crosshair and the symbol.
ToolCursorPicture Placing(const char* file, const char* caption, const QPainterPath& symbol) {
  return Draw(file, caption, kCross, [&](QPainter& p) {
    Ink(p, symbol);
    Ink(p, Crosshair());
  });
}

}  // namespace

std::vector<ToolCursorPicture> DrawToolCursors(const QString& music) {
  // Music-font codes of the symbols drawn from the font.
  constexpr char16_t kPercussionClef = 0xD6, kTrebleClef = 0x26, kBassClef = 0x3F, kAltoClef = 0x42,
                     kSegno = 0x25, kMezzoForte = 0x46, kFermata = 0x55;
  const QRectF clefBox(13.5, 7.5, 17, 24);
  std::vector<ToolCursorPicture> cursors;
  cursors.push_back(
      Draw("CT000.cur", "off the score", {1, 1}, [](QPainter& p) { Ink(p, PointerArrow()); }));
  cursors.push_back(Draw("CT010.cur", "pointer", {1, 1}, [](QPainter& p) {
    Ink(p, DashedBox(QRectF(15.5, 17.5, 13, 11)));
    Ink(p, PointerArrow());
  }));
  cursors.push_back(Placing("CT021.cur", "brace", Brace(QRectF(17.5, 9.5, 8, 21))));
  cursors.push_back(Placing("CT022.cur", "bracket", Bracket(QRectF(17.5, 12.5, 8, 16))));
  cursors.push_back(Placing("CT030.cur", "percussion clef",
                            Glyph(music, kPercussionClef, QRectF(15.5, 14.5, 10, 12))));
  cursors.push_back(Placing("CT031.cur", "treble clef", Glyph(music, kTrebleClef, clefBox)));
  cursors.push_back(
      Placing("CT032.cur", "bass clef", Glyph(music, kBassClef, QRectF(13.5, 11.5, 17, 17))));
  cursors.push_back(
      Placing("CT033.cur", "alto clef", Glyph(music, kAltoClef, QRectF(14.5, 10.5, 15, 20))));
  cursors.push_back(Placing("CT040.cur", "measure: segno", Glyph(music, kSegno)));
  cursors.push_back(Placing("CT050.cur", "bar line", RepeatBegin(QRectF(14.5, 10.5, 16, 20))));
  cursors.push_back(Placing("CT060.cur", "note", QuarterNote(QRectF(14.5, 9.5, 14, 21))));
  cursors.push_back(Placing("CT070.cur", "dynamics: mf",
                            Glyph(music, kMezzoForte, QRectF(12.5, 14.5, 18.5, 13))));
  cursors.push_back(Placing("CT080.cur", "ornament: fermata",
                            Glyph(music, kFermata, QRectF(12.5, 14.5, 18.5, 11))));
  cursors.push_back(Draw("CT090.cur", "chord diagram", kCross, [](QPainter& p) {
    ChordDiagram(p, kSymbolBox);
    Ink(p, Crosshair());
  }));
  cursors.push_back(Draw("CT100.cur", "text", {5, 11}, [](QPainter& p) {
    Ink(p, Letter("A", QRectF(15.5, 14.5, 13, 14)));
    Ink(p, IBeam({5, 11}));
  }));
  return cursors;
}

}  // namespace pointerset
