#include "layoutpad/core/noteentry.h"

#include <cmath>

#include "notecraft/core/enums.h"

namespace layoutpad {

int ToolFromImageKey(std::string_view key) noexcept {
  if (key.size() < 2) return 0;
  int value = 0;
  for (char c : key.substr(1)) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > 64) return 0;
  }
  return value;
}

int SnapFor(const Enhancements& enhance) noexcept {
  if (!enhance.Align) return 0;
  const std::string_view key = enhance.AlignImage;
  if (key == "N01") return 64;
  if (key == "N02") return 32;
  if (key == "N04") return 16;
  if (key == "N08") return 8;
  if (key == "N16") return 4;
  return 2;
}

int FlagsFor(StyleType type, const Enhancements& enhance) noexcept {
  int flags = 0;
  if (type != StyleType::Drums) {
    if (enhance.Dot) flags |= notecraft::nteDot;
    if (enhance.Staccato) flags |= notecraft::nteStacato;
  }
  if (enhance.Triplet) flags |= notecraft::nteTriplet;
  return flags;
}

int DurationForTool(int tool) noexcept {
  switch (tool) {
    case 1:
      return notecraft::durWhole;
    case 2:
      return notecraft::durHalf;
    case 4:
      return notecraft::durQuarter;
    case 8:
      return notecraft::durEighth;
    case 16:
      return notecraft::durSixteenth;
    default:
      return notecraft::durThirtySecond;
  }
}

int RoundHalfEven(double value) noexcept {
  if (!std::isfinite(value)) return 0;
  if (value > 2e9) return 2000000000;
  if (value < -2e9) return -2000000000;
  return static_cast<int>(std::nearbyint(value));  // the default rounding mode: to even
}

NoteEntry ComposeNoteEntry(double x, double y, int tool, StyleType type,
                           const Enhancements& enhance) noexcept {
  return {RoundHalfEven(x), RoundHalfEven(y), DurationForTool(tool), FlagsFor(type, enhance),
          SnapFor(enhance)};
}

LastNoteChange ChangeForArrow(ArrowKey key) noexcept {
  switch (key) {
    case ArrowKey::Left:
      return {-1, true};
    case ArrowKey::Right:
      return {1, true};
    case ArrowKey::Up:
      return {1, false};
    case ArrowKey::Down:
      break;
  }
  return {-1, false};
}

}  // namespace layoutpad
