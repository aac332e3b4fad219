#include "notecraft/qt/scorepagewidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "notecraft/core/score.h"
#include "notecraft/qt/qpaintersurface.h"

namespace notecraft {

// The page buffer as the score sees it: every call goes to a QPainterSurface, and what it
// draws on is reported to the widget. The drawing state lives in the Surface base, so it is
// handed on before each call that reads it.
class PageBufferSurface final : public Surface {
public:
  PageBufferSurface(ScorePageWidget& page, int width, int height, qreal devicePixelRatio)
      : m_page(page), m_buffer(width, height, devicePixelRatio) {}

  const QImage* Image() const { return m_buffer.Image(); }

  int PageWidth() const noexcept override { return m_buffer.PageWidth(); }
  int PageHeight() const noexcept override { return m_buffer.PageHeight(); }
  int ScaleWidth() const noexcept override { return m_buffer.ScaleWidth(); }
  int ScaleHeight() const noexcept override { return m_buffer.ScaleHeight(); }
  void SetPageSize(int width, int height) noexcept override {
    const bool changed = width != m_buffer.PageWidth() || height != m_buffer.PageHeight();
    m_buffer.SetPageSize(width, height);
    if (changed) m_page.PageSizeChanged();
  }
  double TwipsPerPixelX() const noexcept override { return m_buffer.TwipsPerPixelX(); }
  double TwipsPerPixelY() const noexcept override { return m_buffer.TwipsPerPixelY(); }
  void Clear() noexcept override {
    Sync();
    m_buffer.Clear();
    m_page.Drawn(QRect(0, 0, m_buffer.PageWidth(), m_buffer.PageHeight()));
  }

  int TextWidth(std::string_view text) const noexcept override {
    Sync();
    return m_buffer.TextWidth(text);
  }
  int TextHeight() const noexcept override {
    Sync();
    return m_buffer.TextHeight();
  }
  void DrawText(int x, int y, std::string_view text) noexcept override {
    Sync();
    m_buffer.DrawText(x, y, text);
    // Glyphs reach beyond their advance and cell (italics, music symbols): a margin of an em.
    const int em = std::max(240, EmTwips(Font()));
    Mark(x - em, y - em, x + m_buffer.TextWidth(text) + em, y + m_buffer.TextHeight() + em);
  }
  void DrawLine(int x1, int y1, int x2, int y2) noexcept override {
    Sync();
    m_buffer.DrawLine(x1, y1, x2, y2);
    Mark(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  }
  void FillBox(int x1, int y1, int x2, int y2) noexcept override {
    Sync();
    m_buffer.FillBox(x1, y1, x2, y2);
    Mark(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  }
  void DrawPolyline(const std::vector<SurfacePoint>& points) noexcept override {
    Sync();
    m_buffer.DrawPolyline(points);
    MarkPoints(points);
  }
  void FillPolygon(const std::vector<SurfacePoint>& points) noexcept override {
    Sync();
    m_buffer.FillPolygon(points);
    MarkPoints(points);
  }
  void DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept override {
    Sync();
    m_buffer.DrawPolyBezier(points);
    MarkPoints(points);  // a Bezier stays inside its control points
  }
  void DrawArc(int left, int top, int right, int bottom, double startDeg,
               double spanDeg) noexcept override {
    Sync();
    m_buffer.DrawArc(left, top, right, bottom, startDeg, spanDeg);
    Mark(std::min(left, right), std::min(top, bottom), std::max(left, right),
         std::max(top, bottom));
  }
  void FillEllipse(int left, int top, int right, int bottom) noexcept override {
    Sync();
    m_buffer.FillEllipse(left, top, right, bottom);
    Mark(std::min(left, right), std::min(top, bottom), std::max(left, right),
         std::max(top, bottom));
  }

private:
  void Sync() const noexcept {
    if (!(m_buffer.State() == State())) m_buffer.SetState(State());
    if (m_buffer.BackColor() != BackColor()) m_buffer.SetBackColor(BackColor());
  }
  void Mark(int left, int top, int right, int bottom) noexcept {
    // Wide pens and antialiasing spill over the geometry.
    const int pad = 30 + LineWidth() * 15;
    m_page.Drawn(QRect(QPoint(left - pad, top - pad), QPoint(right + pad, bottom + pad)));
  }
  void MarkPoints(const std::vector<SurfacePoint>& points) noexcept {
    if (points.empty()) return;
    int left = points.front().X, right = left, top = points.front().Y, bottom = top;
    for (const SurfacePoint& p : points) {
      left = std::min(left, p.X);
      right = std::max(right, p.X);
      top = std::min(top, p.Y);
      bottom = std::max(bottom, p.Y);
    }
    Mark(left, top, right, bottom);
  }

  ScorePageWidget& m_page;
  mutable QPainterSurface m_buffer;
};

ScorePageWidget::ScorePageWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

ScorePageWidget::~ScorePageWidget() { SetScore(nullptr); }

void ScorePageWidget::SetScore(Score* score) {
  if (m_score) m_score->SetWindow(nullptr);
  m_score = score;
  if (!m_score) {
    m_surface.reset();
    update();
    return;
  }
  // As many buffer pixels as the screen shows, so that a HiDPI page stays sharp.
  m_surface = std::make_unique<PageBufferSurface>(*this, m_score->PageWidthTwips(),
                                                  m_score->PageHeightTwips(), devicePixelRatioF());
  PageSizeChanged();
  m_score->SetWindow(m_surface.get());
}

const QImage* ScorePageWidget::PageImage() const {
  return m_surface ? m_surface->Image() : nullptr;
}

QSize ScorePageWidget::PageSizeTwips() const {
  return m_surface ? QSize(m_surface->PageWidth(), m_surface->PageHeight()) : QSize();
}

void ScorePageWidget::PageSizeChanged() {
  if (!m_surface) return;
  const QSize pixels(static_cast<int>(m_surface->PageWidth() / TwipsPerPixel()),
                     static_cast<int>(m_surface->PageHeight() / TwipsPerPixel()));
  if (pixels != size()) {
    resize(pixels);
    emit pageResized();
  }
  update();
}

void ScorePageWidget::Drawn(const QRect& twips) {
  const QRect pixels(QPoint(static_cast<int>(twips.left() / TwipsPerPixel()) - 1,
                            static_cast<int>(twips.top() / TwipsPerPixel()) - 1),
                     QPoint(static_cast<int>(twips.right() / TwipsPerPixel()) + 1,
                            static_cast<int>(twips.bottom() / TwipsPerPixel()) + 1));
  m_dirty = m_dirty.united(pixels);
  if (m_flushQueued) return;
  // One repaint for all the drawing one score call does.
  m_flushQueued = true;
  QTimer::singleShot(0, this, &ScorePageWidget::FlushDrawn);
}

void ScorePageWidget::FlushDrawn() {
  m_flushQueued = false;
  if (!m_dirty.isNull()) update(m_dirty.intersected(rect()));
  m_dirty = QRect();
}

QRect ScorePageWidget::BandPixels() const {
  if (!m_band) return {};
  const QRect twips = m_band->normalized();
  return QRect(ToPixels(twips.topLeft()).toPoint(), ToPixels(twips.bottomRight()).toPoint());
}

void ScorePageWidget::SetBand(const std::optional<QRect>& band) {
  const QRect before = BandPixels();
  m_band = band;
  const QRect after = BandPixels();
  if (!before.isNull()) update(before.adjusted(-2, -2, 2, 2));
  if (!after.isNull()) update(after.adjusted(-2, -2, 2, 2));
}

void ScorePageWidget::SetBandColor(const QColor& color) {
  m_bandColor = color;
  if (m_band) update();
}

void ScorePageWidget::SetHandleMarks(std::vector<HandleMark> marks) {
  m_handles = std::move(marks);
  update(QRect(0, 0, 40, height()));
}

void ScorePageWidget::SetHandleImages(std::vector<QPixmap> images) {
  m_handleImages = std::move(images);
  update(QRect(0, 0, 40, height()));
}

void ScorePageWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QImage* image = PageImage();
  if (!image) {
    painter.fillRect(event->rect(), Qt::white);
    return;
  }
  // The buffer has the widget's size in logical pixels (more device pixels on HiDPI).
  const QRectF target = event->rect();
  const qreal scaleX = image->width() / qreal(std::max(1, width()));
  const qreal scaleY = image->height() / qreal(std::max(1, height()));
  const QRectF source(target.x() * scaleX, target.y() * scaleY, target.width() * scaleX,
                      target.height() * scaleY);
  painter.drawImage(target, *image, source);
  for (const HandleMark& mark : m_handles) {
    const std::size_t index = static_cast<std::size_t>(mark.Type);
    if (mark.Type < 0 || index >= m_handleImages.size()) continue;
    painter.drawPixmap(QPointF(0, (mark.Y - 105) / TwipsPerPixel()), m_handleImages[index]);
  }
  if (m_band) {
    QPen pen(m_bandColor);
    pen.setStyle(Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(BandPixels());
  }
}

void ScorePageWidget::mousePressEvent(QMouseEvent* event) {
  emit pagePressed(event, ToTwips(event->position()));
}

void ScorePageWidget::mouseMoveEvent(QMouseEvent* event) {
  emit pageMoved(event, ToTwips(event->position()));
}

void ScorePageWidget::mouseReleaseEvent(QMouseEvent* event) {
  emit pageReleased(event, ToTwips(event->position()));
}

void ScorePageWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  emit mouseLost();
}

void ScorePageWidget::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit mouseLost();
}

bool ScorePageWidget::event(QEvent* event) {
  if (event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate)
    emit mouseLost();
  return QWidget::event(event);
}

}  // namespace notecraft
