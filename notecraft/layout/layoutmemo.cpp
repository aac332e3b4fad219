#include "notecraft/layout/layoutmemo.h"

#include <algorithm>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

LayoutMemo::Inputs LayoutMemo::InputsOf(const Score& score, const DrawContext& dc,
                                        unsigned long long revision, int end) {
  Inputs inputs;
  inputs.Revision = revision;
  inputs.Window = dc.Window();
  inputs.PixelX = dc.TwipsPerPixelX();
  inputs.PixelY = dc.TwipsPerPixelY();
  inputs.ScreenPixelY = TheCommon().TwipsPerPixelY;
  inputs.Printing = dc.Printing();
  inputs.End = end;
  for (const auto& staff : score.AllStaffs()) {
    if (!staff) continue;
    inputs.Staves.insert(inputs.Staves.end(),
                         {staff->Index(), staff->Visible() ? 1 : 0, staff->DefaultClef(),
                          staff->ScalePct(), staff->Verses(), staff->Flags(), staff->Voices()});
    for (int v = 1; v <= staff->Voices(); ++v) {
      const auto voice = staff->Voice(v);
      const auto instrument = voice ? voice->Instrument() : nullptr;
      inputs.Staves.push_back(!voice ? -1 : instrument ? instrument->Category() : -2);
    }
  }
  return inputs;
}

void LayoutMemo::Hold(Inputs inputs) {
  if (inputs == m_inputs) return;
  m_inputs = std::move(inputs);
  Counts.clear();
  Floors.clear();
  LyricWidths.clear();
  Reach.clear();
  m_from = 0;
}

void LayoutMemo::ForgetBefore(int time) {
  if (time <= m_from) return;
  m_from = time;
  auto before = [time](const auto& record) { return record.Start < time; };
  std::erase_if(Counts, before);
  std::erase_if(Floors, before);
  std::erase_if(LyricWidths, before);
  for (ReachMemo& memo : Reach) memo.ForgetBefore(time);
}

ReachMemo& LayoutMemo::ReachOfStaff(int index) {
  const auto at = static_cast<std::size_t>(std::max(index, 0));
  if (at >= Reach.size()) Reach.resize(at + 1);
  return Reach[at];
}

}  // namespace notecraft
