#pragma once
// The Surface over a QPainter that someone else began: a widget's paint event, or a test
// painting into an image. The chord mapper's cells and the shape editor's fretboard draw
// through it, with the same code that draws a score's chord row.
//
// Twips become the painter's pixels through one scale, 1 / twips per pixel, composed with
// whatever transform the painter already has (a scrolled viewport's offset). Fonts are sized
// in twips under that scale, so text measures the same whatever the resolution; text is drawn
// with its cell top at the anchor. Without a painter the surface only measures text, which
// is how the mapper lays its cells out before anything is painted.

#include <optional>

#include <QFont>
#include <QFontMetricsF>

#include "harmonygrid/draw/surface.h"

class QPainter;
class QPaintDevice;
class QString;

namespace harmonygrid {

class WidgetSurface final : public Surface {
public:
  // Measures only; draws nothing.
  explicit WidgetSurface(double twipsPerPixel = 15.0) noexcept;
  // Draws with painter, which must stay active while this surface lives; the painter's
  // transform is put back when the surface goes.
  WidgetSurface(QPainter& painter, double twipsPerPixel) noexcept;
  ~WidgetSurface() override;
  WidgetSurface(const WidgetSurface&) = delete;
  WidgetSurface& operator=(const WidgetSurface&) = delete;

  // Twips per pixel of a device: 15 at 96 dpi.
  static double TwipsPerPixel(const QPaintDevice& device) noexcept;

  // --- Surface ---
  int PageWidth() const noexcept override { return m_width; }
  int PageHeight() const noexcept override { return m_height; }
  int ScaleWidth() const noexcept override { return m_width; }
  int ScaleHeight() const noexcept override { return m_height; }
  void SetPageSize(int, int) noexcept override {}  // the device keeps its size
  double TwipsPerPixelX() const noexcept override { return m_twipsPerPixel; }
  double TwipsPerPixelY() const noexcept override { return m_twipsPerPixel; }
  void Clear() noexcept override;

  int TextWidth(std::string_view text) const noexcept override;
  int TextHeight() const noexcept override;
  void DrawText(int x, int y, std::string_view text) noexcept override;

  void DrawLine(int x1, int y1, int x2, int y2) noexcept override;
  void FillBox(int x1, int y1, int x2, int y2) noexcept override;
  void DrawPolyline(const std::vector<SurfacePoint>& points) noexcept override;
  void FillPolygon(const std::vector<SurfacePoint>& points) noexcept override;
  void DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept override;
  void DrawArc(int left, int top, int right, int bottom, double startDeg,
               double spanDeg) noexcept override;
  void FillEllipse(int left, int top, int right, int bottom) noexcept override;

private:
  bool Drawing() const noexcept;
  void PreparePen(bool antialias);
  void PrepareFill(bool antialias);
  const QFont& CurrentQFont() const;
  const QFontMetricsF& CurrentMetrics() const;
  QString ToQString(std::string_view text) const;

  QPainter* m_painter = nullptr;
  double m_twipsPerPixel = 15.0;
  int m_width = 0;
  int m_height = 0;

  mutable FontSpec m_fontSpec;
  mutable std::optional<QFont> m_font;
  mutable std::optional<QFontMetricsF> m_metrics;
};

}  // namespace harmonygrid
