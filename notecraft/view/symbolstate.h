#pragma once
// What the symbol drawers of one system hand on to each other between calls: the pending
// beam group, the triplet bracket, the stem directions forced on shared staves, the colour
// of the voice being drawn, the change shifts of the system's measures, the system's time
// span and the measure's accidentals. The staff drawer clears each part where a beat,
// voice, measure or system begins; the note and rest drawers advance it.

#include <algorithm>
#include <climits>
#include <vector>

#include "notecraft/core/pitchspelling.h"

namespace notecraft {

class Note;

// One note of the pending beam group. Low and High are the y of its top and bottom head
// (glyph anchors, twips); the beam drawer replaces the far one by the stem's end.
struct BeamSlot {
  int X = 0;
  int Duration = 0;
  int Low = 0;
  int High = 0;
  bool operator==(const BeamSlot&) const = default;
};

// A key, time or clef change drawn in a measure: the notes and rests of that measure at or
// after Time move right by Width. Time -1: none.
struct ChangeShift {
  int Time = -1;
  int Width = 0;
  bool operator==(const ChangeShift&) const = default;
};

// What stands at one time of a measure, on any staff of the system, for
// the room the glyphs there need (notespacing.h).
struct NotePosition {
  int Time = 0;             // from the measure's start
  bool Dotted = false;      // a dotted note: its dot follows the head
  bool Accidental = false;  // some head here gets a sign before it
  bool Second = false;      // a chord with a second: one head beside the stem's other side
  int AccidentalColumns = 0;  // the columns the signs of the widest chord here take
  bool LedgerSign = false;    // some sign here stands left of a ledger line it would meet
  int LyricRoom = 0;        // least distance from the position before, for syllables (twips)
  bool Flag = false;        // a short note without a beam: a flag may reach right of its head
  bool Rest = false;        // a rest, whose glyph reaches left of where it stands
  // The least distance from the position before that the glyphs of each staff need from
  // its own item before (notespacing.h, PositionReader); 0: taken from the marks above, as if
  // one staff held them all.
  int Room = 0;
  bool operator==(const NotePosition&) const = default;
};

// The last syllable of a measure, Time 64ths from the measure's start, and the room it needs
// from its note up to the measure's right bar line; Room 0: none.
struct LyricEnd {
  int Time = 0;
  int Room = 0;
  bool operator==(const LyricEnd&) const = default;
};

// Where a note was drawn on the staff (or grand-staff half) being drawn now. Ties join
// these positions only: a note's own X and Y may still hold another page's or another
// half's drawing.
struct DrawnNote {
  const Note* Of = nullptr;
  int X = 0;
  int Y = 0;  // the stem-end head's anchor, as Note::Y
  bool Up = false;
  bool MultiVoice = false;
};

// A box on the page that something drawn covers (twips, y down, edges included).
struct InkArea {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const InkArea&) const = default;
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
  // How far a bracket too narrow to read may widen: not left of TripletMinLeft, not right of
  // TripletMaxRight (its neighbours, the bar line).
  int TripletMinLeft = INT_MIN;
  int TripletMaxRight = INT_MAX;

  int StemMode = 0;
  int NoteColor = 0;  // the fore colour of the voice being drawn

  int SystemStart = 0;   // time at the system's start
  int SystemEnd = 0;     // time at the end of the last measure drawn
  int SystemRight = 0;   // x of the system's last bar line: a tie into the next system ends there
  std::vector<DrawnNote> DrawnNotes;  // of the staff being drawn; cleared where it starts
  // Per measure of the system: the changes drawn at its start (clef, key, time, one after
  // the other), and the clef changes inside it. Both hold for every staff drawn after the
  // one that set them.
  std::vector<ChangeShift> Shifts;
  std::vector<std::vector<ChangeShift>> InnerShifts;
  // Per measure: the note positions of all the system's staves (gathered before the first
  // staff draws), and how far the staff being drawn moves them apart so that their glyphs
  // do not collide.
  std::vector<std::vector<NotePosition>> Positions;
  std::vector<std::vector<ChangeShift>> Spreads;
  // Per measure (gathered with Positions): what its last syllable keeps free up to the
  // right bar line (lyricspacing.h).
  std::vector<LyricEnd> LyricEnds;

  AccidentalMemory Accidentals;  // of the measure being drawn

  // While RecordInk is on, what is drawn adds its box to Ink (ink.h): the staff drawer
  // records a staff's system, both halves of a grand staff, and places the marks around
  // its notes clear of it.
  bool RecordInk = false;
  std::vector<InkArea> Ink;

  const DrawnNote* FindDrawn(const Note* note) const {
    const auto found = std::find_if(DrawnNotes.begin(), DrawnNotes.end(),
                                    [note](const DrawnNote& d) { return d.Of == note; });
    return found == DrawnNotes.end() ? nullptr : &*found;
  }

  // The shift of a measure; none outside the measures set so far.
  ChangeShift ShiftOf(int measure) const {
    if (measure < 0 || measure >= static_cast<int>(Shifts.size())) return {};
    return Shifts[static_cast<std::size_t>(measure)];
  }
  // How far the notes and rests of a measure at time move right for the changes before them.
  int ShiftAt(int measure, int time) const {
    const ChangeShift start = ShiftOf(measure);
    int width = start.Time != -1 && time >= start.Time ? start.Width : 0;
    if (measure >= 0 && measure < static_cast<int>(InnerShifts.size()))
      for (const ChangeShift& inner : InnerShifts[static_cast<std::size_t>(measure)])
        if (time >= inner.Time) width += inner.Width;
    if (measure >= 0 && measure < static_cast<int>(Spreads.size()))
      for (const ChangeShift& spread : Spreads[static_cast<std::size_t>(measure)])
        if (time >= spread.Time) width += spread.Width;
    return width;
  }
  // All the room a measure's changes take.
  int ShiftWidth(int measure) const { return ShiftAt(measure, 1 << 30); }
  // A clef change inside a measure; at a time that has one already, the wider one holds.
  void AddInnerShift(int measure, int time, int width) {
    if (measure < 0) return;
    if (measure >= static_cast<int>(InnerShifts.size()))
      InnerShifts.resize(static_cast<std::size_t>(measure) + 1);
    auto& inner = InnerShifts[static_cast<std::size_t>(measure)];
    for (ChangeShift& shift : inner) {
      if (shift.Time == time) {
        shift.Width = std::max(shift.Width, width);
        return;
      }
    }
    inner.push_back({time, width});
  }
  void SetShift(int measure, int time, int width) {
    if (measure < 0) return;
    if (measure >= static_cast<int>(Shifts.size())) Shifts.resize(static_cast<std::size_t>(measure) + 1);
    Shifts[static_cast<std::size_t>(measure)] = {time, width};
  }
};

}  // namespace notecraft
