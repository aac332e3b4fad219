#include "guideview/core/pagetext.h"

#include <array>
#include <cstdint>

#include "guideview/core/htmlentities.h"

namespace guideview {

namespace {

// Code points of the Windows-1252 bytes 0x80..0x9F; the bytes it leaves unassigned keep the C1
// control of the same number. All other bytes are Latin-1.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<std::uint8_t>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) {
      extra = 1, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, c = b & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      auto cont = static_cast<std::uint8_t>(s[i + k]);
      if ((cont & 0xC0) != 0x80) return false;
      c = (c << 6) | (cont & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Decodes the character reference at s[pos] == '&'. Returns the number of bytes it takes, or 0
// when it is not one (the "&" then stands for itself). The ";" may be missing, as browsers allow.
std::size_t DecodeReference(std::string_view s, std::size_t pos, std::string& out) {
  std::size_t i = pos + 1;
  char32_t code = 0;
  if (i < s.size() && s[i] == '#') {
    ++i;
    bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
    if (hex) ++i;
    std::size_t digitsStart = i;
    while (i < s.size() && i - digitsStart < 8) {
      char c = s[i];
      int digit = -1;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (hex && c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      if (digit < 0) break;
      code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
      ++i;
    }
    if (i == digitsStart) return 0;
  } else {
    std::size_t nameStart = i;
    while (i < s.size() && IsAsciiAlnum(s[i]) && i - nameStart < 10) ++i;
    auto found = LookUpHtmlEntity(s.substr(nameStart, i - nameStart));
    if (!found) return 0;
    code = *found;
  }
  if (i < s.size() && s[i] == ';') ++i;
  AppendUtf8(out, code == 0 ? 0xFFFD : code);
  return i - pos;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string DecodePageBytes(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80)
      out += ch;
    else if (b < 0xA0)
      AppendUtf8(out, kCp1252High[b - 0x80]);
    else
      AppendUtf8(out, b);
  }
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string HtmlToPlainText(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  bool pendingBlank = false;
  auto emit = [&](std::string_view piece) {
    if (pendingBlank && !out.empty()) out += ' ';
    pendingBlank = false;
    out += piece;
  };
  std::size_t i = 0;
  while (i < html.size()) {
    char c = html[i];
    if (IsHtmlSpace(c)) {
      pendingBlank = true;
      ++i;
    } else if (c == '<' && i + 1 < html.size() &&
               (IsAsciiAlnum(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!')) {
      std::size_t close = html.find('>', i);
      if (close == std::string_view::npos) {
        emit(html.substr(i, 1));
        ++i;
      } else {
        i = close + 1;
      }
    } else if (c == '&') {
      std::string decoded;
      std::size_t used = DecodeReference(html, i, decoded);
      if (used == 0) {
        emit("&");
        ++i;
      } else {
        emit(decoded);
        i += used;
      }
    } else {
      emit(html.substr(i, 1));
      ++i;
    }
  }
  return out;
}

std::string FoldBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (char c : text) {
    if (IsHtmlSpace(c)) {
      pendingBlank = true;
      continue;
    }
    if (pendingBlank && !out.empty()) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace guideview
