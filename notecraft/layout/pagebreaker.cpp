#include "notecraft/layout/pagebreaker.h"

#include <algorithm>
#include <cstdlib>
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

// How many of the system's stacked staves (at least one) the page keeps when the system is
// too tall for any page: the first of as few even parts as the pages need, each its own
// page, by height; neither part a lone staff where the system has more.
std::size_t EvenPart(const SystemLayout& system, int bottom, int pageRoom) {
  const std::size_t staves = system.Staves.size();
  if (staves < 2) return staves;
  const int top = system.Top;
  const int height = SystemStack::PartBottom(system, staves) - top;
  const int room = std::max(pageRoom, 1);
  const int parts = std::max(2, (height + room - 1) / room);
  const int target = top + height / parts;
  std::size_t best = 1;
  for (std::size_t k = 1; k < staves; ++k) {
    const int end = SystemStack::PartBottom(system, k);
    if (end > bottom) break;
    if (std::abs(end - target) <= std::abs(SystemStack::PartBottom(system, best) - target))
      best = k;
  }
  // A staff alone on a page reads as no system at all.
  if (best == 1 && staves >= 4 && SystemStack::PartBottom(system, 2) <= bottom) best = 2;
  if (best == staves - 1 && staves >= 4) best = staves - 2;
  return best;
}

}  // namespace

PageLayout PageBreaker::LayOutAt(int page, int start, int staffHeight, int endTime, int firstStaff) {
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
  m_memo->ForgetBefore(start);
  SystemStack stack(m_score, m_dc, *m_memo);
  SystemMeasures measures(m_score, *m_memo);
  const int pixel = std::max(1, TheCommon().TwipsPerPixelY);
  int time = start;
  int from = layout.FirstStaff;
  // However long a staff's description, the name column takes at most a quarter of the
  // line; the painter cuts longer names to it. The score's first system shows it, and so
  // does every part of a system cut over pages, so that each tells which staves it holds.
  const int nameColumn =
      std::min(stack.NameColumn(), (layout.RightX - layout.LeftX) / kNameColumnShare);

  // The first system is taken even when the headings leave no room for it.
  while (layout.Systems.empty() || y < layout.BottomY) {
    // The page ends with the system that holds the music's end: no empty systems follow.
    if (!layout.Systems.empty() && time >= endTime) break;
    const bool first = layout.Systems.empty();
    SystemLayout system;
    system.Start = time;
    // A page full even for the system stacked without its measures is full for the system
    // itself (what its notes draw only adds room): the next page takes it, measured there.
    if (!first && stack.Stack(system, y, L, 0) > 0 && system.Bottom > layout.BottomY) break;
    // Takes the system's measures and stacks its staves at staff height `height`, with the
    // name column when it shows names; the count of SystemStack::Stack.
    // A later system is stacked only as far as the page's bottom: below it, it is the next
    // page's.
    auto place = [&](int height, bool names) {
      system.LabelWidth = names ? nameColumn : 0;
      system.Left = layout.LeftX + system.LabelWidth;
      system.Right = layout.RightX;
      measures.Fill(system, height, endTime);
      return first ? stack.Stack(system, y, height, from)
                   : stack.Stack(system, y, height, from, layout.BottomY);
    };
    const bool names = first && (page == 1 || from > 0);
    const int count = place(L, names);
    if (count == 0) {  // nothing visible: this page ends the score
      layout.End = endTime;
      layout.NextStaff = 0;
      break;
    }
    if (system.Bottom > layout.BottomY) {
      // Only a page's first system may lower the staff height or be cut: a later one is
      // the next page's first.
      if (!first) break;
      // The staff height, and the spacing with it, shrinks to what the page holds, once,
      // as far as the readable height; the staves of a system begun on the page before keep
      // its height.
      if (from == 0 && L > floor) {
        // Whether the system fits stays so at every lower height: the search narrows from
        // the guess (mostly the height the page before found), often ending there.
        int fits = floor;
        int placed = L;
        auto fitsAt = [&](int height) {
          place(height, names);
          placed = height;
          return system.Bottom <= layout.BottomY;
        };
        int low = floor + 1, high = L - 1;
        const bool guessed = m_guess >= low && m_guess <= high;
        if (guessed && fitsAt(m_guess)) {
          fits = m_guess;
          low = m_guess + 1;
        } else if (guessed) {
          high = m_guess - 1;
        }
        // A system too tall even at the readable height needs no search.
        const bool none = fits == floor && !fitsAt(floor);
        if (none) high = floor;
        while (low <= high) {
          const int mid = low + (high - low) / 2;
          if (fitsAt(mid)) {
            fits = mid;
            low = mid + 1;
          } else {
            high = mid - 1;
          }
        }
        L = fits;
        if (!none) m_guess = fits;
        if (placed != L) place(L, names);
      }
      // Still too tall: fewer measures draw fewer notes far beyond the lines, so the system
      // takes as many as fit whole on the page; one that does not fit even with one
      // measure is cut with all it took.
      if (system.Bottom > layout.BottomY && from == 0 && system.Measures.size() > 1) {
        const int took = static_cast<int>(system.Measures.size());
        int most = took - 1;
        for (; most >= 1; --most) {
          system.LabelWidth = names ? nameColumn : 0;
          system.Left = layout.LeftX + system.LabelWidth;
          system.Right = layout.RightX;
          measures.Fill(system, L, endTime, most);
          stack.Stack(system, y, L, from, layout.BottomY);
          if (system.Bottom <= layout.BottomY) break;
        }
        if (most < 1) place(L, names);
      }
      // Too tall for a page even so: cut into even parts, a page each, every part with the
      // staff names.
      if (system.Bottom > layout.BottomY) {
        if (!names && nameColumn > 0) place(L, true);
        SystemStack::Cut(system, EvenPart(system, layout.BottomY, layout.BottomY - layout.TopY));
      }
    }
    if (first) layout.LabelWidth = system.LabelWidth;
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

PageLayout PageBreaker::LayOut(int page, int start, int staffHeight, int endTime, int firstStaff) {
  PageLayout layout = LayOutAt(page, start, staffHeight, endTime, firstStaff);
  // A page at the score's own staff height that leaves more than a third of its room empty
  // while music follows lowers its staff height, once, as far as the readable height, to
  // take one system more: at a large staff height every page would otherwise hold one
  // system and blank paper. Later pages keep the lowered height, so the score reads alike.
  const int L = layout.StaffHeight;
  const int floor = std::max(std::min(L, kReadableStaffHeight), DrawContext::kMinStaffHeight);
  if (layout.Systems.empty() || layout.End >= endTime || layout.NextStaff != 0 ||
      layout.Systems.front().Continues() || L != layout.BaseStaffHeight || L <= floor)
    return layout;
  const int left = layout.BottomY - layout.Systems.back().Bottom;
  if (3 * left <= layout.BottomY - layout.TopY) return layout;
  const std::size_t held = layout.Systems.size();
  int best = 0;
  for (int low = floor, high = L - 1; low <= high;) {
    const int mid = low + (high - low) / 2;
    const PageLayout tried = LayOutAt(page, start, mid, endTime, firstStaff);
    if (tried.Systems.size() > held && tried.StaffHeight == mid && tried.NextStaff == 0) {
      best = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  if (best > 0) layout = LayOutAt(page, start, best, endTime, firstStaff);
  return layout;
}

}  // namespace notecraft
