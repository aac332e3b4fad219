#pragma once
// Chord names as a capo moves them: every note name goes up by the capo's number of semitones,
// on the scale "C+D+EF+G+A+B" ('+' marks a black key). A name that lands on a black key is
// spelled from the chord's accidental, the second character of the chord text: "#" spells it
// sharp (C#), anything else flat (Db). The bass note follows the chord's spelling, not its own.
//
// A root that is not one of C D E F G A B counts as the position just below C, so it still
// gives a name (N.C. with capo 2 reads Db.C.); only an empty text stays empty. Text is UTF-8;
// nothing here throws but allocation.

#include <string>
#include <string_view>

namespace harmonygrid {

// The chord text with its root moved up by capo semitones and the rest kept: "C#m7" with
// capo 1 is "Dm7", "C" with capo 1 is "Db". Capo 13 moves as far as 1; a capo below 1 leaves the
// text as it is.
std::string TransposeChordText(std::string_view chordText, int capo);

// The bass note (only its first two characters are read) moved up by capo semitones and spelled
// from chordText's accidental: "F" under "C" with capo 1 is "Gb", under "C#" it is "F#". A capo
// below 1 leaves the bass as it is.
std::string TransposeBass(std::string_view bass, std::string_view chordText, int capo);

}  // namespace harmonygrid
