#include "notecraft/layout/pagebreaker.h"

#include <algorithm>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/layout/pageframe.h"
#include "notecraft/layout/systemmeasures.h"
#include "notecraft/layout/systemstack.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

namespace {

// The staff-name column's largest share of the line: one part in this many.
constexpr int kNameColumnShare = 4;

// The largest staff height below tooTall at which the system stacked from y ends at or
// above bottom, found on the system's own geometry (staff heights at their scales, grand
// staves, staff-space events, lyric lines, chord row, spacing), which grows with the staff
// height; the smallest staff height that draws when none fits.
int FittingStaffHeight(SystemStack& stack, SystemLayout& system, int y, int tooTall, int bottom,
                       bool names) {
  int fits = DrawContext::kMinStaffHeight;
  int high = tooTall - 1;
  int low = fits + 1;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    stack.Stack(system, y, mid, names);
    if (system.Bottom <= bottom) {
      fits = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return fits;
}

}  // namespace

PageLayout PageBreaker::LayOut(int page, int start, int staffHeight, int endTime) {
  PageLayout layout;
  layout.Page = page;
  layout.Start = start;
  layout.End = start;
  layout.BaseStaffHeight = m_score.StaffHeightTwips();
  int L = std::max(staffHeight, DrawContext::kMinStaffHeight);
  layout.StaffHeight = L;

  int y = PageFrame(m_score, m_dc).LayOut(layout);
  SystemStack stack(m_score, m_dc);
  SystemMeasures measures(m_score);
  const int staffSpace = m_score.StaffSpaceTwips();
  const int systemSpace = m_score.SystemSpaceTwips();
  const int pixel = std::max(1, TheCommon().TwipsPerPixelY);
  int time = start;
  // Lyric lines move down under what their staves draw in the system.
  const bool lyrics =
      std::any_of(m_score.AllStaffs().begin(), m_score.AllStaffs().end(),
                  [](const auto& s) { return s && s->Visible() && s->Verses() > 0; });

  // The first system is taken even when the headings leave no room for it.
  while (layout.Systems.empty() || y < layout.BottomY) {
    // The page ends with the system that holds the music's end: no empty systems follow.
    if (!layout.Systems.empty() && time >= endTime) break;
    SystemLayout system;
    system.Start = time;
    const bool names = page == 1 && layout.Systems.empty();
    // The system's measures across the line (however long a staff's description, the name
    // column takes at most a quarter of it; the painter cuts longer names to it), and its
    // staves stacked again once it is known what they draw under their lyric lines.
    auto takeMeasures = [&] {
      system.LabelWidth =
          std::min(system.LabelWidth, (layout.RightX - layout.LeftX) / kNameColumnShare);
      system.Left = layout.LeftX + system.LabelWidth;
      system.Right = layout.RightX;
      measures.Fill(system, L);
      if (!lyrics) return;
      stack.Stack(system, y, L, names);
      system.LabelWidth =
          std::min(system.LabelWidth, (layout.RightX - layout.LeftX) / kNameColumnShare);
    };
    const int count = stack.Stack(system, y, L, names);
    if (count == 0) {  // nothing visible: this page ends the score
      layout.End = endTime;
      break;
    }
    takeMeasures();
    if (system.Bottom > layout.BottomY) {
      if (!layout.Systems.empty()) break;  // the page is full
      // The page's first system does not fit: the staff height shrinks to what the page
      // holds, once, and the system is taken whether or not it fits now.
      L = FittingStaffHeight(stack, system, y, L, layout.BottomY, names);
      stack.Stack(system, y, L, names);
      takeMeasures();
    }
    if (layout.Systems.empty()) layout.LabelWidth = system.LabelWidth;
    layout.StaffHeight = L;
    time = system.End;
    layout.End = time;
    // Between systems the system spacing stands in for the last staff's spacing; every
    // system moves down by at least a pixel, whatever the spacings.
    const int next = SnapY(system.Bottom - staffSpace + systemSpace);
    y = std::max(next, y + pixel);
    layout.Systems.push_back(std::move(system));
  }
  return layout;
}

}  // namespace notecraft
