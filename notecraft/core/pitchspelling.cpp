#include "notecraft/core/pitchspelling.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "notecraft/core/enums.h"
#include "notecraft/core/numeric.h"

namespace notecraft {

namespace {

// The letters twice over, so that a degree counted from any tonic stays inside.
constexpr std::string_view kLetterRing = "CDEFGABCDEFGABC";
// The major tonic's letter by key + 7: C-flat, G-flat, D-flat, ... C, G, D, ... C-sharp.
constexpr std::string_view kTonics = "CGDAEBFCGDAEBFC";
constexpr std::string_view kFlatOrder = "BEADGCF";
constexpr std::string_view kSharpOrder = "FCGDAEB";
// Semitones of each natural letter above C.
constexpr std::array<int, 7> kNaturalSemitone = {0, 2, 4, 5, 7, 9, 11};

int ClampKey(int key) { return std::clamp(key, -7, 7); }

int LetterIndex(char letter) {
  return static_cast<int>(std::string_view("CDEFGAB").find(letter));
}

// Bottom-line step of each clef, in diatonic steps from C of octave 0 (E above middle C for
// treble, G below the bass clef's F for bass, F and D below middle C for alto and tenor).
int ClefBase(int clef) {
  switch (clef) {
    case clfBass: return 25;
    case clfAlto: return 31;
    case clfTenor: return 29;
    default: return 37;  // treble, percussion, grand
  }
}

}  // namespace

std::string SpelledPitch::Tag() const {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%c%02d", Letter, Octave);
  return buffer;
}

ScaleDegreeResult ScaleDegree(int key, int pitch) {
  key = ClampKey(key);
  ScaleDegreeResult result;
  result.Letters.assign(1, kTonics[static_cast<std::size_t>(key + 7)]);
  const std::string_view order = key < 0 ? kFlatOrder : kSharpOrder;
  result.Letters += order.substr(0, static_cast<std::size_t>(key < 0 ? -key : key));

  // The tonic's pitch class is key fifths above C; the semitone between the third and the
  // fourth degree is skipped so that every degree is two steps wide.
  const int reference = key * 7 + 60;
  int r = (pitch - reference) % 12;
  if (r < 0) r += 12;
  if (r >= 5) ++r;
  result.Degree = r / 2;
  result.Chromatic = r % 2 != 0;
  return result;
}

SpelledPitch SpellPitch(int pitch, int clef, int key, AccidentalMemory& memory) {
  key = ClampKey(key);
  const ScaleDegreeResult degree = ScaleDegree(key, pitch);
  const std::string_view altered = std::string_view(degree.Letters).substr(1);
  auto isAltered = [&](char letter) { return altered.find(letter) != std::string_view::npos; };

  const std::size_t tonic = kLetterRing.find(degree.Letters[0]);
  const std::size_t at = tonic + static_cast<std::size_t>(degree.Degree);
  SpelledPitch spelled;
  spelled.Letter = kLetterRing[at];

  if (degree.Chromatic) {
    // A chromatic pitch lies a semitone above the degree's note.
    const char next = kLetterRing[at + 1];
    // A white key between two altered degrees is written as its own letter with a
    // natural sign (G natural in A major, not F double sharp; B natural in F major).
    // In a major scale the other neighbour is then always altered too, so no chromatic
    // pitch needs a double sign.
    if (key < 0) {
      if (isAltered(spelled.Letter)) {
        spelled.Mark = Accidental::Natural;  // the key flattens the letter: cancel it
      } else {
        spelled.Letter = next;  // the next letter, flattened
        spelled.Mark = Accidental::Flat;
      }
    } else if (key == 0) {
      spelled.Mark = Accidental::Sharp;
    } else if (isAltered(next)) {
      spelled.Letter = next;  // the next letter is sharpened by the key: write it natural
      spelled.Mark = Accidental::Natural;
    } else {
      spelled.Mark = Accidental::Sharp;
    }
  }

  // The octave is the letter's own: the one whose natural note lies within a tritone of the
  // pitch, so that C-flat (59 in G-flat major) stands in octave 5 and B-sharp (60 in
  // C-sharp major) in octave 4, not an octave off as pitch / 12 would put them.
  const int letter = LetterIndex(spelled.Letter);
  spelled.Octave =
      static_cast<int>(FloorDiv(pitch - kNaturalSemitone[static_cast<std::size_t>(letter)] + 6, 12));

  const int step = spelled.Octave * 7 + letter;
  spelled.Y = (ClefBase(clef) - step) / 2.0;

  // The measure's memory: a sign already written for this letter and octave is not
  // repeated; a note the key spells plainly after an altered one gets the cancelling sign.
  auto& entries = memory.Entries;
  auto found = std::find_if(entries.begin(), entries.end(), [&](const AccidentalMemory::Entry& e) {
    return e.Letter == spelled.Letter && e.Octave == spelled.Octave;
  });
  if (found != entries.end()) {
    const Accidental previous = found->Mark;
    if (spelled.Mark == previous) {
      spelled.Mark = Accidental::None;
    } else if (spelled.Mark != Accidental::None) {
      found->Mark = spelled.Mark;
    } else {
      entries.erase(found);
      spelled.Mark = previous != Accidental::Natural ? Accidental::Natural
                     : key < 0                      ? Accidental::Flat
                                                    : Accidental::Sharp;
    }
  } else if (spelled.Mark != Accidental::None) {
    entries.push_back({spelled.Letter, spelled.Octave, spelled.Mark});
  }
  return spelled;
}

}  // namespace notecraft
