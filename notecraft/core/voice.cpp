#include "notecraft/core/voice.h"

#include "notecraft/core/instruments.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {

Voice::Voice() : m_notes(std::make_shared<notecraft::Notes>()) {}

std::shared_ptr<Instrument> Voice::Instrument() const {
  if (m_instrumentID.empty() || !m_parent) return nullptr;
  return m_parent->AllInstruments().Item(m_instrumentID);
}

void Voice::GetInit(int startTime) {
  m_programPending = true;
  if (m_notes->Item(startTime)) {
    m_cursor = m_notes->CurIndex(Internal{});
    m_nextTime = m_notes->ByIndex(m_cursor)->NoteTime();
  } else {
    m_nextTime = -1;
  }
}

Notes::NotePtr Voice::GetNext() {
  if (m_nextTime == -1) return nullptr;
  auto note = m_notes->ByIndex(m_cursor);
  if (!note) {
    m_nextTime = -1;
    return nullptr;
  }
  ++m_cursor;
  auto next = m_notes->ByIndex(m_cursor);
  m_nextTime = next ? next->NoteTime() : -1;
  return note;
}

void Voice::SetID(Internal, std::string id) { m_id = std::move(id); }
void Voice::SetInstrumentID(Internal, std::string id) { m_instrumentID = std::move(id); }
const std::string& Voice::InstrumentID(Internal) const { return m_instrumentID; }

void Voice::SetParent(Internal, Score* score) {
  m_parent = score;
  m_notes->SetParent(Internal{}, score);
}

Score* Voice::Parent(Internal) const { return m_parent; }

// The list object stays: hosts hold references to it (Voice::Notes); only its content goes.
void Voice::ResetNotes(Internal) {
  m_notes->Reset(Internal{});
}

int Voice::NextTime(Internal) const { return m_nextTime; }
bool Voice::ProgramPending(Internal) const { return m_programPending; }
void Voice::SetProgramPending(Internal, bool pending) { m_programPending = pending; }

}  // namespace notecraft
