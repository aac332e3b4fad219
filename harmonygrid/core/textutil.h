#pragma once
// Text helpers of the chord library. The library links nothing of the suite (the score engine
// links it), so it keeps its own small Windows-1252 decoder rather than borrowing the engine's.
// Inside the library text is UTF-8.

#include <string>
#include <string_view>

namespace harmonygrid {

// Every byte decodes to a character; the five bytes Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 controls of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view bytes);

// Upper case of the letters Windows-1252 can hold (ASCII, Latin-1, and š œ ž ÿ); every other
// character, and malformed UTF-8, is kept as it is. Used for comparisons that ignore case.
std::string UpperCase(std::string_view utf8);

// The text without leading and trailing spaces (only ' '; tabs are kept).
std::string_view TrimSpaces(std::string_view text);

}  // namespace harmonygrid
