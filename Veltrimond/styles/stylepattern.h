#pragma once
// Lays an accompaniment style into a score: the style's first voice, repeated end to end,
// into voice 1 of one staff over a range of measures, every pitch moved by a shift.

namespace notecraft {
class Score;
}

namespace veltrimond::styles {

// The end measure that means "to the end of the score".
constexpr int kToScoreEnd = 99999;

// value + shift, raised to 0 or lowered to 127 when it leaves the MIDI range.
int ClampMidiValue(int value, int shift);

// The length (64ths) after which the style's pattern repeats: its first measure, or the
// whole measures its notes take when they run past the first.
int PatternLength(const notecraft::Score& style);

// Fills voice 1 of staff `staff` of target from the start of measure `first` up to, not
// including, the start of measure `end` (kToScoreEnd: up to the score's HighTime; a range
// that would be empty is one measure). The pattern starts at the start of `first` and
// repeats every PatternLength; a note is written when it starts before the end, with its
// full duration and flags, and its pitches moved by shift (none for a drum style; rests
// stay rests). Nothing is written when the style has no voice or no notes, or the target
// staff or its first voice is missing. When notes were written the target is marked
// changed (which also marks its playback out of date), laid out again and repainted.
// Returns the number of notes written.
int InsertStylePattern(const notecraft::Score& style, notecraft::Score& target, int staff,
                       int first, int end, int shift);

}  // namespace veltrimond::styles
