#pragma once
// The byte layer of the native score file, shared by its reader and writer and by the
// Standard MIDI File code.
//
//  - N4: a 4-byte big-endian number. Readers take the low three bytes only (the first
//    byte is ignored), so every number a writer stores must stay below 2^24.
//  - D: a number written as text in the C locale: "-", digits, "." and digits, as short as
//    the value needs, never with an exponent ("0.4", "10.5", "120").
//  - Text: Windows-1252, one byte a character, ended by the separator bytes that follow
//    it: 254 between fields, 255 at a record's end, 0 after a font name.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace notecraft {

inline constexpr std::uint8_t kFieldSep = 254;
inline constexpr std::uint8_t kRecordEnd = 255;
inline constexpr std::uint8_t kNameEnd = 0;
// The first number an N4 cannot hold (readers keep only its low three bytes).
inline constexpr std::int64_t kN4Limit = 16777216;

// The four bytes of value, most significant first; the value is taken as 32 bits.
std::string LongToBytes(std::uint32_t value);
void AppendN4(std::vector<std::uint8_t>& out, std::uint32_t value);
// Byte 2 x 65536 + byte 3 x 256 + byte 4 when there are exactly four bytes, else 0.
std::int32_t BytesToLong(std::span<const std::uint8_t> bytes);
std::int32_t BytesToLong(std::string_view bytes);

// D text of a number: integers as they are, singles in their shortest fixed form.
std::string FormatDecimal(int value);
std::string FormatDecimal(float value);

// The number text at the start of bytes as a reader takes it: blanks skipped, then a
// sign, digits, at most one "." with digits, and an exponent ("1E-05"). What follows is
// ignored. Empty when there is no number.
std::string DecimalText(std::span<const std::uint8_t> bytes);
// The leading number of bytes; 0 when there is none, +-infinity beyond a double.
double ParseDecimal(std::span<const std::uint8_t> bytes);
// The same, rounded straight from the text to a single (no double rounding).
float ParseDecimalFloat(std::span<const std::uint8_t> bytes);

// How a text is followed in its record, which decides the bytes it may not contain.
enum class TextKind {
  Free,         // score and event texts: CR and LF stay (verses of a lyric, lines)
  Description,  // names and descriptions that a control byte follows: no byte below 32
};
// UTF-8 text as Windows-1252 bytes for a file: characters without a byte, the separator
// bytes 0, 254 and 255 and control bytes become "?", so the text cannot end its record.
std::string FileText(std::string_view utf8, TextKind kind);
// Windows-1252 bytes of a file as UTF-8.
std::string TextFromFile(std::span<const std::uint8_t> bytes);

}  // namespace notecraft
