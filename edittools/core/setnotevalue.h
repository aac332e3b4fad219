#pragma once
// The rules of the Set Note Value dialog, apart from its widgets: checking what the user
// chose and turning it into the pitch value of Score::ChangeSel.

#include <string>
#include <string_view>

namespace edittools {

inline constexpr int kMaxHalfSteps = 40;
inline constexpr int kMaxOctave = 10;

struct SetNoteChoice {
  bool Absolute = false;
  bool Up = true;              // relative: "+" rather than "-"
  std::string HalfSteps = "1"; // relative: the box's text
  int NoteIndex = 0;           // absolute: C..B as 0..11, -1 for none
  std::string Octave = "5";    // absolute: the box's text
};

struct SetNoteCheck {
  bool Ok = false;
  std::string Message;  // why not, for a message box titled "Set Note"
  int Value = 0;        // for ChangeSel: a MIDI pitch, 256 + n up, -n down, 0 no change
};

SetNoteCheck CheckSetNote(const SetNoteChoice& choice);

// The whole number a number box's text stands for; an empty box is 0.
int BoxNumber(std::string_view text);

}  // namespace edittools
