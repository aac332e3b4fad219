#include "notecraft/qt/qpaintersurface.h"

#include <algorithm>
#include <cmath>

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include "notecraft/view/glyphs.h"

namespace notecraft {

namespace {

constexpr double kScreenTwipsPerPixel = 15.0;

QColor ToQColor(int packed) {
  return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

// Device pixels: well below the size from which Qt's raster engine stops caching glyphs
// (64 unless QT_MAX_CACHED_GLYPH_SIZE says otherwise).
double MaxQueuedGlyphSize() {
  static const double size = [] {
    const int cached = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
    return std::min(48.0, cached > 0 ? cached * 0.75 : 48.0);
  }();
  return size;
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

}  // namespace

QPainterSurface::QPainterSurface(int pageWidth, int pageHeight, qreal devicePixelRatio)
    : m_devicePixelRatio(devicePixelRatio > 0 ? devicePixelRatio : 1.0) {
  SetPageSize(pageWidth, pageHeight);
}

QPainterSurface::QPainterSurface(QPaintDevice* device) : m_device(device) {
  if (!m_device) return;
  const int dpiX = std::max(1, m_device->logicalDpiX());
  const int dpiY = std::max(1, m_device->logicalDpiY());
  m_twipsPerPixelX = 1440.0 / dpiX;
  m_twipsPerPixelY = 1440.0 / dpiY;
  if (auto* paged = dynamic_cast<QPagedPaintDevice*>(m_device)) {
    // Points are 20 twips. The painter's origin is the printable area's corner.
    const QPageLayout layout = paged->pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    m_pageWidth = Round(full.width() * 20);
    m_pageHeight = Round(full.height() * 20);
    m_scaleWidth = Round(paint.width() * 20);
    m_scaleHeight = Round(paint.height() * 20);
  } else {
    const qreal ratio = m_device->devicePixelRatio();
    m_pageWidth = m_scaleWidth = Round(m_device->width() / ratio * m_twipsPerPixelX);
    m_pageHeight = m_scaleHeight = Round(m_device->height() / ratio * m_twipsPerPixelY);
  }
  Begin();
}

QPainterSurface::~QPainterSurface() {
  FlushGlyphs();
  if (m_painter.isActive()) m_painter.end();
}

void QPainterSurface::Begin() {
  QPaintDevice* device = m_image ? m_image.get() : m_device;
  ForgetPainterState();  // a new begin() starts from the painter's defaults
  if (!device || !m_painter.begin(device)) return;
  // The one place where twips become device pixels.
  m_painter.setWorldTransform(QTransform::fromScale(1.0 / m_twipsPerPixelX, 1.0 / m_twipsPerPixelY));
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void QPainterSurface::SetPageSize(int width, int height) noexcept {
  if (m_device) return;  // a host's device keeps its own size
  FlushGlyphs();
  if (m_painter.isActive()) m_painter.end();
  m_pageWidth = m_scaleWidth = std::max(1, width);
  m_pageHeight = m_scaleHeight = std::max(1, height);
  const int w = static_cast<int>(std::ceil(m_pageWidth / kScreenTwipsPerPixel * m_devicePixelRatio));
  const int h = static_cast<int>(std::ceil(m_pageHeight / kScreenTwipsPerPixel * m_devicePixelRatio));
  m_image = std::make_unique<QImage>(w, h, QImage::Format_ARGB32_Premultiplied);
  m_image->setDevicePixelRatio(m_devicePixelRatio);
  m_image->fill(ToQColor(BackColor()));
  m_twipsPerPixelX = m_twipsPerPixelY = kScreenTwipsPerPixel;
  Begin();
}

void QPainterSurface::Clear() noexcept {
  if (!m_painter.isActive()) return;
  FlushGlyphs();
  m_painter.save();
  m_painter.resetTransform();
  m_painter.setCompositionMode(QPainter::CompositionMode_Source);
  QPaintDevice* device = m_painter.device();
  m_painter.fillRect(QRect(0, 0, device->width(), device->height()), ToQColor(BackColor()));
  m_painter.restore();
}

void QPainterSurface::NewPage() noexcept {
  auto* paged = dynamic_cast<QPagedPaintDevice*>(m_device);
  if (!paged || !m_painter.isActive()) return;
  FlushGlyphs();
  paged->newPage();
  ForgetPainterState();
  m_painter.setWorldTransform(QTransform::fromScale(1.0 / m_twipsPerPixelX, 1.0 / m_twipsPerPixelY));
}

void QPainterSurface::EndDoc() noexcept {
  FlushGlyphs();
  if (m_device && m_painter.isActive()) m_painter.end();
}

// --- Fonts and text ---

QFont QPainterSurface::ToQFont(const FontSpec& spec) {
  QFont font(QString::fromStdString(spec.Name));
  font.setPixelSize(std::max(1, EmTwips(spec)));  // pixels of the twips coordinate system
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.Strikeout);
  font.setKerning(false);
  // Unhinted design metrics: widths in twips do not depend on the device.
  font.setHintingPreference(QFont::PreferNoHinting);
  // A byte the music font lacks must show as missing. Text fonts keep merging, so that
  // lyrics and titles in other scripts still show.
  if (spec.Name == MusicFontName)
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
  return font;
}

QString QPainterSurface::ToQString(std::string_view text, bool musicFont) {
  const auto size = static_cast<qsizetype>(text.size());
  return musicFont ? QString::fromLatin1(text.data(), size) : QString::fromUtf8(text.data(), size);
}

QPainterSurface::FontEntry::FontEntry(const FontSpec& spec)
    : Spec(spec), Font(ToQFont(spec)), Metrics(Font) {
  if (spec.Name != MusicFontName || spec.Underline || spec.Strikeout) return;
  Raw = QRawFont::fromFont(Font);
  if (!Raw.isValid()) return;
  Run.setRawFont(Raw);
  for (int c = 0; c < 256; ++c) {
    const QChar ch(static_cast<ushort>(c));
    int count = 1;
    if (!Raw.glyphIndexesForChars(&ch, 1, &Glyph[static_cast<std::size_t>(c)], &count))
      Glyph[static_cast<std::size_t>(c)] = 0;
    // The advance text layout gives the character, so glyph runs land where drawText would.
    Advance[static_cast<std::size_t>(c)] = Metrics.horizontalAdvance(ch);
  }
}

QPainterSurface::FontEntry& QPainterSurface::CurrentFont() const {
  if (m_current && m_current->Spec == Font()) return *m_current;
  for (auto& entry : m_fonts)
    if (entry->Spec == Font()) return *(m_current = entry.get());
  // A score uses a handful of fonts; a host that keeps inventing new ones starts afresh.
  constexpr std::size_t kMaxFonts = 32;
  if (m_fonts.size() >= kMaxFonts) {
    FlushGlyphs();
    m_painterFont = nullptr;
    m_fonts.clear();
  }
  auto entry = std::make_unique<FontEntry>(Font());
  const double devicePixels = entry->Font.pixelSize() * m_devicePixelRatio / m_twipsPerPixelY;
  entry->Queued = !m_device && entry->Raw.isValid() && devicePixels <= MaxQueuedGlyphSize();
  m_fonts.push_back(std::move(entry));
  return *(m_current = m_fonts.back().get());
}

int QPainterSurface::TextWidth(std::string_view text) const noexcept {
  const FontEntry& entry = CurrentFont();
  if (IsMusicFont()) {
    // Glyph by glyph, each advance rounded, as the recording surface measures.
    long total = 0;
    for (char c : text) total += Round(entry.Advance[static_cast<unsigned char>(c)]);
    return static_cast<int>(total);
  }
  return Round(entry.Metrics.horizontalAdvance(ToQString(text, false)));
}

int QPainterSurface::TextHeight() const noexcept { return Round(CurrentMetrics().height()); }

void QPainterSurface::DrawText(int x, int y, std::string_view text) noexcept {
  if (!m_painter.isActive() || text.empty()) return;
  FontEntry& entry = CurrentFont();
  // The anchor is the cell top; QPainter draws at the baseline.
  const QPointF baseline(x, y + entry.Metrics.ascent());
  if (entry.Raw.isValid()) {
    QueueMusicGlyphs(entry, baseline, text);
    return;
  }
  PreparePen(true);
  if (m_painterFont != &entry) {
    m_painter.setFont(entry.Font);
    m_painterFont = &entry;
  }
  m_painter.drawText(baseline, ToQString(text, IsMusicFont()));
}

void QPainterSurface::QueueMusicGlyphs(FontEntry& entry, QPointF baseline,
                                       std::string_view text) {
  if (m_runGlyphs.empty() || m_runFont != &entry || m_paintState != StateFor(true, false)) {
    PreparePen(true);  // draws what is queued
    m_runFont = &entry;
  }
  qreal advance = 0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    m_runGlyphs.push_back(entry.Glyph[byte]);
    m_runPositions.emplace_back(baseline.x() + advance, baseline.y());
    advance += entry.Advance[byte];
  }
  // A host reads its own device without asking this surface: draw at once.
  if (!entry.Queued) FlushGlyphs();
}

void QPainterSurface::FlushGlyphs() const noexcept {
  if (m_runGlyphs.empty()) return;
  if (m_runFont && m_painter.isActive()) {
    m_runFont->Run.setRawData(m_runGlyphs.data(), m_runPositions.data(),
                              static_cast<int>(m_runGlyphs.size()));
    m_painter.drawGlyphRun(QPointF(), m_runFont->Run);
  }
  m_runGlyphs.clear();
  m_runPositions.clear();
}

// --- Shapes ---

void QPainterSurface::ForgetPainterState() noexcept {
  m_painterFont = nullptr;
  m_paintState.reset();
}

QPainterSurface::PaintState QPainterSurface::StateFor(bool antialias, bool fill) const noexcept {
  return {ForeColor(), LineWidth(), static_cast<int>(DrawStyle()), static_cast<int>(DrawMode()),
          antialias, fill};
}

void QPainterSurface::Prepare(bool antialias, bool fill) {
  FlushGlyphs();  // queued glyphs go under whatever comes next
  const PaintState state = StateFor(antialias, fill);
  if (m_paintState == state) return;
  m_paintState = state;
  const QColor color = ToQColor(state.Color);
  if (fill) {
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(color);
  } else {
    QPen pen(color);
    // Cosmetic: the width is in device pixels, whatever the transform; on a HiDPI buffer a
    // pixel of the page is devicePixelRatio device pixels.
    pen.setCosmetic(true);
    const qreal ratio = m_painter.device() ? m_painter.device()->devicePixelRatio() : 1.0;
    pen.setWidthF(LineWidth() * ratio);
    pen.setStyle(DrawStyle() == DrawStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
  }
  m_painter.setRenderHint(QPainter::Antialiasing, antialias);
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  // Raster operations exist on raster devices only; printers and PDF draw plainly.
  if (DrawMode() != DrawMode::CopyPen && m_painter.paintEngine() &&
      m_painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
    mode = DrawMode() == DrawMode::Invert ? QPainter::RasterOp_NotDestination
                                          : QPainter::RasterOp_SourceXorDestination;
  m_painter.setCompositionMode(mode);
}

void QPainterSurface::DrawLine(int x1, int y1, int x2, int y2) noexcept {
  if (!m_painter.isActive()) return;
  PreparePen(false);
  m_painter.drawLine(QLineF(x1, y1, x2, y2));
}

void QPainterSurface::FillBox(int x1, int y1, int x2, int y2) noexcept {
  if (!m_painter.isActive()) return;
  PrepareFill(false);
  // Both corners are inside: the box reaches one pixel past the far corner.
  QRectF box = Normalised(x1, y1, x2, y2);
  box.setRight(box.right() + m_twipsPerPixelX);
  box.setBottom(box.bottom() + m_twipsPerPixelY);
  m_painter.drawRect(box);
}

void QPainterSurface::DrawPolyline(const std::vector<SurfacePoint>& points) noexcept {
  if (!m_painter.isActive() || points.size() < 2) return;
  PreparePen(false);
  m_painter.drawPolyline(ToPolygon(points));
}

void QPainterSurface::FillPolygon(const std::vector<SurfacePoint>& points) noexcept {
  if (!m_painter.isActive() || points.size() < 3) return;
  // Sloped beams: smooth edges.
  PrepareFill(true);
  m_painter.drawPolygon(ToPolygon(points));
}

void QPainterSurface::DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept {
  if (!m_painter.isActive() || points.size() < 4) return;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (std::size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X,
                 points[i + 2].Y);
  PreparePen(true);
  m_painter.drawPath(path);
}

void QPainterSurface::DrawArc(int left, int top, int right, int bottom, double startDeg,
                              double spanDeg) noexcept {
  if (!m_painter.isActive()) return;
  PreparePen(true);
  m_painter.drawArc(Normalised(left, top, right, bottom), Round(startDeg * 16), Round(spanDeg * 16));
}

void QPainterSurface::FillEllipse(int left, int top, int right, int bottom) noexcept {
  if (!m_painter.isActive()) return;
  PrepareFill(true);
  m_painter.drawEllipse(Normalised(left, top, right, bottom));
}

}  // namespace notecraft
