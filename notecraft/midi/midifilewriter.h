#pragma once
// Writes a score as a Standard MIDI File of format 1 at 128 ticks per quarter note (score
// time x 8): a conductor track, then one track per voice.
//
// Conductor track, all at delta 0 but the time signatures:
//   FF 01 Title|font, FF 01 SubTitle|font, FF 01 Composer|font, FF 01 ArrangedBy,
//   FF 02 Copyright(0)|font, FF 02 Copyright(1)|font        (texts: saving only)
//   FF 51 03 tempo                                            (when the tempo is above 0)
//   FF 07 "&StaffHeight|StaffSpace|SystemSpace"               (saving only)
//   FF 03 "Control", FF 04 Heading|font
//   FF 59 02 key                                              (saving only)
//   FF 58 04 per time signature, FF 2F 00
// "|font" is "|name|size|bold" with bold "1" or "0" ("Sonata|Arial|14|1"). The texts are
// written also when empty, so that the reader can tell which is which.
//
// Voice tracks, in ascending Voice::Track (a Track of 9999 or more, a Track another voice
// already took and a voice without an instrument are left out):
//   FF 03 staff description, FF 04 instrument description     (saving only, when not empty)
//   FF 07 "%" and the staff's clef (clefcue.h)                (saving only)
//   bank select 0 and program (not on the drum channel 9), volume 127, pan 64,
//   the notes (note-off as note-on with velocity 0, running status) and the staff's
//   dynamics as controller 7, FF 2F 00. Notes joined by a tie sound as one (tiednotes.h).
//
// Texts are Windows-1252 and their lengths variable-length numbers, so texts of any length
// are written whole (track and instrument names are cut to 255 characters).
//
// For playback the texts and layout numbers are left out, and so are the voices of muted
// staves. The writer never changes the score.

#include <cstdint>
#include <string>
#include <vector>

#include "notecraft/io/result.h"

namespace notecraft {

class Score;

class MidiFileWriter {
public:
  static constexpr int kDivision = 128;                 // ticks per quarter note
  static constexpr int kMaxTrack = 9999;                // voices at or above are never written
  static constexpr int kMaxNameLength = 255;            // track and instrument names
  static constexpr std::uint32_t kMaxTempo = 0xFFFFFF;  // microseconds per quarter, 3 bytes

  static std::vector<std::uint8_t> Write(const Score& score, bool forPlayback);
  // The MIDI writer of Score::SaveFile: the bytes of the file with its texts.
  static Result<std::vector<std::uint8_t>> SaveBytes(Score& score);
  // Writes the file to path through a temporary file in its folder: path is replaced
  // only by a complete file.
  static Result<Done> WriteFile(const Score& score, const std::string& path, bool forPlayback);

  // Sounding length in 64ths of a note of `duration` with `flags`: x1.5 with a dot, else
  // x0.5 staccato, and two thirds of that for a triplet, rounded half to even; at least 1,
  // so that a note-off never comes before its note-on. A triplet note of a score sounds no
  // further than its end (SoundsFor, noteend.h), where the next note of its group starts.
  static int SoundingLength(int duration, int flags);
  // The power of two of the beat note in a time-signature event for a beat length in
  // 64ths (32 -> 1, 16 -> 2, 8 -> 3, 4 -> 4, 2 -> 5; any other value -> 2).
  static int BeatPower(int beat);
  // Controller 7 value of a DynamicTypes value.
  static int DynamicVolume(int dynamic);
};

}  // namespace notecraft
