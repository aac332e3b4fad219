#include "notecraft/layout/systemstack.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/understaff.h"

#ifdef NOTECRAFT_HAS_CHORD
#include "harmonygrid/core/chord.h"
#endif

namespace notecraft {

int SystemStack::ChordRowHeight() const {
  if (!m_score.UseChords()) return 0;
#ifdef NOTECRAFT_HAS_CHORD
  if (const harmonygrid::Chord* chords = m_score.Chord())
    return m_score.UseChordMaps() ? chords->AreaHeight() : chords->ChordTextHeight();
#endif
  return 0;
}

int SystemStack::Stack(SystemLayout& system, int y, int staffHeight, bool names) {
  system.Top = y;
  system.ChordRow = ChordRowHeight();
  system.Staves.clear();
  system.SharedStaves = false;
  system.LabelWidth = 0;
  const int staffSpace = m_score.StaffSpaceTwips();
  Surface* window = m_dc.Window();
  if (names && window) m_dc.SelectFont(fntCopyright);

  y += system.ChordRow;
  int count = 0;
  for (const auto& staff : m_score.AllStaffs()) {
    if (!staff || !staff->Visible()) continue;
    StaffSlot slot;
    slot.Staff = staff->Index();
    slot.Scale = static_cast<float>(staff->ScalePct()) / 100.0f;
    slot.LineSpace = std::max(
        1, static_cast<int>(RoundHalfEven(staffHeight / 4.0 * static_cast<double>(slot.Scale))));
    const int s = slot.LineSpace;
    slot.Pad = SnapY(static_cast<int>(RoundHalfEven(static_cast<double>(slot.Scale) * staffSpace)) / 2);
    slot.Grand = staff->DefaultClef() == clfGrand;

    // A staff-space event at the system's start moves the band down, or up.
    if (const auto space = staff->GlobalEvents().Find(system.Start, evtStaffSpace, true))
      y += space->Value1() > 0 ? s * space->Value1() : -s * space->Value2();
    slot.Top = y;
    slot.TopLine = y + slot.Pad;
    slot.BottomLine = slot.TopLine + 4 * s;
    // Every staff keeps a line per lyric verse: below the band, or on a grand staff
    // between its two staves, where its lyrics stand.
    const int lyrics =
        LyricRoom(m_dc, *staff, system.Start, system.End, staffHeight, slot.Scale, slot.Pad);
    int last = slot.BottomLine;
    if (slot.Grand) {
      slot.LowerTopLine = slot.BottomLine + 4 * s + lyrics;
      slot.LowerBottomLine = slot.LowerTopLine + 4 * s;
      last = slot.LowerBottomLine;
    }
    slot.Bottom = SnapY(last + slot.Pad);
    slot.End = slot.Bottom + (slot.Grand ? 0 : lyrics);
    y = slot.End;
    count += slot.Grand ? 3 : 1;

    for (int v = 2; v <= staff->Voices() && !system.SharedStaves; ++v) {
      const auto voice = staff->Voice(v);
      if (voice && voice->Notes().Count() > 0) system.SharedStaves = true;
    }
    if (names && window && (staff->Flags() & stfShowStaffDesc))
      system.LabelWidth = std::max(system.LabelWidth, window->TextWidth(staff->Description()));
    system.Staves.push_back(slot);
  }
  if (system.LabelWidth > 0) system.LabelWidth += window->TextWidth("xxx");
  system.Bottom = y;
  return count;
}

}  // namespace notecraft
