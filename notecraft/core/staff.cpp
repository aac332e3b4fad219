#include "notecraft/core/staff.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {

Staff::Staff() : m_events(std::make_shared<notecraft::GlobalEvents>()) {}

std::shared_ptr<Voice> Staff::AddVoice(const std::shared_ptr<Instrument>& instrument) {
  if (m_voiceCount >= kMaxVoices || !m_parent) return nullptr;
  auto& voices = m_parent->AllVoices();
  auto voice = voices.Add(voices.NewID(), instrument, "New Voice");
  if (!voice) return nullptr;
  m_voiceIDs[static_cast<std::size_t>(m_voiceCount++)] = voice->ID();
  if (m_voiceCount == 1 && instrument) m_defaultClef = instrument->DefaultClef();
  return voice;
}

int Staff::CurClef(int atTime) {
  if (auto e = m_events->Find(atTime, evtClefChange)) {
    m_lastClefPos = e->Index();
    return e->Value1();
  }
  m_lastClefPos = 0;
  return m_defaultClef;
}

int Staff::CurKey(int atTime) const {
  int key = 0;
  if (auto e = m_events->Find(atTime, evtKeyChange))
    key = KeyFromByte(e->Value1());
  else if (m_parent)
    key = m_parent->Key();
  if (auto first = Voice(1)) {
    if (auto ins = first->Instrument()) key += ins->Pitch();
  }
  if (key > 7) key -= 12;
  if (key < -7) key += 12;
  return key;
}

void Staff::SetFlags(int flags) {
  if (flags < 0 || flags == m_flags) return;
  m_flags = flags % 32;
}

int Staff::ForceFlag(int startTime, int stopTime, int curVoice) const {
  if (m_voiceCount < 2) return 0;
  const bool upper = curVoice == 1 || curVoice == 3;
  for (int other : upper ? std::array{2, 4} : std::array{1, 3}) {
    auto voice = Voice(other);
    if (!voice) continue;
    auto note = voice->Notes().Lookup(stopTime, false, true);
    if (note && note->NoteTime() >= startTime) return upper ? 1 : 2;
  }
  return 0;
}

int Staff::GroupID() const {
  if (m_groupID < 0) {
    if (auto first = Voice(1)) {
      if (auto ins = first->Instrument()) return ins->Group();
    }
  }
  return m_groupID;
}

int Staff::GroupType() const {
  if (auto first = Voice(1)) {
    if (auto ins = first->Instrument()) return ins->Value();
  }
  return 0;
}

int Staff::NextChange(int /*duration*/) {
  const int n = m_events->Count();
  while (m_lastClefPos < n) {
    auto e = m_events->ByIndex(++m_lastClefPos);
    if (e->EventType() == evtClefChange) return e->EventTime();
  }
  return -1;
}

bool Staff::SameAsLast(int atTime) const {
  auto e = m_events->Find(atTime, evtSectionDefine, true);
  return e && e->Value1() == sctRepeatMeasure;
}

void Staff::SetScalePct(int pct) { m_scalePct = std::clamp(pct, 25, 100); }

void Staff::SetSelected(bool selected) {
  if (selected == m_selected) return;
  if (selected && m_parent) {
    for (const auto& s : m_parent->AllStaffs()) s->m_selected = false;
  }
  m_selected = selected;
}

bool Staff::ValidVoice(const std::string& id) const {
  for (int i = 0; i < m_voiceCount; ++i)
    if (m_voiceIDs[static_cast<std::size_t>(i)] == id) return true;
  return false;
}

std::shared_ptr<Voice> Staff::Voice(int index) const {
  if (index < 1 || index > m_voiceCount || !m_parent) return nullptr;
  return m_parent->AllVoices().Item(m_voiceIDs[static_cast<std::size_t>(index - 1)]);
}

void Staff::SetBrace(Internal, int brace) { m_brace = brace; }
bool Staff::BraceOpen(Internal) const { return m_braceOpen; }
void Staff::SetBraceOpen(Internal, bool open) { m_braceOpen = open; }
const std::string& Staff::StaffID(Internal) const { return m_id; }
void Staff::SetID(Internal, std::string id) { m_id = std::move(id); }
void Staff::SetIndex(Internal, int index) { m_index = index; }
void Staff::SetLyricOffset(Internal, int offset) { m_lyricOffset = offset; }

void Staff::SetVerses(Internal, int verses) {
  m_verses = static_cast<std::uint8_t>(std::clamp(verses, 0, 255));
}

void Staff::SetGroupID(Internal, int group) { m_groupID = group; }

void Staff::SetScore(Internal, Score* score) {
  m_parent = score;
  m_events->SetParent(Internal{}, score);
}

Score* Staff::Parent(Internal) const { return m_parent; }

bool Staff::AddVoiceID(Internal, const std::string& voiceID) {
  if (m_voiceCount >= kMaxVoices) return false;
  m_voiceIDs[static_cast<std::size_t>(m_voiceCount++)] = voiceID;
  return true;
}

}  // namespace notecraft
