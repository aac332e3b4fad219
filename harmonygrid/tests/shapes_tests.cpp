// The chord-shape file the suite ships: it loads whole and sorted, and every shape is a
// playable standard-tuning voicing of the chord its text names.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"
#include "harmonygrid/core/textutil.h"

namespace harmonygrid {
namespace {

const std::string kShippedDir = std::string(VELTRIMOND_SOURCE_DATA) + "/Common/Config";

// Strings 1..6, low E to high E, as MIDI pitches.
constexpr int kTuning[7] = {0, 40, 45, 50, 55, 59, 64};

// Semitones of each chord kind above the root.
const std::map<std::string, std::set<int>>& Kinds() {
  static const std::map<std::string, std::set<int>> kinds = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
      {"m7", {0, 3, 7, 10}},   {"maj7", {0, 4, 7, 11}}, {"6", {0, 4, 7, 9}},
      {"m6", {0, 3, 7, 9}},    {"sus2", {0, 2, 7}},     {"sus4", {0, 5, 7}},
      {"dim", {0, 3, 6}},      {"dim7", {0, 3, 6, 9}},  {"aug", {0, 4, 8}},
      {"9", {0, 2, 4, 7, 10}}, {"add9", {0, 2, 4, 7}},  {"m7b5", {0, 3, 6, 10}},
  };
  return kinds;
}

struct Symbol {
  int root = 0;  // pitch class
  std::string kind;
};

// "F#m7b5" -> root 6, kind "m7b5".
std::optional<Symbol> ParseSymbol(const std::string& text) {
  static const std::string letters = "C D EF G A B";
  if (text.empty()) return std::nullopt;
  auto pos = letters.find(text[0]);
  if (pos == std::string::npos || text[0] == ' ') return std::nullopt;
  Symbol s{static_cast<int>(pos), text.substr(1)};
  if (!s.kind.empty() && (s.kind[0] == '#' || s.kind[0] == 'b')) {
    s.root = (s.root + (s.kind[0] == '#' ? 1 : 11)) % 12;
    s.kind.erase(0, 1);
  }
  return s;
}

class ShippedShapes : public ::testing::Test {
protected:
  void SetUp() override {
    m_chord.SetInitDir(kShippedDir);
    m_chord.Refresh();
  }
  Chord m_chord;
};

TEST_F(ShippedShapes, LoadWholeAndSorted) {
  const auto& report = m_chord.LoadReport();
  ASSERT_TRUE(report.Opened) << kShippedDir;
  EXPECT_TRUE(report.Clean());
  EXPECT_EQ(report.Accepted, report.Lines);
  ASSERT_EQ(m_chord.ListCount(), report.Lines);  // no gaps in the ids

  std::set<int> ids;
  std::set<std::string> upperKeys;
  for (int i = 0; i < m_chord.ListCount(); ++i) {
    auto shape = m_chord.ChordMapItem(i);
    SCOPED_TRACE(shape->Key());
    EXPECT_FALSE(shape->Key().empty());
    EXPECT_EQ(shape->Text(), shape->Key());
    if (i > 0) {
      EXPECT_LT(m_chord.ListItem(i - 1), m_chord.ListItem(i));
    }
    EXPECT_TRUE(upperKeys.insert(UpperCase(shape->Key())).second) << "key not unique";
    ids.insert(shape->Value());
    EXPECT_EQ(m_chord.GetIndex(shape->Value()), i);
  }
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(m_chord.ListCount()));
  EXPECT_EQ(*ids.begin(), 0);
  EXPECT_EQ(*ids.rbegin(), m_chord.ListCount() - 1);
}

TEST_F(ShippedShapes, EveryRootHasEveryKind) {
  std::set<std::pair<int, std::string>> have;
  for (int i = 0; i < m_chord.ListCount(); ++i)
    if (auto s = ParseSymbol(m_chord.ListItem(i))) have.insert({s->root, s->kind});
  for (int root = 0; root < 12; ++root)
    for (const auto& [kind, intervals] : Kinds())
      EXPECT_TRUE(have.count({root, kind})) << "root " << root << " kind '" << kind << "'";
}

// Each shape sounds exactly the chord's notes, with the root in the bass, in a hand's reach.
TEST_F(ShippedShapes, SpellTheirChordsPlayably) {
  for (int i = 0; i < m_chord.ListCount(); ++i) {
    auto shape = m_chord.ChordMapItem(i);
    SCOPED_TRACE(shape->Text());
    auto symbol = ParseSymbol(shape->Text());
    ASSERT_TRUE(symbol);
    ASSERT_TRUE(Kinds().count(symbol->kind)) << "unknown chord kind";

    std::set<int> want;
    for (int interval : Kinds().at(symbol->kind)) want.insert((symbol->root + interval) % 12);
    std::set<int> got;
    std::set<int> strings;
    int lowestString = 7, lowFret = 99, highFret = 0;
    bool open = false;
    for (int p = 0; p < shape->Count(); ++p) {
      const int s = shape->X(p), f = shape->Y(p);
      ASSERT_TRUE(s >= 1 && s <= 6);
      EXPECT_TRUE(strings.insert(s).second) << "string " << s << " twice";
      if (f < 0) continue;
      got.insert((kTuning[s] + f) % 12);
      lowestString = std::min(lowestString, s);
      open = open || f == 0;
      if (f > 0) {
        lowFret = std::min(lowFret, f);
        highFret = std::max(highFret, f);
      }
    }
    EXPECT_EQ(got, want);
    ASSERT_LE(lowestString, 6);
    const int bass = shape->Y(0);  // pairs run from the lowest string up
    EXPECT_EQ(shape->X(0), lowestString);
    EXPECT_EQ((kTuning[lowestString] + bass) % 12, symbol->root) << "root not in the bass";
    // Played strings run unbroken from the bass to the top string: no muted string inside,
    // which the diagram could not tell from one left out.
    EXPECT_EQ(static_cast<int>(strings.size()), 7 - lowestString);
    EXPECT_GE(strings.size(), 4u);
    if (highFret > 0) {
      EXPECT_LE(highFret - lowFret, 3) << "stretch";
    }

    // After Refresh the diagram shows every finger, and open strings only at the nut, where
    // they are marked.
    const int top = shape->Top();
    if (open) {
      EXPECT_EQ(top, 0);
    }
    for (int p = 0; p < shape->Count(); ++p) {
      if (shape->Y(p) > 0) {
        EXPECT_GE(shape->Y(p) - top, 1);
        EXPECT_LE(shape->Y(p) - top, m_chord.FretCount());
      }
    }
  }
}

// A capo names the chord up by its fret count, keeping a sharp root sharp and spelling the
// rest with flats; the table holds both spellings so that a transposed name finds its shape.
TEST_F(ShippedShapes, HoldBothSpellingsOfEveryBlackKey) {
  static const char* kSharp[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  static const char* kFlat[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
  std::set<std::string> texts;
  for (int i = 0; i < m_chord.ListCount(); ++i) texts.insert(m_chord.ChordMapItem(i)->Text());
  for (const auto& text : texts) {
    auto symbol = ParseSymbol(text);
    ASSERT_TRUE(symbol) << text;
    const bool sharp = text.size() > 1 && text[1] == '#';
    for (int capo = 1; capo < 12; ++capo) {
      const int pc = (symbol->root + capo) % 12;
      const std::string moved = (sharp ? kSharp : kFlat)[pc] + symbol->kind;
      EXPECT_TRUE(texts.count(moved)) << text << " with capo " << capo << " gives " << moved;
    }
  }
}

}  // namespace
}  // namespace harmonygrid
