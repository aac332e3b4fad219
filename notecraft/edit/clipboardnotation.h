#pragma once
// The score library's clipboard text: selected notes as one line of ASCII,
//   S<staff id>:<voice id>@<measure start>#time#duration#flags#pitch|pitch...#time...
// the staff and voice ids written again whenever they change, the measure start once.
// Reading is defensive: the text comes from any program on the desktop.

#include <string>
#include <string_view>
#include <vector>

namespace notecraft {

struct ClipNote {
  long long Time = 0;  // as written, before the shift to the target measure
  int Duration = 0;
  int Flags = 0;
  std::vector<int> Pitches;
};

struct ClipContent {
  bool Accepted = false;        // the head looks like the library's text
  long long SourceStart = 0;    // the start of the copied measure; 0 when the text has none
  std::vector<ClipNote> Notes;  // of the first staff only, in text order
};

// Appends notes one by one; ids are written only when they change.
class ClipboardWriter {
public:
  void AddNote(const std::string& staffID, const std::string& voiceID, int measureStart, int time,
               int duration, int flags, const std::vector<int>& pitches);
  const std::string& Text() const { return m_text; }

private:
  std::string m_text;
  std::string m_staff, m_voice;
  bool m_first = true;
};

// Reads a clipboard text. Accepted only when longer than five characters, starting with "S"
// and a digit, and holding ":". Parsing stops, keeping the notes read so far, at a second
// staff, an unknown character, a number without digits or a number beyond 32 bits; pitches
// above 127 are left out of their note.
ClipContent ReadClipboardNotation(std::string_view text);

}  // namespace notecraft
