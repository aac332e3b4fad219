// Capo transposition of chord names and bass notes.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "harmonygrid/core/capotranspose.h"
#include "harmonygrid/core/chord.h"
#include "harmonygrid/core/clsmap.h"

namespace harmonygrid {
namespace {

TEST(CapoTranspose, ChordText) {
  struct Case {
    const char* text;
    int capo;
    const char* expected;
  };
  const Case cases[] = {
      {"C", 1, "Db"},       // a black key without "#" in the chord is spelled flat
      {"C#m", 1, "Dm"},     // the accidental is part of the root, the rest is kept
      {"B", 1, "C"},        // past the top of the scale
      {"A#7", 3, "C#7"},    // a sharp chord spells black keys sharp
      {"Ebm7", 2, "Fm7"},
      {"Bbmaj7", 4, "Dmaj7"},
      {"Cb", 1, "C"},       // flat below C wraps to B first
      {"E#", 1, "F#"},      // sharp above E is F
      {"C", 13, "Db"},      // 13 reduces by 12
      {"C#m", 12, "C#m"},   // a whole octave only respells
      {"Db", 12, "Db"},
      {"C", INT_MAX, "G"},  // INT_MAX is 7 above a multiple of 12
      {"C", 0, "C"},        // no capo: untouched, as is a negative one
      {"C#", -1, "C#"},
      {"", 3, ""},          // nothing to move
      // A root that is no note reads as just below C, so it still gives a (useless) name.
      {"N.C.", 2, "Db.C."},
      {"c", 1, "C"},        // lower case is not a note letter either: position 0 + 1
      {"+5", 1, "C5"},      // nor is the scale's black-key marker
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " capo " + std::to_string(c.capo));
    EXPECT_EQ(TransposeChordText(c.text, c.capo), c.expected);
  }
}

TEST(CapoTranspose, EveryCapoOfAnOctave) {
  struct Case {
    const char* text;
    std::vector<std::string> capo1to11;
  };
  const Case cases[] = {
      {"C", {"Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"}},
      {"C#m", {"Dm", "D#m", "Em", "Fm", "F#m", "Gm", "G#m", "Am", "A#m", "Bm", "Cm"}},
      {"Bb7", {"B7", "C7", "Db7", "D7", "Eb7", "E7", "F7", "Gb7", "G7", "Ab7", "A7"}},
      {"F#sus4", {"Gsus4", "G#sus4", "Asus4", "A#sus4", "Bsus4", "Csus4", "C#sus4", "Dsus4",
                  "D#sus4", "Esus4", "Fsus4"}},
  };
  for (const auto& c : cases) {
    for (int capo = 1; capo <= 11; ++capo) {
      SCOPED_TRACE(std::string(c.text) + " capo " + std::to_string(capo));
      EXPECT_EQ(TransposeChordText(c.text, capo), c.capo1to11[static_cast<std::size_t>(capo - 1)]);
    }
  }
}

TEST(CapoTranspose, BassFollowsTheChordsSpelling) {
  struct Case {
    const char* bass;
    const char* chord;
    int capo;
    const char* expected;
  };
  const Case cases[] = {
      {"F#", "C", 1, "G"},
      {"F", "C", 1, "Gb"},    // black key, chord without "#": flat
      {"F", "C#", 1, "F#"},   // the same bass under a sharp chord: sharp
      {"Bb", "Cm", 2, "C"},
      {"E", "Ab7", 2, "Gb"},  // the chord's "b" is not "#": flat
      {"F#m", "D", 1, "G"},   // only the first two characters are read
      {"G/B", "C", 2, "A"},
      {"B", "C", 11, "Bb"},   // 11 up is one down
      {"F", "C", 0, "F"},
      {"", "C", 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.bass) + " under " + c.chord + " capo " + std::to_string(c.capo));
    EXPECT_EQ(TransposeBass(c.bass, c.chord, c.capo), c.expected);
  }
}

TEST(CapoTranspose, EveryShippedShapeFindsItsTransposedShape) {
  // With the shipped table a capo never leaves a chord without a diagram: every transposed
  // text, in the spelling the transposition picks, is some shape's text.
  Chord chord;
  chord.SetInitDir(std::string(VELTRIMOND_SOURCE_DATA) + "/Common/Config");
  ASSERT_GT(chord.ListCount(), 200);
  for (int i = 0; i < chord.ListCount(); ++i) {
    const std::string text = chord.ChordMapItem(i)->Text();
    for (int capo = 1; capo <= 11; ++capo) {
      const std::string moved = TransposeChordText(text, capo);
      EXPECT_GE(chord.FindText(moved), 0) << text << " capo " << capo << " gives " << moved;
    }
  }
}

}  // namespace
}  // namespace harmonygrid
