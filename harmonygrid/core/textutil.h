#pragma once
// Text helpers of the chord library. Inside the library text is UTF-8; files are decoded with
// the suite's Windows-1252 codec (cp1252.h).

#include <string>
#include <string_view>

#include "harmonygrid/core/cp1252.h"

namespace harmonygrid {

// Upper case of the letters Windows-1252 can hold (ASCII, Latin-1, and š œ ž ÿ); every other
// character, and malformed UTF-8, is kept as it is. Used for comparisons that ignore case.
std::string UpperCase(std::string_view utf8);

// The text without leading and trailing spaces (only ' '; tabs are kept).
std::string_view TrimSpaces(std::string_view text);

}  // namespace harmonygrid
