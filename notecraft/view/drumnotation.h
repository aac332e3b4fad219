#pragma once
// Where a drum note is written on a drum staff. A drum voice stores the General MIDI note
// it plays (35 the acoustic bass drum .. 81 the open triangle); the staff shows the kit in
// the customary places: the bass drum in the bottom space, the snare in the third space,
// the toms between, hi-hats above the staff, the ride on the top line, crashes on the first
// ledger line above, the pedal hi-hat below the staff.

namespace notecraft {

// The pitch whose place under a percussion clef (read as a treble staff) is where drum note
// note is written; a note outside the kit stands on the middle line.
int DrumStaffPitch(int note);

}  // namespace notecraft
