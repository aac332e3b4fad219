#pragma once
// Where a note ends: the one rule behind note entry, the trim of the note before a new one,
// clicks on the page, the page's end, re-timing, playback and MIDI export.
//
// A note occupies its value (Duration, 64ths), half again with a dot. A triplet note
// occupies two thirds of that: three triplet notes fill two of their value. Its group starts
// on a quarter of its measure (triplets shorter than eighths on a multiple of their group's
// length), counted from the bar line, and on the 64th grid its slots are the thirds of the
// group, each rounded to the nearest 64th: triplet eighths from a beat stand at 0, 5 and 11
// and the next beat comes at 16; triplet quarters at 0, 11, 21 (32) or from the second beat
// at 16, 27, 37 (48); triplet halves at 0, 21, 43 (64). A triplet note ends where its slot
// does (a dotted one half a slot later), taking the slot whose start is nearest its time,
// so a note placed off the grid still ends on it.

namespace notecraft {

class GlobalEvents;
class Note;

// The end of a note of duration and flags at time, in the measure that starts at
// measureStart (at or before time); always after time.
int NoteEnd(int time, int duration, int flags, int measureStart);
// The same in the measure that globals' time signatures give (4/4 throughout without them).
int NoteEnd(int time, int duration, int flags, const GlobalEvents* globals);
int NoteEnd(const Note& note, const GlobalEvents* globals);
// Where a triplet note at time stands on the grid: the start of the slot it takes (time
// itself for other notes). Entry places a triplet there.
int SlotStart(int time, int duration, int flags, const GlobalEvents* globals);

// How long a note sounds that sounds `length` 64ths on its own: a triplet (two thirds of its
// value, rounded) never past its end, where the next note of its group starts.
int SoundsFor(const Note& note, int length, const GlobalEvents* globals);

}  // namespace notecraft
