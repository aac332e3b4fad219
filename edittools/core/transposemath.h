#pragma once
// Pitch arithmetic of the transpose tool. Keys count sharps (+) or flats (-); shifts are
// half-steps.

namespace edittools {

// The key reached from sourceKey by raising (mode 1) or lowering (mode 2) by amount key
// steps (fifths), folded back into -7..7 by an octave of fifths. The sign of amount is
// ignored.
int KeyStepTarget(int mode, int sourceKey, int amount);

// The half-steps that carry music from sourceKey to targetKey: a fifth per key step,
// folded into -11..11 so that the music moves by the smaller way round.
int KeyShift(int sourceKey, int targetKey);

// The shift of a half-step transposition: exactly amount up (mode 1) or down (mode 2),
// never folded, so raising by 12 is an octave and raising never lowers.
int HalfStepShift(int mode, int amount);

// A key folded into -7..7 (6 sharps + 2 is 4 flats), as a staff shows it.
int FoldKey(int key);

// A pitch moved by shift and kept inside 1..127; pitch 0 (a rest) stays 0.
int ShiftPitch(int pitch, int shift);

}  // namespace edittools
