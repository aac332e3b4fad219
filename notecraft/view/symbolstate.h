#pragma once
// What the symbol drawers of one system hand on to each other between calls: the pending
// beam group, the triplet bracket, the stem directions forced on shared staves, the colour
// of the voice being drawn, the change shifts of the system's measures, the system's time
// span and the measure's accidentals. The staff drawer clears each part where a beat,
// voice, measure or system begins; the note and rest drawers advance it.

#include <vector>

#include "notecraft/core/pitchspelling.h"

namespace notecraft {

// One note of the pending beam group. Low and High are the y of its top and bottom head
// (glyph anchors, twips); the beam drawer replaces the far one by the stem's end.
struct BeamSlot {
  int X = 0;
  int Duration = 0;
  int Low = 0;
  int High = 0;
  bool operator==(const BeamSlot&) const = default;
};

// A key, time or clef change drawn at a measure's start: the notes and rests of that
// measure at or after Time move right by Width. Time -1: none.
struct ChangeShift {
  int Time = -1;
  int Width = 0;
  bool operator==(const ChangeShift&) const = default;
};

struct SymbolState {
  // Stem-mode bits: stems forced up, forced down, and a system whose staves share voices.
  static constexpr int kStemUp = 1;
  static constexpr int kStemDown = 2;
  static constexpr int kSharedStaves = 4;

  // Notes shorter than a quarter waiting for their beam (or flag), and their direction.
  std::vector<BeamSlot> Beam;
  bool BeamUp = false;

  // Triplet notes seen in the current group (cleared by the staff drawer after the third),
  // the x of the group's first and last note, and the group's stem direction.
  int TripletCount = 0;
  int TripletLeft = 0;
  int TripletRight = 0;
  bool TripletUp = false;

  int StemMode = 0;
  int NoteColor = 0;  // the fore colour of the voice being drawn

  int SystemStart = 0;   // time at the system's start
  int SystemEnd = 0;     // time at the end of the last measure drawn
  std::vector<ChangeShift> Shifts;  // per measure of the system

  AccidentalMemory Accidentals;  // of the measure being drawn

  // The shift of a measure; none outside the measures set so far.
  ChangeShift ShiftOf(int measure) const {
    if (measure < 0 || measure >= static_cast<int>(Shifts.size())) return {};
    return Shifts[static_cast<std::size_t>(measure)];
  }
  void SetShift(int measure, int time, int width) {
    if (measure < 0) return;
    if (measure >= static_cast<int>(Shifts.size())) Shifts.resize(static_cast<std::size_t>(measure) + 1);
    Shifts[static_cast<std::size_t>(measure)] = {time, width};
  }
};

}  // namespace notecraft
