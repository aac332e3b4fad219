#pragma once
// Sizes of one chord cell (diagram, fret label line and chord name), in twips.
//
// Each renderer owns the sizes it draws with and hands them to Chord::Render as a value; the
// shape table itself is shared. A score draws its chord row with the sizes its Chord carries
// (all 0 when created, Standard() after Refresh); the mapper control computes sizes for its
// own cells and never writes them into the table, so showing a score's table in the control
// does not change how the score paginates or draws.

namespace harmonygrid {

struct ChordLayout {
  int AreaHeight = 0;       // one cell: FretTextHeight + ChordHeight + ChordTextHeight
  int AreaWidth = 0;        // one cell
  int ChordTextHeight = 0;  // the chord-name line
  int FretTextHeight = 0;   // gap above the diagram holding the fret label or open-string marks
  int ChordHeight = 0;      // diagram height (string length)
  int ChordWidth = 0;       // diagram width
  int FretCount = 0;        // fret rows a diagram shows; decides each shape's Top (16-bit)

  // The sizes a score draws chord rows with: 855 = 135 + 525 + 195.
  static constexpr ChordLayout Standard() noexcept {
    ChordLayout l;
    l.AreaHeight = 855;
    l.AreaWidth = 495;
    l.ChordTextHeight = 195;
    l.FretTextHeight = 135;
    l.ChordHeight = 525;
    l.ChordWidth = 375;
    l.FretCount = 6;
    return l;
  }

  friend bool operator==(const ChordLayout&, const ChordLayout&) = default;
};

}  // namespace harmonygrid
