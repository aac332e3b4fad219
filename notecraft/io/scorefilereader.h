#pragma once
// Parses the bytes of a native score file ("Vm00") into a ScoreImage.
//
// Layout (positions 1-based, N4 big-endian with only its low three bytes read):
//   head      "Vm00", entry count (4), entry size (11), then the directory of entries
//             "Hdr", "Glb", "Ins", "Stf": 3-byte tag, N4 start, N4 length
//   Hdr       five font records, then the spacing, page and tempo records
//   Glb       event records: N4 time, type, value 1, value 2 [, 254 text 255]
//   Ins       instrument records, 255 at the end of each
//   Stf       N4 head length, entry count, entry size, then per staff the entries "Hdr",
//             "Glb", "Vce" of its sub-sections
//
// Every start, length, count and index is checked against the file before it is used, and
// nothing is allocated from a stored count. A file must add up: the sections its directory
// names lie end to end from the directory to the end of the file, the staves' sub-sections
// likewise fill the Stf section after its head, and the records of each section fill it
// exactly (a record cut short, a note count the notes do not meet, bytes left over). What
// the format tolerates inside that (an entry with a start or length of 0, an unknown tag, a
// record without its separators) skips that entry or record, as the original reader did.
// What would have stopped it part-way (staff data before any staff, a fifth voice on a
// staff, an instrument beyond the sixteenth or outside the instrument table) and what
// cannot come from a sound file (a directory entry shorter than 11 bytes, a directory that
// names none of the four sections) fail the whole parse. Parsing is linear in the file's
// size.

#include <cstdint>
#include <span>

#include "notecraft/io/result.h"
#include "notecraft/io/scoreimage.h"

namespace notecraft {

class ScoreFileReader {
public:
  static Result<ScoreImage> Parse(std::span<const std::uint8_t> file);
};

}  // namespace notecraft
