#pragma once
// Room between a measure's note positions. The staff drawer spaces a measure's notes in
// proportion to their times; where two successive positions would stand closer than their
// glyphs need (a run of 32nds or 64ths after longer notes), the positions from the later
// one on move right by what is missing, and the proportional scale shrinks so that the
// measure still ends at its bar line. A measure whose positions all have room keeps its
// proportional spacing unchanged.
//
// The positions are the system's, gathered over all its visible staves, so that what sounds
// together stays aligned; the room between them is what each staff's own glyphs need from
// its own item before (a dot on one staff and a sign on another do not add up), positions of
// different staves standing a little apart. Twips and 64ths.

#include <memory>
#include <vector>

#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/surface.h"
#include "notecraft/view/symbolstate.h"

namespace notecraft {

class DrawContext;
class Score;
class Staff;
class Voice;

// The glyph widths a position's room is made of, measured on the staff being drawn.
struct GlyphRoom {
  int Head = 0;        // a note head (or a rest)
  int DottedHead = 0;  // a head with its augmentation dot
  int Accidental = 0;  // a sign with its gap before the head
  int Gap = 0;         // kept free between two positions' glyphs
  int Flagged = 0;     // a head with an up stem's flag, which reaches further right
  int Ledger = 0;      // a ledger line through a head, from the head's left edge
  int RestLead = 0;    // how far the shortest rest reaches left of where it stands
  int Apart = 0;       // kept between positions of different staves
  bool operator==(const GlyphRoom&) const = default;
};

// The room the glyphs of window's current font (the music font at a staff's size, line space
// s) take: the widest head or shortest rest, a head with its dot, a sign, a flag, a ledger
// line, and the gap between two positions.
GlyphRoom MeasureGlyphRoom(const Surface& window, int s);

// MeasureGlyphRoom of dc's window in score's music font at a staff height (twips); the
// window's font is put back.
GlyphRoom StaffGlyphRoom(DrawContext& dc, const Score& score, int staffHeight);

// The least distance between two successive items of one staff whose glyphs are marked in
// before and at.
int StaffRoom(const NotePosition& before, const NotePosition& at, const GlyphRoom& room);

// The least distance from position k - 1 to position k: its Room, or the room between the
// two as one staff's items; at least its syllables' room.
int RoomBefore(const std::vector<NotePosition>& positions, std::size_t k, const GlyphRoom& room);

// What the glyphs of a measure's last position need right of its x, with the gap that keeps
// them off the bar line: the head with its dot or flag, the ledger lines through it and a
// second's head beside it.
int RoomAfter(const NotePosition& last, const GlyphRoom& room);

// What the glyphs of a measure's first position need before it beyond the one column of
// accidentals that the start of every measure leaves: further columns, and a head beside
// the stem's far side (a second) that the signs stand left of.
int LeadRoom(const NotePosition& first, const GlyphRoom& room);

// What a measure's positions take with nothing but their glyphs' room between them: the
// first position's lead, the room between successive positions and the last one's room
// before the bar line.
int SpacedWidth(const std::vector<NotePosition>& positions, const GlyphRoom& room);

struct MeasureSpacing {
  int TwipsPerUnit = 0;
  // Where positions move right, in time order: each width adds to all positions at or after
  // its time.
  std::vector<ChangeShift> Spreads;
};

// Spaces positions (in time order, times inside the measure) over available twips for a
// measure of duration 64ths drawn as (duration + 1) units of proportional space: the largest
// scale at which the proportional space and the spreads fit. When the glyphs alone need
// more than is available, the gaps between glyphs give way first; then the glyphs' rooms
// shrink alike, the syllables keeping theirs as long as they alone fit.
MeasureSpacing SpreadPositions(const std::vector<NotePosition>& positions, int duration,
                               int available, const GlyphRoom& room);

// The note positions of the measure [start, start + duration) over the given staves
// (Staff::Index): where every note and every rest of each voice's rhythm stands
// (measurerhythm.h), on each half of a grand staff. A note shorter than a quarter with no
// such note beside it in its beat (the score's pulse) marks its position as flagged. With a
// glyph room, each position's Room: what the staves that have an item there need from their
// own item before (and before the bar lines), positions of different staves standing
// room.Apart apart; without one, Room is 0.
std::vector<NotePosition> CollectPositions(Score& score, const std::vector<int>& staves, int start,
                                           int duration, const GlyphRoom* room = nullptr);

// CollectPositions for measure after measure of a score as it stands: the staves' voices are
// looked up once, at the first reading, and the buffers kept between readings.
class PositionReader {
public:
  explicit PositionReader(Score& score) : m_score(score) {}
  // The positions of [start, start + duration) over staves, in time order, with their Room
  // when a glyph room is given; they hold until the next reading.
  const std::vector<NotePosition>& Read(const std::vector<int>& staves, int start, int duration,
                                        const GlyphRoom* room = nullptr);

private:
  struct StaffVoices {
    std::shared_ptr<Staff> Of;
    std::vector<std::shared_ptr<Voice>> Voices;
    std::vector<bool> Drums;
    // Per voice, the index of its first note at or after the start read last: measures read
    // in time order find their notes from there.
    std::vector<int> First;
    int Start = -1;
  };
  StaffVoices* VoicesOf(int staff);
  // The index of voice v's first note at or after start.
  static int FirstNote(StaffVoices& staff, std::size_t v, int start);
  // Two successive items of one staff (times from the measure's start, their marks in
  // m_items); From -1: the staff's first item, after the measure's start; To -1: its last,
  // before the bar line.
  struct Link {
    int From = 0;
    int To = 0;
    int Before = -1;
    int At = -1;
  };
  void LinkStaff();
  void SetRooms(const GlyphRoom& room);

  Score& m_score;
  std::vector<StaffVoices> m_staves;  // by Staff::Index - 1, filled as asked
  std::vector<bool> m_looked;
  std::vector<RhythmNote> m_notes;
  MeasureRhythm m_rhythm;
  std::vector<NotePosition> m_at;  // per 64th of the measure, over all staves
  std::vector<unsigned char> m_taken;
  std::vector<NotePosition> m_staffAt;  // per 64th, the staff being read
  std::vector<int> m_staffTimes;        // where it has items
  std::vector<int> m_stamp;             // per 64th: the staff that marked it last
  std::vector<Link> m_links;
  std::vector<NotePosition> m_items;  // the staves' items the links join
  std::vector<int> m_x;     // per 64th: where the position stands, tightly spaced
  std::vector<int> m_into;  // per 64th: the last link into it; -1 for none
  std::vector<int> m_next;  // per link: the link before it into the same 64th
  std::vector<NotePosition> m_positions;
  AccidentalMemory m_memory;
};

}  // namespace notecraft
