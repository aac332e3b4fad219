#pragma once
// The score's instruments (at most 16), keyed by instrument ID. Instruments are made from
// rows of the instrument table; a request for an ID or a table row already present returns
// that instrument, so voices of one program share it, while each drum sound (rows from 128
// on, all program 0) stays an instrument of its own. Channels are assigned here: drums on
// channel 9, one channel per program.

#include <memory>
#include <string>
#include <vector>

#include "notecraft/core/instrument.h"

namespace notecraft {

class Score;
struct Internal;

class Instruments {
public:
  using InstrumentPtr = std::shared_ptr<Instrument>;
  using const_iterator = std::vector<InstrumentPtr>::const_iterator;
  static constexpr int kMaxInstruments = 16;

  // The instrument with this ID or table row, else a new one from table row `value`
  // (0..174). Null for a row out of range or when 16 instruments exist already.
  InstrumentPtr Add(const std::string& id, int value);
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  // By ID or 1-based position; null when unknown.
  InstrumentPtr Item(const std::string& id) const;
  InstrumentPtr Item(int index) const;
  const_iterator begin() const { return m_items.begin(); }
  const_iterator end() const { return m_items.end(); }
  std::string NewID() const;
  // Unknown IDs and positions are ignored.
  void Remove(const std::string& id);
  void Remove(int index);

  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;
  // Drums on channel 9, one channel per other program, in collection order.
  void AssignChannels(Internal);

private:
  void AssignChannels();
  void RemoveAt(std::size_t index);

  std::vector<InstrumentPtr> m_items;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
};

}  // namespace notecraft
