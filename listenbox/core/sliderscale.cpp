#include "listenbox/core/sliderscale.h"

#include <algorithm>

namespace listenbox {

int SliderMaximum(int highTime) { return std::max(highTime, 0) / 16; }

int SliderLeft(int position, int maximum) {
  if (maximum <= 0) return 0;
  const long long p = std::clamp(position, 0, maximum);
  const long long left = p * kSliderTwips / maximum;
  return static_cast<int>(left / kSliderStepTwips * kSliderStepTwips);
}

}  // namespace listenbox
