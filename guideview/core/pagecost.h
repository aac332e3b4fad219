#pragma once
// What a help page would cost the page view, judged from its HTML before the view sees it.
//
// The page view lays a page out in one go on the window's thread, and some shapes of HTML
// cost it far more than their size: its time grows with the square of the nesting depth and
// of the items of one list, and doubles with each level of tables nested in tables (16
// levels take a second, 20 a quarter of a minute). A page past any of the limits below is
// refused and a short notice shown in its place; the limits leave ordinary pages, which
// nest a few levels and hold a few hundred elements, far behind.
//
// The HTML is read as a browser would for counting: comments, scripts and styles are
// skipped, empty elements and those whose end tag may be left out (li, p, td ...) do not
// nest, and an end tag closes whatever is still open inside its element. One pass, linear
// in the page's length.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace guideview {

struct PageLimits {
  std::size_t maxBytes = 1024 * 1024;
  std::size_t maxElements = 20000;
  std::size_t maxDepth = 100;       // elements open inside one another
  std::size_t maxTableDepth = 8;    // tables inside tables
  std::size_t maxListItems = 2000;  // items of one list
};

// Why the page would cost too much, as a sentence for the notice; nothing when it may be
// shown.
std::optional<std::string> RefusePage(std::string_view html, const PageLimits& limits = {});

// The page shown in place of a refused one: its title (so that the contents still find the
// page on show) and the reason.
std::string RefusalNotice(std::string_view html, std::string_view reason);

}  // namespace guideview
