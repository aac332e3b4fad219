#pragma once
// What one voice of one staff shows in one measure: every note with the value its glyph is
// drawn with, the rests around the notes, and the triplet groups that stand under a "3".
// The staff drawer draws these items, the spacing gives each its own place, and the system
// layout counts them for the measure's width. Display only: the stored notes keep their
// times, durations and flags.
//
// The drawn values of a voice that fills its gaps add up to the measure's length (a triplet
// value counts two thirds, a dot half again):
// - A note shows its own value, cut to the longest plain or dotted value that fits before
//   the voice's next note or the bar line; notes of one voice that sound over each other
//   thus show one after the other. A sixty-fourth shows as a thirty-second where there is
//   room, as the music font draws it that way, and a note played a 64th off the 32nd grid
//   stands on the nearer sixteenth.
// - A triplet-flagged note stands in a group of three equal slots (one, or for a lone note
//   of more than a beat, two of them its own) lying within its beat, or for values longer
//   than the beat on the beats within the measure, never across a bar line. Every note that
//   starts inside the group takes one or two slots and stands where its first slot begins;
//   empty slots are triplet rests.
// - Rests complete the beat they start in (and in a measure of four beats, the half bar)
//   before a longer rest is used; a measure without a note shows one measure rest.
// - A drum hit shows the value up to the next hit, within its beat (how long it sounds means
//   nothing for a drum).
//
// Times are 64ths from the measure's start; lengths in thirds of a 64th where triplets meet
// plain values.

#include <vector>

namespace notecraft {

class GlobalEvents;
class Note;
class Notes;

// The metre of a measure, as the rests and the triplet groups follow it.
struct Metre {
  int Length = 64;
  // The beat, 64ths. A compound metre's beat is three of its units: 24 in 6/8 and 12/8.
  int Beat = 16;

  // packed: Value1 x 128 + Value2 of the time signature in force (0 for common time, Value2
  // alone for cut time); length: the measure's length.
  static Metre Of(int packed, int length);
};

// One note of the voice, as the reader takes it.
struct RhythmNote {
  Note* Of = nullptr;
  int Time = 0;       // 64ths from the measure's start, inside the measure
  int Duration = 16;  // the stored value
  int Flags = 0;      // nteDot, nteTriplet
  bool Rest = false;  // a rest note (its lowest pitch is 0)
};

// One drawn symbol: a note, or a rest.
struct RhythmItem {
  Note* Of = nullptr;  // the note drawn, or the rest note a rest stands for
  bool Rest = false;
  bool MeasureRest = false;  // the whole measure's rest, centred in the measure
  // Where it stands: a note at its own time (or a 64th away, on the nearer sixteenth, when
  // played off the 32nd grid); a note or rest of a triplet group at its slot's start,
  // rounded down.
  int Time = 0;
  int Value = 16;  // the glyph's value, 64ths: 1, 2, 4 .. 64
  bool Dotted = false;
  bool Triplet = false;
  int Group = -1;  // its triplet group; -1 for none

  // What the glyph reads as, in thirds of a 64th.
  int Thirds() const;
};

struct TripletGroup {
  int Start = 0;  // 64ths from the measure's start
  int Span = 0;   // 64ths: three slots of Span / 3
  int First = 0;  // its first and last item
  int Last = 0;
};

struct MeasureRhythm {
  std::vector<RhythmItem> Items;  // in time order
  std::vector<TripletGroup> Groups;
};

struct RhythmOptions {
  bool FillGaps = true;  // rests between the notes (the staff's first voice)
  bool Drums = false;    // hits, which show the value up to the next hit in their beat
};

// Reads the notes of one voice in one measure (in time order, distinct times inside the
// measure) into what is drawn for them.
void ReadRhythm(const std::vector<RhythmNote>& notes, const Metre& metre, RhythmOptions options,
                MeasureRhythm& out);

// The notes of a voice in [start, start + length) that a staff draws: grandHalf 1 those with
// a pitch at or above split, 2 those with a pitch below it (rest notes, pitch 0, go below).
void GatherRhythmNotes(const Notes& notes, int start, int length, int grandHalf, int split,
                       std::vector<RhythmNote>& out);
// The same from the note at index first (1-based), the first at or after start.
void GatherRhythmNotesFrom(const Notes& notes, int first, int start, int length, int grandHalf,
                           int split, std::vector<RhythmNote>& out);

// Whether the notes from index first (1-based) up to time end hold a triplet-flagged note:
// only such a measure has triplet groups.
bool HoldsTriplets(const Notes& notes, int first, int end);

// The notes of a voice's measure that stand in triplet groups, with where each stands (its
// slot's start, from the measure's start), as the staff drawer reads the measure: so the
// layout keeps room for the groups' brackets and puts syllables where the notes stand.
class TripletNotes {
public:
  // The measure [start, start + length) of notes, the first of them at index first (1-based),
  // in the time signature in force in globals (4/4 without), on one half of a staff
  // (GatherRhythmNotes). The rhythm is read only where the measure holds a triplet note.
  void Read(const Notes& notes, int first, int start, int length, const GlobalEvents* globals,
            int grandHalf, int split, bool drums);
  // No note in a group, until the next Read.
  void Clear() { m_members.clear(); }
  // Where note stands in a group; -1 when in none.
  int TimeOf(const Note& note) const;
  // The group note stands in (counted from 0 in the measure); -1 for none.
  int GroupOf(const Note& note) const;

private:
  struct Member {
    const Note* Of = nullptr;
    int Time = 0;
    int Group = 0;
  };
  const Member* Find(const Note& note) const;

  std::vector<RhythmNote> m_notes;
  MeasureRhythm m_rhythm;
  std::vector<Member> m_members;
};

// The rests that fill [from, to) of a measure (times from its start), each completing the
// beat it starts in before a longer one is used; the whole measure takes one measure rest.
void AppendRests(int from, int to, const Metre& metre, int group, std::vector<RhythmItem>& out);

}  // namespace notecraft
