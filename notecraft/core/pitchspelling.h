#pragma once
// Spelling a MIDI pitch in a major key: its letter, the accidental its note head needs in
// the measure so far, and the head's height on the staff of a clef.
//
// The note drawer spells the pitches of a measure in drawing order through one
// AccidentalMemory, which it empties at every bar line: an accidental already written for
// a letter and octave in the measure is not repeated, and a later note of that letter
// that the key spells differently gets the cancelling sign.
//
// Keys are counts of sharps (positive) or flats (negative), -7..7; a key outside is taken
// as the nearest end. Octaves count from MIDI pitch 0, so middle C (60) is C in octave 5.

#include <string>
#include <vector>

namespace notecraft {

enum class Accidental { None, Sharp, Flat, Natural, DoubleFlat, DoubleSharp };

struct ScaleDegreeResult {
  int Degree = 0;          // 0..6 in the key's major scale (for a chromatic pitch, the degree below)
  bool Chromatic = false;  // the pitch lies between two degrees of the scale
  std::string Letters;     // the tonic's letter, then the letters the key signature alters
};

// Where pitch stands in the major scale of key.
ScaleDegreeResult ScaleDegree(int key, int pitch);

// The accidentals written so far in one measure, one entry per letter and octave, in the
// order written.
struct AccidentalMemory {
  struct Entry {
    char Letter = 'C';
    int Octave = 0;
    Accidental Mark = Accidental::None;
    bool operator==(const Entry&) const = default;
  };
  std::vector<Entry> Entries;

  void Clear() { Entries.clear(); }
  int Count() const { return static_cast<int>(Entries.size()); }
};

struct SpelledPitch {
  char Letter = 'C';
  int Octave = 0;  // the octave of the letter: C-flat of pitch 59 is in octave 5, like C 60
  // The sign to write before the head, after the measure's memory has been applied.
  Accidental Mark = Accidental::None;
  // The head's height in staff spaces below the staff's bottom line (negative above it);
  // one diatonic step is half a space.
  double Y = 0.0;

  // Letter and octave as three characters ("C05"), the memory's key.
  std::string Tag() const;
};

// Spells pitch (a MIDI number) in key for a staff of clef (ClefTypes) and records the
// accidental it writes in memory.
SpelledPitch SpellPitch(int pitch, int clef, int key, AccidentalMemory& memory);

}  // namespace notecraft
