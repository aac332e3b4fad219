#pragma once
// Where Standard MIDI File import and export plug into Score::OpenFile and Score::SaveFile,
// so that the native file code does not depend on the MIDI code. The MIDI code fills them
// (midifilehooks.cpp); with one left empty, OpenFile refuses a file that starts with
// "MThd" and SaveFile refuses fmtMIDI, each with a message saying so.
//
// Process-wide; a test may replace them. Single-threaded like the engine.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "notecraft/io/result.h"

namespace notecraft {

class Score;

struct MidiFileHooks {
  // Reads a Standard MIDI File's bytes into the score (which it empties with
  // Score::ClearContents first) and raises the open events; on failure it has already
  // shown its own "Open" message and returns false.
  using Reader = bool (*)(Score& score, std::span<const std::uint8_t> bytes,
                          const std::string& path);
  // The score as the bytes of a Standard MIDI File for saving; an error when it cannot be.
  using Writer = Result<std::vector<std::uint8_t>> (*)(Score& score);

  Reader Read = nullptr;
  Writer Write = nullptr;
};

MidiFileHooks& TheMidiFileHooks();

}  // namespace notecraft
