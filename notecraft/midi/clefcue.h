#pragma once
// The clef cue of a MIDI track: a cue point (FF 07) "%" followed by a number naming the clef
// of the track's staff. MidiFileWriter writes it and MidiImporter reads it, so a saved file
// keeps each staff's clef.
//
//   2 bass, 3 alto, 4 tenor, 5 percussion, 6 a grand staff; 1, none or any other number
//   treble

#include "notecraft/core/enums.h"

namespace notecraft {

inline int ClefOfCue(int code) {
  switch (code) {
    case 2:
      return clfBass;
    case 3:
      return clfAlto;
    case 4:
      return clfTenor;
    case 5:
      return clfPercussion;
    case 6:
      return clfGrand;
    default:
      return clfTreble;
  }
}

inline int CueOfClef(int clef) {
  switch (clef) {
    case clfBass:
      return 2;
    case clfAlto:
      return 3;
    case clfTenor:
      return 4;
    case clfPercussion:
      return 5;
    case clfGrand:
      return 6;
    default:
      return 1;
  }
}

}  // namespace notecraft
