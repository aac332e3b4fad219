#include "notecraft/core/staffs.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "notecraft/core/clock.h"
#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {

namespace {
constexpr int kDefaultInstrumentRow = 74;
}

Staffs::StaffPtr Staffs::Item(const std::string& id) const {
  for (const auto& s : m_items)
    if (s->StaffID(Internal{}) == id) return s;
  return nullptr;
}

Staffs::StaffPtr Staffs::Item(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Instrument> Staffs::DefaultInstrument() const {
  if (!m_parent) return nullptr;
  auto& instruments = m_parent->AllInstruments();
  return instruments.Add(instruments.NewID(), kDefaultInstrumentRow);
}

Staffs::StaffPtr Staffs::AddStaff(Internal, const std::string& id, const std::string& description,
                                  std::optional<int> before, bool noVoice) {
  if (Item(id)) return nullptr;
  int position = 1;
  std::shared_ptr<Instrument> instrument;
  if (!m_items.empty()) {
    position = std::clamp(before.value_or(Count() + 1), 1, Count() + 1);
    if (!noVoice) {
      const auto& neighbour = m_items[static_cast<std::size_t>(std::max(position - 1, 1) - 1)];
      if (auto voice = neighbour->Voice(1)) instrument = voice->Instrument();
    }
  }
  // The first staff, or a neighbour without a voice or instrument: a new default instrument
  // (none when the score holds 16 instruments; the voice then has none).
  if (!noVoice && !instrument) instrument = DefaultInstrument();

  auto staff = std::make_shared<Staff>();
  const Internal key;
  staff->SetScore(key, m_parent);
  staff->SetID(key, id);
  staff->SetIndex(key, position);
  staff->SetDescription(description);
  m_items.insert(m_items.begin() + (position - 1), staff);
  Renumber();
  if (!noVoice) staff->AddVoice(instrument);
  return staff;
}

void Staffs::InsertByGroup(Internal, const StaffPtr& staff) {
  if (!staff || Item(staff->StaffID(Internal{}))) return;
  staff->SetScore(Internal{}, m_parent);
  const int group = staff->GroupID();
  auto at = std::find_if(m_items.begin(), m_items.end(),
                         [&](const StaffPtr& s) { return s->GroupID() > group; });
  m_items.insert(at, staff);
  Renumber();
}

void Staffs::RemoveStaff(Internal, int index) {
  if (index < 1 || index > Count()) return;
  m_items[static_cast<std::size_t>(index - 1)]->SetScore(Internal{}, nullptr);
  m_items.erase(m_items.begin() + (index - 1));
  Renumber();
}

void Staffs::RemoveStaff(Internal, const std::string& id) {
  if (auto s = Item(id)) RemoveStaff(Internal{}, s->Index());
}

void Staffs::ResetStaffs(Internal) {
  for (auto& s : m_items) s->SetScore(Internal{}, nullptr);
  m_items.clear();
}

std::string Staffs::NewID() const {
  return NewObjectID('S', [this](const std::string& id) { return Item(id) != nullptr; });
}

void Staffs::SetParent(Internal, Score* score) {
  m_parent = score;
  for (auto& s : m_items) s->SetScore(Internal{}, score);
}

Score* Staffs::Parent(Internal) const { return m_parent; }

void Staffs::Renumber() {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    m_items[i]->SetIndex(Internal{}, static_cast<int>(i) + 1);
}

int Staffs::ItemCount(int atTime, int duration) const {
  duration = std::clamp(duration, 1, 96);  // the longest measure there is
  std::array<std::uint8_t, 96> slots{};    // 2: a note starts, 1: a note sounds
  for (const auto& staff : m_items) {
    for (int v = 1; v <= staff->Voices(); ++v) {
      auto voice = staff->Voice(v);
      if (!voice) continue;
      const Notes& notes = voice->Notes();
      for (int i = notes.IndexAtOrAfter(atTime); i <= notes.Count(); ++i) {
        const auto& note = notes.ByIndex(i);
        const int o = note->NoteTime() - atTime;
        if (o >= duration) break;
        const int e = std::min(o + note->Duration(), duration);
        slots[static_cast<std::size_t>(o)] = 2;
        for (int k = o + 1; k < e; ++k)
          if (slots[static_cast<std::size_t>(k)] == 0) slots[static_cast<std::size_t>(k)] = 1;
      }
    }
  }
  int count = 0;
  bool started = false;
  for (int k = duration - 1; k >= 0; --k) {
    const auto slot = slots[static_cast<std::size_t>(k)];
    if (slot == 2) {
      ++count;
      started = true;
    } else if (slot == 0 && started) {
      ++count;
      started = false;
    }
  }
  count = std::max(count, 5);
  return count - count % 2;
}

int Staffs::KeyCount(int atTime, int duration) const {
  int most = m_parent ? std::abs(m_parent->Key()) : 0;
  for (const auto& staff : m_items) most = std::max(most, std::abs(staff->CurKey(atTime + duration - 1)));
  return most;
}

}  // namespace notecraft
