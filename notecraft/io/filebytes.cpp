#include "notecraft/io/filebytes.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "notecraft/core/cp1252.h"

namespace notecraft {

std::string LongToBytes(std::uint32_t value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
  return out;
}

void AppendN4(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

std::int32_t BytesToLong(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != 4) return 0;
  return static_cast<std::int32_t>(bytes[1]) * 65536 + static_cast<std::int32_t>(bytes[2]) * 256 +
         static_cast<std::int32_t>(bytes[3]);
}

std::int32_t BytesToLong(std::string_view bytes) {
  return BytesToLong(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string FormatDecimal(int value) { return std::to_string(value); }

std::string FormatDecimal(float value) {
  if (!std::isfinite(value)) return "0";
  // Fixed notation: a reader that takes the leading number would read "1e-05" as 1.
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (ec != std::errc{}) return "0";
  return std::string(buf, end);
}

namespace {

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string DecimalText(std::span<const std::uint8_t> s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::string number;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') number += '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    number += static_cast<char>(s[i++]);
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    std::string fraction;
    std::size_t j = i + 1;
    while (j < s.size() && IsDigit(s[j])) fraction += static_cast<char>(s[j++]);
    if (digits > 0 || !fraction.empty()) {
      i = j;
      if (digits == 0) number += '0';
      if (!fraction.empty()) number += '.' + fraction;
      digits += fraction.size();
    }
  }
  if (digits == 0) return {};
  // An exponent counts only when digits follow it.
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '-' || s[j] == '+')) exponent += static_cast<char>(s[j++]);
    const std::size_t first = j;
    while (j < s.size() && IsDigit(s[j])) exponent += static_cast<char>(s[j++]);
    if (j > first) number += exponent;
  }
  return number;
}

namespace {

template <typename T>
T ParseAs(std::span<const std::uint8_t> bytes) {
  const std::string text = DecimalText(bytes);
  if (text.empty()) return 0;
  T value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Too large gives infinity; too small for the type reads as zero.
    const auto e = text.find('e');
    const bool tiny = e != std::string::npos && text.find('-', e) != std::string::npos;
    if (tiny) return 0;
    const T inf = std::numeric_limits<T>::infinity();
    return text[0] == '-' ? -inf : inf;
  }
  return value;
}

}  // namespace

double ParseDecimal(std::span<const std::uint8_t> bytes) { return ParseAs<double>(bytes); }

float ParseDecimalFloat(std::span<const std::uint8_t> bytes) { return ParseAs<float>(bytes); }

std::string FileText(std::string_view utf8, TextKind kind) {
  std::string bytes = Utf8ToCp1252(utf8, '?');
  for (char& ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    bool bad = b == kNameEnd || b == kFieldSep || b == kRecordEnd;
    if (b < 32) bad = kind == TextKind::Description || (b != '\r' && b != '\n');
    if (bad) ch = '?';
  }
  return bytes;
}

std::string TextFromFile(std::span<const std::uint8_t> bytes) {
  return Cp1252ToUtf8(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace notecraft
