// Score: hit testing on the staff bands of the page painted last.
#include <algorithm>
#include <cmath>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

namespace {

// The internal score-wide event at time 0 that orders and brackets staves by group.
constexpr int kGroupOrderEvent = 101;
// Added to the half space on either side of a probe for a note under the pointer.
constexpr int kProbeSlack = 30;

bool Holds(const Region& band, int x, int y) {
  return band.Left() <= x && x <= band.Right() && band.Top() <= y && y <= band.Bottom();
}

int ToTwips(float v) {
  if (!std::isfinite(v)) return -1;
  return static_cast<int>(RoundHalfEven(std::clamp(static_cast<double>(v), -1e9, 1e9)));
}

}  // namespace

std::shared_ptr<Region> Score::InRegion(int x, int y) const {
  for (const auto& band : m_bands)
    if (band && Holds(*band, x, y)) return band;
  return nullptr;
}

bool Score::HitTest(float x, float y, bool setIX) {
  const auto band = InRegion(ToTwips(x), ToTwips(y));
  if (!band) return false;
  if (setIX) {
    if (auto staff = Staff(band->Staff())) {
      staff->SetSelected(true);
      Raise([&staff](ScoreEvents& l) { l.ActiveStaff(staff); });
    }
  }
  return true;
}

void Score::SetActiveByHit(int x, int y) {
  for (const auto& band : m_bands) {
    if (!band || !(band->Left() < x && x < band->Right() && band->Top() < y && y < band->Bottom()))
      continue;
    if (auto staff = Staff(band->Staff())) {
      staff->SetSelected(true);
      Raise([&staff](ScoreEvents& l) { l.ActiveStaff(staff); });
    }
    if (const auto measure = MeasureAt(*band, x)) {
      int number = 0, length = 0;
      m_globals->MeasureInfo(measure->Start, number, length);
      m_selectedMeasure = number;
      Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });
    }
    return;
  }
}

bool Score::OnNote(int x, int y, int& noteTime, int& noteDur) {
  for (const auto& band : m_bands) {
    if (!band) continue;
    const int reach = band->IncY() / 2 + kProbeSlack;
    const int from = x - reach;
    const int to = x + reach;
    if (!(band->Left() <= from && to <= band->Right() && band->Top() <= y && y <= band->Bottom()))
      continue;
    const auto staff = Staff(band->Staff());
    const auto voice = staff ? staff->Voice(Voice()) : nullptr;
    const auto measure = MeasureHolding(*band, from, to);
    if (!voice || !measure) return false;
    int number = 0, length = 0;
    m_globals->MeasureInfo(measure->Start, number, length);
    const int end = measure->Start + length;
    const Notes& notes = voice->Notes();
    for (int k = notes.IndexAtOrAfter(measure->Start); k <= notes.Count(); ++k) {
      const auto note = notes.ByIndex(k);
      if (note->NoteTime() >= end) break;
      if (from < note->X() && note->X() < to) {
        Edit().LastBandIndex = band->Index();
        noteTime = note->NoteTime();
        noteDur = note->Duration();
        return true;
      }
    }
    return false;
  }
  return false;
}

int Score::GetNoteValueByHit(int x, int y) {
  try {
    const auto band = InRegion(x, y);
    if (!band) return 0;
    const auto measure = MeasureAt(*band, x);
    const auto staff = Staff(band->Staff());
    if (!measure || !staff) return 0;
    int number = 0, length = 0;
    m_globals->MeasureInfo(measure->Start, number, length);
    m_selectedMeasure = number;
    const int time = measure->Start + OffsetInMeasure(*measure, x, length);
    return PitchFromY(y, staff->CurClef(time), staff->CurKey(time), band->Top(), band->PadTop(),
                      band->IncY(), GrandStaffGap(*band));
  } catch (...) {
    return 0;
  }
}

void Score::SetBraceByHit(float x, float y, int staffs) {
  const Internal key;
  const int brace = staffs == 1 ? 2 : (staffs < 4 ? staffs : 3);
  if (brace >= 0) {
    const auto band = InRegion(ToTwips(x), ToTwips(y));
    const auto staff = band ? Staff(band->Staff()) : nullptr;
    if (!staff || staff->Brace() == brace) return;
    staff->SetBrace(key, brace);
  } else if (m_globals->Find(0, kGroupOrderEvent, true)) {
    m_globals->Remove(0, kGroupOrderEvent);
    m_groupOrder = false;
  } else {
    m_globals->Add(0, kGroupOrderEvent, 0, 0, "");
    m_groupOrder = true;
    const std::vector<std::shared_ptr<notecraft::Staff>> order(m_staffs->begin(), m_staffs->end());
    m_staffs->ResetStaffs(key);
    for (const auto& staff : order) m_staffs->InsertByGroup(key, staff);
    // Undo records, the last entry and the selection name staves by position.
    ClearUndo(key);
    ClearSelection();
    Edit().Last = {};
  }
  MarkChanged();
  PaintWindow();
}

}  // namespace notecraft
