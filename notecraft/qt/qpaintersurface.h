#pragma once
// The Surface over QPainter: the screen's page buffer (a QImage the surface owns), or any
// paint device the host owns (QPrinter, QPdfWriter, a QImage).
//
// Twips become device pixels through one world transform, scale(1 / twips per pixel); the
// twips per pixel come from the device's logical resolution (15 for a 96-dpi image; HiDPI
// buffers keep 15 and use the device pixel ratio). Fonts are sized in twips under that
// transform, so text measures the same on every device. Text is drawn with its cell top at
// the anchor (baseline = y + ascent), kerning off, hinting off and font merging off, so a
// missing music glyph shows as the font's empty box and not as another font's letter.
// Lines and boxes are drawn aliased (crisp staff lines); text, curves, arcs and filled
// polygons (beams) antialiased.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include "notecraft/view/surface.h"

class QPaintDevice;

namespace notecraft {

class QPainterSurface final : public Surface {
public:
  // The screen: a page buffer of the given size in twips at 15 twips per logical pixel.
  explicit QPainterSurface(int pageWidth = 12240, int pageHeight = 15840,
                           qreal devicePixelRatio = 1.0);
  // A device the host owns and keeps alive until this surface is gone; painting starts
  // here (for a printer: the print job) and ends with EndDoc or the destructor.
  explicit QPainterSurface(QPaintDevice* device);
  ~QPainterSurface() override;
  QPainterSurface(const QPainterSurface&) = delete;
  QPainterSurface& operator=(const QPainterSurface&) = delete;

  // The page buffer, with every glyph drawn so far; null on a host's device. Music glyphs
  // on the page buffer are drawn in batches: read the buffer through this after drawing.
  const QImage* Image() const noexcept {
    FlushGlyphs();
    return m_image.get();
  }
  bool IsActive() const noexcept { return m_painter.isActive(); }

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
  void EndDoc() noexcept override;

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

  // The QFont a FontSpec becomes here (size in twips, the settings above).
  static QFont ToQFont(const FontSpec& spec);
  // Glyph bytes as Latin-1 code points for the music font; UTF-8 otherwise.
  static QString ToQString(std::string_view text, bool musicFont);

private:
  void Begin();
  // Pen, brush, composition mode and antialiasing from the drawing state.
  void PreparePen(bool antialias) { Prepare(antialias, false); }
  void PrepareFill(bool antialias) { Prepare(antialias, true); }
  void Prepare(bool antialias, bool fill);
  // What the painter was last prepared for: most calls draw as the one before, and
  // building and comparing pens costs more than drawing a note head.
  struct PaintState {
    int Color = 0;
    int Width = 0;
    int Style = 0;
    int Mode = 0;
    bool Antialias = false;
    bool Fill = false;
    bool operator==(const PaintState&) const = default;
  };
  PaintState StateFor(bool antialias, bool fill) const noexcept;
  void ForgetPainterState() noexcept;
  // One font as this surface uses it. For the music font every byte is one glyph, so its
  // glyph indexes and advances are looked up once and glyphs are drawn without shaping.
  struct FontEntry {
    FontSpec Spec;
    QFont Font;
    QFontMetricsF Metrics;
    QRawFont Raw;                      // valid for the music font only
    std::array<quint32, 256> Glyph{};  // per byte
    std::array<qreal, 256> Advance{};  // per byte, unrounded
    QGlyphRun Run;                     // holds Raw, so a text only sets its glyphs
    bool Queued = false;               // its glyphs may wait in a run; see QueueMusicGlyphs
    explicit FontEntry(const FontSpec& spec);
  };
  FontEntry& CurrentFont() const;
  const QFontMetricsF& CurrentMetrics() const { return CurrentFont().Metrics; }
  // Music glyphs wait in one run while the font and drawing state stay the same, and are
  // drawn before anything else is: QPainter's fixed cost per run exceeds that of a glyph.
  // Only on the page buffer, and only for glyphs small enough for Qt's glyph cache: those
  // are blended one by one, as separate runs would be; bigger ones become one path per
  // run, where overlapping glyphs would blend differently.
  void QueueMusicGlyphs(FontEntry& entry, QPointF baseline, std::string_view text);
  void FlushGlyphs() const noexcept;

  std::unique_ptr<QImage> m_image;
  QPaintDevice* m_device = nullptr;
  mutable QPainter m_painter;  // mutable: drawing queued glyphs changes nothing one sees
  int m_pageWidth = 0;
  int m_pageHeight = 0;
  int m_scaleWidth = 0;
  int m_scaleHeight = 0;
  double m_twipsPerPixelX = 15.0;
  double m_twipsPerPixelY = 15.0;
  qreal m_devicePixelRatio = 1.0;

  // The fonts asked for so far: a score switches between a few fonts and sizes, over and
  // over, and building a QFont and its metrics each time would cost more than the drawing.
  mutable std::vector<std::unique_ptr<FontEntry>> m_fonts;
  mutable FontEntry* m_current = nullptr;
  mutable const FontEntry* m_painterFont = nullptr;  // the entry last given to the painter
  std::optional<PaintState> m_paintState;
  // The queued music glyphs, positioned in twips, and their font.
  mutable FontEntry* m_runFont = nullptr;
  mutable std::vector<quint32> m_runGlyphs;
  mutable std::vector<QPointF> m_runPositions;
};

}  // namespace notecraft
