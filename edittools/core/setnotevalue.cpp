#include "edittools/core/setnotevalue.h"

namespace edittools {

int BoxNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    n = n > 100'000'000 ? n : n * 10 + (text[i] - '0');  // saturates: any long run is "too big"
  return n;
}

SetNoteCheck CheckSetNote(const SetNoteChoice& choice) {
  SetNoteCheck check;
  if (!choice.Absolute) {
    const int n = BoxNumber(choice.HalfSteps);
    if (n < 0 || n > kMaxHalfSteps) {
      check.Message = "The number of Half-Steps must be between 0 and 40.";
      return check;
    }
    check.Value = n > 0 ? (choice.Up ? 256 + n : -n) : 0;
    check.Ok = true;
    return check;
  }
  if (choice.NoteIndex < 0 || choice.NoteIndex > 11) {
    check.Message = "You must specify a valid note and octave.";
    return check;
  }
  const int octave = BoxNumber(choice.Octave);
  if (octave < 0 || octave > kMaxOctave) {
    check.Message = "The octave must be between 0 and 10.";
    return check;
  }
  if (octave == kMaxOctave && choice.NoteIndex > 7) {
    check.Message = "Notes above 'G' are not permitted in the tenth octave.";
    return check;
  }
  // C in octave 0 would be pitch 0, which the selection change reads as "no change".
  if (octave == 0 && choice.NoteIndex == 0) {
    check.Message = "Notes below 'C#' are not permitted in octave 0.";
    return check;
  }
  check.Value = octave * 12 + choice.NoteIndex;
  check.Ok = true;
  return check;
}

}  // namespace edittools
