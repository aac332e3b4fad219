#pragma once
// What the frame's and the score window's toolbar pictures share: the palette, the pen, the
// rendering and the pictures both toolbars show. Every picture is drawn on a 16 x 16 grid
// and scaled to the size it is rendered at.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <functional>

namespace veltrimond::toolbarpictures {

using Drawing = std::function<void(QPainter&)>;

inline const QColor kInk(40, 44, 52);
inline const QColor kPaper(255, 255, 255);
inline const QColor kBlue(40, 96, 200);
inline const QColor kRed(196, 40, 40);

// The toolbar's size and larger ones for high-density screens.
inline constexpr int kSizes[] = {16, 24, 32};

QPen Pen(const QColor& color, double width = 1.0);
// The drawing at side x side pixels on a transparent ground.
QImage Render(const Drawing& draw, int side);

// A floppy disk.
void Save(QPainter& p);
// A printer in front of the sheet drawn before it, its light in the given colour.
void Printer(QPainter& p, const QColor& light);
// A magnifying glass over the sheet drawn before it.
void Magnifier(QPainter& p);

}  // namespace veltrimond::toolbarpictures
