#pragma once
// What a help page would cost the page view, judged from its HTML before the view sees it.
//
// The page view lays a page out in one go on the window's thread, and some shapes of HTML
// cost it far more than their size: its time grows with the square of the nesting depth, of
// the items of one list and of the length of a word, and doubles with each level of tables
// nested in tables (16 levels take a second, 20 a quarter of a minute; the content of an
// inner table is laid out again at every level). A page past any of the limits below is
// refused and a short notice shown in its place; the limits keep the worst page under about
// a second and leave ordinary pages, which nest a few levels and hold a few hundred
// elements, far behind.
//
// The HTML is read as a browser would for counting: comments, scripts and styles are
// skipped, empty elements and those whose end tag may be left out (li, p, td ...) do not
// nest, and an end tag closes whatever is still open inside its element. One pass, linear
// in the page's length.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace guideview {

struct PageLimits {
  std::size_t maxBytes = 512 * 1024;
  std::size_t maxElements = 10000;    // those in a table in a table count twice, and so on
  std::size_t maxDepth = 100;         // elements open inside one another
  std::size_t maxTableDepth = 8;      // tables inside tables
  std::size_t maxListItems = 2000;    // items of one list
  std::size_t maxWordLength = 10000;  // characters without a blank
};

// Why the page would cost too much, as a sentence for the notice; nothing when it may be
// shown. fileBytes is the size of the page's file when only its start was read into html, so
// that a refusal names the file's own size.
std::optional<std::string> RefusePage(std::string_view html, const PageLimits& limits = {},
                                      std::uintmax_t fileBytes = 0);

// The page shown in place of a refused one: its title (so that the contents still find the
// page on show) and the reason.
std::string RefusalNotice(std::string_view html, std::string_view reason);

}  // namespace guideview
