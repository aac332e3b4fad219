#include "notecraft/core/voices.h"

#include "notecraft/core/clock.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"

namespace notecraft {

Voices::VoicePtr Voices::Add(const std::string& id, const std::shared_ptr<Instrument>& instrument,
                             const std::string& description) {
  if (auto found = Item(id)) return found;
  const Internal key;
  auto voice = std::make_shared<Voice>();
  voice->SetParent(key, m_parent);
  voice->SetID(key, id);
  voice->SetTrack(Count() + 1);
  if (instrument) voice->SetInstrumentID(key, instrument->InstrumentID(key));
  voice->SetDescription(description);
  m_items.push_back(voice);
  m_byID.emplace(id, voice);
  return voice;
}

void Voices::Clear() {
  for (auto& v : m_items) v->SetParent(Internal{}, nullptr);
  m_items.clear();
  m_byID.clear();
}

Voices::VoicePtr Voices::Item(const std::string& id) const {
  auto it = m_byID.find(id);
  return it == m_byID.end() ? nullptr : it->second;
}

Voices::VoicePtr Voices::Item(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index - 1)];
}

std::string Voices::NewID() const {
  return NewObjectID('V', [this](const std::string& id) { return m_byID.count(id) != 0; });
}

void Voices::RemoveAt(std::size_t index) {
  m_items[index]->SetParent(Internal{}, nullptr);
  m_byID.erase(m_items[index]->ID());
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
  for (std::size_t i = 0; i < m_items.size(); ++i) m_items[i]->SetTrack(static_cast<int>(i) + 1);
}

void Voices::Remove(const std::string& id) {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->ID() == id) return RemoveAt(i);
}

void Voices::Remove(int index) {
  if (index >= 1 && index <= Count()) RemoveAt(static_cast<std::size_t>(index - 1));
}

void Voices::SetParent(Internal, Score* score) {
  m_parent = score;
  for (auto& v : m_items) v->SetParent(Internal{}, score);
}

Score* Voices::Parent(Internal) const { return m_parent; }

}  // namespace notecraft
