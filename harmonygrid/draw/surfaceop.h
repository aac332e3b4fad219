#pragma once
// One drawing operation as RecordingSurface keeps it: what was drawn, where (twips), and the
// drawing state it was drawn with. Comparable with ==, and printable as one line of text,
// so that a test can assert on an operation and show a readable difference.

#include <iosfwd>
#include <string>
#include <vector>

#include "harmonygrid/draw/surface.h"

namespace harmonygrid {

struct SurfaceOp {
  enum class Kind { Clear, NewPage, Text, Line, Box, Polyline, Polygon, PolyBezier, Arc, Ellipse };

  Kind What = Kind::Line;
  // Text: the anchor (cell top-left). Line and box: the two corners. Arc and ellipse: the
  // box's top-left and bottom-right corners. Polyline, polygon, Bezier: the points.
  std::vector<SurfacePoint> Points;
  std::string Text;        // text only: the string as drawn (bytes for the music font)
  FontSpec Font;           // text only; empty otherwise
  double StartDeg = 0.0;   // arcs only
  double SpanDeg = 0.0;
  int Color = 0;           // the fore colour (back colour for Clear)
  harmonygrid::DrawStyle Style = harmonygrid::DrawStyle::Solid;
  harmonygrid::DrawMode Mode = harmonygrid::DrawMode::CopyPen;
  int LineWidth = 1;

  bool operator==(const SurfaceOp&) const = default;
};

// "text (1200,800) \"\\xCF .\" Veltrimond 28.8pt color=#129812", the colour as RRGGBB and
// music-font bytes above 0x7E escaped.
std::string ToString(const SurfaceOp& op);
std::ostream& operator<<(std::ostream& out, const SurfaceOp& op);

}  // namespace harmonygrid
