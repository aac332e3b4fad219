#include "layoutpad/app/stylepage.h"

#include <QMouseEvent>
#include <QPainter>

#include "notecraft/qt/qpaintersurface.h"

namespace layoutpad {

StylePage::StylePage(QWidget* parent)
    : QWidget(parent), m_surface(std::make_unique<notecraft::QPainterSurface>(1440, 1440)) {
  setMouseTracking(true);
  setCursor(m_pointer);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Refresh();
}

StylePage::~StylePage() = default;

void StylePage::Refresh() {
  const QSize size(static_cast<int>(m_surface->PageWidth() / m_surface->TwipsPerPixelX()),
                   static_cast<int>(m_surface->PageHeight() / m_surface->TwipsPerPixelY()));
  if (size != this->size()) resize(size);
  update();
}

QPointF StylePage::ToTwips(const QPointF& point) const {
  return {point.x() * m_surface->TwipsPerPixelX(), point.y() * m_surface->TwipsPerPixelY()};
}

void StylePage::SetPointer(Qt::CursorShape shape) {
  if (shape == m_pointer) return;
  m_pointer = shape;
  setCursor(shape);
}

void StylePage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (const QImage* image = m_surface->Image()) painter.drawImage(QPointF(0, 0), *image);
}

void StylePage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed(ToTwips(event->position()));
}

void StylePage::mouseMoveEvent(QMouseEvent* event) {
  emit Moved(ToTwips(event->position()), event->buttons() != Qt::NoButton);
}

void StylePage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Released(ToTwips(event->position()));
}

}  // namespace layoutpad
