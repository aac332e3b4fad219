#include "harmonygrid/draw/surfaceop.h"

#include <cstdio>
#include <ostream>

#include "harmonygrid/draw/musicfontmetrics.h"

namespace harmonygrid {

namespace {

const char* KindName(SurfaceOp::Kind kind) {
  switch (kind) {
    case SurfaceOp::Kind::Clear: return "clear";
    case SurfaceOp::Kind::NewPage: return "newpage";
    case SurfaceOp::Kind::Text: return "text";
    case SurfaceOp::Kind::Line: return "line";
    case SurfaceOp::Kind::Box: return "box";
    case SurfaceOp::Kind::Polyline: return "polyline";
    case SurfaceOp::Kind::Polygon: return "polygon";
    case SurfaceOp::Kind::PolyBezier: return "bezier";
    case SurfaceOp::Kind::Arc: return "arc";
    case SurfaceOp::Kind::Ellipse: return "ellipse";
  }
  return "?";
}

// Music-font strings are bytes; escape what is not printable ASCII so a failing assertion
// reads the same on every terminal.
std::string Quoted(const std::string& text, bool bytes) {
  std::string out = "\"";
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7F || (bytes && u > 0x7E)) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace

std::string ToString(const SurfaceOp& op) {
  std::string out = KindName(op.What);
  for (const auto& p : op.Points) out += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
  if (op.What == SurfaceOp::Kind::Text) {
    out += " " + Quoted(op.Text, op.Font.Name == MusicFontName) + " " + op.Font.Name + " " +
           Number(op.Font.Size) + "pt";
    if (op.Font.Bold) out += " bold";
    if (op.Font.Italic) out += " italic";
    if (op.Font.Underline) out += " underline";
  }
  if (op.What == SurfaceOp::Kind::Arc)
    out += " from " + Number(op.StartDeg) + " through " + Number(op.SpanDeg);
  char colour[16];
  std::snprintf(colour, sizeof colour, " color=#%02X%02X%02X", op.Color & 0xFF,
                (op.Color >> 8) & 0xFF, (op.Color >> 16) & 0xFF);
  out += colour;
  if (op.Style != DrawStyle::Solid) out += " dotted";
  if (op.Mode != DrawMode::CopyPen) out += " mode=" + std::to_string(static_cast<int>(op.Mode));
  if (op.LineWidth != 1) out += " width=" + std::to_string(op.LineWidth);
  return out;
}

std::ostream& operator<<(std::ostream& out, const SurfaceOp& op) { return out << ToString(op); }

}  // namespace harmonygrid
