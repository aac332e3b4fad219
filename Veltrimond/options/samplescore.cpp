#include "Veltrimond/options/samplescore.h"

#include <QPainter>
#include <cmath>
#include <utility>

namespace veltrimond {

namespace {

// The picture is laid out in twips; its size fits the staff, the clefs and the lyric line.
constexpr int kWidthTwips = 1935;
constexpr int kHeightTwips = 1575;

const QString kMusicFont = QStringLiteral("Veltrimond");
// The music font's thin-thick bar line that ends a piece.
const QString kFinalBar = QString(QChar(0xD3));

// The C7 diagram over the first note: six strings, the nut and four frets, and the fingers
// (x32310), in twips from (635, 330).
void DrawChordGrid(QPainter& painter, double sx, double sy, const QColor& color) {
  constexpr double kLeft = 635, kTop = 330, kString = 40, kFret = 55;
  auto at = [&](double x, double y) { return QPointF(x * sx, y * sy); };
  painter.setPen(QPen(color, 0));
  for (int s = 0; s < 6; ++s)
    painter.drawLine(at(kLeft + s * kString, kTop), at(kLeft + s * kString, kTop + 4 * kFret));
  for (int f = 0; f <= 4; ++f)
    painter.drawLine(at(kLeft, kTop + f * kFret), at(kLeft + 5 * kString, kTop + f * kFret));
  painter.fillRect(QRectF(at(kLeft, kTop - 20), at(kLeft + 5 * kString, kTop)), color);
  painter.setBrush(color);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const double r = 14 * sx;
  // String (0 = low E) and fret of each finger.
  for (const auto& [string, fret] : {std::pair{1, 3}, {2, 2}, {3, 3}, {4, 1}})
    painter.drawEllipse(at(kLeft + string * kString, kTop + (fret - 0.5) * kFret), r, r);
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
}

// Degrees counter-clockwise from three o'clock of a point seen from the centre of box, with
// y growing downwards as on the screen.
double AngleOf(const QRectF& box, QPointF p) {
  const QPointF c = box.center();
  return std::atan2(c.y() - p.y(), p.x() - c.x()) * 180 / M_PI;
}

// The arc of the ellipse in box from the ray through `from` counter-clockwise to the ray
// through `to`.
void Arc(QPainter& painter, const QRectF& box, QPointF from, QPointF to) {
  double start = AngleOf(box, from);
  double span = AngleOf(box, to) - start;
  if (span <= 0) span += 360;
  painter.drawArc(box, static_cast<int>(std::lround(start * 16)),
                  static_cast<int>(std::lround(span * 16)));
}

}  // namespace

QColor FromPackedRgb(std::int32_t rgb) {
  return QColor(rgb & 255, (rgb >> 8) & 255, (rgb >> 16) & 255);
}

SampleScore::SampleScore(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pctSample"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(sizeHint());
}

QSize SampleScore::sizeHint() const {
  return {kWidthTwips * logicalDpiX() / 1440, kHeightTwips * logicalDpiY() / 1440};
}

void SampleScore::SetColors(const std::array<std::int32_t, 5>& colors) {
  m_colors = colors;
  update();
}

void SampleScore::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double sx = logicalDpiX() / 1440.0;
  const double sy = logicalDpiY() / 1440.0;
  const double scaleWidth = width() / sx;
  auto at = [&](double x, double y) { return QPointF(x * sx, y * sy); };
  auto color = [&](int i) { return FromPackedRgb(m_colors[static_cast<std::size_t>(i)]); };
  // Text is placed by the top of its line, as the layout's positions are.
  auto text = [&](const QFont& font, int colour, double x, double y, const QString& s) {
    painter.setFont(font);
    painter.setPen(color(colour));
    painter.drawText(at(x, y) + QPointF(0, QFontMetricsF(font).ascent()), s);
  };

  QFont title(QStringLiteral("Arial"), 12, QFont::Bold);
  const double titleWidth = QFontMetricsF(title).horizontalAdvance(tr("Sample Score")) / sx;
  text(title, 0, std::floor((scaleWidth - titleWidth) / 2), 0, tr("Sample Score"));

  painter.setPen(QPen(color(0), 0));
  for (int k = 0; k < 5; ++k)
    painter.drawLine(at(150, 855 + 90 * k), at(scaleWidth - 150, 855 + 90 * k));
  painter.setPen(QPen(color(1), 0));
  painter.drawLine(at(150, 855), at(150, 1215));

  QFont small(QStringLiteral("Arial"), 8);
  text(small, 4, 585, 1260, QStringLiteral("Song"));
  text(small, 4, 1080, 1260, QStringLiteral("Lyrics"));
  text(small, 4, 660, 615, QStringLiteral("C7"));

  DrawChordGrid(painter, sx, sy, color(4));
  QFont music(kMusicFont);
  music.setPointSizeF(19.25);
  text(music, 1, 240, 690, QStringLiteral("&"));
  text(music, 1, scaleWidth - 300, 690, kFinalBar);
  text(music, 2, 690, 600, QStringLiteral("q"));
  text(music, 2, 1215, 645, QStringLiteral("q"));

  painter.setRenderHint(QPainter::Antialiasing);
  // The tie is laid out in pixels: it joins the two note heads as drawn at 15 twips a pixel.
  painter.setPen(QPen(color(3), 1));
  Arc(painter, QRectF(46, 60, 44, 28), {46, 82}, {90, 87});
  Arc(painter, QRectF(46, 61, 44, 26), {46, 82}, {90, 87});
}

}  // namespace veltrimond
