// Pages laid out once: painting draws the layout pagination made while nothing it depends on
// changed, and every change to the notes, the score or the window lays the page out again,
// so that a paint after an edit shows it and its page breaks.
#include <algorithm>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/notes.h"
#include "notecraft/layout/layoutmemo.h"

namespace notecraft {
namespace {

using namespace testing;

// One staff of quarter notes over several pages (36 measures a page).
constexpr int kMeasures = 3 * 36 + 10;

class KeptPages : public LayoutFixture {
public:
  KeptPages() {
    FillQuarters(First(), kMeasures);
    Attach();
    PaginateAll();
  }
  int LaidOut() const { return score.PagesLaidOut(Internal{}); }
  // The drawing of page `page` (made the current one first).
  std::vector<SurfaceOp> Drawn(int page) {
    if (score.CurPage() != page) score.SetCurPage(page);
    surface.ClearRecord();
    score.PaintWindow();
    return surface.Ops();
  }
  Notes& Quarters() { return score.Staff(1)->Voice(1)->Notes(); }
};

TEST_F(KeptPages, PaintingThePagesPaginationLaidOutLaysNoneOutAgain) {
  ASSERT_EQ(score.LastPage(), 4);
  const int made = LaidOut();
  std::vector<std::vector<SurfaceOp>> kept;
  for (int page = 1; page <= 4; ++page) kept.push_back(Drawn(page));
  kept.push_back(Drawn(4));  // painted again, as after the window was covered
  EXPECT_EQ(LaidOut(), made);

  // The same drawing as from pages laid out afresh.
  score.RestartPagination(1);
  score.FinishPagination();
  EXPECT_EQ(LaidOut(), made + 4);
  for (int page = 1; page <= 4; ++page)
    EXPECT_EQ(Drawn(page), kept[static_cast<std::size_t>(page - 1)]) << "page " << page;
}

TEST_F(KeptPages, EveryKindOfChangeLaysThePageOutAgain) {
  struct Case {
    const char* what;
    void (*change)(Score&);
  };
  const std::vector<Case> cases = {
      {"a note entered", [](Score& s) { s.AddNote(1, 40 * 64, 84, durQuarter, 0); }},
      {"the notes rewritten in place",
       [](Score& s) { s.Staff(1)->Voice(1)->Notes().Add(40 * 64 + 8, 90, durEighth, 0); }},
      {"a score-wide event", [](Score& s) { s.AllGlobals().Add(40 * 64, evtLineEnd); }},
      {"the staff height", [](Score& s) { s.SetStaffHeight(0.3f); }},
      {"the page size", [](Score& s) { s.SetPageHeight(10.0f); }},
      {"the tempo", [](Score& s) { s.SetCount(90); }},
      {"a restart", [](Score& s) { s.RestartPagination(1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    score.SetCurPage(2);
    score.PaintWindow();
    const int before = LaidOut();
    c.change(score);
    score.PaintWindow();
    EXPECT_GT(LaidOut(), before);
  }
}

TEST_F(KeptPages, APaintAfterAnEditShowsItAndItsPageBreaks) {
  score.SetCurPage(1);
  const int end = score.PageTimes()[0].High();
  const std::size_t heads = surface.Ops(SurfaceOp::Kind::Text).size();
  // Sixteenths through the page's first measures: they widen, and fewer fit the page.
  for (int t = 0; t < 8 * 64; t += 4) score.AddNote(1, t, 60 + t % 12, durSixteenth, 0);
  surface.ClearRecord();
  score.PaintWindow();
  EXPECT_GT(surface.Ops(SurfaceOp::Kind::Text).size(), heads);
  EXPECT_LT(score.PageTimes()[0].High(), end);
  EXPECT_EQ(score.PageTimes()[0].High(), LayOut(1, 0).Reach());

  // A high note written straight into the list moves its staff down at the next paint.
  auto pads = [&] {
    std::vector<int> tops;
    for (const auto& band : score.Bands(Internal{})) tops.push_back(band->PadTop());
    return tops;
  };
  const std::vector<int> before = pads();
  const int last = score.PageTimes()[0].High() - 16;
  Quarters().Add(last + 8, 100, durEighth, 0);
  score.PaintWindow();
  EXPECT_NE(pads(), before);
  std::vector<int> fresh;
  for (const SystemLayout& system : LayOut(1, 0).Systems) fresh.push_back(system.Staves[0].PadTop);
  EXPECT_EQ(pads(), fresh);
}

// What the layout read from each measure is kept from page to page: after an edit, the page
// painted is the page a score laid out with the edit from the start shows.
TEST(KeptMeasures, AnEditAfterLayoutGivesThePagesOfAFreshLayout) {
  struct Pages : LayoutFixture {
    void TestBody() override {}
    std::vector<SurfaceOp> Drawn(int page) {
      if (score.CurPage() != page) score.SetCurPage(page);
      surface.ClearRecord();
      score.PaintWindow();
      return surface.Ops();
    }
  };
  // Measures on the last page, whose records the layout still holds after pagination.
  constexpr int kAt = (kMeasures - 6) * 64;
  struct Case {
    const char* what;
    void (*change)(Score&);
  };
  const std::vector<Case> cases = {
      {"sixteenths written straight into the list",
       [](Score& s) {
         for (int t = kAt; t < kAt + 2 * 64; t += 4)
           s.Staff(1)->Voice(1)->Notes().Add(t, 72 + t % 7, durSixteenth, 0);
       }},
      {"a note far above the staff",
       [](Score& s) { s.Staff(1)->Voice(1)->Notes().Add(kAt + 8, 100, durEighth, 0); }},
      {"a time signature", [](Score& s) { s.AllGlobals().Add(kAt, evtTimeChange, 3, 16); }},
      {"a measure widened", [](Score& s) { s.AllGlobals().Add(kAt, evtMeasureSize, 6, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Laid out, then changed.
    Pages edited;
    FillQuarters(edited.First(), kMeasures);
    edited.Attach();
    edited.PaginateAll();
    const int last = edited.score.LastPage();
    ASSERT_GE(last, 3);
    edited.Drawn(last);
    c.change(edited.score);
    // Changed before any layout.
    Pages fresh;
    FillQuarters(fresh.First(), kMeasures);
    fresh.Attach();
    c.change(fresh.score);
    fresh.PaginateAll();

    const int page = std::min(last, fresh.score.LastPage());
    ASSERT_GE(page, 2);
    ASSERT_EQ(edited.score.PageTimes()[static_cast<std::size_t>(page - 1)].Low(),
              fresh.score.PageTimes()[static_cast<std::size_t>(page - 1)].Low());
    EXPECT_EQ(edited.Drawn(page), fresh.Drawn(page));
    EXPECT_EQ(edited.Drawn(1), fresh.Drawn(1));
  }

  // Records read at one staff height serve no other: the pages laid out at another height
  // with the records kept are those laid out afresh.
  Pages f;
  FillQuarters(f.First(), kMeasures);
  for (int t = 0; t < kMeasures * 64; t += 64)
    f.First().Voice(1)->Notes().Add(t + 4, 50, durSixteenth, 0);
  f.Attach();
  LayoutMemo memo;
  auto pages = [&](int height, LayoutMemo* kept) {
    std::vector<PageLayout> laid;
    int start = 0;
    for (int page = 1; page <= 3; ++page) {
      PageBreaker breaker(f.score, f.Dc());
      breaker.SetMemo(kept);
      laid.push_back(breaker.LayOut(page, start, height, kMeasures * 64));
      start = laid.back().End;
    }
    return laid;
  };
  pages(kL, &memo);
  for (const int height : {kL * 3 / 4, kL / 2, kL}) {
    SCOPED_TRACE(height);
    const std::vector<PageLayout> kept = pages(height, &memo);
    const std::vector<PageLayout> afresh = pages(height, nullptr);
    for (std::size_t p = 0; p < afresh.size(); ++p) {
      EXPECT_EQ(kept[p].End, afresh[p].End);
      ASSERT_EQ(kept[p].Systems.size(), afresh[p].Systems.size());
      for (std::size_t k = 0; k < afresh[p].Systems.size(); ++k) {
        EXPECT_EQ(f.Widths(kept[p].Systems[k]), f.Widths(afresh[p].Systems[k]));
        EXPECT_EQ(kept[p].Systems[k].Bottom, afresh[p].Systems[k].Bottom);
      }
    }
  }
}

// A page too short for its first system looks for the staff height it fits at; where the
// search starts changes nothing of what it finds.
TEST(LoweredHeight, TheGuessChangesNothingOfTheHeightFound) {
  struct Tall : LayoutFixture {
    void TestBody() override {}
  } f;
  for (int k = 0; k < 13; ++k) f.AddStaff();
  for (const auto& staff : f.score.AllStaffs()) FillQuarters(*staff, 8, 60 + 3 * (staff->Index() % 9));
  f.Attach();
  PageBreaker plain(f.score, f.Dc());
  const PageLayout found = plain.LayOut(1, 0, kL, 8 * 64);
  const int height = found.StaffHeight;
  ASSERT_LT(height, kL);
  ASSERT_GT(height, PageBreaker::kReadableStaffHeight);
  for (const int guess : {0, PageBreaker::kReadableStaffHeight + 1, height - 7, height - 1, height,
                          height + 1, height + 9, kL - 1, kL + 40}) {
    SCOPED_TRACE(guess);
    PageBreaker breaker(f.score, f.Dc());
    breaker.SetHeightGuess(guess);
    const PageLayout page = breaker.LayOut(1, 0, kL, 8 * 64);
    EXPECT_EQ(page.StaffHeight, height);
    EXPECT_EQ(breaker.HeightGuess(), height);
    ASSERT_EQ(page.Systems.size(), found.Systems.size());
    for (std::size_t k = 0; k < page.Systems.size(); ++k) {
      EXPECT_EQ(page.Systems[k].Bottom, found.Systems[k].Bottom);
      EXPECT_EQ(page.Systems[k].End, found.Systems[k].End);
      EXPECT_EQ(page.Systems[k].Staves.size(), found.Systems[k].Staves.size());
    }
  }
}

}  // namespace
}  // namespace notecraft
