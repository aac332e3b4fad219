#pragma once
// The lyrics under one staff across one system. The staff drawer hands over each note of
// the first voice as it draws it (the note's drawn x and the staff's lyric event at its
// time, if any) and draws the collected syllables once the staff's notes, dynamics and
// tempo marks stand, on lines below all of them: every verse on its own line, each syllable
// centred on its note. A syllable ending in "-" is drawn without it, and the hyphen stands
// midway to the next syllable of its verse (or towards the system's right edge at each note
// without one, until that syllable comes).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notecraft {

class DrawContext;

// A verse's syllable as it is shown: the text trimmed of spaces and without a final hyphen
// when it has one (Hyphen), the text as stored otherwise (its spaces kept, as typed); empty
// when only spaces were stored.
struct ShownSyllable {
  std::string_view Text;
  bool Hyphen = false;
};
ShownSyllable ShowSyllable(std::string_view stored);

// The verses of a lyric event's text, one syllable each, separated by carriage returns.
std::vector<std::string_view> LyricVerses(std::string_view text);

class LyricRow {
public:
  void Clear() { m_notes.clear(); }
  // A note drawn at x; lyric is its lyric event's text, none when the staff has no lyric
  // event at its time.
  void Add(int x, std::optional<std::string> lyric) { m_notes.push_back({x, std::move(lyric)}); }
  // Draws the syllables with the first verse's line at top, each further verse a lyric line
  // lower; right is the system's right edge.
  void Draw(DrawContext& dc, int top, int right) const;

private:
  struct Entry {
    int X = 0;
    std::optional<std::string> Lyric;
  };
  std::vector<Entry> m_notes;
};

}  // namespace notecraft
