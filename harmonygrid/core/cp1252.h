#pragma once
// Windows-1252, the 8-bit text of every file the suite reads and writes (chord shapes,
// instrument table, score files, MIDI text events). Inside the program text is UTF-8.

#include <string>
#include <string_view>

namespace harmonygrid {

// Every byte decodes to a character; the five bytes that Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 controls of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view bytes);

// Appends one character (below U+10000) as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Characters without a Windows-1252 byte, and malformed UTF-8, become `replacement`.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

}  // namespace harmonygrid
