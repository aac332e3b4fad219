#pragma once
// Where recorded drawing lands: the vertical ink of the note symbols (heads, stems, flags,
// ledger lines, beams) of a recorded page, each given to the staff band it was drawn for,
// and the page's lowest ink.
//
// The music font's geometry (data/font/build_veltrimond.py): one em is one staff height, a
// glyph's baseline lies 1.39 em below its anchor (the cell's top), a head is a space (a
// quarter em) tall around the baseline, an up stem rises 0.89 em from it and a down stem
// falls 0.885 em; a thirty-second's flag adds a space.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "notecraft/core/region.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft::testing {

struct Ink {
  int Top = 0;
  int Bottom = 0;
};

// The vertical ink of one recorded note symbol; nothing for anything else.
inline std::optional<Ink> NoteInk(const SurfaceOp& op) {
  switch (op.What) {
    case SurfaceOp::Kind::Polygon: {  // beams
      Ink ink{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
      for (const SurfacePoint& p : op.Points) {
        ink.Top = std::min(ink.Top, p.Y);
        ink.Bottom = std::max(ink.Bottom, p.Y);
      }
      return ink;
    }
    case SurfaceOp::Kind::Line:  // ledger lines (and bar lines)
      return Ink{std::min(op.Points[0].Y, op.Points[1].Y),
                 std::max(op.Points[0].Y, op.Points[1].Y)};
    case SurfaceOp::Kind::Text: {
      if (op.Font.Name != "Veltrimond" || op.Text.empty()) return std::nullopt;
      const double em = op.Font.Size * 20.0;
      const int base = op.Points[0].Y + static_cast<int>(std::lround(1.39 * em));
      auto at = [&](double ems) { return base + static_cast<int>(std::lround(ems * em)); };
      switch (op.Text[0]) {
        case glyph::StemUp:
          return Ink{at(-0.89), base};
        case glyph::StemDown:
          return Ink{base, at(0.885)};
        case glyph::FlagEighthUp:
        case glyph::FlagSixteenthUp:
          return Ink{at(-0.89), at(-0.3)};
        case glyph::FlagThirtySecondUp:
          return Ink{at(-1.14), at(-0.3)};
        case glyph::FlagEighthDown:
        case glyph::FlagSixteenthDown:
          return Ink{at(0.3), at(0.885)};
        case glyph::FlagThirtySecondDown:
          return Ink{at(0.3), at(1.135)};
        case glyph::FilledHead:
        case glyph::HalfHead:
        case glyph::WholeNote:
        case glyph::PercussionHead:
          return Ink{at(-0.14), at(0.14)};
        default:
          return std::nullopt;
      }
    }
    default:
      return std::nullopt;
  }
}

// The band whose staff a recorded operation draws the top line of, else current: what is
// drawn after it belongs to that band.
inline std::size_t BandOpenedBy(const SurfaceOp& op,
                                const std::vector<std::shared_ptr<Region>>& bands,
                                std::size_t current) {
  if (op.What != SurfaceOp::Kind::Line || op.Points.size() < 2 || op.Points[0].Y != op.Points[1].Y)
    return current;
  for (std::size_t k = 0; k < bands.size(); ++k) {
    const Region& band = *bands[k];
    if (op.Points[0].X == band.Left() && op.Points[1].X == band.Right() &&
        op.Points[0].Y == band.Top() + band.PadTop())
      current = k;
  }
  return current;
}

// The note symbols drawn for each band of a painted page, in band order: a band's symbols
// are those drawn after its staff's top line and before the next band's, right of its left
// edge (brackets, braces and names stand left of it, the system's line on it).
inline std::vector<std::vector<Ink>> InkByBand(const RecordingSurface& surface,
                                               const std::vector<std::shared_ptr<Region>>& bands) {
  std::vector<std::vector<Ink>> inks(bands.size());
  std::size_t current = bands.size();
  for (const SurfaceOp& op : surface.Ops()) {
    current = BandOpenedBy(op, bands, current);
    if (current == bands.size() || op.Points.empty() || op.Points[0].X <= bands[current]->Left())
      continue;
    if (const auto ink = NoteInk(op)) inks[current].push_back(*ink);
  }
  return inks;
}

// The box one recorded operation inks: music glyphs by their outlines, other text by its
// cell, lines and shapes by the box of their points.
inline InkArea OpBox(const SurfaceOp& op) {
  if (op.What == SurfaceOp::Kind::Text) {
    RecordingSurface probe;
    probe.SetFont(op.Font);
    return TextInk(probe, op.Text, op.Points[0].X, op.Points[0].Y);
  }
  InkArea box{op.Points[0].X, op.Points[0].Y, op.Points[0].X, op.Points[0].Y};
  for (const SurfacePoint& p : op.Points) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  return box;
}

// Everything drawn for each band of a painted page, as boxes, in band order: what is drawn
// from its staff's top line on until the next band's, right of its left edge, the staff
// lines included; the bar lines that join braced staves through the gap between them are
// the brace's, and left out.
inline std::vector<std::vector<InkArea>> BoxesByBand(
    const RecordingSurface& surface, const std::vector<std::shared_ptr<Region>>& bands,
    int barColor) {
  std::vector<std::vector<InkArea>> boxes(bands.size());
  std::size_t current = bands.size();
  for (const SurfaceOp& op : surface.Ops()) {
    if (op.What == SurfaceOp::Kind::Clear || op.What == SurfaceOp::Kind::NewPage ||
        op.Points.empty())
      continue;
    current = BandOpenedBy(op, bands, current);
    if (current == bands.size() || op.Points[0].X < bands[current]->Left()) continue;
    // Bar lines stand on their staff's lines; one reaching past them joins braced staves,
    // or is the system's left line.
    const Region& band = *bands[current];
    const int topLine = band.Top() + band.PadTop();
    const int lastLine =
        (band.Split() && band.LowerTop() > 0 ? band.LowerTop() : topLine) + 4 * band.IncY();
    const bool vertical = op.What == SurfaceOp::Kind::Line && op.Points[0].X == op.Points[1].X;
    if (vertical && op.Color == barColor &&
        (std::min(op.Points[0].Y, op.Points[1].Y) < topLine ||
         std::max(op.Points[0].Y, op.Points[1].Y) > lastLine))
      continue;
    const InkArea box = OpBox(op);
    if (box.Right >= box.Left) boxes[current].push_back(box);
  }
  return boxes;
}

// Fails for every pair of boxes of neighbouring staves of one system that meet or touch.
inline void ExpectNeighboursClear(const RecordingSurface& surface,
                                  const std::vector<std::shared_ptr<Region>>& bands, int barColor) {
  const auto boxes = BoxesByBand(surface, bands, barColor);
  for (std::size_t k = 0; k + 1 < bands.size(); ++k) {
    if (bands[k + 1]->First()) continue;
    for (const InkArea& a : boxes[k])
      for (const InkArea& b : boxes[k + 1]) {
        const bool meet =
            a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
        EXPECT_FALSE(meet) << "staff " << bands[k]->Staff() << " [" << a.Left << "," << a.Top
                           << " - " << a.Right << "," << a.Bottom << "] meets staff "
                           << bands[k + 1]->Staff() << " [" << b.Left << "," << b.Top << " - "
                           << b.Right << "," << b.Bottom << "]";
      }
  }
}

// The lowest point of every line, box, polygon and music glyph baseline drawn.
inline int LowestInk(const RecordingSurface& surface) {
  int lowest = 0;
  for (const SurfaceOp& op : surface.Ops()) {
    if (op.What == SurfaceOp::Kind::Clear || op.What == SurfaceOp::Kind::NewPage) continue;
    if (op.What == SurfaceOp::Kind::Text) {
      if (op.Font.Name == "Veltrimond")
        lowest = std::max(
            lowest, op.Points[0].Y + static_cast<int>(std::lround(1.39 * op.Font.Size * 20.0)));
      continue;
    }
    for (const SurfacePoint& p : op.Points) lowest = std::max(lowest, p.Y);
  }
  return lowest;
}

}  // namespace notecraft::testing
