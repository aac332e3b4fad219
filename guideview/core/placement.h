#pragma once
// Where the viewer's window opens, in twips (1/1440 inch) as the settings store them.

#include <vector>

namespace guideview {

struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipRect&) const = default;
};

inline constexpr int kDefaultSplit = 2175;  // width of the left pane
inline constexpr int kMinimumSplit = 1920;  // the splitter stops here
inline constexpr int kDefaultWidth = 9000;
inline constexpr int kDefaultHeight = 6000;

// The stored rectangle when it is large enough (width 3000, height 1800) and meets one of the
// `screens` (available areas); else 9000 x 6000 cut to the primary screen and centred on it.
TwipRect ResolveWindowRect(const TwipRect& stored, const TwipRect& primary,
                           const std::vector<TwipRect>& screens);

}  // namespace guideview
