#pragma once
// Helpers for the MIDI file tests: MIDI bytes written as commented hex text, the fixture
// folder, python3-mido as an independent reader, and short texts of what a score holds.

#include <stdio.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/score.h"

namespace notecraft::testing {

inline const std::string kMidiData = std::string(NOTECRAFT_TEST_DATA) + "/midi";

// Bytes from text: pairs of hex digits, "quoted ASCII", and comments from '#' to the end
// of the line; blanks separate freely.
//   Hex(R"( "MThd" 00 00 00 06   # header length
//           00 01 00 02 00 60    # format 1, 2 tracks, 96 ticks a quarter )")
inline std::vector<std::uint8_t> Hex(std::string_view text) {
  std::vector<std::uint8_t> out;
  auto digit = [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '"') {
      while (++i < text.size() && text[i] != '"') out.push_back(static_cast<std::uint8_t>(text[i]));
    } else if (std::isxdigit(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      out.push_back(static_cast<std::uint8_t>(digit(c) * 16 + digit(text[i + 1])));
      ++i;
    }
  }
  return out;
}

inline std::string HexOf(std::string_view bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

// Whether Debian's python with mido can be run (it is installed with the test packages).
inline bool MidoAvailable() {
  static const bool available =
      std::system("/usr/bin/python3 -c 'import mido' >/dev/null 2>&1") == 0;
  return available;
}

// The lines dump_midi.py prints for a file: "type 1", "tracks 3", "T1 128 note_on 0 60 127".
inline std::vector<std::string> MidoDump(const std::string& path) {
  std::vector<std::string> lines;
  const std::string command =
      "/usr/bin/python3 '" + kMidiData + "/dump_midi.py' '" + path + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::string line;
  for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  ::pclose(pipe);
  return lines;
}

// "time:pitch,pitch/duration" per note, flags as "+dot", "+trip", "+stacc", space-separated.
inline std::string NotesText(const Notes& notes) {
  std::string out;
  for (const auto& n : notes) {
    if (!out.empty()) out += ' ';
    out += std::to_string(n->NoteTime()) + ':';
    for (int i = 0; i < n->ValueCount(); ++i) out += (i ? "," : "") + std::to_string(n->Value(i));
    out += '/' + std::to_string(n->Duration());
    if (n->Flags() & nteDot) out += "+dot";
    if (n->Flags() & nteTriplet) out += "+trip";
    if (n->Flags() & nteStacato) out += "+stacc";
  }
  return out;
}

// "time:value1/value2" of the score-wide time signatures.
inline std::string TimeSignaturesText(const GlobalEvents& events) {
  std::string out;
  for (int i = 1; i <= events.TimeItemCount(); ++i) {
    const auto e = events.TimeItem(i);
    if (!out.empty()) out += ' ';
    out += std::to_string(e->EventTime()) + ':' + std::to_string(e->Value1()) + '/' +
           std::to_string(e->Value2());
  }
  return out;
}

// "time:kind:value1/value2:text" of a list's other events.
inline std::string EventsText(const GlobalEvents& events) {
  std::string out;
  for (const auto& e : events) {
    if (!out.empty()) out += ' ';
    out += std::to_string(e->EventTime()) + ':' + std::to_string(e->EventType()) + ':' +
           std::to_string(e->Value1()) + '/' + std::to_string(e->Value2());
    if (!e->Text().empty()) out += ':' + e->Text();
  }
  return out;
}

}  // namespace notecraft::testing
