#include "harmonygrid/qt/widgetsurface.h"

#include <algorithm>
#include <cmath>

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

namespace harmonygrid {

namespace {

QColor ToQColor(int packed) {
  return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

QPolygonF ToPolygon(const std::vector<SurfacePoint>& points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const auto& p : points) polygon << QPointF(p.X, p.Y);
  return polygon;
}

QRectF Normalised(int left, int top, int right, int bottom) {
  return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

// fontconfig maps the chord diagrams' "Arial" to the metric-compatible Liberation Sans, but
// knows no stand-in for the chord names' "MS Sans Serif" and would hand out its default sans,
// whose wide bold letters run chord names into the next cell. Liberation Sans is the closer
// fit; the score engine's Qt part names the same stand-in for the score's chord row.
void SubstituteChordFonts() {
  static const bool done = [] {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    return true;
  }();
  (void)done;
}

}  // namespace

WidgetSurface::WidgetSurface(double twipsPerPixel) noexcept
    : m_twipsPerPixel(twipsPerPixel > 0 ? twipsPerPixel : 15.0) {
  SubstituteChordFonts();
}

WidgetSurface::WidgetSurface(QPainter& painter, double twipsPerPixel) noexcept
    : m_painter(&painter), m_twipsPerPixel(twipsPerPixel > 0 ? twipsPerPixel : 15.0) {
  SubstituteChordFonts();
  if (!m_painter->isActive()) return;
  if (const QPaintDevice* device = m_painter->device()) {
    const qreal ratio = device->devicePixelRatio();
    m_width = Round(device->width() / ratio * m_twipsPerPixel);
    m_height = Round(device->height() / ratio * m_twipsPerPixel);
  }
  m_painter->save();
  m_painter->scale(1.0 / m_twipsPerPixel, 1.0 / m_twipsPerPixel);
  m_painter->setRenderHint(QPainter::TextAntialiasing, true);
}

WidgetSurface::~WidgetSurface() {
  if (m_painter && m_painter->isActive()) m_painter->restore();
}

double WidgetSurface::TwipsPerPixel(const QPaintDevice& device) noexcept {
  return 1440.0 / std::max(1, device.logicalDpiX());
}

bool WidgetSurface::Drawing() const noexcept { return m_painter && m_painter->isActive(); }

void WidgetSurface::Clear() noexcept {
  if (!Drawing()) return;
  m_painter->save();
  m_painter->resetTransform();
  m_painter->setCompositionMode(QPainter::CompositionMode_Source);
  const QPaintDevice* device = m_painter->device();
  m_painter->fillRect(QRect(0, 0, device->width(), device->height()), ToQColor(BackColor()));
  m_painter->restore();
}

// --- Text ---

const QFont& WidgetSurface::CurrentQFont() const {
  if (!m_font || !(m_fontSpec == Font())) {
    m_fontSpec = Font();
    QFont font(QString::fromStdString(m_fontSpec.Name));
    font.setPixelSize(std::max(1, EmTwips(m_fontSpec)));  // pixels of the twips coordinates
    font.setBold(m_fontSpec.Bold);
    font.setItalic(m_fontSpec.Italic);
    font.setUnderline(m_fontSpec.Underline);
    font.setStrikeOut(m_fontSpec.Strikeout);
    font.setKerning(false);
    // Unhinted design metrics: widths in twips do not depend on the device.
    font.setHintingPreference(QFont::PreferNoHinting);
    if (IsMusicFont()) font.setStyleStrategy(QFont::NoFontMerging);
    m_font = font;
    m_metrics.emplace(*m_font);
  }
  return *m_font;
}

const QFontMetricsF& WidgetSurface::CurrentMetrics() const {
  CurrentQFont();
  return *m_metrics;
}

QString WidgetSurface::ToQString(std::string_view text) const {
  const auto size = static_cast<qsizetype>(text.size());
  // Music-font text is glyph bytes; everything else UTF-8.
  return IsMusicFont() ? QString::fromLatin1(text.data(), size)
                       : QString::fromUtf8(text.data(), size);
}

int WidgetSurface::TextWidth(std::string_view text) const noexcept {
  return Round(CurrentMetrics().horizontalAdvance(ToQString(text)));
}

int WidgetSurface::TextHeight() const noexcept { return Round(CurrentMetrics().height()); }

void WidgetSurface::DrawText(int x, int y, std::string_view text) noexcept {
  if (!Drawing() || text.empty()) return;
  PreparePen(true);
  m_painter->setFont(CurrentQFont());
  // The anchor is the cell top; QPainter draws at the baseline.
  m_painter->drawText(QPointF(x, y + CurrentMetrics().ascent()), ToQString(text));
}

// --- Shapes ---

void WidgetSurface::PreparePen(bool antialias) {
  QPen pen(ToQColor(ForeColor()));
  pen.setCosmetic(true);  // LineWidth is in device pixels, whatever the scale
  pen.setWidthF(LineWidth() * m_painter->device()->devicePixelRatio());
  pen.setStyle(DrawStyle() == DrawStyle::Dot ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  m_painter->setPen(pen);
  m_painter->setBrush(Qt::NoBrush);
  m_painter->setRenderHint(QPainter::Antialiasing, antialias);
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  if (DrawMode() != DrawMode::CopyPen && m_painter->paintEngine() &&
      m_painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
    mode = DrawMode() == DrawMode::Invert ? QPainter::RasterOp_NotDestination
                                          : QPainter::RasterOp_SourceXorDestination;
  m_painter->setCompositionMode(mode);
}

void WidgetSurface::PrepareFill(bool antialias) {
  PreparePen(antialias);
  m_painter->setPen(Qt::NoPen);
  m_painter->setBrush(ToQColor(ForeColor()));
}

void WidgetSurface::DrawLine(int x1, int y1, int x2, int y2) noexcept {
  if (!Drawing()) return;
  PreparePen(false);
  m_painter->drawLine(QLineF(x1, y1, x2, y2));
}

void WidgetSurface::FillBox(int x1, int y1, int x2, int y2) noexcept {
  if (!Drawing()) return;
  PrepareFill(false);
  // Both corners are inside: the box reaches one pixel past the far corner.
  QRectF box = Normalised(x1, y1, x2, y2);
  box.setRight(box.right() + m_twipsPerPixel);
  box.setBottom(box.bottom() + m_twipsPerPixel);
  m_painter->drawRect(box);
}

void WidgetSurface::DrawPolyline(const std::vector<SurfacePoint>& points) noexcept {
  if (!Drawing() || points.size() < 2) return;
  PreparePen(false);
  m_painter->drawPolyline(ToPolygon(points));
}

void WidgetSurface::FillPolygon(const std::vector<SurfacePoint>& points) noexcept {
  if (!Drawing() || points.size() < 3) return;
  PrepareFill(false);
  m_painter->drawPolygon(ToPolygon(points));
}

void WidgetSurface::DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept {
  if (!Drawing() || points.size() < 4) return;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (std::size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X,
                 points[i + 2].Y);
  PreparePen(true);
  m_painter->drawPath(path);
}

void WidgetSurface::DrawArc(int left, int top, int right, int bottom, double startDeg,
                            double spanDeg) noexcept {
  if (!Drawing()) return;
  PreparePen(true);
  m_painter->drawArc(Normalised(left, top, right, bottom), Round(startDeg * 16),
                     Round(spanDeg * 16));
}

void WidgetSurface::FillEllipse(int left, int top, int right, int bottom) noexcept {
  if (!Drawing()) return;
  PrepareFill(true);
  m_painter->drawEllipse(Normalised(left, top, right, bottom));
}

}  // namespace harmonygrid
