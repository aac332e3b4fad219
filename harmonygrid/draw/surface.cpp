#include "harmonygrid/draw/surface.h"

#include <cmath>

#include "harmonygrid/draw/musicfontmetrics.h"

namespace harmonygrid {

int EmTwips(const FontSpec& font) noexcept {
  return static_cast<int>(std::lround(static_cast<double>(font.Size) * 20.0));
}

bool Surface::IsMusicFont() const noexcept { return m_state.Font.Name == MusicFontName; }

}  // namespace harmonygrid
