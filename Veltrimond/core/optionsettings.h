#pragma once
// Section Options of the settings, held in memory while the editor runs: the defaults that
// new scores get. Lengths are inches; colours are RGB values packed as red + green * 256 +
// blue * 65536, as the settings file keeps them.

#include <array>
#include <cstdint>

namespace veltrimond {

constexpr std::int32_t PackRgb(int red, int green, int blue) {
  return red + green * 256 + blue * 65536;
}

struct OptionSettings {
  int UOM = 0;       // MeasurementUnits: 0 inches, 1 millimetres
  int PageSize = 0;  // index into the Defaults dialog's paper sizes, 0..5
  double StaffHeight = 0.28;
  double StaffSpacing = 0.55;
  double SystemSpacing = 1;
  bool ReverseEvenOdd = true;
  bool PageNumbering = true;
  bool PageNumbering1 = true;
  std::array<std::int32_t, 5> Color{PackRgb(0, 0, 0), PackRgb(0, 30, 220), PackRgb(0, 200, 0),
                                    PackRgb(245, 0, 80), PackRgb(140, 60, 0)};
  // Top, bottom, left, right.
  std::array<double, 4> Margin{1, 0.5, 0.75, 0.5};

  bool operator==(const OptionSettings&) const = default;
};

inline constexpr int kLastPageSize = 5;
// The longest length the section holds, in inches: past the largest paper by far.
inline constexpr double kMaxOptionInches = 100;

// Reads section Options key by key; a missing or unreadable value, an index out of its
// list, or a length below 0 or above kMaxOptionInches gives that key's default.
OptionSettings LoadOptionSettings();
// Writes what the Defaults command stores; the paper size goes back as it was read (the
// dialog only shows it: new scores take their paper from nowhere here).
void SaveOptionSettings(const OptionSettings& options);

}  // namespace veltrimond
