#include "guideview/core/placement.h"

#include <algorithm>

namespace guideview {

namespace {

bool Intersects(const TwipRect& a, const TwipRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

TwipRect ResolveWindowRect(const TwipRect& stored, const TwipRect& primary,
                           const std::vector<TwipRect>& screens) {
  bool tooSmall = stored.width < 3000 || stored.height < 1800;
  bool visible = std::any_of(screens.begin(), screens.end(),
                             [&](const TwipRect& s) { return Intersects(stored, s); });
  if (!tooSmall && visible) return stored;
  TwipRect r;
  r.width = std::min(kDefaultWidth, primary.width);
  r.height = std::min(kDefaultHeight, primary.height);
  r.left = primary.left + (primary.width - r.width) / 2;
  r.top = primary.top + (primary.height - r.height) / 2;
  return r;
}

}  // namespace guideview
