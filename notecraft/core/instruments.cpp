#include "notecraft/core/instruments.h"

#include <algorithm>
#include <array>

#include "notecraft/core/clock.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"

namespace notecraft {

Instruments::InstrumentPtr Instruments::Add(const std::string& id, int value) {
  if (value < 0 || value >= InstrumentTable::kRows) return nullptr;
  auto match = std::find_if(m_items.begin(), m_items.end(), [&](const InstrumentPtr& i) {
    return i->InstrumentID(Internal{}) == id || i->TableRow() == value;
  });
  if (match != m_items.end()) return *match;
  if (Count() >= kMaxInstruments) return nullptr;

  const InstrumentRow& row = TheCommon().Instruments.Row(value);
  auto ins = std::make_shared<Instrument>();
  const Internal key;
  ins->SetParent(key, m_parent);
  ins->SetID(key, id);
  ins->SetTableRow(key, value);
  ins->SetValue(key, value);  // rows 128..174 are not programs: they stay 0
  // The category comes before the offset: drums accept any offset.
  ins->SetCategory(key, row.Category);
  ins->SetDefaultClef(key, row.DefaultClef);
  ins->SetDescription(key, row.Description);
  ins->SetOffset(key, row.Offset);
  ins->SetPitch(key, row.Pitch);
  ins->MutableRange(key).SetHigh(key, row.High);
  ins->MutableRange(key).SetLow(key, row.Low);
  m_items.push_back(ins);
  AssignChannels();
  return ins;
}

// Drums play on channel 9; every other program takes the first channel other than 9 that
// is free or already plays it. A program beyond the fifteen channels keeps its channel.
void Instruments::AssignChannels() {
  constexpr int kDrumChannel = 9;
  std::array<int, 16> slots;
  slots.fill(-1);
  for (const auto& ins : m_items) {
    if (ins->Category() == catDrums) {
      slots[kDrumChannel] = ins->Value();
      continue;
    }
    for (int c = 0; c < 16; ++c) {
      if (c == kDrumChannel) continue;
      auto& slot = slots[static_cast<std::size_t>(c)];
      if (slot == -1 || slot == ins->Value()) {
        slot = ins->Value();
        break;
      }
    }
  }
  const Internal key;
  for (const auto& ins : m_items) {
    if (ins->Category() == catDrums) {
      ins->SetChannel(key, kDrumChannel);
      continue;
    }
    for (int c = 0; c < 16; ++c) {
      if (c != kDrumChannel && slots[static_cast<std::size_t>(c)] == ins->Value()) {
        ins->SetChannel(key, c);
        break;
      }
    }
  }
}

void Instruments::AssignChannels(Internal) { AssignChannels(); }

void Instruments::Clear() {
  for (auto& ins : m_items) ins->SetParent(Internal{}, nullptr);
  m_items.clear();
}

Instruments::InstrumentPtr Instruments::Item(const std::string& id) const {
  for (const auto& ins : m_items)
    if (ins->InstrumentID(Internal{}) == id) return ins;
  return nullptr;
}

Instruments::InstrumentPtr Instruments::Item(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index - 1)];
}

std::string Instruments::NewID() const {
  return NewObjectID('I', [this](const std::string& id) { return Item(id) != nullptr; });
}

void Instruments::RemoveAt(std::size_t index) {
  m_items[index]->SetParent(Internal{}, nullptr);
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
  // Reassign by the same rule as Add, so a drum kit keeps channel 9 and no melodic
  // instrument lands on it.
  AssignChannels();
}

void Instruments::Remove(const std::string& id) {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->InstrumentID(Internal{}) == id) return RemoveAt(i);
}

void Instruments::Remove(int index) {
  if (index >= 1 && index <= Count()) RemoveAt(static_cast<std::size_t>(index - 1));
}

void Instruments::SetParent(Internal, Score* score) {
  m_parent = score;
  for (auto& ins : m_items) ins->SetParent(Internal{}, score);
}

Score* Instruments::Parent(Internal) const { return m_parent; }

}  // namespace notecraft
