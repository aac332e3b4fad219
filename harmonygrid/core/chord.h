#pragma once
// The table of named guitar chord shapes every score keeps, filled from the read-only file
// "Veltrimond.cma" in the folder InitDir (see chordmapfile.h for its format), with the cell
// sizes its host (the score) draws chord diagrams with. Other renderers, such as the mapper
// control, keep sizes of their own and pass them to Render (see chordlayout.h).
//
// Positions 0..ListCount()-1 are kept sorted by Key in binary (code point) order; a shape's
// Value is its stable id, which score chord events store. After a load the Values are exactly
// 0..ListCount()-1: gaps between the file's ids are filled with empty shapes.
//
// Ownership: the table owns its shapes through shared pointers, so a shape handed out by
// ChordMapItem or AddChordMap stays valid after the table reloads or drops it. A Chord may
// be shared by a score and the mapper control that shows it; it is neither copied nor moved.
//
// Errors never leave the object: positions out of range read as empty, 0 or null and are
// ignored by setters. Single-threaded: a Chord lives on the user-interface thread.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "harmonygrid/core/chordlayout.h"
#include "harmonygrid/core/chordmapfile.h"

namespace harmonygrid {

class clsMap;
class Surface;

class Chord {
public:
  Chord() noexcept;
  ~Chord();
  Chord(const Chord&) = delete;
  Chord& operator=(const Chord&) = delete;

  // --- For hosts ---

  // True once the mapper control has confirmed an edit; nothing in the table sets it.
  bool Changed() const noexcept { return m_changed; }

  // Folder of the chord-shape file. Setting a folder that differs from the stored one other
  // than in letter case stores it trimmed of spaces and without one trailing '/' or '\', and
  // reloads the table (Top and the layout values stay as they are); an equal one is ignored.
  const std::string& InitDir() const noexcept { return m_initDir; }
  void SetInitDir(std::string_view dir) noexcept;

  // Reloads the table, puts back the standard layout values and sets every shape's Top.
  void Refresh() noexcept;

  int AreaHeight() const noexcept { return m_layout.AreaHeight; }
  int AreaWidth() const noexcept { return m_layout.AreaWidth; }
  int ChordTextHeight() const noexcept { return m_layout.ChordTextHeight; }

  int ListCount() const noexcept { return static_cast<int>(m_entries.size()); }
  // Key and Value of the shape at a position; empty and 0 outside 0..ListCount()-1.
  std::string ListItem(int index) const noexcept;
  int ListVal(int index) const noexcept;
  // Position of the first shape, in sorted order, whose Value is value; 0 when none is.
  // Chord symbols whose shape has gone therefore draw with the first shape.
  int GetIndex(int value) const noexcept;

  // Draws the shape at table position index on device with the cell sizes of layout (see
  // chorddiagram.h): its chord name, centred on x with the name line ending at y, followed by
  // "/" and bass when bass is given, and with showMap its fretboard diagram above the name,
  // all in color. With capo above 0 the chord is named capo semitones higher and drawn with
  // the table's shape for that name (or, when the table has none, with its own shape and
  // name), and the untransposed name follows in parentheses on the line below. Leaves the
  // device's colour and font as it last set them. False, with nothing drawn, when the table
  // has no shape at index. A score passes Layout(); the mapper control its own sizes.
  bool Render(Surface& device, const ChordLayout& layout, int index, int x, int y,
              bool showMap = false, int color = 0, std::string_view bass = {},
              int capo = 0) const noexcept;

  // What the last load found: skipped lines, mended pairs, a missing file.
  const ChordFileReport& LoadReport() const noexcept { return m_report; }

  // --- For the chord library's renderer, mapper control and shape editor, and for hosts
  // that set their own sizes ---

  // Updates the shape whose Key equals key ignoring case, or appends one whose Value is the
  // old ListCount(); sets its Key and Text as given (callers trim them) and sorts the table.
  // Returns the shape, whose position may have changed; null when the table is full.
  std::shared_ptr<clsMap> AddChordMap(std::string_view key, std::string_view text) noexcept;
  // The shape at a position; null outside 0..ListCount()-1.
  std::shared_ptr<clsMap> ChordMapItem(int position) const noexcept;
  // Puts another shape at a position; ignored outside 0..ListCount()-1 or for null.
  void SetChordMapItem(int position, std::shared_ptr<clsMap> entry) noexcept;
  int ChordMapCount() const noexcept { return ListCount(); }
  // Position of the first shape whose Text equals text exactly (case counts); -1 when none.
  int FindText(std::string_view text) const noexcept;

  // Empties the table and fills it from InitDir's file; a missing folder or file leaves it
  // empty. Sorts at the end.
  void LoadChordMaps() noexcept;
  // Stable sort by Key in binary order: shapes with equal keys keep their order.
  void SortChordMaps() noexcept;

  void SetChanged(bool changed) noexcept { m_changed = changed; }
  void SetAreaHeight(int v) noexcept { m_layout.AreaHeight = v; }
  void SetAreaWidth(int v) noexcept { m_layout.AreaWidth = v; }
  void SetChordTextHeight(int v) noexcept { m_layout.ChordTextHeight = v; }
  int ChordHeight() const noexcept { return m_layout.ChordHeight; }
  void SetChordHeight(int v) noexcept { m_layout.ChordHeight = v; }
  int ChordWidth() const noexcept { return m_layout.ChordWidth; }
  void SetChordWidth(int v) noexcept { m_layout.ChordWidth = v; }
  int FretTextHeight() const noexcept { return m_layout.FretTextHeight; }
  void SetFretTextHeight(int v) noexcept { m_layout.FretTextHeight = v; }
  int FretCount() const noexcept { return m_layout.FretCount; }
  // 16-bit; other values are ignored.
  void SetFretCount(int v) noexcept;
  // All of the host's cell sizes at once, as Render takes them.
  const ChordLayout& Layout() const noexcept { return m_layout; }

private:
  std::vector<std::shared_ptr<clsMap>> m_entries;  // never null
  std::string m_initDir;
  bool m_changed = false;
  ChordLayout m_layout;  // the host's; all 0 until Refresh or the host sets them
  ChordFileReport m_report;
};

}  // namespace harmonygrid
