#pragma once
// Text of a help page: bytes to UTF-8, lines, and HTML fragments to the plain text a reader
// sees. The builder and the page browser both decode through here, so that a node's text and
// the title of the page on show agree character for character.

#include <string>
#include <string_view>
#include <vector>

namespace guideview {

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), else Windows-1252, the
// encoding of older pages.
std::string DecodePageBytes(std::string_view bytes);

// Splits at LF, CRLF and lone CR; the line ends are removed. A final line end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The plain text of an HTML fragment (a title or a link text): tags removed, character
// references decoded, runs of blanks, tabs and line ends folded into one blank, ends trimmed.
std::string HtmlToPlainText(std::string_view html);

// Runs of blanks, tabs and line ends folded into one blank, ends trimmed (text already decoded).
std::string FoldBlanks(std::string_view text);

// Appends one code point as UTF-8 (invalid code points become U+FFFD).
void AppendUtf8(std::string& out, char32_t c);

// ASCII lower case, byte for byte (other bytes unchanged, so positions stay valid).
std::string AsciiLower(std::string_view s);

// Equal ignoring ASCII letter case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Blanks and tabs trimmed at both ends.
std::string_view TrimBlanks(std::string_view s);

}  // namespace guideview
