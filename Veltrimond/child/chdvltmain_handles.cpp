// The staff-spacing handle list and its drag, and the window's side of it.
#include "Veltrimond/child/chdvltmain_handles.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>
#include <cstdlib>

#include "Veltrimond/child/chdvltmain.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

void HandleMarks::Add(int type, int y) {
  for (Mark& mark : m_marks) {
    if (mark.Y == y) {
      mark.Type = type;
      return;
    }
  }
  m_marks.push_back({y, type});
}

void HandleMarks::Clear() {
  m_marks.clear();
  m_dragging = false;
  m_dragIndex = -1;
}

std::optional<int> HandleMarks::HitTest(int x, int y) const {
  if (x < 0 || x > kStripWidth) return std::nullopt;
  for (std::size_t i = 0; i < m_marks.size(); ++i)
    if (y > m_marks[i].Y - kReach && y < m_marks[i].Y + kReach) return static_cast<int>(i);
  return std::nullopt;
}

void HandleMarks::BeginDrag(int index) {
  if (index < 0 || index >= static_cast<int>(m_marks.size())) return;
  m_dragging = true;
  m_dragIndex = index;
  m_lastY = m_marks[static_cast<std::size_t>(index)].Y;
}

bool HandleMarks::DragTo(int y) {
  if (!m_dragging || y == m_lastY) return false;
  m_lastY = y;
  return true;
}

std::optional<HandleMarks::Drop> HandleMarks::EndDrag() {
  if (!m_dragging) return std::nullopt;
  m_dragging = false;
  if (m_dragIndex < 0 || m_dragIndex >= static_cast<int>(m_marks.size())) return std::nullopt;
  const Mark& mark = m_marks[static_cast<std::size_t>(m_dragIndex)];
  m_dragIndex = -1;
  if (m_lastY == mark.Y || mark.Type != 0) return std::nullopt;
  const int steps = Steps(mark.Y, m_lastY);
  if (steps == 0) return std::nullopt;
  return Drop{mark.Y, steps};
}

int HandleMarks::Steps(int from, int to) {
  const long long delta = static_cast<long long>(to) - from;
  long long whole = delta / kStepTwips;
  const long long rest = delta % kStepTwips;  // same sign as delta
  const long long twice = 2 * std::llabs(rest);
  const int sign = delta < 0 ? -1 : 1;
  if (twice > kStepTwips || (twice == kStepTwips && whole % 2 != 0)) whole += sign;
  return static_cast<int>(whole);
}

// The dotted guide line across the page while a handle is dragged: laid over the page,
// letting the mouse through to it.
class HandleGuide : public QWidget {
public:
  explicit HandleGuide(notecraft::ScorePageWidget& page) : QWidget(&page), m_page(page) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }
  void ShowAt(int yTwips) {
    m_y = yTwips;
    setGeometry(m_page.rect());
    show();
    raise();
    update();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QPen pen(QColor(128, 128, 128));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    const QPointF from = m_page.ToPixels(QPointF(HandleMarks::kStripWidth, m_y));
    painter.drawLine(from, QPointF(width(), from.y()));
  }

private:
  notecraft::ScorePageWidget& m_page;
  int m_y = 0;
};

namespace {

// A handle's picture in the strip left of the page (24 x 13 pixels, the mark's Y at row 7):
// the staff-space handle is a pointer at the staff's top line with an up-and-down arrow;
// other kinds show the pointer only.
QPixmap HandleImage(bool staffSpace) {
  QPixmap image(23, 13);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink(96, 96, 96);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(22, 6.5), QPointF(12, 11)}));
  if (staffSpace) {
    painter.setPen(QPen(ink, 1.4));
    painter.drawLine(QPointF(5.5, 2), QPointF(5.5, 11));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(5.5, 0), QPointF(9, 4)}));
    painter.drawPolygon(QPolygonF({QPointF(2, 9), QPointF(5.5, 13), QPointF(9, 9)}));
  }
  return image;
}

}  // namespace

ScoreHandles::ScoreHandles(chdVLTMain& window) : QObject(&window), m_window(window) {
  m_guide = new HandleGuide(*m_window.pctScore);
  std::vector<QPixmap> images{HandleImage(true)};
  for (int type = 1; type < 4; ++type) images.push_back(HandleImage(false));
  m_window.pctScore->SetHandleImages(std::move(images));
}

bool ScoreHandles::StartDrag(int x, int y) {
  // The marks of the page shown, as the score reported them while painting it.
  m_marks.Clear();
  for (const auto& mark : m_window.HandleMarks()) m_marks.Add(mark.Type, mark.Y);
  const auto hit = m_marks.HitTest(x, y);
  if (!hit) return false;
  m_marks.BeginDrag(*hit);
  m_guide->ShowAt(m_marks.DragY());
  return true;
}

void ScoreHandles::Drag(int y) {
  if (!m_marks.DragTo(y)) return;
  ShowMarks();
  m_guide->ShowAt(y);
}

void ScoreHandles::Drop() {
  if (!m_marks.Dragging()) return;
  const auto drop = m_marks.EndDrag();
  m_guide->hide();
  ShowMarks();
  if (!drop) return;
  const int pageWidth = m_window.pctScore->PageSizeTwips().width();
  m_window.Score().AddGlobalByHit(pageWidth / 2, drop->Y, notecraft::evtStaffSpace, drop->Steps);
}

void ScoreHandles::ShowMarks() {
  // The dragged image follows the pointer; the others stay.
  std::vector<notecraft::ScorePageWidget::HandleMark> shown;
  const int dragged = m_marks.DragIndex();
  for (int i = 0; i < static_cast<int>(m_marks.Marks().size()); ++i) {
    const auto& mark = m_marks.Marks()[static_cast<std::size_t>(i)];
    shown.push_back({i == dragged ? m_marks.DragY() : mark.Y, mark.Type});
  }
  m_window.pctScore->SetHandleMarks(std::move(shown));
}

}  // namespace veltrimond
