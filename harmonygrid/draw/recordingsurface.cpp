#include "harmonygrid/draw/recordingsurface.h"

#include <cmath>
#include <utility>

#include "harmonygrid/draw/musicfontmetrics.h"

namespace harmonygrid {

RecordingSurface::RecordingSurface(int pageWidth, int pageHeight, double twipsPerPixelX,
                                   double twipsPerPixelY) noexcept
    : m_pageWidth(pageWidth),
      m_pageHeight(pageHeight),
      m_scaleWidth(pageWidth),
      m_scaleHeight(pageHeight),
      m_twipsPerPixelX(twipsPerPixelX > 0 ? twipsPerPixelX : 15.0),
      m_twipsPerPixelY(twipsPerPixelY > 0 ? twipsPerPixelY : 15.0) {}

std::vector<SurfaceOp> RecordingSurface::Ops(SurfaceOp::Kind kind) const {
  std::vector<SurfaceOp> out;
  for (const auto& op : m_ops)
    if (op.What == kind) out.push_back(op);
  return out;
}

std::vector<std::string> RecordingSurface::Texts() const {
  std::vector<std::string> out;
  for (const auto& op : m_ops)
    if (op.What == SurfaceOp::Kind::Text) out.push_back(op.Text);
  return out;
}

std::string RecordingSurface::Dump() const {
  std::string out;
  for (const auto& op : m_ops) out += ToString(op) + "\n";
  return out;
}

void RecordingSurface::SetPrintableArea(int scaleWidth, int scaleHeight) noexcept {
  m_scaleWidth = scaleWidth;
  m_scaleHeight = scaleHeight;
}

void RecordingSurface::SetPageSize(int width, int height) noexcept {
  m_pageWidth = m_scaleWidth = width;
  m_pageHeight = m_scaleHeight = height;
}

void RecordingSurface::Clear() noexcept {
  auto op = Op(SurfaceOp::Kind::Clear, {});
  op.Color = BackColor();
  Record(std::move(op));
}

void RecordingSurface::NewPage() noexcept { Record(Op(SurfaceOp::Kind::NewPage, {})); }

int RecordingSurface::TextWidth(std::string_view text) const noexcept {
  const int em = EmTwips(Font());
  if (IsMusicFont()) {
    // Each glyph's advance is rounded on its own, as a device measures glyph by glyph, so
    // that "bb" is exactly twice "b".
    long total = 0;
    for (char c : text) {
      int advance = musicfont::Advance[static_cast<unsigned char>(c)];
      if (advance == 0) advance = musicfont::NotdefAdvance;
      total += std::lround(static_cast<double>(advance) * em / musicfont::UnitsPerEm);
    }
    return static_cast<int>(total);
  }
  long characters = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;  // UTF-8 lead bytes
  return static_cast<int>(std::lround(static_cast<double>(characters) * em * TextAdvanceEm));
}

int RecordingSurface::TextHeight() const noexcept {
  const int em = EmTwips(Font());
  if (IsMusicFont())
    return static_cast<int>(std::lround(static_cast<double>(musicfont::Ascent + musicfont::Descent) *
                                        em / musicfont::UnitsPerEm));
  return static_cast<int>(std::lround(em * TextHeightEm));
}

void RecordingSurface::DrawText(int x, int y, std::string_view text) noexcept {
  auto op = Op(SurfaceOp::Kind::Text, {{x, y}});
  op.Text = std::string(text);
  op.Font = Font();
  Record(std::move(op));
}

void RecordingSurface::DrawLine(int x1, int y1, int x2, int y2) noexcept {
  Record(Op(SurfaceOp::Kind::Line, {{x1, y1}, {x2, y2}}));
}

void RecordingSurface::FillBox(int x1, int y1, int x2, int y2) noexcept {
  Record(Op(SurfaceOp::Kind::Box, {{x1, y1}, {x2, y2}}));
}

void RecordingSurface::DrawPolyline(const std::vector<SurfacePoint>& points) noexcept {
  Record(Op(SurfaceOp::Kind::Polyline, points));
}

void RecordingSurface::FillPolygon(const std::vector<SurfacePoint>& points) noexcept {
  Record(Op(SurfaceOp::Kind::Polygon, points));
}

void RecordingSurface::DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept {
  Record(Op(SurfaceOp::Kind::PolyBezier, points));
}

void RecordingSurface::DrawArc(int left, int top, int right, int bottom, double startDeg,
                               double spanDeg) noexcept {
  auto op = Op(SurfaceOp::Kind::Arc, {{left, top}, {right, bottom}});
  op.StartDeg = startDeg;
  op.SpanDeg = spanDeg;
  Record(std::move(op));
}

void RecordingSurface::FillEllipse(int left, int top, int right, int bottom) noexcept {
  Record(Op(SurfaceOp::Kind::Ellipse, {{left, top}, {right, bottom}}));
}

SurfaceOp RecordingSurface::Op(SurfaceOp::Kind kind, std::vector<SurfacePoint> points) const {
  SurfaceOp op;
  op.What = kind;
  op.Points = std::move(points);
  op.Color = ForeColor();
  op.Style = DrawStyle();
  op.Mode = DrawMode();
  op.LineWidth = LineWidth();
  return op;
}

void RecordingSurface::Record(SurfaceOp op) noexcept {
  try {
    m_ops.push_back(std::move(op));
  } catch (...) {
    // Out of memory: the operation goes unrecorded, as a real device would drop it.
  }
}

}  // namespace harmonygrid
