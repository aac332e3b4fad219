#include "notecraft/view/drawcontext.h"

#include <algorithm>
#include <string>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"

namespace notecraft {

namespace {

// The character that stands for the beat's note sign in a tempo line.
constexpr char kNotePlaceholder = '\x02';

char TempoGlyph(int beat) {
  switch (beat) {
    case durSixteenth: return glyph::TempoSixteenth;
    case durEighth: return glyph::TempoEighth;
    case durHalf: return glyph::TempoHalf;
    case durWhole: return glyph::WholeNote;
    default: return glyph::TempoQuarter;
  }
}

// Length of text without its last UTF-8 character.
std::size_t DropLastCharacter(std::string_view text) {
  std::size_t n = text.size();
  if (n == 0) return 0;
  --n;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

std::string_view TrimTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

DrawContext::DrawContext(Score& owner) : m_owner(owner) {
  const Common& common = TheCommon();
  m_twipsPerPixelX = std::max(1, common.TwipsPerPixelX);
  m_twipsPerPixelY = std::max(1, common.TwipsPerPixelY);
  LoadModuleColors();
  SetStaffHeightTwips(owner.StaffHeightTwips());
  SetStaffUnit(m_staffHeightTwips / 4);
}

// --- Window ---

void DrawContext::AttachWindow(Surface* window) noexcept {
  m_window = window;
  if (!window) return;  // detached: the host's picture keeps what was drawn
  LoadModuleColors();
  window->Clear();
  window->SetDrawMode(DrawMode::CopyPen);
  window->SetDrawStyle(DrawStyle::Solid);
  const int height = m_owner.PageHeightTwips();
  const int width = m_owner.PageWidthTwips();
  if (height >= 1 && width >= 1) {
    window->SetPageSize(width, height);
    try {
      m_owner.RestartPagination();
      m_owner.PaintWindow();
    } catch (...) {
      // Drawing runs with errors ignored: the window stays attached.
    }
  }
}

void DrawContext::FitWindowToPage() noexcept {
  if (!m_window || m_printing) return;
  const int height = m_owner.PageHeightTwips();
  const int width = m_owner.PageWidthTwips();
  if (height >= 1 && width >= 1) m_window->SetPageSize(width, height);
}

// --- Colours ---

std::array<int, 6> DrawContext::SavedColors() const noexcept {
  return {m_colors.Lines, m_colors.Bars, m_colors.Notes, m_colors.Light, m_colors.Ties,
          m_colors.Chords};
}

void DrawContext::RestoreColors(const std::array<int, 6>& c) noexcept {
  m_colors = Colors{c[0], c[1], c[2], c[3], c[4], c[5]};
}

void DrawContext::SetColors(int colorLines, int colorBars, int colorNotes, int colorTies,
                            int colorChords) noexcept {
  Common& common = TheCommon();
  common.ColorLines = colorLines;
  common.ColorBars = colorBars;
  common.ColorNotes = colorNotes;
  common.ColorTies = colorTies;
  common.ColorChords = colorChords;
  MakeLightColor();
  LoadModuleColors();
}

void DrawContext::LoadModuleColors() noexcept {
  const Common& common = TheCommon();
  m_colors = {common.ColorLines, common.ColorBars,  common.ColorNotes,
              common.ColorLight, common.ColorTies, common.ColorChords};
}

void DrawContext::SetAllColors(int color) noexcept {
  m_colors = {color, color, color, color, color, color};
}

// --- Resolution and printing ---

void DrawContext::SetTwipsPerPixel(double x, double y) noexcept {
  if (x > 0) m_twipsPerPixelX = x;
  if (y > 0) m_twipsPerPixelY = y;
}

int DrawContext::PixelX() const noexcept {
  return std::max(1, static_cast<int>(RoundHalfEven(m_twipsPerPixelX)));
}

int DrawContext::PixelY() const noexcept {
  return std::max(1, static_cast<int>(RoundHalfEven(m_twipsPerPixelY)));
}

int DrawContext::ScreenPixelX() const noexcept { return std::max(1, TheCommon().TwipsPerPixelX); }

int DrawContext::ScreenPixelY() const noexcept { return std::max(1, TheCommon().TwipsPerPixelY); }

int DrawContext::TwipsToPixelsX(int value) const noexcept {
  return static_cast<int>(RoundHalfEven(value / m_twipsPerPixelX));
}

int DrawContext::TwipsToPixelsY(int value) const noexcept {
  return static_cast<int>(RoundHalfEven(value / m_twipsPerPixelY));
}

void DrawContext::SetPrinting(bool printing, int offsetX, int offsetY) noexcept {
  m_printing = printing;
  m_printOffsetX = printing ? offsetX : 0;
  m_printOffsetY = printing ? offsetY : 0;
}

// --- Staff size and fonts ---

void DrawContext::SetStaffHeightTwips(int twips) noexcept {
  m_staffHeightTwips = std::max(twips, kMinStaffHeight);
}

std::pair<int, int> DrawContext::StaffHeightClass() const noexcept {
  return m_staffHeightTwips >= 576 ? std::pair{4, 105} : std::pair{3, 90};
}

void DrawContext::SelectFont(int kind) noexcept {
  if (!m_window) return;
  const std::shared_ptr<FontSpec> font = m_owner.Fonts(kind);
  if (!font) return;
  m_fontKind = kind;
  const double height = m_staffHeightTwips;
  if (kind == kMusicFont) {
    if (m_staffScale == 0.0f) m_staffScale = 1.0f;
    font->Size = static_cast<float>(height / 20.0 * m_staffScale);
    m_glyphBaseline = SnapY(static_cast<int>(RoundHalfEven(height * 0.39 * m_staffScale)));
  } else if (kind == kExpressionFont) {
    font->Size = static_cast<float>(height / 60.0);
  }
  FontSpec selected = m_window->Font();
  selected.Name = font->Name;
  selected.Size = font->Size;
  selected.Bold = font->Bold;
  selected.Underline = font->Underline;
  selected.Italic = font->Italic;
  m_window->SetFont(selected);
}

// --- Output ---

void DrawContext::DrawTextAt(std::string_view text, int x, int y) noexcept {
  if (!m_window) return;
  if (m_symbols.RecordInk) m_symbols.Ink.push_back(TextInk(*m_window, text, x, y));
  if (m_printing) {
    m_window->DrawText(x - m_printOffsetX, y - m_printOffsetY, text);
    return;
  }
  // The screen draws text at whole pixels: the pixel that holds the point.
  const int px = PixelX();
  const int py = PixelY();
  m_window->DrawText(static_cast<int>(RoundHalfEven(x / px * m_twipsPerPixelX)),
                     static_cast<int>(RoundHalfEven(y / py * m_twipsPerPixelY)), text);
}

void DrawContext::DrawLine(int color, int x1, int y1, int x2, int y2, bool box) noexcept {
  if (!m_window) return;
  if (m_symbols.RecordInk)
    m_symbols.Ink.push_back(
        {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
  const int kept = m_window->ForeColor();
  m_window->SetForeColor(color);
  const int dx = PrintOffsetX();
  const int dy = PrintOffsetY();
  if (box)
    m_window->FillBox(x1 - dx, y1 - dy, x2 - dx, y2 - dy);
  else
    m_window->DrawLine(x1 - dx, y1 - dy, x2 - dx, y2 - dy);
  m_window->SetForeColor(kept);
}

void DrawContext::FillPolygon(int color, std::vector<SurfacePoint> points) noexcept {
  if (!m_window) return;
  if (m_symbols.RecordInk && !points.empty()) {
    InkArea area{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const SurfacePoint& p : points) {
      area.Left = std::min(area.Left, p.X);
      area.Top = std::min(area.Top, p.Y);
      area.Right = std::max(area.Right, p.X);
      area.Bottom = std::max(area.Bottom, p.Y);
    }
    m_symbols.Ink.push_back(area);
  }
  const int kept = m_window->ForeColor();
  m_window->SetForeColor(color);
  for (SurfacePoint& p : points) {
    p.X -= PrintOffsetX();
    p.Y -= PrintOffsetY();
  }
  m_window->FillPolygon(points);
  m_window->SetForeColor(kept);
}

DrawContext::PageEdges DrawContext::Edges() const noexcept {
  const int left = m_owner.MarginTwips(marLeft);
  const int right = m_owner.MarginTwips(marRight);
  // Mirrored margins put the inner edge on the right margin's side of even pages.
  const bool mirrored = m_owner.ReverseEvenOdd() && m_owner.CurPage() % 2 == 0;
  PageEdges edges;
  edges.Inner = mirrored ? right : left;
  edges.Outer = mirrored ? left : right;
  edges.Width = m_owner.PageWidthTwips() - left - right;
  return edges;
}

std::string_view DrawContext::Fit(std::string_view text, int width) const noexcept {
  while (!text.empty() && m_window->TextWidth(text) > width)
    text = text.substr(0, DropLastCharacter(text));
  return text;
}

std::string DrawContext::Ellipsized(std::string_view text, int width) const {
  if (!m_window || m_window->TextWidth(text) <= width) return std::string(text);
  static constexpr std::string_view kEllipsis = "\u2026";
  while (!text.empty()) {
    text = text.substr(0, DropLastCharacter(text));
    std::string cut(TrimTrailingSpaces(text));
    cut += kEllipsis;
    if (m_window->TextWidth(cut) <= width) return cut;
  }
  return m_window->TextWidth(kEllipsis) <= width ? std::string(kEllipsis) : std::string();
}

void DrawContext::DrawHeadingLine(int& y, std::string_view text) noexcept {
  if (!m_window) return;
  const PageEdges page = Edges();
  if (page.Width <= 0) return;
  text = Fit(text, page.Width);
  if (!m_paginating)
    DrawTextAt(text, page.Inner + (page.Width - m_window->TextWidth(text)) / 2, y);
  y += m_window->TextHeight();
}

void DrawContext::DrawFooterLine(int& y, std::string_view text) noexcept {
  if (!m_window) return;
  y -= m_window->TextHeight();
  const PageEdges page = Edges();
  if (page.Width <= 0) return;
  text = Fit(text, page.Width);
  if (!m_paginating)
    DrawTextAt(text, page.Inner + (page.Width - m_window->TextWidth(text)) / 2, y);
}

void DrawContext::DrawRightLine(int& y, std::string_view text) noexcept {
  if (!m_window) return;
  const PageEdges page = Edges();
  if (page.Width <= 0) return;
  text = Fit(text, page.Width);
  if (!m_paginating)
    DrawTextAt(text, m_owner.PageWidthTwips() - page.Outer - m_window->TextWidth(text), y);
  y += m_window->TextHeight();
}

void DrawContext::DrawTempoLine(int& y, std::string_view text) noexcept {
  if (!m_window) return;
  const PageEdges page = Edges();
  if (page.Width <= 0) return;
  text = Fit(text, page.Width);
  if (!m_paginating) {
    int x = page.Inner;
    const std::size_t at = text.find(kNotePlaceholder);
    if (at == std::string_view::npos) {
      DrawTextAt(text, x, y);
    } else {
      const std::string_view before = text.substr(0, at);
      DrawTextAt(before, x, y);
      x += m_window->TextWidth(before);
      // The beat's note sign at one and a half times the text's size, lifted so that it
      // stands on the text line.
      const int kind = m_fontKind;
      const float size = m_window->Font().Size * 1.5f;
      SelectFont(kMusicFont);
      FontSpec music = m_window->Font();
      music.Size = size;
      m_window->SetFont(music);
      const std::string note(1, TempoGlyph(m_owner.Beat()));
      DrawTextAt(note, x, y - static_cast<int>(RoundHalfEven(0.3 * m_window->TextHeight())));
      x += m_window->TextWidth(note);
      SelectFont(kind);
      DrawTextAt(text.substr(at + 1), x, y);
    }
  }
  y += m_window->TextHeight();
}

}  // namespace notecraft
