#include "notecraft/core/common.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "notecraft/core/enums.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/platform.h"

namespace notecraft {

Common& TheCommon() {
  static Common common;
  return common;
}

int KeyFromByte(int b) {
  b &= 255;
  if (b < 128) return b & 7;
  return -std::min(256 - b, 7);
}

int KeyToByte(int key) {
  const int n = std::min(std::abs(key), 7);
  return key >= 0 ? n : 256 - n;
}

std::string NoteName(int pitch) {
  if (pitch < 0 || pitch > 127) return {};
  static constexpr std::string_view kLetters = "C#D#EF#G#A#B";
  static constexpr std::string_view kBelow = "C#D#EF#G#A#B#";
  const int i = pitch % 12;
  std::string name;
  if (kLetters[static_cast<std::size_t>(i)] == '#') {
    name += kBelow[static_cast<std::size_t>(i - 1)];
    name += '#';
  } else {
    name += kLetters[static_cast<std::size_t>(i)];
  }
  return name + std::to_string(pitch / 12);
}

std::string TempoMarkText(int code) {
  switch (code) {
    case tmpRitardando: return "ritard.";
    case tmpRitenuto: return "riten.";
    case tmpRallentando: return "rall.";
    case tmpAccelerando: return "accel.";
    case tmpDioppioMovimento: return "dioppio movimento";
    case tmpATempo: return "a tempo";
    case tmpTempoPrimo: return "tempo primo";
    case tmpLungaPausa: return "lunga pausa";
    default: return "Error";
  }
}

void MakeLightColor() {
  Common& c = TheCommon();
  const int v = std::abs(c.ColorNotes);
  auto lighter = [](int channel) {
    return static_cast<int>(std::min<std::int64_t>(255, RoundHalfEven(channel * 1.4)));
  };
  c.ColorLight = RGB(lighter(v % 256), lighter(v / 256 % 256), lighter(v / 65536 % 256));
}

int SnapX(int twips) {
  const int tpp = std::max(1, TheCommon().TwipsPerPixelX);
  return twips / tpp * tpp;
}

int SnapY(int twips) {
  const int tpp = std::max(1, TheCommon().TwipsPerPixelY);
  return twips / tpp * tpp;
}

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kTwipsPerInch = 1440;

// To a multiple of 1 / scale; values too large for that keep their own digits.
float RoundTo(double v, double scale) {
  const double scaled = v * scale;
  if (!(std::abs(scaled) < 1e15)) return static_cast<float>(v);
  return static_cast<float>(static_cast<double>(RoundHalfEven(scaled)) / scale);
}

double ToInches(double value, int unit) {
  if (unit == uomMM) return value / kMmPerInch;
  if (unit == uomTwips) return value / kTwipsPerInch;
  return value;
}

}  // namespace

std::optional<PaperInches> PaperSizeInches(int pageSize) {
  switch (pageSize) {
    case pgsLeter:
      return PaperInches{8.5f, 11.0f};
    case pgsLegal:
      return PaperInches{8.5f, 14.0f};
    case pgsExecutive:
      return PaperInches{7.25f, 10.5f};
    // The ISO sizes are whole millimetres; their list captions round the inches.
    case pgsA4:
      return PaperInches{static_cast<float>(210 / kMmPerInch),
                         static_cast<float>(297 / kMmPerInch)};
    case pgsA5:
      return PaperInches{static_cast<float>(148 / kMmPerInch),
                         static_cast<float>(210 / kMmPerInch)};
    default:
      return std::nullopt;
  }
}

std::string FormatLength(int toUnit, float value, int fromUnit) {
  const double inches = ToInches(value, fromUnit);
  if (toUnit == uomMM) {
    const float mm = fromUnit == uomMM ? value : RoundTo(inches * kMmPerInch, 10);
    return FormatShortest(mm) + "mm";
  }
  return FormatShortest(RoundTo(inches, 1000)) + "\"";
}

float ParseLength(int toUnit, std::string_view text, int fromUnit) {
  if (fromUnit < 0) fromUnit = TheCommon().UOM;
  double value = Val(text);
  // The unit mark follows the number (decimal fraction included).
  std::string mark(text.substr(ValLength(text)));
  mark.erase(0, mark.find_first_not_of(" \t"));
  mark.erase(mark.find_last_not_of(" \t") + 1);
  std::transform(mark.begin(), mark.end(), mark.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  // A number in twips units is shown and read as inches.
  int unit = fromUnit == uomMM ? uomMM : uomInches;
  if (mark == "CM") {
    value *= 10;
    unit = uomMM;
  } else if (mark == "MM") {
    unit = uomMM;
  } else if (mark == "\"") {
    unit = uomInches;
  }
  if (toUnit == unit) return static_cast<float>(value);
  // Inches keep every digit the conversion gives, so that a length typed in millimetres
  // shows the same millimetres again.
  const double inches = ToInches(value, unit);
  if (toUnit == uomMM) return RoundTo(inches * kMmPerInch, 10);
  if (toUnit == uomTwips) return RoundTo(inches * kTwipsPerInch, 1);
  return static_cast<float>(inches);
}

std::vector<std::uint8_t> MidiVarLen(std::int64_t scoreTime) {
  constexpr std::int64_t kMax = 0x0FFFFFFF;  // the largest four-byte quantity
  std::int64_t n = std::min(kMax, scoreTime * 8);
  if (n <= 0) return {0};
  std::vector<std::uint8_t> out;
  for (int shift = 21; shift > 0; shift -= 7) {
    const auto group = static_cast<std::uint8_t>((n >> shift) & 0x7F);
    if (group != 0 || !out.empty()) out.push_back(static_cast<std::uint8_t>(group | 0x80));
  }
  out.push_back(static_cast<std::uint8_t>(n & 0x7F));
  return out;
}

void AddToRecentDocs(const std::string& path) { CurrentPlatform().AddToRecentDocs(path); }

}  // namespace notecraft
