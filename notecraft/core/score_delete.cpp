// Score: deleting one note, and score-wide or staff events of one kind.
#include <algorithm>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/layout/systemmeasures.h"

namespace notecraft {

void Score::DelNote(int atTime, std::optional<int> voice, std::optional<int> staff) {
  try {
    const auto owner = staff && *staff >= 1 && *staff <= Staffs() ? Staff(*staff) : SelectedStaff();
    if (!owner) return;
    const int v = voice && *voice >= 1 && *voice <= Staff::kMaxVoices ? *voice : Voice();
    const auto target = v >= 1 && v <= owner->Voices() ? owner->Voice(v) : nullptr;
    if (!target) return;
    // The note positions of the whole measure, as its layout counts them.
    int number = 0, length = 0;
    m_globals->MeasureInfo(atTime, number, length);
    const int start = m_globals->MeasureStart(atTime);
    const int before = MeasureSlots(*this).Count(start, length);
    target->Notes().Remove(atTime);
    // Marked changed even when no note stood there.
    CommitEdit(nullptr);
    if (MeasureSlots(*this).Count(start, length) != before) {
      RestartPagination(m_curPage);
      PaintWindow();
      return;
    }
    const int band = Edit().LastBandIndex;
    if (band >= 1 && band <= static_cast<int>(m_bands.size()))
      RepaintAfterEdit(Internal{}, *m_bands[static_cast<std::size_t>(band - 1)], false, -1, 0, 0);
    else
      PaintWindow();
  } catch (...) {
    // Deleting runs with errors ignored.
  }
}

void Score::RemoveGlobalEvent(int atTime, int eventType) {
  const bool staffKind =
      eventType == evtKeyChange || eventType == evtClefChange || eventType == evtLyric;
  const auto staff = staffKind ? SelectedStaff() : nullptr;
  if (staffKind && !staff) return;
  GlobalEvents& list = staff ? staff->GlobalEvents() : *m_globals;
  bool removed = false;
  if (atTime >= 0) {
    if (list.Find(atTime, eventType, true)) {
      list.Remove(atTime, eventType);
      removed = true;
    }
  } else {
    // Every event of exactly this kind, at every time: one pass over the times that hold
    // one, latest first, so the positions still to visit do not move.
    std::vector<int> times;
    if (eventType == evtTimeChange) {
      for (int i = 1; i <= list.TimeItemCount(); ++i)
        times.push_back(list.TimeItem(i)->EventTime());
    } else {
      for (const auto& e : list)
        if (e->EventType() == eventType) times.push_back(e->EventTime());
    }
    for (auto it = times.rbegin(); it != times.rend(); ++it) list.Remove(*it, eventType);
    removed = !times.empty();
  }
  if (!removed) return;
  if (eventType == evtLyric) {
    const bool anyLeft = std::any_of(list.begin(), list.end(),
                                     [](const auto& e) { return e->EventType() == evtLyric; });
    if (!anyLeft) staff->SetVerses(Internal{}, 0);
  }
  CommitEdit(nullptr);
  RestartPagination(1);
  PaintWindow();
}

}  // namespace notecraft
