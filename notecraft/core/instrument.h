#pragma once
// How a voice sounds and is written: category (and so its group), MIDI channel and program,
// default clef, written transposition, playable range and eight drum slots. Created only by
// Instruments::Add; every setter is library-internal and ignores values out of range.

#include <array>
#include <string>

#include "notecraft/core/range.h"

namespace notecraft {

class Score;
struct Internal;

class Instrument {
public:
  int Category() const { return m_category; }
  int Channel() const { return m_channel; }
  int DefaultClef() const { return m_defaultClef; }
  const std::string& Description() const { return m_description; }
  // GroupTypes derived from the category.
  int Group() const;
  int Offset() const { return m_offset; }  // semitones
  int Pitch() const { return m_pitch; }    // key transposition in sharps (+) or flats (-)
  const notecraft::Range& Range() const { return m_range; }
  int Value() const { return m_value; }  // MIDI program
  // The instrument-table row the instrument was made from (0..174). Rows from 128 on are
  // drum sounds that all play program 0, so the row, not the program, tells instruments
  // apart.
  int TableRow() const { return m_row; }
  // The number a score file stores for the instrument and its voices: the program, or the
  // row for a drum sound beyond the programs (readers pass it to Instruments::Add).
  int FileCode() const;

  // Drum slots 1..8: the instrument-table code and the MIDI note each slot plays. Other
  // slots read 0 and ignore writes; values are kept in 16 bits.
  int DrumCode(int index) const;
  void SetDrumCode(int index, int value);
  int DrumValue(int index) const;
  void SetDrumValue(int index, int value);

  // Library-internal.
  // catDrums puts the instrument on channel 9 and keeps its drum map; any other category
  // clears the map.
  void SetCategory(Internal, int category);
  void SetChannel(Internal, int channel);  // 0..15
  void SetDefaultClef(Internal, int clef);
  void SetDescription(Internal, std::string description);
  void SetOffset(Internal, int offset);  // -12..12, any value for drums
  void SetPitch(Internal, int pitch);    // -7..7
  // 0..127; a melodic instrument's table row follows its program.
  void SetValue(Internal, int value);
  void SetTableRow(Internal, int row);  // 0..174
  void SetID(Internal, std::string id);
  const std::string& InstrumentID(Internal) const;
  notecraft::Range& MutableRange(Internal);
  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;

private:
  int m_category = 0;
  int m_channel = 0;
  int m_defaultClef = 0;
  std::string m_description;
  std::array<short, 8> m_drumCode{};
  std::array<short, 8> m_drumValue{};
  std::string m_id;
  int m_offset = 0;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
  int m_pitch = 0;
  notecraft::Range m_range;
  int m_row = 0;
  int m_value = 0;
};

}  // namespace notecraft
