#include "harmonygrid/core/chorddiagram.h"

#include <algorithm>
#include <memory>

#include "harmonygrid/core/capotranspose.h"
#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/draw/surface.h"

namespace harmonygrid {

namespace {

constexpr int kStrings = 6;
constexpr int kSpacing = 75;         // between strings and between fret lines
constexpr int kFirstFretLine = 105;  // below the diagram's top
constexpr int kNutHeight = 30;
constexpr int kFingerSize = 30;
constexpr int kFingerOffset = 15;    // a finger's top below its row's top, so it sits on the line
constexpr int kOpenMarkOffset = 30;  // the "o" cell's left edge, left of its string
constexpr int kStep = 15;          // the diagram's left edge snaps to this (one screen pixel)

// Bounds that keep every coordinate sum inside int: no page is 180 000 inches wide, and no
// cell 700 inches tall.
constexpr int kMaxCoordinate = 1 << 28;
constexpr int kMaxSize = 1 << 20;

int Size(int v) { return std::clamp(v, 0, kMaxSize); }

// String 1 (the lowest) stands one step left of the diagram's left edge, string 6 on the
// nut's right end.
int StringX(int left, int string) { return left + kSpacing * (string - 1) - kStep; }

const FontSpec& OpenMarkFont() {
  static const FontSpec font{"Arial", 6.0f};
  return font;
}

}  // namespace

const FontSpec& ChordDiagram::FretLabelFont() {
  static const FontSpec font{"Arial", 7.0f, true};
  return font;
}

const FontSpec& ChordDiagram::NameFont() {
  static const FontSpec font{"MS Sans Serif", 10.0f, true};
  return font;
}

ChordDiagram::ChordDiagram(const Chord& table, Surface& device, const ChordLayout& layout) noexcept
    : m_table(table), m_device(device), m_layout(layout) {
  m_layout.ChordTextHeight = Size(m_layout.ChordTextHeight);
  m_layout.FretTextHeight = Size(m_layout.FretTextHeight);
  m_layout.ChordHeight = Size(m_layout.ChordHeight);
  m_layout.ChordWidth = Size(m_layout.ChordWidth);
}

std::string ChordDiagram::Ordinal(int fret) {
  const char* suffix = "th";
  if (fret == 1 || fret == 21) suffix = "st";
  else if (fret == 2 || fret == 22) suffix = "nd";
  else if (fret == 3 || fret == 23) suffix = "rd";
  return std::to_string(fret) + suffix;
}

bool ChordDiagram::Draw(int index, int x, int y, bool showMap, int color, std::string_view bass,
                        int capo) {
  const std::shared_ptr<clsMap> original = m_table.ChordMapItem(index);
  if (!original) return false;
  x = std::clamp(x, -kMaxCoordinate, kMaxCoordinate);
  y = std::clamp(y, -kMaxCoordinate, kMaxCoordinate);

  int nameY = y - m_layout.ChordTextHeight;
  std::shared_ptr<clsMap> shape = original;
  std::string name = original->Text();
  std::string shownBass(bass);
  std::string untransposed;
  if (capo > 0) {
    untransposed = "(" + original->Text();
    if (!bass.empty()) untransposed += "/" + std::string(bass);
    untransposed += ")";
    nameY -= m_layout.ChordTextHeight;
    if (!bass.empty()) shownBass = TransposeBass(bass, original->Text(), capo);
    // The transposed chord's own fingering; without one the shape at the index stays, and
    // the name is the drawn shape's, so that the diagram and its name always agree.
    const std::string transposedText = TransposeChordText(original->Text(), capo);
    if (auto transposed = m_table.ChordMapItem(m_table.FindText(transposedText))) {
      shape = std::move(transposed);
      name = shape->Text();
    }
  }

  m_device.SetForeColor(color);
  if (showMap) DrawMap(*shape, x, nameY);

  m_device.SetFont(NameFont());
  if (!shownBass.empty()) name += "/" + shownBass;
  DrawCentred(x, nameY, name);
  if (capo > 0) DrawCentred(x, nameY + m_layout.ChordTextHeight, untransposed);
  return true;
}

void ChordDiagram::DrawMap(const clsMap& shape, int x, int nameY) {
  const ChordLayout& l = m_layout;
  if (l.ChordWidth == 0 || l.ChordHeight == 0) return;  // no room for a diagram
  const int diagTop = nameY - l.ChordHeight;
  const int markY = diagTop - l.FretTextHeight;
  // Truncating division, as the positions the score snaps to are whole 15-twip pixels.
  const int left = (x - l.ChordWidth / 2) / kStep * kStep;

  // Open strings show only in the open position; up the neck the label says where it is.
  const int top = shape.ComputeTop(l.FretCount);
  if (top < 1) DrawOpenMarks(shape, left, markY);
  else DrawFretLabel(top, x, markY);

  m_device.FillBox(left, diagTop, left + l.ChordWidth - kStep, diagTop + kNutHeight);
  for (int string = 1; string <= kStrings; ++string) {
    const int sx = StringX(left, string);
    m_device.DrawLine(sx, diagTop, sx, diagTop + l.ChordHeight);
  }
  for (int fy = diagTop + kFirstFretLine; fy < nameY - kSpacing; fy += kSpacing)
    m_device.DrawLine(left, fy, left + l.ChordWidth, fy);
  DrawFingers(shape, top, left, diagTop);
}

void ChordDiagram::DrawOpenMarks(const clsMap& shape, int left, int markY) {
  m_device.SetFont(OpenMarkFont());
  for (int i = 0; i < shape.Count(); ++i) {
    const int s = shape.X(i);
    if (shape.Y(i) == 0 && s >= 1 && s <= kStrings)
      m_device.DrawText(StringX(left, s) - kOpenMarkOffset, markY, "o");
  }
}

void ChordDiagram::DrawFretLabel(int top, int x, int markY) {
  m_device.SetFont(FretLabelFont());
  DrawCentred(x, markY, Ordinal(top) + " fret");
}

void ChordDiagram::DrawFingers(const clsMap& shape, int top, int left, int diagTop) {
  // Fret rows 1..rows below the top fret: as many as the layout asks for, but only those
  // whose finger square ends on the strings.
  const int fitting = (m_layout.ChordHeight - kFingerOffset - kFingerSize) / kSpacing;
  const int rows = std::min(m_layout.FretCount, fitting);
  for (int i = 0; i < shape.Count(); ++i) {
    const int s = shape.X(i);
    const int row = shape.Y(i) - top;
    if (shape.Y(i) <= 0 || row < 1 || row > rows || s < 1 || s > kStrings) continue;
    // Centred on its string and on the fret line of its row.
    const int fx = StringX(left, s) - kFingerSize / 2;
    const int fy = diagTop + kSpacing * row + kFingerOffset;
    m_device.FillBox(fx, fy, fx + kFingerSize, fy + kFingerSize);
  }
}

void ChordDiagram::DrawCentred(int x, int y, const std::string& text) {
  m_device.DrawText(x - m_device.TextWidth(text) / 2, y, text);
}

}  // namespace harmonygrid
