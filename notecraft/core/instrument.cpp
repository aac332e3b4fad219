#include "notecraft/core/instrument.h"

#include "notecraft/core/enums.h"
#include "notecraft/core/instrumenttable.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {

int Instrument::Group() const {
  switch (m_category) {
    case catWind:
    case catReed: return grpWind;
    case catBrass: return grpBrass;
    case catString:
    case catGuitar: return grpString;
    case catPercussion:
    case catDrums: return grpPercussion;
    case catGrand: return grpPiano;
    default: return grpSolo;
  }
}

int Instrument::DrumCode(int index) const {
  return index >= 1 && index <= 8 ? m_drumCode[static_cast<std::size_t>(index - 1)] : 0;
}

void Instrument::SetDrumCode(int index, int value) {
  if (index >= 1 && index <= 8) m_drumCode[static_cast<std::size_t>(index - 1)] = static_cast<short>(value);
}

int Instrument::DrumValue(int index) const {
  return index >= 1 && index <= 8 ? m_drumValue[static_cast<std::size_t>(index - 1)] : 0;
}

void Instrument::SetDrumValue(int index, int value) {
  if (index >= 1 && index <= 8) m_drumValue[static_cast<std::size_t>(index - 1)] = static_cast<short>(value);
}

void Instrument::SetCategory(Internal, int category) {
  const bool wasDrums = m_category == catDrums;
  m_category = category;
  if (category == catDrums) {
    m_channel = 9;
  } else {
    m_drumCode = {};
    m_drumValue = {};
    // A drum's offset is the note it plays; a melodic instrument keeps -12..12.
    if (m_offset < -12 || m_offset > 12) m_offset = 0;
  }
  // Channels follow the categories: a kit leaves channel 9 to the drums, a new kit takes it.
  if (wasDrums != (category == catDrums) && m_parent) m_parent->AllInstruments().AssignChannels(Internal{});
}

void Instrument::SetChannel(Internal, int channel) {
  if (channel >= 0 && channel <= 15) m_channel = channel;
}

void Instrument::SetDefaultClef(Internal, int clef) { m_defaultClef = clef; }

void Instrument::SetDescription(Internal, std::string description) {
  m_description = std::move(description);
}

void Instrument::SetOffset(Internal, int offset) {
  if (m_category == catDrums || (offset >= -12 && offset <= 12)) m_offset = offset;
}

void Instrument::SetPitch(Internal, int pitch) {
  if (pitch >= -7 && pitch <= 7) m_pitch = pitch;
}

void Instrument::SetValue(Internal, int value) {
  if (value < 0 || value > 127) return;
  m_value = value;
  if (m_row <= 127) m_row = value;
}

void Instrument::SetTableRow(Internal, int row) {
  if (row >= 0 && row < InstrumentTable::kRows) m_row = row;
}

int Instrument::FileCode() const { return m_row > 127 ? m_row : m_value; }

void Instrument::SetID(Internal, std::string id) { m_id = std::move(id); }

const std::string& Instrument::InstrumentID(Internal) const { return m_id; }

Range& Instrument::MutableRange(Internal) { return m_range; }

void Instrument::SetParent(Internal, Score* score) { m_parent = score; }

Score* Instrument::Parent(Internal) const { return m_parent; }

}  // namespace notecraft
