#pragma once
// Process-wide state and small routines shared by the score, its drawing and its dialogs:
// key bytes, note names, tempo-mark texts, the lighter note colour, pixel snapping, length
// formatting and parsing, the MIDI variable-length number.
//
// The state is one per process, shared by every score (a second score's creation sets it
// again), and used from the engine's one thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notecraft/core/instrumenttable.h"

namespace notecraft {

// Colours are packed as red + green x 256 + blue x 65536.
constexpr int RGB(int r, int g, int b) { return r + g * 256 + b * 65536; }

struct Common {
  int TwipsPerPixelX = 15;
  int TwipsPerPixelY = 15;
  int UOM = 0;  // MeasurementUnits behind Score::UOM

  int ColorBars = RGB(48, 48, 192);
  int ColorNotes = RGB(18, 152, 18);
  int ColorLight = RGB(22, 182, 22);
  int ColorLines = 0;
  int ColorChords = RGB(100, 20, 60);
  int ColorTies = RGB(240, 0, 0);

  // Separators of the native file's text records.
  std::string LineEnd = "\r";
  std::string FieldSep = std::string(1, '\xFE');
  std::string RecordEnd = std::string(1, '\xFF');
  std::string Terminator = std::string(1, '\0');

  InstrumentTable Instruments;

  // Answer of the last score dialog: 1 OK, 2 Cancel, 5 while a dialog loads.
  int DialogResult = 0;
};

Common& TheCommon();

// Key byte: sharps 0..7 as themselves, flats as two's complement (the MIDI sf byte).
int KeyFromByte(int b);
int KeyToByte(int key);

// "C5" for 60, "C#5" for 61; empty outside 0..127. Middle C is in octave 5.
std::string NoteName(int pitch);
// Text of a TempoMarks code; "Error" for any other code.
std::string TempoMarkText(int code);
// Sets ColorLight: each channel of ColorNotes times 1.4, capped at 255, rounded.
void MakeLightColor();

// A twips value rounded toward zero to a whole screen pixel.
int SnapX(int twips);
int SnapY(int twips);

// Lengths as the user reads and types them, converted at 25.4 mm an inch (1440 twips an
// inch) wherever they are shown: the score's dialogs and the editor's defaults alike.
//
// A length converted from one MeasurementUnits to another and written with its unit mark:
// millimetres to a tenth ("12.7mm"), inches to a thousandth ("0.75\""). Twips are shown as
// inches.
std::string FormatLength(int toUnit, float value, int fromUnit);
// The leading number of a text, in the unit written after it ("cm", "mm", '"') or else in
// fromUnit (below 0: the process unit), converted to toUnit. '.' and ',' are decimal
// separators; a number in twips units counts as inches. Inches are not rounded, so a
// length typed in millimetres and held in inches shows the millimetres typed.
float ParseLength(int toUnit, std::string_view text, int fromUnit = -1);

// The portrait width and height of a paper (PageSizes) in inches; none for pgsCustom and
// other values.
struct PaperInches {
  float Width = 0;
  float Height = 0;
};
std::optional<PaperInches> PaperSizeInches(int pageSize);

// The Standard MIDI File variable-length number of a score time (x8 ticks): at most four
// bytes, capped at the largest four-byte value.
std::vector<std::uint8_t> MidiVarLen(std::int64_t scoreTime);

// Adds a file to the desktop's recent documents through the platform.
void AddToRecentDocs(const std::string& path);

}  // namespace notecraft
