#include "Veltrimond/shell/frameimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "Veltrimond/shell/toolbarpictures.h"

namespace veltrimond {

namespace {

using namespace toolbarpictures;

const QColor kFolder(226, 178, 64);
const QColor kWindowTitle(70, 110, 190);

void Page(QPainter& p, double x, double y, double w, double h) {
  QPainterPath path;
  path.moveTo(x, y);
  path.lineTo(x + w - 3, y);
  path.lineTo(x + w, y + 3);
  path.lineTo(x + w, y + h);
  path.lineTo(x, y + h);
  path.closeSubpath();
  p.setPen(Pen(kInk));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
  p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
}

void Staff(QPainter& p, double x, double y, double w) {
  p.setPen(Pen(QColor(110, 110, 120), 0.6));
  for (int i = 0; i < 3; ++i) p.drawLine(QPointF(x, y + i * 2), QPointF(x + w, y + i * 2));
}

void New(QPainter& p) {
  Page(p, 3.5, 1.5, 10, 13);
  Staff(p, 5, 7, 7);
}

void Open(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(kFolder.darker(115));
  p.drawRect(QRectF(1.5, 3.5, 12, 10));
  p.setBrush(kFolder);
  QPainterPath flap;
  flap.moveTo(1.5, 13.5);
  flap.lineTo(4, 6.5);
  flap.lineTo(15, 6.5);
  flap.lineTo(13.5, 13.5);
  flap.closeSubpath();
  p.drawPath(flap);
}

void Arrow(QPainter& p, bool back) {
  // A curved arrow: back (undo) turns left, forward (redo) turns right.
  p.save();
  if (!back) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  p.setPen(Pen(kBlue, 1.8));
  p.setBrush(Qt::NoBrush);
  QPainterPath curve;
  curve.moveTo(4, 7);
  curve.cubicTo(8, 3, 14, 5, 13, 11);
  p.drawPath(curve);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(1.5, 8.5), QPointF(6.5, 3.5), QPointF(7, 9.5)}));
  p.restore();
}

void Cut(QPainter& p) {
  p.setPen(Pen(kInk, 1.2));
  p.drawLine(QPointF(5, 1.5), QPointF(10, 10));
  p.drawLine(QPointF(11, 1.5), QPointF(6, 10));
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(kRed, 1.4));
  p.drawEllipse(QPointF(4.5, 12), 2.3, 2.3);
  p.drawEllipse(QPointF(11.5, 12), 2.3, 2.3);
}

void Copy(QPainter& p) {
  Page(p, 1.5, 1.5, 8, 10);
  Page(p, 6.5, 4.5, 8, 10);
}

void Paste(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(QColor(176, 124, 72));
  p.drawRect(QRectF(1.5, 2.5, 10, 12));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(4.5, 1.5, 4, 2));
  Page(p, 7.5, 6.5, 7, 8);
}

void MiniWindow(QPainter& p, const QRectF& r) {
  p.setPen(Pen(kInk));
  p.setBrush(kPaper);
  p.drawRect(r);
  p.setPen(Qt::NoPen);
  p.setBrush(kWindowTitle);
  p.drawRect(QRectF(r.x() + 0.5, r.y() + 0.5, r.width() - 0.5, 2));
}

void TileH(QPainter& p) {
  MiniWindow(p, QRectF(1.5, 1.5, 13, 6));
  MiniWindow(p, QRectF(1.5, 8.5, 13, 6));
}

void TileV(QPainter& p) {
  MiniWindow(p, QRectF(1.5, 1.5, 6, 13));
  MiniWindow(p, QRectF(8.5, 1.5, 6, 13));
}

void Cascade(QPainter& p) {
  MiniWindow(p, QRectF(1.5, 1.5, 9, 8));
  MiniWindow(p, QRectF(3.5, 3.5, 9, 8));
  MiniWindow(p, QRectF(5.5, 5.5, 9, 9));
}

void Exit(QPainter& p) {
  p.setPen(Pen(kInk));
  p.setBrush(QColor(150, 100, 60));
  p.drawRect(QRectF(2.5, 1.5, 8, 13));
  p.setBrush(kInk);
  p.drawEllipse(QPointF(8.5, 8.5), 0.8, 0.8);
  p.setPen(Pen(kRed, 1.8));
  p.drawLine(QPointF(9, 8), QPointF(14.5, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawPolygon(QPolygonF({QPointF(15.5, 8), QPointF(12, 5), QPointF(12, 11)}));
}

void Help(QPainter& p) {
  p.setPen(Pen(kBlue.darker(130)));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
  QFont font = p.font();
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kPaper);
  p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
}

void Print(QPainter& p) {
  Page(p, 4.5, 1.5, 7, 6);
  Printer(p, QColor(60, 180, 60));
}

void Preview(QPainter& p) {
  Page(p, 1.5, 1.5, 10, 13);
  Magnifier(p);
}

void Defaults(QPainter& p) {
  Page(p, 2.5, 1.5, 11, 13);
  Staff(p, 4, 4, 8);
  Staff(p, 4, 10, 8);
}

void Check(QPainter& p) {
  p.setPen(Pen(kInk, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 11.5), QPointF(13, 4)}));
}

QIcon MakeIcon(const Drawing& draw) {
  QIcon icon;
  for (int size : kSizes) icon.addPixmap(QPixmap::fromImage(Render(draw, size)));
  return icon;
}

}  // namespace

FrameImages FrameImages::Draw() {
  struct Entry {
    const char* Key;
    const char* Tag;
    void (*Draw)(QPainter&);
  };
  // Tags match menu captions by their beginning, so each is the caption up to where it
  // differs from every other caption of the frame's and the windows' menus.
  static constexpr Entry kEntries[] = {
      {"New", "&New", New},
      {"Open", "&Open", Open},
      {"Undo", "&Undo", [](QPainter& p) { Arrow(p, true); }},
      {"Redo", "&Redo", [](QPainter& p) { Arrow(p, false); }},
      {"Cut", "C&ut", Cut},
      {"Copy", "&Copy", Copy},
      {"Paste", "&Paste", Paste},
      {"TileH", "Tile &Horizontal", TileH},
      {"TileV", "Tile &Vertical", TileV},
      {"Cascade", "&Cascade", Cascade},
      {"Exit", "E&xit", Exit},
      {"Help", "&Contents", Help},
      {"Save", "&Save", Save},
      {"Print", "&Print", Print},
      {"Preview", "P&rint Preview", Preview},
      {"Defaults", "&Defaults", Defaults},
      {"Check", "&CK&", Check},
  };
  FrameImages images;
  for (const Entry& e : kEntries) {
    images.m_items.append(
        {QString::fromLatin1(e.Key), QString::fromLatin1(e.Tag), MakeIcon(e.Draw)});
  }
  return images;
}

QIcon FrameImages::Icon(const QString& key) const {
  for (const FrameImage& item : m_items)
    if (item.Key.compare(key, Qt::CaseInsensitive) == 0) return item.Icon;
  return {};
}

}  // namespace veltrimond
