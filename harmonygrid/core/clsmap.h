#pragma once
// One chord shape of a Chord table: its name, the chord symbol printed under its diagram, its
// stable id, the fret at the diagram's top line, and the (string, fret) pairs of the fingering.
//
// Internal to the chord library: hosts see shapes only through Chord's list accessors; the
// table, its renderer, the mapper control and the shape editor work on clsMap directly.
//
// Units: strings are numbered 1..6 from the lowest-pitched string (low E, drawn leftmost) to
// the highest (high E). A fret of -1 marks a string not played, 0 an open string, 1 and up a
// fretted one. Every number is a 16-bit integer, as in the chord-shape file; setters ignore
// values outside that range. Nothing here throws.

#include <cstdint>
#include <string>
#include <vector>

namespace harmonygrid {

class clsMap {
public:
  static constexpr int kMaxPairs = 32767;  // Count is 16-bit

  const std::string& Key() const noexcept { return m_key; }
  void SetKey(std::string key) noexcept { m_key = std::move(key); }
  // The chord symbol; its first character is the root letter.
  const std::string& Text() const noexcept { return m_text; }
  void SetText(std::string text) noexcept { m_text = std::move(text); }

  // Stable id of the shape; score chord events store it, not the table position.
  int Value() const noexcept { return m_value; }
  void SetValue(int value) noexcept;
  // Fret of the diagram's top line; 0 is the nut (open position). The position the shape
  // editor works in; Chord::Refresh sets it for the table's fret count. Diagrams do not read
  // it: each renderer takes ComputeTop of its own fret count.
  int Top() const noexcept { return m_top; }
  void SetTop(int top) noexcept;

  int Count() const noexcept { return static_cast<int>(m_pairs.size()); }
  // Appends a pair and returns its index (the Count before the call); -1 when the pair is
  // refused (a number outside 16 bits, or kMaxPairs pairs already held).
  int Add(int x, int y) noexcept;
  // String and fret of pair i; 0 for an index not below Count, whose setters do nothing.
  int X(int i) const noexcept;
  void SetX(int i, int x) noexcept;
  int Y(int i) const noexcept;
  void SetY(int i, int y) noexcept;
  // Removes pair index, moving the later pairs down; an index outside 0..Count-1 is ignored.
  void Remove(int index) noexcept;

  // The Top a diagram showing fretCount fret rows needs: 0 while every fret fits below the
  // nut, else one above the lowest fretted (not open, not muted) fret.
  int ComputeTop(int fretCount) const noexcept;

private:
  struct Pair {
    std::int16_t X;
    std::int16_t Y;
  };

  std::string m_key;
  std::string m_text;
  std::int16_t m_value = 0;
  std::int16_t m_top = 0;
  std::vector<Pair> m_pairs;  // Remove keeps the capacity, as the pairs table never shrinks
};

}  // namespace harmonygrid
