#pragma once
// Writes a score as the bytes of a native score file ("Vm00"; the layout is described in
// scorefilereader.h). The whole file is built in memory: sections are appended and the
// directory entries patched once each section's start and length are known.
//
// The writer refuses, before anything is written, a score the format cannot describe: more
// than 85 staves (the staff directory counts its entries in one byte) and any number that
// reaches 2^24 (readers keep only an N4's low three bytes): times, flags, note counts and
// the positions of a file of 16 MiB or more. Texts are made safe for their records:
// characters without a Windows-1252 byte, the separator bytes 0, 254 and 255 and control
// bytes are written as "?" (CR and LF stay in score and event texts: lyrics separate their
// verses with CR).
//
// A score whose score-wide events hold no key at time 0 is in its key (C major unless set)
// there; when a staff holds a key at time 0 the score's key is written out as an event,
// since readers take the first staff key at time 0 for the score's key when there is none.
//
// The score is only read, except that its pulse value is taken through
// GlobalEvents::PulseValue, which computes and keeps it when it is not yet known.

#include <cstdint>
#include <vector>

#include "notecraft/io/result.h"

namespace notecraft {

class Score;

class ScoreFileWriter {
public:
  static constexpr int kMaxStaves = 85;

  static Result<std::vector<std::uint8_t>> Write(Score& score);
};

}  // namespace notecraft
