#include "harmonygrid/core/capotranspose.h"

namespace harmonygrid {

namespace {

// Positions 1..12 are the semitones from C.
constexpr std::string_view kScale = "C+D+EF+G+A+B";

// Bytes of the first UTF-8 character of text (a malformed sequence counts byte by byte), so
// that a text starting with a non-ASCII character keeps its remainder whole.
std::size_t FirstCharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t wanted = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  std::size_t n = 1;
  while (n < wanted && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) ++n;
  return n;
}

// The accidental of a note or chord text: its second character when that is '#' or 'b'.
char Accidental(std::string_view text) {
  const std::size_t first = FirstCharLength(text);
  if (first >= text.size()) return '\0';
  const char c = text[first];
  return c == '#' || c == 'b' ? c : '\0';
}

// The name of root (with its accidental) moved up by capo > 0 semitones.
std::string MoveNote(char root, char accidental, int capo, char spelling) {
  // '+' is the scale's black-key marker, not a note; every non-letter reads as position 0.
  const std::size_t found = root == '+' ? std::string_view::npos : kScale.find(root);
  long long pos = found == std::string_view::npos ? 0 : static_cast<long long>(found) + 1;
  if (accidental == 'b') {
    if (--pos < 1) pos = 12;
  } else if (accidental == '#') {
    if (++pos > 12) pos = 1;
  }
  // Up by the capo, then down by octaves into 1..12 (pos + capo is at least 1 here).
  pos = (pos - 1 + capo) % 12 + 1;
  const auto at = static_cast<std::size_t>(pos - 1);
  if (kScale[at] != '+') return std::string(1, kScale[at]);
  // Black keys are never first or last on the scale, so both neighbours exist.
  if (spelling == '#') return std::string(1, kScale[at - 1]) + '#';
  return std::string(1, kScale[at + 1]) + 'b';
}

}  // namespace

std::string TransposeChordText(std::string_view chordText, int capo) {
  if (capo < 1 || chordText.empty()) return std::string(chordText);
  const char accidental = Accidental(chordText);
  std::size_t rootLength = FirstCharLength(chordText);
  if (accidental != '\0') ++rootLength;
  return MoveNote(chordText[0], accidental, capo, accidental) +
         std::string(chordText.substr(rootLength));
}

std::string TransposeBass(std::string_view bass, std::string_view chordText, int capo) {
  if (capo < 1 || bass.empty()) return std::string(bass);
  return MoveNote(bass[0], Accidental(bass), capo, Accidental(chordText));
}

}  // namespace harmonygrid
