#pragma once
// Draws one chord of a Chord table on a Surface: its name (with "/bass" when a bass is given),
// optionally the shape's fretboard diagram above the name, and with a capo the name moved up by
// the capo over the untransposed name in parentheses. Chord::Render is the entry point; the
// score's chord row and the mapper control's cells draw through it, each with its own sizes.
//
// Geometry, in twips, from the caller's layout (the standard values in brackets), top to bottom:
// a line FretTextHeight (135) tall holding the open-string marks "o" or a label such as
// "7th fret"; the diagram, ChordHeight (525) tall and ChordWidth (375) wide, its left edge on a
// 15-twip step: the nut, six strings 75 apart (lowest string left), fret lines 75 apart from
// 105 below the nut's top, and a 30-twip square on fret line r for a finger on the r-th fret
// below the diagram's top fret; then the name line, ChordTextHeight (195) tall, ending at y;
// with a capo, the parenthesised name takes that line and everything else moves one line up.
// Texts and the diagram are centred on x.
//
// The diagram's top fret is the one the layout's FretCount needs for the shape
// (clsMap::ComputeTop): every renderer shows each shape at the position its own fret rows
// need, and drawing never writes into the shared shapes.
//
// With a capo the transposed chord is drawn with the table's shape whose Text is the
// transposed text; when the table has none, the shape at the index is drawn under its own
// Text, the bass still transposed, so the diagram never contradicts the name above it.
//
// Sizes below 0 count as 0, and a diagram without width or height is not drawn; fingers on
// strings other than 1..6 or on fret rows the diagram cannot hold are left out. The device is
// left with the colour and font this last set. Not thread-safe; borrows both arguments.

#include <string>
#include <string_view>

#include "harmonygrid/core/chordlayout.h"
#include "harmonygrid/draw/fontspec.h"

namespace harmonygrid {

class Chord;
class clsMap;
class Surface;

class ChordDiagram {
public:
  ChordDiagram(const Chord& table, Surface& device, const ChordLayout& layout) noexcept;

  // Draws the shape at table position index; false, with nothing drawn and the device
  // untouched, when the table has no shape there. Throws only on allocation failure.
  bool Draw(int index, int x, int y, bool showMap, int color, std::string_view bass, int capo);

  // "1st", "2nd", "3rd", "4th" ... "21st", "22nd", "23rd", "24th" ...: the fret label's number.
  static std::string Ordinal(int fret);
  // The fonts of the chord name and of the fret label: a renderer sizes its name line and its
  // label line from their heights on its device.
  static const FontSpec& NameFont();
  static const FontSpec& FretLabelFont();

private:
  void DrawMap(const clsMap& shape, int x, int nameY);
  void DrawOpenMarks(const clsMap& shape, int left, int markY);
  void DrawFretLabel(int top, int x, int markY);
  void DrawFingers(const clsMap& shape, int top, int left, int diagTop);
  void DrawCentred(int x, int y, const std::string& text);

  const Chord& m_table;
  Surface& m_device;
  ChordLayout m_layout;  // the caller's, negative sizes raised to 0
};

}  // namespace harmonygrid
