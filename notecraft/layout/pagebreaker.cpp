#include "notecraft/layout/pagebreaker.h"

#include <algorithm>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/score.h"
#include "notecraft/layout/pageframe.h"
#include "notecraft/layout/systemmeasures.h"
#include "notecraft/layout/systemstack.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

namespace {

// The staff-name column's largest share of the line: one part in this many.
constexpr int kNameColumnShare = 4;

}  // namespace

PageLayout PageBreaker::LayOut(int page, int start, int staffHeight, int endTime, int firstStaff) {
  PageLayout layout;
  layout.Page = page;
  layout.Start = start;
  layout.FirstStaff = std::max(firstStaff, 0);
  layout.End = start;
  layout.NextStaff = layout.FirstStaff;
  layout.BaseStaffHeight = m_score.StaffHeightTwips();
  int L = std::max(staffHeight, DrawContext::kMinStaffHeight);
  // Lowering stops at the readable height, or at the score's own when that is smaller.
  const int floor = std::max(std::min(L, kReadableStaffHeight), DrawContext::kMinStaffHeight);
  layout.StaffHeight = L;

  int y = PageFrame(m_score, m_dc).LayOut(layout);
  SystemStack stack(m_score, m_dc);
  SystemMeasures measures(m_score);
  const int pixel = std::max(1, TheCommon().TwipsPerPixelY);
  int time = start;
  int from = layout.FirstStaff;
  // However long a staff's description, the name column takes at most a quarter of the
  // line; the painter cuts longer names to it. It belongs to the score's first system,
  // also where its staves go on on page 2.
  int nameColumn = 0;
  if (page == 1 || (from > 0 && start == 0))
    nameColumn = std::min(stack.NameColumn(), (layout.RightX - layout.LeftX) / kNameColumnShare);

  // The first system is taken even when the headings leave no room for it.
  while (layout.Systems.empty() || y < layout.BottomY) {
    // The page ends with the system that holds the music's end: no empty systems follow.
    if (!layout.Systems.empty() && time >= endTime) break;
    SystemLayout system;
    system.Start = time;
    // A page full even for the system stacked without its measures is full for the system
    // itself (what its notes draw only adds room): the next page takes it, measured there.
    if (!layout.Systems.empty() && L > floor && stack.Stack(system, y, L, from) > 0 &&
        system.Bottom > layout.BottomY)
      break;
    // Takes the system's measures and stacks its staves at staff height `height`; the
    // count of SystemStack::Stack.
    auto place = [&](int height) {
      system.LabelWidth = layout.Systems.empty() ? nameColumn : 0;
      system.Left = layout.LeftX + system.LabelWidth;
      system.Right = layout.RightX;
      measures.Fill(system, height, endTime);
      return stack.Stack(system, y, height, from);
    };
    const int count = place(L);
    if (count == 0) {  // nothing visible: this page ends the score
      layout.End = endTime;
      layout.NextStaff = 0;
      break;
    }
    if (system.Bottom > layout.BottomY && !layout.Systems.empty()) {
      // A system that no page holds whole at this staff height starts here, with the
      // staves that fit; else the page is full and the next page takes it.
      const bool neverWhole =
          L <= floor && system.Bottom - system.Top > layout.BottomY - layout.TopY;
      if (!neverWhole || SystemStack::Cut(system, layout.BottomY, 0) == 0) break;
    } else if (system.Bottom > layout.BottomY) {
      // The page's first system does not fit: the staff height, and the spacing with it,
      // shrinks to what the page holds, once, as far as the readable height; the staves of
      // a system begun on the page before keep its height.
      if (from == 0 && L > floor) {
        int fits = floor;
        for (int low = floor + 1, high = L - 1; low <= high;) {
          const int mid = low + (high - low) / 2;
          place(mid);
          if (system.Bottom <= layout.BottomY) {
            fits = mid;
            low = mid + 1;
          } else {
            high = mid - 1;
          }
        }
        L = fits;
        place(L);
      }
      // Still too tall: the page takes the staves that fit, the next page the rest.
      if (system.Bottom > layout.BottomY) SystemStack::Cut(system, layout.BottomY, 1);
    }
    if (layout.Systems.empty()) layout.LabelWidth = system.LabelWidth;
    layout.StaffHeight = L;
    const bool continues = system.Continues();
    layout.End = continues ? system.Start : system.End;
    layout.NextStaff = continues ? system.FirstStaff + static_cast<int>(system.Staves.size()) : 0;
    time = system.End;
    from = 0;
    // Between systems the system spacing stands in for the last staff's spacing; every
    // system moves down by at least a pixel, whatever the spacings.
    const double spacing = SystemStack::SpacingScale(m_score, L);
    const int next = SnapY(system.Bottom - SystemStack::Scaled(m_score.StaffSpaceTwips(), spacing) +
                           SystemStack::Scaled(m_score.SystemSpaceTwips(), spacing));
    y = std::max(next, y + pixel);
    layout.Systems.push_back(std::move(system));
    if (continues) break;
  }
  return layout;
}

}  // namespace notecraft
