#include "notecraft/layout/systemmeasures.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staffs.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/lyricspacing.h"

namespace notecraft {

void SystemMeasures::Fill(SystemLayout& system, int staffHeight) {
  GlobalEvents& globals = m_score.AllGlobals();
  const int s = std::max(staffHeight / 4, 1);
  const int width = system.Right - system.Left;
  int remaining = width;
  int t = system.Start;
  system.Measures.clear();
  const bool lyrics = ShowsLyrics(m_score);

  // Gives the measures taken what is left of the width: the last one reaches the right edge.
  auto closeAtRightEdge = [&] {
    int used = 0;
    for (std::size_t i = 0; i + 1 < system.Measures.size(); ++i) used += system.Measures[i].Width;
    system.Measures.back().Width = width - used;
  };

  for (int m = 0; m < kMaxMeasures; ++m) {
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
    // Syllables never touch: a measure is as wide as its lyrics need.
    if (lyrics && w <= remaining)
      w = LyricMeasureWidth(m_score.View(Internal{}), m_score, t, slot.Duration, w, staffHeight);
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
    const int share = SnapX(remaining / m);
    for (MeasureSlot& taken : system.Measures) taken.Width += share;
    closeAtRightEdge();
    system.End = t;
    return;
  }
  // Sixteen measures: the room left is not shared, the last measure takes it.
  closeAtRightEdge();
  system.End = t;
}

}  // namespace notecraft
