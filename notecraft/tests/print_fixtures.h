#pragma once
// A printer for the printing tests: it records what it is asked for on a page-sized
// recording surface, whose text may measure taller than the screen's, as a printer's fonts
// do.

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "notecraft/view/printtarget.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::testing {

// A recording surface whose text lines are taller by a factor: everything else is the
// recording's.
class TallTextSurface final : public Surface {
public:
  TallTextSurface(RecordingSurface& inner, double factor) : m_inner(inner), m_factor(factor) {}
  int PageWidth() const noexcept override { return m_inner.PageWidth(); }
  int PageHeight() const noexcept override { return m_inner.PageHeight(); }
  int ScaleWidth() const noexcept override { return m_inner.ScaleWidth(); }
  int ScaleHeight() const noexcept override { return m_inner.ScaleHeight(); }
  void SetPageSize(int width, int height) noexcept override { m_inner.SetPageSize(width, height); }
  double TwipsPerPixelX() const noexcept override { return m_inner.TwipsPerPixelX(); }
  double TwipsPerPixelY() const noexcept override { return m_inner.TwipsPerPixelY(); }
  void Clear() noexcept override { Inner().Clear(); }
  void NewPage() noexcept override { Inner().NewPage(); }
  void EndDoc() noexcept override { Inner().EndDoc(); }
  int TextWidth(std::string_view text) const noexcept override {
    m_inner.SetState(State());
    return m_inner.TextWidth(text);
  }
  int TextHeight() const noexcept override {
    m_inner.SetState(State());
    return static_cast<int>(m_inner.TextHeight() * m_factor);
  }
  void DrawText(int x, int y, std::string_view text) noexcept override {
    Inner().DrawText(x, y, text);
  }
  void DrawLine(int x1, int y1, int x2, int y2) noexcept override {
    Inner().DrawLine(x1, y1, x2, y2);
  }
  void FillBox(int x1, int y1, int x2, int y2) noexcept override {
    Inner().FillBox(x1, y1, x2, y2);
  }
  void DrawPolyline(const std::vector<SurfacePoint>& points) noexcept override {
    Inner().DrawPolyline(points);
  }
  void FillPolygon(const std::vector<SurfacePoint>& points) noexcept override {
    Inner().FillPolygon(points);
  }
  void DrawPolyBezier(const std::vector<SurfacePoint>& points) noexcept override {
    Inner().DrawPolyBezier(points);
  }
  void DrawArc(int left, int top, int right, int bottom, double startDeg,
               double spanDeg) noexcept override {
    Inner().DrawArc(left, top, right, bottom, startDeg, spanDeg);
  }
  void FillEllipse(int left, int top, int right, int bottom) noexcept override {
    Inner().FillEllipse(left, top, right, bottom);
  }

private:
  // The recording, drawing in this surface's state.
  RecordingSurface& Inner() {
    m_inner.SetState(State());
    m_inner.SetBackColor(BackColor());
    return m_inner;
  }
  RecordingSurface& m_inner;
  double m_factor;
};

class RecordingPrinter : public PrintTarget {
public:
  Surface* BeginJob(const PrintSettings& s) override {
    ++jobs;
    settings = s;
    if (refuse) return nullptr;
    surface = std::make_unique<RecordingSurface>(12240, 15840, twipsPerPixel, twipsPerPixel);
    if (textHeight == 1.0) return surface.get();
    tall = std::make_unique<TallTextSurface>(*surface, textHeight);
    return tall.get();
  }
  void EndJob() override { ++ended; }

  int Pages() const {
    if (!surface) return 0;
    const auto& ops = surface->Ops();
    return 1 + static_cast<int>(std::count_if(ops.begin(), ops.end(), [](const SurfaceOp& op) {
             return op.What == SurfaceOp::Kind::NewPage;
           }));
  }

  std::unique_ptr<RecordingSurface> surface;
  std::unique_ptr<TallTextSurface> tall;
  PrintSettings settings;
  bool refuse = false;
  double twipsPerPixel = 15.0;  // 96 dpi; 1.2 is a 1200-dpi printer
  double textHeight = 1.0;      // how much taller its text lines are than the screen's
  int jobs = 0;
  int ended = 0;
};

}  // namespace notecraft::testing
