#include "notecraft/view/surface.h"

#include <cmath>

#include "notecraft/view/glyphs.h"

namespace notecraft {

int EmTwips(const FontSpec& font) noexcept {
  return static_cast<int>(std::lround(static_cast<double>(font.Size) * 20.0));
}

bool Surface::IsMusicFont() const noexcept { return m_state.Font.Name == MusicFontName; }

}  // namespace notecraft
