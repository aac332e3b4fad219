#pragma once
// One record of a score's undo history: what an edit by position did, enough to take it
// back. Plain data; Score::Undo interprets it.
//
//   Action  AtTime          Text            Arg1         Arg2           Arg3    Arg4
//   1       note time       -               staff pos.   voice number   0       0
//   3, 4, 5 event time      event text      event type   Value1         Value2  0
//   6, 7, 8 event time      event text      event type   Value1         Value2  staff pos.
//
// 1 note added; 3 score-wide event added, 4 removed, 5 changed (measure size); 6 staff
// event added, 7 removed, 8 changed. For 4, 5, 7 and 8 the text and values are those
// before the change. Staff positions are 1-based; 0 names no staff.

#include <memory>
#include <string>

namespace notecraft {

class Note;

class DidWhat {
public:
  int AtTime = 0;
  int Action = 0;
  std::string Text;
  int Arg1 = 0;
  int Arg2 = 0;
  int Arg3 = 0;
  int Arg4 = 0;

  // Library-internal, kind 1: what note entry knew about the chord at AtTime before it
  // added Pitch. Without it (Pitch < 0) undo removes the whole note at AtTime.
  struct NoteEntry {
    int Pitch = -1;
    bool NoteCreated = true;  // no note stood at AtTime: undo removes the note
    bool PitchAdded = true;   // the chord did not hold Pitch: undo removes it again
    int Duration = 0;         // the chord's duration and flags before the entry
    int Flags = 0;
  };
  NoteEntry Entry;
  // Library-internal, kind 1: what the entry changed around the new note, for undo to put
  // back.
  struct Neighbours {
    // The later note the new one overlapped and removed, kept whole (pitches, flags and
    // all).
    std::shared_ptr<Note> Removed;
    // The note before, cut short to end where the new one starts: its time (-1: none was
    // cut), duration and flags before the cut.
    int TrimmedTime = -1;
    int TrimmedDuration = 0;
    int TrimmedFlags = 0;
  };
  Neighbours Around;
};

}  // namespace notecraft
