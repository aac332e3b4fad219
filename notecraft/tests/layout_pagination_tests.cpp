// Background pagination: one page per 180 ms tick of the score's own timer, restarts from a
// page, the end time taken from the music, painting a page that pagination has not reached,
// requests made during a paint, and the pages painting draws being the pages pagination
// counted.
#include <functional>
#include <string>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/scoreevents.h"

namespace notecraft {
namespace {

using namespace testing;

// One staff of quarter notes: 36 measures a page (nine systems of four), so ten pages.
constexpr int kMeasures = 9 * 36 + 10;

class Pagination : public LayoutFixture {
public:
  Pagination() {
    FillQuarters(First(), kMeasures);
    Attach();
  }
  // LastPage after each tick until pagination ends (and the tick after).
  std::vector<int> TickToTheEnd() {
    std::vector<int> seen;
    for (int guard = 0; guard < 100 && score.Paginating(); ++guard) {
      timers.Advance(180);
      seen.push_back(score.LastPage());
    }
    return seen;
  }
};

TEST_F(Pagination, LaysOutOnePagePerTickAndStopsItsTimerAtTheEnd) {
  score.RestartPagination(1);
  EXPECT_EQ(score.LastPage(), 0);
  EXPECT_EQ(timers.ActiveTimers(), 1);
  timers.Advance(179);
  EXPECT_EQ(score.LastPage(), 0);
  // Each tick lays out one page and knows the next one exists; the tenth ends the music.
  EXPECT_EQ(TickToTheEnd(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 10}));
  EXPECT_FALSE(score.Paginating());
  EXPECT_EQ(timers.ActiveTimers(), 0);
  // The pages tile the score up to its end.
  const auto& times = score.PageTimes();
  EXPECT_EQ(times[0].Low(), 0);
  for (int p = 1; p < 10; ++p) EXPECT_EQ(times[static_cast<std::size_t>(p)].Low(), times[static_cast<std::size_t>(p - 1)].High());
  EXPECT_LT(times[8].High(), score.EndTime());
  EXPECT_GE(times[9].High(), score.EndTime());
}

TEST_F(Pagination, FinishingLaysOutEveryPageAtOnceWithoutPainting) {
  score.RestartPagination(1);
  timers.Advance(180);
  ASSERT_EQ(score.LastPage(), 2);
  score.FinishPagination();
  EXPECT_FALSE(score.Paginating());
  EXPECT_EQ(score.LastPage(), 10);
  EXPECT_EQ(timers.ActiveTimers(), 0);
  EXPECT_GE(score.PageTimes()[9].High(), score.EndTime());
  score.FinishPagination();  // nothing left to do
  EXPECT_EQ(score.LastPage(), 10);
}

TEST_F(Pagination, ARestartFromPage3KeepsTheEarlierPages) {
  PaginateAll();
  score.SetCurPage(3);
  const int page1End = score.PageTimes()[0].High();
  const int page2End = score.PageTimes()[1].High();
  // An edit on page 3.
  score.Staff(1)->Voice(1)->Notes().Add(score.CurTime() + 64, 72, durQuarter, 0);
  score.RestartPagination(score.CurPage());
  EXPECT_EQ(score.LastPage(), 0);
  EXPECT_EQ(TickToTheEnd(), (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 10}));
  EXPECT_EQ(score.PageTimes()[0].High(), page1End);
  EXPECT_EQ(score.PageTimes()[1].High(), page2End);
}

TEST_F(Pagination, AnEmptyScoreEndsOnTheFirstTickWithOnePage) {
  score.Staff(1)->Voice(1)->Notes().RemoveRange(0, kMeasures * 64);
  score.RestartPagination(1);
  EXPECT_EQ(score.LastPage(), 0);
  timers.Advance(180);
  EXPECT_EQ(score.LastPage(), 1);
  EXPECT_EQ(score.EndTime(), 4 * 64);  // a new score's first line of empty measures
  EXPECT_EQ(timers.ActiveTimers(), 0);
}

TEST_F(Pagination, EachScoreHasItsOwnTimer) {
  Score other;
  other.CreateDefault();
  FillQuarters(*other.Staff(1), kMeasures / 2);
  RecordingSurface otherSurface;
  other.SetWindow(&otherSurface);

  score.RestartPagination(1);
  other.RestartPagination(1);
  EXPECT_EQ(timers.ActiveTimers(), 2);
  timers.Advance(3 * 180);
  // Restarting one score leaves the other's pagination running.
  score.RestartPagination(1);
  EXPECT_EQ(score.LastPage(), 0);
  EXPECT_GE(other.LastPage(), 4);
  EXPECT_EQ(timers.ActiveTimers(), 2);
  timers.Advance(30 * 180);
  EXPECT_FALSE(score.Paginating());
  EXPECT_FALSE(other.Paginating());
  EXPECT_EQ(score.LastPage(), 10);
  EXPECT_GE(other.LastPage(), 5);
  EXPECT_EQ(timers.ActiveTimers(), 0);
  other.SetWindow(nullptr);
}

TEST_F(Pagination, TheEndTimeIsTakenFromTheMusicAtEveryRestart) {
  PaginateAll();
  ASSERT_EQ(score.LastPage(), 10);
  // Music put past the end without the end time being told, as a paste or an inserted
  // measure does: a dotted half at measure 400.
  score.Staff(1)->Voice(1)->Notes().Add(399 * 64, 60, durHalf, nteDot);
  PaginateAll();
  EXPECT_EQ(score.EndTime(), 399 * 64 + 48);
  EXPECT_EQ(score.LastPage(), 12);
  EXPECT_GE(score.PageTimes()[11].High(), score.EndTime());
  // Removed music no longer holds pages.
  score.Staff(1)->Voice(1)->Notes().RemoveRange(36 * 64, 400 * 64);
  PaginateAll();
  EXPECT_EQ(score.EndTime(), 36 * 64);
  EXPECT_EQ(score.LastPage(), 1);
}

TEST_F(Pagination, PaintingAPagePaginationHasNotReachedLaysItOutAtOnce) {
  PaginateAll();
  score.SetCurPage(5);
  const int page5 = score.PageTimes()[4].Low();
  score.RestartPagination(1);
  EXPECT_EQ(score.LastPage(), 0);
  surface.ClearRecord();
  score.PaintWindow();  // no tick has come yet
  EXPECT_GE(score.LastPage(), 6);
  EXPECT_TRUE(score.Paginating());  // the rest still comes one page a tick
  EXPECT_EQ(timers.ActiveTimers(), 1);
  ASSERT_FALSE(score.Bands(Internal{}).empty());
  EXPECT_EQ(score.Bands(Internal{}).front()->Time(), page5);
  EXPECT_FALSE(surface.Ops().empty());
}

TEST_F(Pagination, WithRedrawOffRestartsAndPaintsWait) {
  PaginateAll();
  score.SetRedraw(false);
  surface.ClearRecord();
  score.RestartPagination(1);
  score.PaintWindow();
  EXPECT_EQ(score.LastPage(), 10);
  EXPECT_FALSE(score.Paginating());
  EXPECT_EQ(timers.ActiveTimers(), 0);
  EXPECT_TRUE(surface.Ops().empty());
  score.SetRedraw(true);
}

// A listener that asks for a paint and a relayout from inside the paint.
class Reentrant : public ScoreEvents {
public:
  explicit Reentrant(Score& score) : m_score(score) {}
  void WindowCleared() override {
    ++cleared;
    m_score.PaintWindow();
    m_score.RestartPagination(1);
  }
  int cleared = 0;

private:
  Score& m_score;
};

TEST_F(Pagination, APaintOrRestartAskedForDuringAPaintComesOnceAfterIt) {
  PaginateAll();
  Reentrant listener(score);
  score.AddListener(&listener);
  score.PaintWindow();
  score.RemoveListener(&listener);
  // The paint ran to its end, then the restart, then one more paint, and no more.
  EXPECT_EQ(listener.cleared, 2);
  EXPECT_TRUE(score.Paginating());
  EXPECT_FALSE(score.Bands(Internal{}).empty());
  timers.Advance(20 * 180);
  EXPECT_EQ(score.LastPage(), 10);
}

// Painting every page after pagination draws the very systems pagination counted, for
// scores where the two used to disagree: a grand staff with lyric verses, staff-space
// events at system starts, a lowered staff height, page furniture.
TEST(PaginationAgreement, PaintingEveryPageKeepsThePagesPaginationCounted) {
  struct Case {
    const char* name;
    std::function<void(LayoutFixture&)> setup;
  };
  const std::vector<Case> cases = {
      {"one staff", [](LayoutFixture&) {}},
      {"grand staff with lyric verses",
       [](LayoutFixture& f) {
         f.First().SetDefaultClef(clfGrand);
         f.First().SetVerses(Internal{}, 3);
         Staff& below = f.AddStaff();
         below.SetVerses(Internal{}, 2);
         FillQuarters(below, 120);
       }},
      {"staff-space events",
       [](LayoutFixture& f) {
         for (int t = 0; t < 120 * 64; t += 64) {
           f.First().GlobalEvents().Add(t, evtStaffSpace, 3, 0);
           if (t % 128 == 0) f.First().GlobalEvents().Add(t, evtStaffSpace, 0, 0);
         }
         Staff& below = f.AddStaff();
         for (int t = 0; t < 120 * 64; t += 192) below.GlobalEvents().Add(t, evtStaffSpace, 0, 2);
         FillQuarters(below, 120);
       }},
      {"twelve staves, lowered",
       [](LayoutFixture& f) {
         for (int i = 0; i < 11; ++i) FillQuarters(f.AddStaff(), 120, 60 + i);
       }},
      {"headings, footers, page numbers, mirrored pages",
       [](LayoutFixture& f) {
         f.score.SetTitle("Title");
         f.score.SetSubTitle("Subtitle");
         f.score.SetComposer("Composer");
         f.score.SetMetronome(true);
         f.score.SetCopyright(0, "Footer");
         f.score.SetPageNums(pgnAllPages);
         f.score.SetReverseEvenOdd(true);
         f.score.SetMargins(marLeft, 1.5f);
         f.First().SetFlags(stfShowStaffDesc);
         f.First().SetDescription("A long staff description");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    struct Fixture : LayoutFixture {
      void TestBody() override {}
    } f;
    FillQuarters(f.First(), 120);
    c.setup(f);
    f.Attach();
    f.PaginateAll();
    const int pages = f.score.LastPage();
    ASSERT_GE(pages, 2);
    std::vector<std::pair<int, int>> times, layouts;
    for (int p = 0; p < pages; ++p) {
      times.emplace_back(f.score.PageTimes()[static_cast<std::size_t>(p)].Low(),
                         f.score.PageTimes()[static_cast<std::size_t>(p)].High());
      layouts.emplace_back(f.score.PageLayouts()[static_cast<std::size_t>(p)].Low(),
                           f.score.PageLayouts()[static_cast<std::size_t>(p)].High());
    }
    for (int p = 1; p <= pages; ++p) {
      SCOPED_TRACE("page " + std::to_string(p));
      if (f.score.CurPage() != p) f.score.SetCurPage(p);
      else f.score.PaintWindow();
      const auto index = static_cast<std::size_t>(p - 1);
      EXPECT_EQ(f.score.PageTimes()[index].Low(), times[index].first);
      EXPECT_EQ(f.score.PageTimes()[index].High(), times[index].second);
      EXPECT_EQ(f.score.PageLayouts()[index].High(), layouts[index].second);
      // Every painted system lies on this page's time span.
      for (const auto& band : f.score.Bands(Internal{})) {
        EXPECT_GE(band->Time(), times[index].first);
        EXPECT_LT(band->Time(), times[index].second);
      }
    }
    EXPECT_FALSE(f.score.Paginating());  // nothing had to be laid out again
    EXPECT_EQ(f.score.LastPage(), pages);
  }
}

}  // namespace
}  // namespace notecraft
