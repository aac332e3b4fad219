#pragma once
// How tied notes sound, for the playback stream and the MIDI export. A tie is an evtTie
// event of a staff: it spans the notes of the staff's voice numbered by its text, from its
// time to its end time (Value1 x 256 + Value2). Two neighbouring notes of a voice that one
// tie spans are joined: each pitch they share sounds on from the first without being struck
// again, up to the end of the last note of the chain. A pitch that only one of them holds
// sounds as it would without the tie: a chord may hold some pitches over and strike others,
// and a tie to a note that lacks the pitch ends it with its own note.
//
// Built once per playback or export; it reads the ties when made and keeps pointers to the
// voices only as keys.

#include <functional>
#include <unordered_map>
#include <vector>

namespace notecraft {

class Note;
class Score;
class Voice;

class TiedNotes {
public:
  struct Strike {
    int Pitch = 0;
    int Off = 0;  // score time the pitch is released
  };
  // Sounding length in 64ths of a note on its own, at least 1.
  using LengthOf = std::function<int(const Note&)>;

  // The ties of every staff of the score. No tie joins two notes on either side of a
  // barrier: a time b with first < b <= second.
  explicit TiedNotes(const Score& score, std::vector<int> barriers = {});

  // Fills `strikes` with the pitches that `note`, the one at `index` (1-based) of the
  // voice's notes, strikes, in the note's order, each with the time it is released. A pitch
  // that the note before holds too is held over, not struck, when a tie joins the two and
  // the note before sounds as well: it starts at or after `from` (where play started).
  void Strikes(const Voice& voice, const Note& note, int index, int from, const LengthOf& length,
               std::vector<Strike>& strikes) const;

  // Whether a tie joins the voice's neighbouring notes at times first and second.
  bool Joins(const Voice& voice, int first, int second) const;

private:
  // The ties of one voice by ascending start, with the furthest end reached by any tie
  // starting at or before each.
  struct Spans {
    std::vector<int> Starts;
    std::vector<int> Reach;
  };
  std::unordered_map<const Voice*, Spans> m_spans;
  std::vector<int> m_barriers;  // ascending
};

}  // namespace notecraft
