// Score: adding, toggling, adjusting and removing events at a point of the page: keys,
// clefs, repeats, sections and endings, score ends, chords, line ends, measure widths,
// dynamics, tempo marks, staff spacing and text labels.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/edit/didwhat.h"
#include "notecraft/edit/eventlist.h"

namespace notecraft {

namespace {

// Octave-line sub-types live on the staff; their Value2 tells them apart (1 up, 2 down).
bool OctaveMark(int type, int subType) {
  return type == evtSectionDefine && (subType == sct8va || subType == sct8vb);
}

// What one entry does, by event type.
struct Plan {
  int Time = 0;
  bool Staff = false;     // in the staff's list, else the score's
  bool Add = true;        // else remove
  int Bit = 0;            // the measure-flag bit the band shows
  bool Relayout = false;  // the whole score is laid out again
  bool Counter = false;   // measure width or staff space: merged counters
  bool Replace = false;   // one event of the type at a time: a second replaces the first
};

// The time at x within the measure, to the nearest 64th, without snapping.
int OffsetAt(const BandMeasure& measure, int x, int length) {
  if (!measure.Stops.empty()) return OffsetInMeasure(measure, x, length);  // drawn under x
  const int from = measure.Left + measure.Pad;
  const int area = measure.Width - measure.Pad;
  if (area <= 0) return 0;
  return std::clamp(static_cast<int>(RoundHalfEven(static_cast<double>(std::max(x, from) - from) /
                                                   area * length)),
                    0, length);
}

// Whether a text offset1 half spaces above or offset2 below the band's middle line stands
// inside the band (as TextPosByOffset places it).
bool TextInBand(const Region& band, int offset1, int offset2) {
  const int middle = band.Top() + band.PadTop() + 2 * band.IncY();
  const int half = band.IncY() / 2;
  int y = middle;
  if (offset1 > 0) y = middle - offset1 * half;
  if (offset2 > 0) y = middle + offset2 * half;
  return band.Top() <= y && y <= band.Bottom();
}

DidWhat Record(int action, int time, int type, int v1, int v2, int staff, const std::string& text) {
  DidWhat r;
  r.Action = action;
  r.AtTime = time;
  r.Arg1 = type;
  r.Arg2 = v1;
  r.Arg3 = v2;
  r.Arg4 = staff;
  r.Text = text;
  return r;
}

}  // namespace

int Score::TimeByHit(int x, int y) const {
  const auto band = InRegion(x, y);
  const auto measure = band ? MeasureAt(*band, x) : std::nullopt;
  if (!measure) return -1;
  int number = 0, length = 0;
  m_globals->MeasureInfo(measure->Start, number, length);
  return measure->Start + OffsetAt(*measure, x, length);
}

bool Score::AddTextLabel(int staffIndex, int atTime, int offset1, int offset2,
                         const std::string& text) {
  bool stored = false;
  try {
    if (staffIndex < 1 || staffIndex > Staffs() || atTime < 0) return false;
    const auto staff = Staff(staffIndex);
    if (!staff) return false;
    const int v1 = std::clamp(offset1, 0, 255);
    const int v2 = std::clamp(offset2, 0, 255);
    int number = 0, length = 0;
    m_globals->MeasureInfo(atTime, number, length);
    m_selectedMeasure = number;
    Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });

    GlobalEvents& list = staff->GlobalEvents();
    const int s = staff->Index();
    DidWhat record;
    int oldV1 = v1, oldV2 = v2;
    if (const auto existing = FindExact(list, atTime, evtText, 0, false)) {
      oldV1 = existing->Value1();
      oldV2 = existing->Value2();
      record = Record(8, atTime, evtText, oldV1, oldV2, s, existing->Text());
      existing->SetValue1(v1);
      existing->SetValue2(v2);
      existing->SetText(text);
    } else {
      record = Record(6, atTime, evtText, v1, v2, s, text);
      list.Add(atTime, evtText, static_cast<std::uint8_t>(v1), static_cast<std::uint8_t>(v2), text);
    }
    CommitEdit(&record);
    stored = true;

    // The system that shows the label's measure on this staff, when the page holds it. A
    // label standing (or having stood) outside the band, where the band's repaint does not
    // erase, repaints the page.
    const int start = m_globals->MeasureStart(atTime);
    for (const auto& band : m_bands) {
      if (!band || band->Staff() != s) continue;
      for (int i = 0; i < band->Measures(); ++i) {
        if (band->Measure(i)->High() != start) continue;
        if (TextInBand(*band, oldV1, oldV2) && TextInBand(*band, v1, v2)) {
          RepaintAfterEdit(Internal{}, *band, false, -1, 0, 0);
        } else {
          PaintWindow();
        }
        return true;
      }
    }
  } catch (...) {
    // Edits run with errors ignored.
  }
  return stored;
}

void Score::AddGlobalByHit(int x, int y, int eventType, int subType, const std::string& text) {
  try {
    const auto band = InRegion(x, y);
    const auto staff = band ? Staff(band->Staff()) : nullptr;
    const auto measure = band ? MeasureAt(*band, x) : std::nullopt;
    if (!staff || !measure) return;
    const int flag = band->MeasureFlag(measure->Index);
    int number = 0, length = 0;
    m_globals->MeasureInfo(measure->Start, number, length);
    const int t0 = measure->Start;
    const int offset = OffsetAt(*measure, x, length);

    int v1 = 0, v2 = 0;
    if (subType >= 0 && subType <= 255) v1 = subType;
    if (subType > 255) v2 = std::min(subType / 256, 255);

    Plan plan;
    switch (eventType) {
      case evtKeyChange:
        plan = {t0, true, true, 0, false, false, true};
        break;
      case evtRepeatBegin:
        plan = {t0, false, !(flag & 1), 1};
        break;
      case evtRepeatEnd:
        plan = {t0, false, !(flag & 2), 2};
        break;
      case evtSectionDefine:
        if (subType == sctRepeatMeasure)
          plan = {t0, true, !staff->SameAsLast(t0), 0};
        else
          plan = {t0, OctaveMark(eventType, subType), !(flag & (subType * 16)), subType * 16};
        break;
      case evtClefChange:
        plan = {t0 + offset, true, true, 0, false, false, true};
        break;
      case evtSectionEnd:
        plan = {t0, false, !(flag & 4), 4};
        break;
      case evtScoreEnd:
        plan = {t0, false, !(flag & 8), 8, true};  // the score now ends here, or no longer
        break;
      case evtChord:
        plan = {t0 + offset, false, true, 0, !m_useChords, false, true};
        break;
      case evtLineEnd:
        plan = {t0, false, !m_globals->Find(t0, evtLineEnd, true), 0, true};
        break;
      case evtMeasureSize:
        plan = {t0, false, subType != 0, 0, true, true};
        break;
      case evtDynamic:
        plan = {t0 + offset, true, true, 0, false, false, true};
        break;
      case evtTempo:
        plan = {t0, true, true, 0, false, false, true};
        break;
      case evtStaffSpace:
        plan = {band->Time(), true, subType != 0, 0, true, true};
        break;
      case evtText: {
        plan = {t0 + offset, true, true, 0, false, false, true};
        int inc = 0;
        TextOffsetByPos(v1, v2, x, y, inc);
        break;
      }
      default:
        return;  // not an event placed by position
    }
    if (plan.Counter) {
      v1 = subType > 0 ? std::min(subType, 255) : 0;
      v2 = subType < 0 ? std::min(-subType, 255) : 0;
    }

    m_selectedMeasure = number;
    Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });
    if (eventType == evtChord && plan.Relayout) m_useChords = true;

    const int t = plan.Time;
    const int s = plan.Staff ? staff->Index() : 0;
    GlobalEvents& list = plan.Staff ? staff->GlobalEvents() : *m_globals;
    // Undo kinds: added, removed, changed; 3..5 in the score's list, 6..8 in a staff's.
    const int added = plan.Staff ? 6 : 3, removed = added + 1, changed = added + 2;
    const bool byValue2 = OctaveMark(eventType, subType);
    const int match = byValue2 ? v2 : v1;
    const auto existing = FindExact(list, t, eventType, match, byValue2);
    bool haveRecord = false;
    DidWhat record;
    auto remember = [&](int action, const GlobalEvent& e) {
      record = Record(action, t, eventType, e.Value1(), e.Value2(), s, e.Text());
      haveRecord = true;
    };

    if (plan.Counter) {
      if (existing) {
        const GlobalEvent before = *existing;
        if (subType == 0 || MergeCounter(*existing, v1, v2)) {
          remember(removed, before);
          RemoveEvent(list, *existing);
        } else {
          remember(changed, before);
        }
      } else if (subType != 0) {
        record = Record(added, t, eventType, v1, v2, s, text);
        haveRecord = true;
        list.Add(t, eventType, static_cast<std::uint8_t>(v1), static_cast<std::uint8_t>(v2), text);
      }
    } else if (!plan.Add) {
      if (existing) {
        remember(removed, *existing);
        RemoveEvent(list, *existing);
      }
    } else if (plan.Replace && existing) {
      // A second key, clef, chord, dynamic, tempo or text at the same time takes the first
      // one's place; a text keeps its position (Value1).
      remember(changed, *existing);
      if (eventType != evtText) existing->SetValue1(v1);
      existing->SetValue2(v2);
      existing->SetText(text);
    } else {
      record = Record(added, t, eventType, v1, v2, s, text);
      haveRecord = true;
      auto event = list.Add(t, eventType, static_cast<std::uint8_t>(v1),
                            static_cast<std::uint8_t>(v2), text);
      if (byValue2 && (v2 == 1 || v2 == 2)) {
        // An octave line running on from the measure before continues there ("+"); one in
        // the measure after continues from here.
        if (auto after = list.Find(t0 + 2 * length - 1, evtSectionDefine);
            after && after->EventTime() > t0 + length - 1 && after->Value2() == v2)
          after->SetText("+");
        if (t0 - 1 > 0) {
          if (auto before = list.Find(t0 - 1, evtSectionDefine);
              before && before->EventTime() > t0 - 1 - length && before->Value2() == v2)
            event->SetText("+");
        }
      }
    }
    CommitEdit(haveRecord ? &record : nullptr);

    if (plan.Relayout) {
      RestartPagination(1);
      PaintWindow();
    } else {
      RepaintAfterEdit(Internal{}, *band, false, measure->Index, plan.Add ? plan.Bit : 0,
                       plan.Add ? 0 : plan.Bit);
    }
  } catch (...) {
    // Edits run with errors ignored.
  }
}

}  // namespace notecraft
