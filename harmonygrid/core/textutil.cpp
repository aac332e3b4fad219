#include "harmonygrid/core/textutil.h"

#include <array>
#include <cstdint>

namespace harmonygrid {

namespace {

char32_t UpperOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à..þ, not ÷
  switch (c) {
    case 0xFF:
      return 0x178;  // ÿ
    case 0x161:
      return 0x160;  // š
    case 0x153:
      return 0x152;  // œ
    case 0x17E:
      return 0x17D;  // ž
    default:
      return c;
  }
}

}  // namespace

std::string UpperCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<std::uint8_t>(s[i]);
    std::size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : (b & 0x0F);
    bool ok = len > 0 && i + len <= s.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      auto cont = static_cast<std::uint8_t>(s[i + k]);
      ok = (cont & 0xC0) == 0x80;
      c = (c << 6) | (cont & 0x3F);
    }
    if (!ok) {  // four-byte sequences and malformed bytes pass through one byte at a time
      out += s[i++];
      continue;
    }
    char32_t u = UpperOf(c);
    if (u == c)
      out.append(s.substr(i, len));
    else
      AppendUtf8(out, u);
    i += len;
  }
  return out;
}

std::string_view TrimSpaces(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = text.find_last_not_of(' ');
  return text.substr(b, e - b + 1);
}

}  // namespace harmonygrid
