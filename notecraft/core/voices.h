#pragma once
// Every voice of the score in order of creation, keyed by voice ID; staves name their voices
// by these IDs. A voice's Track is its 1-based position.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "notecraft/core/voice.h"

namespace notecraft {

class Instrument;
class Score;
struct Internal;

class Voices {
public:
  using VoicePtr = std::shared_ptr<Voice>;
  using const_iterator = std::vector<VoicePtr>::const_iterator;

  // The voice with this ID unchanged, else a new voice playing `instrument` (which may be
  // null: a voice without an instrument).
  VoicePtr Add(const std::string& id, const std::shared_ptr<Instrument>& instrument,
               const std::string& description);
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  // By ID or 1-based position; null when unknown.
  VoicePtr Item(const std::string& id) const;
  VoicePtr Item(int index) const;
  const_iterator begin() const { return m_items.begin(); }
  const_iterator end() const { return m_items.end(); }
  std::string NewID() const;
  // Unknown IDs and positions are ignored.
  void Remove(const std::string& id);
  void Remove(int index);

  void SetParent(Internal, Score* score);
  Score* Parent(Internal) const;

private:
  void RemoveAt(std::size_t index);

  std::vector<VoicePtr> m_items;
  std::unordered_map<std::string, VoicePtr> m_byID;
  Score* m_parent = nullptr;  // non-owning; cleared when the score ends
};

}  // namespace notecraft
