// Score: repainting the system of an edit from the page's staff bands, without layout.
//
// The page is laid out again only to learn whether the edit moved anything (a measure
// widened, a staff band moved down); then the whole page is painted anew. Otherwise the
// redraw repeats what the page painter does for each staff of a system, from the bands:
// the staff lines, the bar-line joins inside braces and between a grand staff's halves,
// each staff's content, lyrics and ties, and the system's left line. What lies left of the
// staff lines (brackets, braces, names) is outside the erased rectangle and stays. The
// drawing state a pagination tick may have changed since the paint (the page's staff
// height, the change shifts, the stem mode of shared staves, the system's note positions)
// is set again first.
#include <algorithm>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/layout/systemstack.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/lyricspacing.h"
#include "notecraft/view/notespacing.h"
#include "notecraft/view/restsandties.h"
#include "notecraft/view/staffsystem.h"
#include "notecraft/view/symbolstate.h"

namespace notecraft {

namespace {

// Octave-line bits of a band's flags: the staff drawer takes them from the staff's own
// events, so they are not handed on to the other staves of the system.
constexpr int kOctaveBits = (sct8va | sct8vb) * 16;

int LastLine(const Region& band) {
  if (band.Split()) return LowerStaffTop(band) + 4 * band.IncY();
  return band.Top() + band.PadTop() + 4 * band.IncY();
}

// The right edges of a band's measures, the last one at the band's right edge.
std::vector<int> BarLines(const Region& band) {
  std::vector<int> bars;
  int x = band.Left();
  for (int i = 0; i < band.Measures(); ++i) bars.push_back(x += band.Measure(i)->Low());
  if (!bars.empty()) bars.back() = band.Right();
  return bars;
}

// The measures of a band's system: start and length.
std::vector<std::pair<int, int>> SystemMeasures(const Region& band, const GlobalEvents& globals) {
  std::vector<std::pair<int, int>> measures;
  for (int i = 0; i < band.Measures(); ++i) {
    int number = 0, duration = 0;
    const int start = band.Measure(i)->High();
    globals.MeasureInfo(start, number, duration);
    measures.emplace_back(start, duration);
  }
  return measures;
}

bool SameStaves(const std::vector<StaffSlot>& a, const std::vector<StaffSlot>& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const StaffSlot& x, const StaffSlot& y) {
        return x.Staff == y.Staff && x.LineSpace == y.LineSpace && x.Top == y.Top &&
               x.TopLine == y.TopLine && x.BottomLine == y.BottomLine && x.Grand == y.Grand &&
               x.LowerTopLine == y.LowerTopLine && x.Bottom == y.Bottom && x.End == y.End;
      });
}

bool SameMeasures(const std::vector<MeasureSlot>& a, const std::vector<MeasureSlot>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const MeasureSlot& x, const MeasureSlot& y) {
                      return x.Start == y.Start && x.Duration == y.Duration && x.Width == y.Width;
                    });
}

// Whether two layouts of a page put its systems, staves and measures in the same places.
bool SameGeometry(const PageLayout& a, const PageLayout& b) {
  if (a.Start != b.Start || a.End != b.End || a.StaffHeight != b.StaffHeight ||
      a.FirstStaff != b.FirstStaff || a.NextStaff != b.NextStaff ||
      a.Systems.size() != b.Systems.size())
    return false;
  for (std::size_t k = 0; k < a.Systems.size(); ++k) {
    const SystemLayout& x = a.Systems[k];
    const SystemLayout& y = b.Systems[k];
    if (x.Start != y.Start || x.End != y.End || x.Top != y.Top || x.Left != y.Left ||
        x.Right != y.Right || x.Bottom != y.Bottom || !SameMeasures(x.Measures, y.Measures) ||
        !SameStaves(x.Staves, y.Staves))
      return false;
  }
  return true;
}

// How far down a repaint ending with band erases: the band and what its staff draws under
// it (its lyric lines), never into the next system.
int EraseBottom(const PageLayout& page, const Region& band) {
  int bottom = band.Bottom();
  for (std::size_t k = 0; k < page.Systems.size(); ++k) {
    const SystemLayout& system = page.Systems[k];
    if (system.Start != band.Time()) continue;
    bottom = std::max(bottom, system.Bottom);
    if (k + 1 < page.Systems.size() && !page.Systems[k + 1].Staves.empty())
      bottom = std::min(bottom, page.Systems[k + 1].Staves.front().Top - 1);
    break;
  }
  return std::max(bottom, band.Bottom());
}

}  // namespace

bool Score::PaintedLayoutHolds() {
  if (!m_paintedPage) return false;
  const int page = std::max(m_curPage, 1);
  return SameGeometry(*LaidOutPage(page, m_curTime, PageFirstStaff(page, m_curTime)),
                      *m_paintedPage);
}

void Score::RepaintAfterEdit(Internal, const Region& band, bool toPageEnd, int measureIndex,
                             int setFlags, int clearFlags) {
  try {
    const int count = static_cast<int>(m_bands.size());
    int at = band.Index();
    if (at < 1 || at > count || m_bands[static_cast<std::size_t>(at - 1)].get() != &band) {
      const auto it = std::find_if(m_bands.begin(), m_bands.end(),
                                   [&band](const auto& b) { return b.get() == &band; });
      if (it == m_bands.end()) return;
      at = static_cast<int>(it - m_bands.begin()) + 1;
    }
    auto item = [this](int k) -> Region& { return *m_bands[static_cast<std::size_t>(k - 1)]; };
    int first = at;
    while (first > 1 && !item(first).First()) --first;
    int last = first;
    if (toPageEnd) {
      last = count;
    } else {
      while (last < count && !item(last + 1).First()) ++last;
    }

    int left = item(first).Left();
    int right = item(first).Right();
    for (int k = first; k <= last; ++k) {
      Region& b = item(k);
      if (measureIndex >= 0)
        b.SetMeasureFlag(measureIndex,
                         (b.MeasureFlag(measureIndex) | setFlags) & (65535 - clearFlags));
      left = std::min(left, b.Left());
      right = std::max(right, b.Right());
    }
    Edit().CaretSearchTime = -1;
    if (!m_redraw) {
      m_paintPending = true;
      return;
    }
    DrawContext& dc = View(Internal{});
    Surface* window = dc.Window();
    if (!window) return;
    // An edit that changes the page's layout (a measure widened for its syllables, lyric
    // lines moved under a new low note) paints the page laid out anew.
    if (!PaintedLayoutHolds()) {
      RestartPagination(m_curPage);
      PaintWindow();
      return;
    }
    const int bottom = EraseBottom(*m_paintedPage, item(last));
    dc.DrawLine(window->BackColor(), left, item(first).Top(), right, bottom, true);

    dc.SetPaginating(false);
    const auto page = static_cast<std::size_t>(m_curPage - 1);
    if (m_curPage >= 1 && page < m_pageLayouts.size() && m_pageLayouts[page].High() > 0)
      dc.SetStaffHeightTwips(m_pageLayouts[page].High());

    // System by system: the shared state afresh, the staves, the left line.
    const std::vector<int> staves = SystemStack::VisibleStaves(*this);
    const bool shared = SystemStack::SharedStaves(*this);
    for (int start = first; start <= last;) {
      int end = start;
      while (end < last && !item(end + 1).First()) ++end;
      SymbolState& state = dc.Symbols();
      const Region& head = item(start);
      state.Shifts.assign(static_cast<std::size_t>(head.Measures()), ChangeShift{});
      state.InnerShifts.assign(static_cast<std::size_t>(head.Measures()), {});
      state.StemMode = shared ? SymbolState::kSharedStaves : 0;
      // The notes stand where the full paint put them: spaced over all the system's staves.
      GatherSystemPositions(dc, *this, staves, SystemMeasures(head, *m_globals));
      state.Spreads.assign(static_cast<std::size_t>(head.Measures()), {});

      int braceLeft = 0;  // staves the open brace still spans; 0: none open
      int previousLine = 0;
      for (int k = start; k <= end; ++k) {
        Region& b = item(k);
        const auto staff = Staff(b.Staff());
        if (!staff) continue;
        const int joinTop = braceLeft > 0 ? previousLine - b.PadTop() : 0;
        if (braceLeft > 0)
          for (const int bar : BarLines(b))
            dc.DrawLine(dc.ColorBars(), bar, previousLine, bar, b.Top() + b.PadTop());
        RedrawBand(b, joinTop);
        if (braceLeft == 0 && staff->Brace() > 0 && !b.Split()) braceLeft = staff->Brace();
        if (braceLeft > 0) --braceLeft;
        previousLine = LastLine(b);
      }
      const Region& top = item(start);
      dc.DrawLine(dc.ColorBars(), left, top.Top() + top.PadTop(), left, LastLine(item(end)));
      state.Positions.clear();
      state.LyricEnds.clear();
      start = end + 1;
    }
    dc.Symbols().Positions.clear();
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void Score::RedrawBand(Region& band, int joinTop) {
  DrawContext& dc = View(Internal{});
  const auto staff = Staff(band.Staff());
  if (!staff || !dc.Window()) return;
  dc.SetStaffScale(static_cast<float>(staff->ScalePct()) / 100.0f);
  dc.SetStaffUnit(band.IncY());
  dc.SelectFont(DrawContext::kMusicFont);
  const int s = band.IncY();

  SystemGrid grid;
  for (int i = 0; i < band.Measures(); ++i) {
    grid.Widths.push_back(band.Measure(i)->Low());
    grid.Flags.push_back(band.MeasureFlag(i) & ~kOctaveBits);
  }
  grid.Pulse = m_globals->PulseValue();

  StaffPlacement place;
  place.Left = band.Left();
  place.Right = band.Right();
  place.Top = band.Top() + band.PadTop();
  place.Bottom = place.Top + 4 * s;
  place.StaffIndex = band.Staff();
  place.StartTime = band.Measures() > 0 ? band.Measure(0)->High() : band.Time();
  place.JoinTop = joinTop;
  for (int k = 0; k < 5; ++k)
    dc.DrawLine(dc.ColorLines(), place.Left, place.Top + k * s, place.Right, place.Top + k * s);
  DrawStaffSystem(dc, grid, place, band);
  DrawTies(dc, band.Staff());
  if (band.Split()) {
    const int upperBottom = place.Bottom;
    place.Top = LowerStaffTop(band);
    place.Bottom = place.Top + 4 * s;
    place.GrandHalf = 2;
    place.JoinTop = 0;
    for (int k = 0; k < 5; ++k)
      dc.DrawLine(dc.ColorLines(), place.Left, place.Top + k * s, place.Right, place.Top + k * s);
    DrawStaffSystem(dc, grid, place, band);
    DrawTies(dc, band.Staff());
    for (const int bar : BarLines(band))
      dc.DrawLine(dc.ColorBars(), bar, upperBottom, bar, place.Top);
  }
}

}  // namespace notecraft
