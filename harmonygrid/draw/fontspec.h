#pragma once
// A font as the score keeps it: the score's text fonts and the music font are shared
// objects, so a host that changes a font the score handed out changes the score's font.

#include <string>

namespace harmonygrid {

struct FontSpec {
  std::string Name;
  float Size = 8.25f;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikeout = false;

  bool operator==(const FontSpec&) const = default;
};

}  // namespace harmonygrid
