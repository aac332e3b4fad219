#include "notecraft/edit/eventlist.h"

#include <cstdlib>
#include <vector>

namespace notecraft {

std::shared_ptr<GlobalEvent> FindExact(const GlobalEvents& list, int time, int type, int value,
                                       bool byValue2) {
  for (const auto& e : list.At(time)) {
    if (e->EventType() != type) continue;
    if (type == evtSectionDefine && (byValue2 ? e->Value2() : e->Value1()) != value) continue;
    return e;
  }
  return nullptr;
}

void RemoveEvent(GlobalEvents& list, const GlobalEvent& event) {
  const int time = event.EventTime();
  const int type = event.EventType();
  std::vector<GlobalEvents::EventPtr> same;
  for (const auto& e : list.At(time))
    if (e->EventType() == type) same.push_back(e);
  std::size_t at = same.size();
  for (std::size_t i = 0; i < same.size(); ++i)
    if (same[i].get() == &event) at = i;
  if (at == same.size()) return;
  for (std::size_t i = at; i + 1 < same.size(); ++i) {
    same[i]->SetValue1(same[i + 1]->Value1());
    same[i]->SetValue2(same[i + 1]->Value2());
    same[i]->SetText(same[i + 1]->Text());
  }
  list.Remove(time, type);
}

bool MergeCounter(GlobalEvent& event, int wider, int narrower) {
  const int e1 = event.Value1();
  const int e2 = event.Value2();
  if (wider > 0) {
    const int d = e2 - wider;
    if (d == 0) return true;
    if (d > 0) {
      event.SetValue2(d);
    } else {
      event.SetValue2(0);
      event.SetValue1(e1 - d);
    }
  } else if (narrower > 0) {
    const int d = e1 - narrower;
    if (d == 0) return true;
    if (d > 0) {
      event.SetValue1(d);
    } else {
      event.SetValue1(0);
      event.SetValue2(e2 - d);
    }
  }
  return false;
}

}  // namespace notecraft
