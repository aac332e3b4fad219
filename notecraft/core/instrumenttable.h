#pragma once
// The process-wide table of 175 instrument descriptions, read from
// "Common/Config/Instrument.txt" of the install folder each time a score is created.
// Rows 0..127 are the MIDI programs; row r describes the instrument whose program is r.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace notecraft {

struct InstrumentRow {
  int Category = 0;  // InstrumentCategories
  int Value = 0;     // MIDI program, equal to the row index
  std::string Description;
  int DefaultClef = 0;  // ClefTypes
  int Low = 0;          // lowest playable pitch
  int High = 0;         // highest playable pitch
  int Pitch = 0;        // key transposition in sharps (+) or flats (-)
  int Offset = 0;       // pitch offset in semitones
  std::array<int, 8> DrumValue{};  // drum slots 1..8; always 0 in the table
  std::array<int, 8> DrumCode{};
};

class InstrumentTable {
public:
  static constexpr int kRows = 175;

  // Replaces the table with the file's records; a missing file leaves it empty.
  // Returns the number of records read.
  int Load(const std::filesystem::path& file);
  // The same, from the file's bytes (Windows-1252 text).
  int LoadFromText(std::string_view bytes);
  void Clear() { m_rows = {}; }

  // Row 0..174; rows outside give an empty row.
  const InstrumentRow& Row(int index) const;
  // Description of row 0..174, else empty.
  std::string InsDesc(int insCode) const;
  // Category of the first row whose program equals code; 0 when none.
  int InstrumentFromCode(int code) const;

private:
  std::array<InstrumentRow, kRows> m_rows{};
};

// "Common/Config/Instrument.txt" under the data root of the current platform.
std::filesystem::path InstrumentFile();

}  // namespace notecraft
