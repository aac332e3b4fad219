#include "harmonygrid/qt/fretboardpicture.h"

#include <cmath>
#include <string>

#include <QMouseEvent>
#include <QPainter>

#include "harmonygrid/core/shapeeditmodel.h"
#include "harmonygrid/qt/widgetsurface.h"

namespace harmonygrid {

namespace {

using M = ShapeEditModel;

constexpr int kBlack = 0;
constexpr int kWhite = 0xFFFFFF;

const FontSpec& PictureFont() {
  static const FontSpec font{"MS Sans Serif", 8.25f};
  return font;
}

}  // namespace

FretboardPicture::FretboardPicture(const ShapeEditModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
  setFixedSize(ToPixels(M::kPictureWidth), ToPixels(M::kPictureHeight));
  setAutoFillBackground(false);
}

int FretboardPicture::ToPixels(int twips) const {
  return static_cast<int>(std::lround(twips / WidgetSurface::TwipsPerPixel(*this)));
}

int FretboardPicture::ToTwips(int pixels) const {
  return static_cast<int>(std::lround(pixels * WidgetSurface::TwipsPerPixel(*this)));
}

void FretboardPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  WidgetSurface s(painter, WidgetSurface::TwipsPerPixel(*this));
  s.SetBackColor(kWhite);
  s.Clear();
  s.SetForeColor(kBlack);
  s.SetFont(PictureFont());

  const int markY = M::kNutTop - M::kMarkRise;
  const std::string label = m_model.FretLabel();
  if (!label.empty()) {
    s.DrawText(M::kNutLeft + (M::kNutWidth - s.TextWidth(label)) / 2, markY, label);
  } else {
    const auto marks = m_model.StringMarks();
    for (int string = 1; string <= M::kStrings; ++string) {
      const char mark = marks[static_cast<std::size_t>(string - 1)];
      if (mark != ' ') s.DrawText(M::StringX(string) - M::kMarkShift, markY, std::string(1, mark));
    }
  }

  // FillBox includes both corners, so the far edges are one screen pixel in.
  const int px = static_cast<int>(std::lround(s.TwipsPerPixelX()));
  s.FillBox(M::kNutLeft, M::kNutTop, M::kNutLeft + M::kNutWidth - px,
            M::kNutTop + M::kNutHeight - px);
  for (int string = 1; string <= M::kStrings; ++string)
    s.DrawLine(M::StringX(string), M::kStringTop, M::StringX(string), M::kStringBottom);
  for (int row = 1; row <= M::kFretRows; ++row)
    s.DrawLine(M::kFretLeft, M::FretY(row), M::kFretRight, M::FretY(row));
  const int r = M::kFingerRadius;
  for (const auto& [string, row] : m_model.Fingers()) {
    const int x = M::StringX(string);
    const int y = M::FretY(row);
    s.FillEllipse(x - r, y - r, x + r, y + r);
  }
}

void FretboardPicture::mousePressEvent(QMouseEvent* event) {
  m_armed = event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier);
  const QPoint p = event->position().toPoint();
  m_pressed = QPoint(ToTwips(p.x()), ToTwips(p.y()));
}

void FretboardPicture::mouseReleaseEvent(QMouseEvent*) {
  if (!m_armed) return;
  m_armed = false;
  emit Clicked(m_pressed.x(), m_pressed.y());
}

}  // namespace harmonygrid
