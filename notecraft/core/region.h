#pragma once
// One staff band of one system on the page painted last: the rectangle one staff occupies
// across one line of music, and per measure of that line its width, start time, layout
// flags and left padding. The page renderer makes one per visible staff per system; hit
// testing, partial repaint and entry by position read them.
//
// Plain data: the fields hold whatever they are given. The per-measure accessors ignore an
// index outside 0 .. Measures() - 1 (reads give null or 0, writes do nothing). All lengths
// are twips from the page's top-left corner; times are 64ths.
//
// A band names its staff by index only; it holds no reference to the staff or the score.

#include <vector>

#include "notecraft/core/range.h"

namespace notecraft {

struct Internal;

// Where a note position of a measure was drawn: its x and its time from the measure's start.
struct MeasureStop {
  int X = 0;
  int Time = 0;
  bool operator==(const MeasureStop&) const = default;
};

// Where a rest was drawn in a measure: its glyph's left and right x and the time it stands
// for, from the measure's start.
struct DrawnRest {
  int Left = 0;
  int Right = 0;
  int Time = 0;
  bool operator==(const DrawnRest&) const = default;
};

class Region {
public:
  // Bands are made by the page renderer only.
  explicit Region(Internal);

  // Lower edge: the last staff line plus the bottom pad, whole pixels.
  int Bottom() const { return m_bottom; }
  void SetBottom(int value) { m_bottom = value; }
  // True only for the topmost band of its system.
  bool First() const { return m_first; }
  void SetFirst(bool value) { m_first = value; }
  // Distance between two adjacent staff lines of this band.
  int IncY() const { return m_incY; }
  void SetIncY(int value) { m_incY = value; }
  // 1-based position in the page's band collection.
  int Index() const { return m_index; }
  void SetIndex(int value) { m_index = value; }
  // Left edge of the staff lines (after the staff-name column).
  int Left() const { return m_left; }
  void SetLeft(int value) { m_left = value; }
  // Free space kept with the band below and above the staff (the same value).
  int PadBottom() const { return m_padBottom; }
  void SetPadBottom(int value) { m_padBottom = value; }
  int PadTop() const { return m_padTop; }
  void SetPadTop(int value) { m_padTop = value; }
  // Right edge of the staff lines.
  int Right() const { return m_right; }
  void SetRight(int value) { m_right = value; }
  // True for a grand staff: the band holds an upper and a lower five-line staff.
  bool Split() const { return m_split; }
  void SetSplit(bool value) { m_split = value; }
  // A grand staff's lower staff: the y of its top line (0 for any other band).
  int LowerTop() const { return m_lowerTop; }
  void SetLowerTop(int value) { m_lowerTop = value; }
  // Staff::Index of the staff drawn in the band.
  int Staff() const { return m_staff; }
  void SetStaff(int value) { m_staff = value; }
  // Score time at the start of the band's system.
  int Time() const { return m_time; }
  void SetTime(int value) { m_time = value; }
  // Upper edge, before the top pad.
  int Top() const { return m_top; }
  void SetTop(int value) { m_top = value; }
  // y of the top of the staff's first lyric line as it was drawn; 0 while none was drawn.
  int LyricLine() const { return m_lyricLine; }
  void SetLyricLine(int value) { m_lyricLine = value; }

  // --- Per measure, 0 = the system's first measure ---
  int Measures() const { return static_cast<int>(m_measures.size()); }
  // A different count re-creates every entry zeroed (a negative count is 0); the same count
  // keeps the entries as they are.
  void SetMeasures(int count);
  // Low = the measure's width, High = its start time. Null outside the valid indexes; the
  // pointer stays valid until the count changes.
  const Range* Measure(int index) const;
  Range* Measure(int index);
  void SetMeasure(int index, const Range& range);
  // The measure's layout flags as the renderer computed them for the system.
  int MeasureFlag(int index) const;
  void SetMeasureFlag(int index, int value);
  // Extra width before the measure's first note.
  int MeasurePad(int index) const;
  void SetMeasurePad(int index, int value);
  // The drawn note positions of a measure whose notes were moved apart for their glyphs, in
  // time order; empty where the drawing kept the proportional spacing. Empty outside the
  // valid indexes.
  const std::vector<MeasureStop>& MeasureStops(int index) const;
  void SetMeasureStops(int index, std::vector<MeasureStop> stops);
  // The rests drawn in a measure at their own time (not a whole measure's rest), of both
  // halves of a grand staff. Empty outside the valid indexes.
  const std::vector<DrawnRest>& MeasureRests(int index) const;
  void AddMeasureRest(int index, const DrawnRest& rest);
  void ClearMeasureRests(int index);

private:
  struct MeasureEntry {
    Range Place;
    int Flag = 0;
    int Pad = 0;
    std::vector<MeasureStop> Stops;
    std::vector<DrawnRest> Rests;
  };
  bool Valid(int index) const { return index >= 0 && index < Measures(); }

  int m_bottom = 0;
  bool m_first = false;
  int m_incY = 0;
  int m_index = 0;
  int m_left = 0;
  int m_lowerTop = 0;
  int m_padBottom = 0;
  int m_padTop = 0;
  int m_right = 0;
  bool m_split = false;
  int m_staff = 0;
  int m_time = 0;
  int m_top = 0;
  int m_lyricLine = 0;
  std::vector<MeasureEntry> m_measures;
};

}  // namespace notecraft
