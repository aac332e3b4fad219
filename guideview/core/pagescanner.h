#pragma once
// Finds the four constructs the contents builder reads in a help page: links ("<A " ... "HREF="),
// section and chapter pictures ("<IMG " ... "SRC="), keyword groups ("<IDX " ... "GROUP=") and
// the title. Pages are read as text, not parsed as HTML: a line is searched for each construct
// in a fixed order of precedence, and a text that is not closed on its line goes on over the
// following lines. Every step of a scan moves forward, so malformed pages end in time linear in
// their length.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace guideview {

struct PageConstruct {
  enum class Kind { Link, Image, KeywordGroup, Title };
  Kind kind = Kind::Link;
  std::string value;   // the target, picture name or keyword path, exactly as written
  std::string text;    // link text or title as written, its lines joined by "\n"
  bool closed = true;  // the link text or title found its closing tag
};

// Longest link text or title kept, in bytes; an unclosed text would otherwise run to the page's
// end.
inline constexpr std::size_t kMaxConstructText = 4096;

// The constructs of a page's text in the order read. Pictures are looked for only when
// `findImages` (the contents page); elsewhere an "<IMG " line is read for the other constructs.
std::vector<PageConstruct> ScanPage(std::string_view text, bool findImages);

}  // namespace guideview
