// The score's painting and background pagination. The layout itself is notecraft/layout/
// (PageBreaker), the drawing notecraft/view/ (PagePainter); both pagination and painting lay
// a page out with the same PageBreaker from the same start time and staff height, so they
// agree on its systems.
//
// Nothing here waits: painting a page that pagination has not reached lays the missing
// pages out at once, and a paint or restart asked for during a paint (by a listener of the
// paint's events) is remembered and carried out after it.
#include <algorithm>
#include <limits>
#include <utility>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/timer.h"
#include "notecraft/layout/layoutmemo.h"
#include "notecraft/layout/pagebreaker.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/pagepainter.h"

namespace notecraft {

namespace {

constexpr int kLayoutTimerMs = 180;
// The internal score-wide event at time 0 that orders and brackets staves by group.
constexpr int kGroupOrderEvent = 101;

// Sets a flag for the lifetime of the guard, exceptions included.
class FlagGuard {
public:
  explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
  ~FlagGuard() { m_flag = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

private:
  bool& m_flag;
};

// Whether the page shows measure number.
bool Shows(const PageLayout& page, int number) {
  for (const SystemLayout& system : page.Systems)
    for (const MeasureSlot& m : system.Measures)
      if (m.Number == number) return true;
  return false;
}

}  // namespace

void Score::LayoutTimerDeleter::operator()(Timer* timer) const noexcept { delete timer; }

bool Score::Paginating() const noexcept { return m_paginating; }

void Score::FinishPagination() noexcept {
  while (m_paginating) {
    const int before = m_paginatePage;
    PaginateStep(Internal{});
    if (m_paginating && m_paginatePage == before) break;  // a step that could not run
  }
}

int Score::SelectedMeasure() const noexcept {
  return m_selectedMeasure == 0 ? 1 : m_selectedMeasure;
}

const std::vector<std::shared_ptr<Region>>& Score::Bands(Internal) const { return m_bands; }

bool Score::GroupOrder(Internal) const { return m_groupOrder; }

int Score::PagesLaidOut(Internal) const { return m_pagesLaidOut; }

void Score::ContentEdited(Internal) noexcept { LayoutInputsChanged(); }

// The greatest end of any note. Notes of a voice do not overlap, so its last note ends it.
int Score::MusicEndTime() const {
  int end = 0;
  for (const auto& voice : *m_voices) {
    const Notes& notes = voice->Notes();
    if (notes.Count() == 0) continue;
    const auto last = notes.ByIndex(notes.Count());
    end = std::max(end, NoteEnd(*last, m_globals.get()));
  }
  return end;
}

// The end of the measure that holds the last score-end mark; 0 without one.
int Score::FinalBarEnd() const {
  const auto mark = m_globals->Find(std::numeric_limits<int>::max(), evtScoreEnd);
  if (!mark) return 0;
  int number = 0, length = 0;
  m_globals->MeasureInfo(mark->EventTime(), number, length);
  return m_globals->MeasureTime(number) + length;
}

int Score::ScoreEndTime() const {
  return std::max({MusicEndTime(), FinalBarEnd(), m_roomEnd});
}

int Score::PagesEnd() const {
  // A final bar ends the pages: music after it is kept but not shown.
  const int finalBar = FinalBarEnd();
  return finalBar > 0 ? finalBar : m_endTime;
}

void Score::SetEmptyMeasures(Internal, int count) {
  m_roomEnd = 0;
  for (int k = 0; k < count; ++k) {
    int number = 0, length = 0;
    m_globals->MeasureInfo(m_roomEnd, number, length);
    m_roomEnd += std::max(length, 1);
  }
}

void Score::MeasuresInserted(Internal, int start, int shift, int length, int endBefore) {
  // Measures added right after the final bar go before it: the mark moves to the last of
  // them (it stood before start, so it did not move with what followed).
  if (start > 0 && endBefore <= start && FinalBarEnd() == start) {
    const auto mark = m_globals->Find(start - 1, evtScoreEnd);
    if (mark) {
      m_globals->Remove(mark->EventTime(), evtScoreEnd);
      m_globals->Add(start + shift - length, evtScoreEnd);
    }
  }
  m_roomEnd = std::max(endBefore, start) + shift;
}

void Score::DeletingMeasures(Internal, int from, int to) {
  const int end = ScoreEndTime();
  // Deleting the score's last measures keeps its final bar, on the measure before them.
  if (const int finalBar = FinalBarEnd(); finalBar > from && to >= end && from > 0) {
    const auto mark = m_globals->Find(std::numeric_limits<int>::max(), evtScoreEnd);
    if (mark && mark->EventTime() >= from) {
      int number = 0, length = 0;
      m_globals->MeasureInfo(from - 1, number, length);
      m_globals->Remove(mark->EventTime(), evtScoreEnd);
      m_globals->Add(m_globals->MeasureTime(number), evtScoreEnd);
    }
  }
  if (m_roomEnd > from) m_roomEnd = std::max(from, m_roomEnd - (to - from));
}

// --- Pagination ---

void Score::RestartPagination(int fromPage) {
  // Whatever asks for new pages may have changed what they are laid out from.
  LayoutInputsChanged();
  try {
    if (!m_redraw) {
      m_relayoutPending = true;
      return;
    }
    m_relayoutPending = false;
    m_groupOrder = m_globals->Find(0, kGroupOrderEvent, true) != nullptr;
    if (!Window()) return;
    if (m_paintBusy) {
      // From a listener of the paint: after it, from the earliest page asked for.
      const int page = std::max(fromPage, 1);
      m_restartAfterPaint = m_restartAfterPaint == 0 ? page : std::min(m_restartAfterPaint, page);
      return;
    }
    StopLayoutTimer();
    // Music pasted or inserted past the old end is laid out too, and removed music no
    // longer holds pages.
    m_endTime = ScoreEndTime();
    m_lastPage = 0;
    int page = 1;
    int time = 0;
    if (fromPage > 1 && fromPage <= static_cast<int>(m_pageTimes.size())) {
      page = fromPage;
      time = fromPage == m_curPage ? m_curTime
                                   : m_pageTimes[static_cast<std::size_t>(fromPage - 1)].Low();
    }
    if (page == 1) {
      m_pageHeights.clear();
      m_pageStaves.clear();
    }
    m_paginatePage = page;
    m_paginateTime = time;
    m_paginateStaff = PageFirstStaff(page, time);
    m_paginating = true;
    m_stepBusy = false;
    StartLayoutTimer(kLayoutTimerMs);
  } catch (...) {
    // Layout runs with errors ignored; the next restart tries again.
  }
}

void Score::PaginateStep(Internal) noexcept {
  try {
    if (m_stepBusy || m_paintBusy || !m_paginating) return;
    const FlagGuard busy(m_stepBusy);
    if (!Window()) {  // detached: attaching a window starts over
      StopLayoutTimer();
      m_paginating = false;
      return;
    }
    const int end = PagesEnd();
    if (m_paginateTime < end) {
      const auto laidOut = LaidOutPage(m_paginatePage, m_paginateTime, m_paginateStaff);
      const PageLayout& page = *laidOut;
      StorePage(page);
      m_paginateTime = page.End;
      m_paginateStaff = page.NextStaff;
      if (m_paginateTime < end) {
        ++m_paginatePage;
        const Internal key;
        const auto size = static_cast<std::size_t>(m_paginatePage);
        if (m_pageTimes.size() < size) m_pageTimes.resize(size);
        if (m_pageLayouts.size() < size) m_pageLayouts.resize(size);
        if (m_pageStaves.size() < size) m_pageStaves.resize(size);
        // The next page's start is known now, for page navigation.
        m_pageTimes[size - 1].SetLow(key, m_paginateTime);
        m_pageStaves[size - 1].first = m_paginateStaff;
        m_lastPage = std::max(m_lastPage, m_paginatePage);
        return;
      }
    }
    // The music ends on this page (or there is nothing to lay out on): pagination is done.
    StopLayoutTimer();
    m_lastPage = m_paginatePage;
    m_paginating = false;
  } catch (...) {
    // A failed step is tried again at the next tick.
  }
}

PageLayout Score::LayOutPage(int page, int start, int firstStaff) {
  return *LaidOutPage(page, start, firstStaff);
}

std::shared_ptr<const PageLayout> Score::LaidOutPage(int page, int start, int firstStaff) {
  DrawContext& dc = View(Internal{});
  const int height = PageStaffHeight(page);
  const int end = PagesEnd();
  const auto index = static_cast<std::size_t>(std::max(page, 1) - 1);
  const int screenPixel = TheCommon().TwipsPerPixelY;
  if (index < m_keptPages.size()) {
    const KeptLayout& kept = m_keptPages[index];
    if (kept.Page && kept.Revision == m_layoutRevision && kept.Page->Page == page &&
        kept.Page->Start == start && kept.Page->FirstStaff == std::max(firstStaff, 0) &&
        kept.StaffHeight == height && kept.End == end && kept.Window == dc.Window() &&
        kept.PixelX == dc.TwipsPerPixelX() && kept.PixelY == dc.TwipsPerPixelY() &&
        kept.ScreenPixelY == screenPixel && kept.Printing == dc.Printing())
      return kept.Page;
  }
  ++m_pagesLaidOut;
  if (!m_layoutMemo) m_layoutMemo = std::make_shared<LayoutMemo>();
  m_layoutMemo->Hold(LayoutMemo::InputsOf(*this, dc, m_layoutRevision, end));
  PageBreaker breaker(*this, dc);
  breaker.SetMemo(m_layoutMemo.get());
  breaker.SetHeightGuess(m_heightGuess);
  auto laidOut =
      std::make_shared<const PageLayout>(breaker.LayOut(page, start, height, end, firstStaff));
  m_heightGuess = breaker.HeightGuess();
  if (m_keptPages.size() <= index) m_keptPages.resize(index + 1);
  m_keptPages[index] = {laidOut,           m_layoutRevision,     height,         end,
                        dc.Window(),       dc.TwipsPerPixelX(),  dc.TwipsPerPixelY(),
                        screenPixel,       dc.Printing()};
  return laidOut;
}

int Score::PageFirstStaff(int page, int start) const {
  // Known only for the page's own start: a page shown from another time starts a system.
  const auto index = static_cast<std::size_t>(page - 1);
  if (page < 2 || index >= m_pageStaves.size() || index >= m_pageTimes.size() ||
      m_pageTimes[index].Low() != start)
    return 0;
  return m_pageStaves[index].first;
}

int Score::PageStaffHeight(int page) const {
  // A staff height lowered on the page before holds on, until StaffHeight is set again.
  const auto before = static_cast<std::size_t>(page - 2);
  if (page > 1 && before < m_pageHeights.size() && m_pageHeights[before].first == m_staffHeightTw &&
      m_pageHeights[before].second > 0)
    return m_pageHeights[before].second;
  return m_staffHeightTw;
}

void Score::StorePage(const PageLayout& page) {
  const Internal key;
  const auto size = static_cast<std::size_t>(page.Page);
  if (m_pageTimes.size() < size) m_pageTimes.resize(size);
  if (m_pageLayouts.size() < size) m_pageLayouts.resize(size);
  if (m_pageHeights.size() < size) m_pageHeights.resize(size);
  if (m_pageStaves.size() < size) m_pageStaves.resize(size);
  m_pageTimes[size - 1].SetLow(key, page.Start);
  m_pageTimes[size - 1].SetHigh(key, page.Reach());
  m_pageStaves[size - 1] = {page.FirstStaff, page.NextStaff};
  m_pageLayouts[size - 1].SetLow(key, page.LabelWidth);
  m_pageLayouts[size - 1].SetHigh(key, page.StaffHeight);
  m_pageHeights[size - 1] = {page.BaseStaffHeight, page.StaffHeight};
}

void Score::StartLayoutTimer(int milliseconds) {
  // A fresh timer from the factory installed now; the running one is kept only while its
  // own tick is on the stack.
  if (!m_layoutTimer || !m_tickRunning)
    m_layoutTimer.reset(CurrentTimerFactory().CreateTimer([this] { LayoutTimerTick(); }).release());
  m_layoutTimer->Start(milliseconds);
}

void Score::StopLayoutTimer() {
  if (m_layoutTimer) m_layoutTimer->Stop();
}

void Score::LayoutTimerTick() noexcept {
  if (m_tickRunning) return;  // a tick never nests in another
  m_tickRunning = true;
  PaginateStep(Internal{});
  m_tickRunning = false;
}

// --- Painting ---

void Score::PaintWindow() {
  try {
    if (!m_redraw && !m_paginating) {
      m_paintPending = true;
      return;
    }
    if (!Window() || PageHeightTwips() <= 0 || PageWidthTwips() <= 0) return;
    // A relayout put off while Redraw was off is not lost by a paint that comes first.
    if (m_redraw && m_relayoutPending) RestartPagination(1);
    if (m_paintBusy) {
      if (!m_replaying) m_repaintAfterPaint = true;
      return;
    }
    // The page is drawn with the systems pagination gives it: lay out now what pagination
    // has not reached yet.
    while (m_paginating && m_paginatePage <= m_curPage) {
      const int before = m_paginatePage;
      PaginateStep(Internal{});
      if (m_paginating && m_paginatePage == before) break;  // a failed step: paint as it is
    }
    PaintPage();

    if (m_restartAfterPaint != 0) {
      const int page = m_restartAfterPaint;
      m_restartAfterPaint = 0;
      RestartPagination(page);
    }
    if (m_repaintAfterPaint) {
      m_repaintAfterPaint = false;
      const FlagGuard replaying(m_replaying);
      PaintWindow();
    }
  } catch (...) {
    // Drawing runs with errors ignored.
  }
}

void Score::PaintPage() {
  const FlagGuard busy(m_paintBusy);
  if (m_redraw) m_paintPending = false;
  const auto index = static_cast<std::size_t>(m_curPage - 1);
  const bool known = m_curPage >= 1 && index < m_pageTimes.size() && index < m_pageLayouts.size();
  const int paginatedEnd = known ? m_pageTimes[index].High() : -1;
  const int paginatedHeight = known ? m_pageLayouts[index].High() : -1;
  const int paginatedNext = known && index < m_pageStaves.size() ? m_pageStaves[index].second : -1;

  const int pageNumber = std::max(m_curPage, 1);
  const auto laidOut = LaidOutPage(pageNumber, m_curTime, PageFirstStaff(pageNumber, m_curTime));
  const PageLayout& page = *laidOut;
  StorePage(page);
  PaintLaidOut(page, laidOut);

  // Something that moves page breaks changed without a relayout (a margin, the staff
  // height): the pages after this one follow it from here.
  const bool moved = page.Reach() != paginatedEnd || page.StaffHeight != paginatedHeight ||
                     page.NextStaff != paginatedNext;
  if (moved && (m_curPage < m_lastPage || page.End < PagesEnd()))
    m_restartAfterPaint =
        m_restartAfterPaint == 0 ? m_curPage : std::min(m_restartAfterPaint, m_curPage);
}

void Score::PaintLaidOut(const PageLayout& page, std::shared_ptr<const PageLayout> kept) {
  PagePainter::Result painted = PagePainter(*this, View(Internal{})).Paint(page, m_handles);
  m_bands = std::move(painted.Bands);
  m_paintedPage = kept ? std::move(kept) : std::make_shared<const PageLayout>(page);
  // The measure worked in stays selected while its page is painted again (a relayout after
  // an edit); a paint of another page selects the measure at its top. Printing selects none.
  if (!View(Internal{}).Printing() && !(m_selectedMeasure > 0 && Shows(page, m_selectedMeasure))) {
    m_selectedMeasure = painted.SelectedMeasure;
    if (const int number = m_selectedMeasure)
      Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });
  }
}

void Score::RedrawSwitched() {
  if (!m_redraw) return;
  // A deferred relayout always starts from page 1.
  if (m_relayoutPending) RestartPagination(1);
  if (m_paintPending) PaintWindow();
}

}  // namespace notecraft
