#include "Veltrimond/child/subtoolstrip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include "Veltrimond/child/toolimages.h"

namespace veltrimond {

namespace {

constexpr int kTpp = 15;  // the strip's twips per pixel

}  // namespace

SubToolStrip::SubToolStrip(QWidget* parent) : QWidget(parent, Qt::Popup) {
  setObjectName(QStringLiteral("pctSubTools"));
  setMouseTracking(true);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void SubToolStrip::Open(const QStringList& imageKeys, const QPoint& globalPos) {
  m_keys = imageKeys;
  m_layout = LayOutStrip(static_cast<int>(imageKeys.size()));
  m_items.clear();
  for (const QString& key : imageKeys) m_items.push_back(ImageNumber(key));
  m_hot = -1;
  m_pressed = false;
  m_hotSunken = false;
  setGeometry(QRect(globalPos, QSize(m_layout.Width / kTpp, m_layout.Height / kTpp)));
  show();
  setFocus();
  update();
}

QPoint SubToolStrip::CellCentre(int index) const {
  return QPoint((m_layout.BoxX(index) + 135) / kTpp, (m_layout.BoxY(index) + 135) / kTpp);
}

int SubToolStrip::HitAt(const QPointF& pixels) const {
  return m_layout.HitTest(static_cast<int>(pixels.x() * kTpp), static_cast<int>(pixels.y() * kTpp));
}

void SubToolStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  qDrawShadePanel(&p, rect(), palette(), false, 1);
  for (int i = 0; i < static_cast<int>(m_keys.size()); ++i) {
    const QRect cell(m_layout.BoxX(i) / kTpp, m_layout.BoxY(i) / kTpp, 270 / kTpp, 270 / kTpp);
    if (i == m_hot) qDrawShadePanel(&p, cell, palette(), m_hotSunken, 1);
    const int side = 240 / kTpp;
    p.drawPixmap(QPoint(m_layout.ImageX(i) / kTpp - 1, m_layout.ImageY(i) / kTpp - 1),
                 ToolImage(m_keys[i], side));
  }
}

void SubToolStrip::mousePressEvent(QMouseEvent* event) {
  if (!rect().contains(event->position().toPoint())) {
    // A press outside: the popup closes without a pick.
    QWidget::mousePressEvent(event);
    return;
  }
  if (m_pressed) return;
  m_pressed = true;
  if (event->button() != Qt::LeftButton) return;
  m_hot = HitAt(event->position());
  m_hotSunken = true;
  update();
}

void SubToolStrip::mouseMoveEvent(QMouseEvent* event) {
  if (m_pressed) return;
  const int hit = HitAt(event->position());
  if (hit == m_hot) return;
  m_hot = hit;
  m_hotSunken = false;
  update();
}

void SubToolStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (m_pressed && event->button() == Qt::LeftButton && m_hot >= 0 &&
      m_hot < static_cast<int>(m_items.size())) {
    const int number = m_items[static_cast<std::size_t>(m_hot)];
    m_hotSunken = false;
    m_pressed = false;
    hide();
    emit picked(number);
    return;
  }
  m_pressed = false;
}

void SubToolStrip::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace veltrimond
