#pragma once
// A Surface that draws nothing and records every operation, for tests of the drawing code.
//
// It measures text without any font machinery, deterministically: music-font text from the
// font's own metrics table (the one the font build writes into the font, so the widths are
// the ones the real font gives), other fonts by a fixed model in which every character is
// half an em wide and a line is 1.15 em tall. The page and its resolution are whatever the
// test sets (Letter at 15 twips per pixel by default).

#include <string>
#include <string_view>
#include <vector>

#include "harmonygrid/draw/surface.h"
#include "harmonygrid/draw/surfaceop.h"

namespace harmonygrid {

class RecordingSurface final : public Surface {
public:
  static constexpr double TextAdvanceEm = 0.5;
  static constexpr double TextHeightEm = 1.15;

  explicit RecordingSurface(int pageWidth = 12240, int pageHeight = 15840,
                            double twipsPerPixelX = 15.0, double twipsPerPixelY = 15.0) noexcept;

  // --- What was drawn ---
  const std::vector<SurfaceOp>& Ops() const noexcept { return m_ops; }
  std::vector<SurfaceOp> Ops(SurfaceOp::Kind kind) const;
  // The text operations, in drawing order, as their strings.
  std::vector<std::string> Texts() const;
  // One operation a line.
  std::string Dump() const;
  void ClearRecord() noexcept { m_ops.clear(); }

  // Makes the surface look like a printer whose printable area is smaller than its paper.
  void SetPrintableArea(int scaleWidth, int scaleHeight) noexcept;

  // --- Surface ---
  int PageWidth() const noexcept override { return m_pageWidth; }
  int PageHeight() const noexcept override { return m_pageHeight; }
  int ScaleWidth() const noexcept override { return m_scaleWidth; }
  int ScaleHeight() const noexcept override { return m_scaleHeight; }
  void SetPageSize(int width, int height) noexcept override;
  double TwipsPerPixelX() const noexcept override { return m_twipsPerPixelX; }
  double TwipsPerPixelY() const noexcept override { return m_twipsPerPixelY; }
  void Clear() noexcept override;
  void NewPage() noexcept override;

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
  SurfaceOp Op(SurfaceOp::Kind kind, std::vector<SurfacePoint> points) const;
  void Record(SurfaceOp op) noexcept;

  int m_pageWidth;
  int m_pageHeight;
  int m_scaleWidth;
  int m_scaleHeight;
  double m_twipsPerPixelX;
  double m_twipsPerPixelY;
  std::vector<SurfaceOp> m_ops;
};

}  // namespace harmonygrid
