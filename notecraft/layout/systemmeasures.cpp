#include "notecraft/layout/systemmeasures.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staffs.h"
#include "notecraft/layout/pagelayout.h"

namespace notecraft {

void SystemMeasures::Fill(SystemLayout& system, int staffHeight, int endTime) {
  GlobalEvents& globals = m_score.AllGlobals();
  const int s = std::max(staffHeight / 4, 1);
  const int width = system.Right - system.Left;
  int remaining = width;
  int t = system.Start;
  system.Measures.clear();

  // Gives the measures taken what is left of the width: the last one reaches the right edge.
  auto closeAtRightEdge = [&] {
    int used = 0;
    for (std::size_t i = 0; i + 1 < system.Measures.size(); ++i) used += system.Measures[i].Width;
    system.Measures.back().Width = width - used;
  };
  // Shares the room left equally among the measures taken; the last takes what remains.
  auto shareOut = [&] {
    const int share = SnapX(remaining / static_cast<int>(system.Measures.size()));
    for (MeasureSlot& taken : system.Measures) taken.Width += share;
    closeAtRightEdge();
  };

  for (int m = 0; m < kMaxMeasures; ++m) {
    if (m > 0 && t >= endTime) {
      // The score ends with the measures taken: a short line keeps their widths.
      if (2 * (width - remaining) < width)
        system.Right = system.Left + width - remaining;
      else
        shareOut();
      system.End = t;
      return;
    }
    MeasureSlot slot;
    slot.Start = t;
    globals.MeasureInfo(t, slot.Number, slot.Duration);
    slot.Duration = std::max(slot.Duration, 1);
    int w = m_score.AllStaffs().ItemCount(t, slot.Duration) * 4 * s;
    if (m > 0 && globals.Find(t, evtLineEnd, true)) w = remaining + 1;  // forces a new system
    if (w <= remaining) {
      if (const auto size = globals.Find(t, evtMeasureSize, true)) {
        if (size->Value1() > 0)
          w += 2 * s * size->Value1();
        else
          w = std::max(w - 2 * s * size->Value2(), 3 * s);
      }
    }
    if (m == 0) {
      // Room for the clef and the widest key signature, and at the start for the time.
      w += staffHeight + s * m_score.AllStaffs().KeyCount(t, slot.Duration) * 2;
      if (t == 0) w += staffHeight / 2;
    }
    slot.Flags = m_score.MeasureFlags(t);

    if (w <= remaining) {
      remaining -= w;
      slot.Width = w;
      system.Measures.push_back(slot);
      t += slot.Duration;
      continue;
    }
    if (m == 0) {  // one measure wider than the line takes the whole line
      slot.Width = width;
      system.Measures.push_back(slot);
      t += slot.Duration;
      system.End = t;
      return;
    }
    // This measure starts the next system; the room left is shared out.
    shareOut();
    system.End = t;
    return;
  }
  // Sixteen measures: the room left is not shared, the last measure takes it.
  closeAtRightEdge();
  system.End = t;
}

}  // namespace notecraft
