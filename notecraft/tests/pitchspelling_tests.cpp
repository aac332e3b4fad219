#include "notecraft/core/pitchspelling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notecraft/core/enums.h"

namespace notecraft {
namespace {

using A = Accidental;

// The pitch a spelled note stands for under key, written with the given sign (None: the
// key signature's own).
int SoundingPitch(const SpelledPitch& p, int key) {
  static const int natural[] = {0, 2, 4, 5, 7, 9, 11};
  const std::string letters = "CDEFGAB";
  const int letter = static_cast<int>(letters.find(p.Letter));
  int pitch = p.Octave * 12 + natural[letter];
  switch (p.Mark) {
    case A::Sharp: return pitch + 1;
    case A::Flat: return pitch - 1;
    case A::DoubleSharp: return pitch + 2;
    case A::DoubleFlat: return pitch - 2;
    case A::Natural: return pitch;
    case A::None: break;
  }
  const std::string sharps = "FCGDAEB", flats = "BEADGCF";
  if (key > 0 && static_cast<int>(sharps.find(p.Letter)) < key) return pitch + 1;
  if (key < 0 && static_cast<int>(flats.find(p.Letter)) < -key) return pitch - 1;
  return pitch;
}

TEST(PitchSpelling, SpellsPitchesInKeysAndPlacesThemForTheClef) {
  struct Case {
    const char* name;
    int key, pitch, clef;
    char letter;
    A mark;
    std::string tag;
    double y;
  };
  const Case cases[] = {
      {"C sharp in C major", 0, 61, clfTreble, 'C', A::Sharp, "C05", 1.0},
      {"F major spells the black key as G flat", -1, 66, clfTreble, 'G', A::Flat, "G05", -1.0},
      {"F major cancels its B flat", -1, 71, clfTreble, 'B', A::Natural, "B05", -2.0},
      {"G major cancels its F sharp", 1, 65, clfTreble, 'F', A::Natural, "F05", -0.5},
      {"G major's own F sharp", 1, 66, clfTreble, 'F', A::None, "F05", -0.5},
      {"E major writes G natural", 4, 67, clfTreble, 'G', A::Natural, "G05", -1.0},
      {"A major writes G natural, not F double sharp", 3, 67, clfTreble, 'G', A::Natural, "G05",
       -1.0},
      {"treble bottom line", 0, 64, clfTreble, 'E', A::None, "E05", 0.0},
      {"bass bottom line", 0, 43, clfBass, 'G', A::None, "G03", 0.0},
      {"alto middle line is middle C", 0, 60, clfAlto, 'C', A::None, "C05", -2.0},
      {"tenor fourth line is middle C", 0, 60, clfTenor, 'C', A::None, "C05", -3.0},
      {"percussion places as treble", 0, 64, clfPercussion, 'E', A::None, "E05", 0.0},
      // An octave-crossing spelling stays in the letter's own octave.
      {"C flat in G flat major", -6, 59, clfTreble, 'C', A::None, "C05", 1.0},
      {"B sharp in C sharp major", 7, 60, clfTreble, 'B', A::None, "B04", 1.5},
      {"C flat major's tonic", -7, 59, clfTreble, 'C', A::None, "C05", 1.0},
      {"C flat major cancels its F flat", -7, 65, clfTreble, 'F', A::Natural, "F05", -0.5},
      {"a key beyond seven flats counts as seven", -9, 59, clfTreble, 'C', A::None, "C05", 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AccidentalMemory memory;
    const SpelledPitch p = SpellPitch(c.pitch, c.clef, c.key, memory);
    EXPECT_EQ(p.Letter, c.letter);
    EXPECT_EQ(p.Mark, c.mark);
    EXPECT_EQ(p.Tag(), c.tag);
    EXPECT_DOUBLE_EQ(p.Y, c.y);
  }
}

TEST(PitchSpelling, EverySpellingInEveryKeySoundsThePitchItSpells) {
  // Letter, octave and sign read back under the key signature give the pitch spelled, and
  // the head's height follows the letter and octave (a whole octave is 3.5 spaces).
  for (int key = -7; key <= 7; ++key) {
    for (int pitch = 12; pitch <= 120; ++pitch) {
      SCOPED_TRACE("key " + std::to_string(key) + " pitch " + std::to_string(pitch));
      AccidentalMemory memory;
      const SpelledPitch p = SpellPitch(pitch, clfTreble, key, memory);
      ASSERT_EQ(SoundingPitch(p, key), pitch) << p.Tag();
      AccidentalMemory again;
      EXPECT_DOUBLE_EQ(SpellPitch(pitch + 12, clfTreble, key, again).Y, p.Y - 3.5);
    }
  }
}

// What a musician writes for each pitch class out of the key, in every key: a white key
// is its own letter with a natural sign, a black key is sharpened in sharp keys and C major
// and flattened in flat keys; never a double sign.
TEST(PitchSpelling, NotesOutsideTheKeyGetTheSimplestSign) {
  const std::string whiteLetters = "C D EF G A B";  // by pitch class, blank for black keys
  for (int key = -7; key <= 7; ++key) {
    for (int pitch = 60; pitch < 72; ++pitch) {
      if (!ScaleDegree(key, pitch).Chromatic) continue;
      SCOPED_TRACE("key " + std::to_string(key) + " pitch " + std::to_string(pitch));
      AccidentalMemory memory;
      const SpelledPitch p = SpellPitch(pitch, clfTreble, key, memory);
      const char white = whiteLetters[static_cast<std::size_t>(pitch - 60)];
      if (white != ' ') {
        EXPECT_EQ(p.Letter, white);
        EXPECT_EQ(p.Mark, A::Natural);
      } else if (key < 0) {
        EXPECT_EQ(p.Letter, whiteLetters[static_cast<std::size_t>(pitch - 60 + 1)]);
        EXPECT_EQ(p.Mark, A::Flat);
      } else {
        EXPECT_EQ(p.Letter, whiteLetters[static_cast<std::size_t>(pitch - 60 - 1)]);
        EXPECT_EQ(p.Mark, A::Sharp);
      }
    }
  }
}

TEST(PitchSpelling, ScaleDegreeFindsTheDegreeAndTheAlteredLetters) {
  struct Case {
    int key, pitch, degree;
    bool chromatic;
    std::string letters;
  };
  const Case cases[] = {
      {0, 60, 0, false, "C"},    {0, 61, 0, true, "C"},       {0, 65, 3, false, "C"},
      {0, 71, 6, false, "C"},    {1, 67, 0, false, "GF"},     {1, 66, 6, false, "GF"},
      {-2, 70, 0, false, "BBE"}, {-3, 62, 6, false, "EBEA"},  {7, 61, 0, false, "CFCGDAEB"},
      {-7, 59, 0, false, "CBEADGCF"},
      {0, 5, 3, false, "C"},  // below the reference: counted up by octaves
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("key " + std::to_string(c.key) + " pitch " + std::to_string(c.pitch));
    const ScaleDegreeResult r = ScaleDegree(c.key, c.pitch);
    EXPECT_EQ(r.Degree, c.degree);
    EXPECT_EQ(r.Chromatic, c.chromatic);
    EXPECT_EQ(r.Letters, c.letters);
  }
}

TEST(PitchSpelling, TheMeasureRemembersWhatItHasWritten) {
  struct Case {
    const char* name;
    int key;
    std::vector<int> pitches;
    std::vector<A> marks;
  };
  const Case cases[] = {
      {"a repeated sharp is written once", 0, {61, 61}, {A::Sharp, A::None}},
      {"a natural cancels a sharp, once", 0, {61, 60, 60}, {A::Sharp, A::Natural, A::None}},
      {"the key's sharp returns after a natural", 1, {65, 66, 66},
       {A::Natural, A::Sharp, A::None}},
      {"the key's flat returns after a natural", -1, {71, 70}, {A::Natural, A::Flat}},
      {"another octave is another note", 0, {61, 73}, {A::Sharp, A::Sharp}},
      {"a natural on a letter the key sharpens, then the key's sharp returns", 3, {67, 67, 68},
       {A::Natural, A::None, A::Sharp}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AccidentalMemory memory;
    std::vector<A> marks;
    for (int pitch : c.pitches) marks.push_back(SpellPitch(pitch, clfTreble, c.key, memory).Mark);
    EXPECT_EQ(marks, c.marks);
  }
}

TEST(PitchSpelling, ClearingTheMemoryStartsTheNextMeasure) {
  AccidentalMemory memory;
  EXPECT_EQ(SpellPitch(61, clfTreble, 0, memory).Mark, A::Sharp);
  EXPECT_EQ(memory.Count(), 1);
  memory.Clear();
  EXPECT_EQ(SpellPitch(61, clfTreble, 0, memory).Mark, A::Sharp);
}

}  // namespace
}  // namespace notecraft
