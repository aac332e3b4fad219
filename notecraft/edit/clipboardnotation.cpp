#include "notecraft/edit/clipboardnotation.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace notecraft {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The digit run at pos (pos moves past it); empty when no digit stands there.
std::string_view ReadDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

// A digit run as a number within 0..INT32_MAX; none when empty or larger.
std::optional<int> ToNumber(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

void ClipboardWriter::AddNote(const std::string& staffID, const std::string& voiceID,
                              int measureStart, int time, int duration, int flags,
                              const std::vector<int>& pitches) {
  if (m_first || staffID != m_staff) m_text += staffID;
  if (m_first || voiceID != m_voice) m_text += ":" + voiceID;
  if (m_first) m_text += "@" + std::to_string(measureStart);
  m_first = false;
  m_staff = staffID;
  m_voice = voiceID;
  m_text += "#" + std::to_string(time) + "#" + std::to_string(duration) + "#" +
            std::to_string(flags) + "#";
  for (std::size_t i = 0; i < pitches.size(); ++i) {
    if (i) m_text += "|";
    m_text += std::to_string(pitches[i]);
  }
}

ClipContent ReadClipboardNotation(std::string_view text) {
  ClipContent content;
  if (text.size() <= 5 || text[0] != 'S' || !IsDigit(text[1])) return content;
  std::size_t pos = text.find(':');
  if (pos == std::string_view::npos) return content;
  content.Accepted = true;

  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == ':') {
      // The voice id: one letter and its digits, not used for the target.
      if (pos < text.size()) ++pos;
      ReadDigits(text, pos);
    } else if (c == '@') {
      const auto start = ToNumber(ReadDigits(text, pos));
      if (!start) break;
      content.SourceStart = *start;
    } else if (c == '#') {
      // time, duration, flags: each a number and one separator.
      int fields[3] = {};
      bool complete = true;
      for (int& field : fields) {
        const auto n = ToNumber(ReadDigits(text, pos));
        if (!n || pos >= text.size()) {
          complete = false;
          break;
        }
        field = *n;
        ++pos;
      }
      if (!complete) break;
      ClipNote note;
      note.Time = fields[0];
      note.Duration = fields[1];
      note.Flags = fields[2];
      while (pos < text.size() && IsDigit(text[pos])) {
        const auto digits = ReadDigits(text, pos);
        const auto pitch = ToNumber(digits);
        if (pitch && *pitch <= 127) note.Pitches.push_back(*pitch);
        if (pos < text.size() && text[pos] == '|')
          ++pos;
        else
          break;
      }
      content.Notes.push_back(std::move(note));
    } else {
      break;  // a second staff ("S") or anything foreign
    }
  }
  return content;
}

}  // namespace notecraft
