#pragma once
// What a score remembers between edits by position: the note entered last (moved by
// ChangeLast), the band a note was last found in, the note selection, the caret and lyric
// position, and the middle line found by the last text-offset query.

#include <memory>
#include <string>
#include <vector>

namespace notecraft {

class Note;

// The note AddNoteByHit entered last. Value 0: none (or forgotten).
struct LastEntry {
  int Band = 0;   // 1-based position in the page's bands; 0 when not found there
  int Staff = 0;  // Staff::Index
  int Time = 0;
  int Value = 0;  // pitch or drum value
  int Voice = 0;  // voice number on the staff
};

// One selected note. The note is not kept alive: a note removed by other means expires,
// and a note still alive counts only while its voice holds it at its time.
struct SelectedNote {
  std::weak_ptr<Note> Item;
  std::string VoiceID;
  int Staff = 0;  // Staff::Index when selected
};

struct EditState {
  LastEntry Last;
  int LastBandIndex = 0;  // the band in which OnNote last found a note

  std::vector<SelectedNote> Selection;
  int SelectionVoice = 0;  // Score::Voice when the selection was made

  int CaretSearchTime = -1;  // negative: no caret
  int CaretTime = -1;
  int CaretX = 0;
  int CaretY = 0;
  int LyricStaff = 0;
  int LyricTime = -1;  // negative: no lyric position
  std::string LyricText;
  int TextBaseY = 0;
};

}  // namespace notecraft
