#include "notecraft/dialogs/eventwriter.h"

#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft::dialogs {

namespace {
// Undo record kinds (notecraft/edit/didwhat.h): score-wide added, removed, changed; a
// staff's list uses the three kinds after them.
constexpr int kAdded = 3, kRemoved = 4, kChanged = 5, kStaffOffset = 3;
}  // namespace

EventWriter::EventWriter(Score& score, GlobalEvents& list, int staffPosition)
    : m_score(score), m_list(list), m_staffPosition(staffPosition) {}

bool EventWriter::Has(int atTime, int eventType) const {
  return m_list.Item(atTime, eventType) != nullptr;
}

void EventWriter::Record(int action, int atTime, int eventType, int value1, int value2,
                         const std::string& text) {
  const bool staff = m_staffPosition > 0;
  m_score.PushUndo(Internal{}, action + (staff ? kStaffOffset : 0), atTime, eventType, value1,
                   value2, staff ? m_staffPosition : 0, text);
  m_changed = true;
}

void EventWriter::Put(int atTime, int eventType, int value1, int value2, const std::string& text) {
  if (auto e = m_list.Item(atTime, eventType)) {
    if (e->Value1() == value1 && e->Value2() == value2 && e->Text() == text) return;
    Record(kChanged, atTime, eventType, e->Value1(), e->Value2(), e->Text());
    e->SetValue1(value1);
    e->SetValue2(value2);
    e->SetText(text);
    return;
  }
  m_list.Add(atTime, eventType, static_cast<std::uint8_t>(value1),
             static_cast<std::uint8_t>(value2), text);
  Record(kAdded, atTime, eventType, value1, value2, text);
}

void EventWriter::Drop(int atTime, int eventType) {
  auto e = m_list.Item(atTime, eventType);
  if (!e) return;
  Record(kRemoved, atTime, eventType, e->Value1(), e->Value2(), e->Text());
  m_list.Remove(atTime, eventType);
}

}  // namespace notecraft::dialogs
