// System and page breaks: which measures a system takes and how wide they are, how many
// systems a page holds, and the staff height of a page whose first system does not fit.
//
// With the defaults (L 576, line space s 144) a measure of four quarters needs four note
// positions of one staff height: 2304 twips. The line is 10440 wide; a system's first
// measure also holds the clef and key (L + 2s per accidental), and at time 0 the time
// signature (L / 2).
#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/layout/systemstack.h"

namespace notecraft {
namespace {

using namespace testing;

class SystemBreaks : public LayoutFixture {};

TEST_F(SystemBreaks, MeasuresPerSystemFollowLineEndAndMeasureSizeEvents) {
  struct Case {
    const char* name;
    std::function<void(Score&)> setup;
    std::vector<int> measures;  // of the first three systems
  };
  const std::vector<Case> cases = {
      // 3168 + 3 x 2304 = 10080 fits, a fifth does not; later systems 2880 + 3 x 2304.
      {"plain", [](Score&) {}, {4, 4, 4}},
      {"line end at the third measure starts a system there",
       [](Score& s) { s.AllGlobals().Add(128, evtLineEnd); }, {2, 4, 4}},
      // A line end at a system's first measure has nothing to break.
      {"line end at a system's start changes nothing",
       [](Score& s) { s.AllGlobals().Add(256, evtLineEnd); }, {4, 4, 4}},
      // Two steps wider: 4s more, so the fourth measure no longer fits.
      {"measure size widens", [](Score& s) { s.AllGlobals().Add(64, evtMeasureSize, 2, 0); }, {3, 4, 4}},
      // Two measures narrowed to the floor of 3s (432): room for a fifth measure.
      {"measure size narrows to three spaces",
       [](Score& s) {
         s.AllGlobals().Add(64, evtMeasureSize, 0, 200);
         s.AllGlobals().Add(128, evtMeasureSize, 0, 200);
       },
       {5, 4, 4}},
      // L 144: measures of 576, so more than sixteen would fit.
      {"at most sixteen measures", [](Score& s) { s.SetStaffHeight(0.1f); }, {16, 16, 16}},
      // Two sharps: the first measure of every system is 2 x 2s wider.
      {"key signature room", [](Score& s) { s.SetKey(2); }, {3, 4, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Score& s = score;
    s.AllGlobals().Clear();
    s.AllGlobals().Add(0, evtTimeChange, 4, 16);
    s.SetKey(0);
    s.SetStaffHeight(0.4f);
    FillQuarters(First(), 80);
    c.setup(s);
    Attach();
    const int L = s.StaffHeightTwips();
    const PageLayout page = LayOut(2, 0, L);
    ASSERT_GE(page.Systems.size(), 3u);
    std::vector<int> counts = MeasureCounts(page);
    counts.resize(3);
    EXPECT_EQ(counts, c.measures);
    for (const SystemLayout& system : page.Systems) {
      const auto widths = Widths(system);
      // Every system reaches exactly from the left margin to the right one.
      EXPECT_EQ(system.Left, kLeftMargin);
      EXPECT_EQ(system.Left + std::accumulate(widths.begin(), widths.end(), 0), kRightX);
    }
    score.SetWindow(nullptr);
  }
}

TEST_F(SystemBreaks, TheRoomLeftIsSharedAmongTheMeasuresTaken) {
  FillQuarters(First(), 8);
  Attach();
  const PageLayout page = LayOut(2, 0);
  // 10440 - 10080 = 360 left, 90 to each measure; the last takes what remains.
  EXPECT_EQ(Widths(page.Systems[0]), (std::vector<int>{3168 + 90, 2394, 2394, 2394}));
  EXPECT_EQ(page.Systems[0].End, 256);
  EXPECT_EQ(page.Systems[1].Start, 256);
  // Later systems hold no time signature: 2880 + 3 x 2304 = 9792, 648 left; shares are
  // whole pixels (150 each), and the last measure takes the 48 twips beyond them too.
  EXPECT_EQ(Widths(page.Systems[1]), (std::vector<int>{2880 + 150, 2454, 2454, 2454 + 48}));
}

TEST_F(SystemBreaks, AFullSystemOfSixteenGivesTheRoomLeftToItsLastMeasure) {
  score.SetStaffHeight(0.1f);  // L 144, s 36: measures of 576
  FillQuarters(First(), 40);
  Attach();
  const PageLayout page = LayOut(2, 0, 144);
  const auto widths = Widths(page.Systems[0]);
  ASSERT_EQ(widths.size(), 16u);
  EXPECT_EQ(widths[0], 576 + 144 + 72);
  for (std::size_t i = 1; i < 15; ++i) EXPECT_EQ(widths[i], 576) << i;
  EXPECT_EQ(widths[15], kWidth - (576 + 144 + 72) - 14 * 576);
}

TEST_F(SystemBreaks, AMeasureWiderThanTheLineTakesTheWholeLine) {
  score.AllGlobals().Add(64, evtMeasureSize, 60, 0);  // 60 x 2s wider
  FillQuarters(First(), 4);
  Attach();
  const PageLayout page = LayOut(2, 0);
  EXPECT_EQ(MeasureCounts(page)[0], 1);  // the first measure, alone
  ASSERT_EQ(page.Systems[1].Measures.size(), 1u);
  EXPECT_EQ(page.Systems[1].Measures[0].Start, 64);
  EXPECT_EQ(page.Systems[1].Measures[0].Width, kWidth);
  EXPECT_EQ(page.Systems[2].Start, 128);
}

TEST_F(SystemBreaks, OnlyPageOnesFirstSystemHasTheStaffNameColumn) {
  First().SetFlags(stfShowStaffDesc);
  First().SetDescription("Flute");
  FillQuarters(First(), 40);
  Attach();
  // Arial 8 on the recording surface: 80 twips a character; "Flute" and "xxx".
  const int column = 5 * 80 + 3 * 80;
  const PageLayout first = LayOut(1, 0);
  EXPECT_EQ(first.Systems[0].Left, kLeftMargin + column);
  EXPECT_EQ(first.LabelWidth, column);
  EXPECT_EQ(first.Systems[1].Left, kLeftMargin);
  EXPECT_EQ(LayOut(2, 0).Systems[0].Left, kLeftMargin);
}

TEST_F(SystemBreaks, ALongStaffNameTakesAQuarterOfTheLineAtMost) {
  First().SetFlags(stfShowStaffDesc);
  First().SetDescription("Lead vocal, written by Somebody Famous, 2007 (revised 2010)");
  FillQuarters(First(), 40);
  Attach();
  const PageLayout first = LayOut(1, 0);
  EXPECT_EQ(first.LabelWidth, kWidth / 4);
  EXPECT_EQ(first.Systems[0].Left, kLeftMargin + kWidth / 4);
}

class PageBreaks : public LayoutFixture {};

// Systems of one staff on a page without headings, from y 1440 to 15120.
TEST_F(PageBreaks, SystemsPerPageFollowTheStaffBands) {
  struct Case {
    const char* name;
    std::function<void(LayoutFixture&)> setup;
    int systems;
  };
  const std::vector<Case> cases = {
      // Band 360 + 576 + 360; 1500 from one system's top to the next.
      {"one staff", [](LayoutFixture&) {}, 9},
      // Pads of 720: the band grows by 720, the step between systems stays 1500.
      {"wider staff spacing", [](LayoutFixture& f) { f.score.SetStaffSpace(1.0f); }, 8},
      // Two staves: 2790 a system.
      {"two staves", [](LayoutFixture& f) { FillQuarters(f.AddStaff(), 60); }, 4},
      // Upper and lower staff 4s apart: 3L of lines.
      {"grand staff", [](LayoutFixture& f) { f.First().SetDefaultClef(clfGrand); }, 5},
      // 225 a verse below the band.
      {"two lyric verses", [](LayoutFixture& f) { f.First().SetVerses(Internal{}, 2); }, 7},
      // A grand staff's lyrics stand between its staves, which move 450 further apart.
      {"grand staff with two verses",
       [](LayoutFixture& f) {
         f.First().SetDefaultClef(clfGrand);
         f.First().SetVerses(Internal{}, 2);
       },
       4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A fresh score for each case.
    score.SetWindow(nullptr);
    score.CreateDefault();
    First().SetFlags(0);
    score.SetStaffSpace(0.5f);
    FillQuarters(First(), 60);
    c.setup(*this);
    Attach();
    const PageLayout page = LayOut(2, 0);
    EXPECT_EQ(static_cast<int>(page.Systems.size()), c.systems);
    for (const SystemLayout& system : page.Systems) EXPECT_LE(system.Bottom, kBottomY);
  }
}

// A page takes the next system whenever it fits: here systems of one measure whose upper
// staff reaches far down at its start and whose lower staff reaches far up at its end, so
// that each needs the room of only one of the two.
TEST_F(PageBreaks, APageTakesTheNextSystemWheneverItFits) {
  Staff& lower = AddStaff();
  constexpr int kMeasures = 24;
  for (int m = 0; m < kMeasures; ++m) {
    const int t = 64 * m;
    for (int b = 0; b < 64; b += 16) {
      First().Voice(1)->Notes().Add(t + b, b == 0 ? 48 : 71, durQuarter, b == 0 ? nteForceDown : 0);
      lower.Voice(1)->Notes().Add(t + b, b == 48 ? 98 : 71, durQuarter, b == 48 ? nteForceUp : 0);
    }
    if (m > 0) score.AllGlobals().Add(t, evtLineEnd);
  }
  Attach();
  PaginateAll();
  const int pages = score.LastPage();
  const double spacing = SystemStack::SpacingScale(score, kL);
  const int between = SystemStack::Scaled(score.SystemSpaceTwips(), spacing) -
                      SystemStack::Scaled(score.StaffSpaceTwips(), spacing);
  int systems = 0;
  for (int page = 1; page <= pages; ++page) {
    SCOPED_TRACE(::testing::Message() << "page " << page);
    const int start = score.PageTimes()[static_cast<std::size_t>(page - 1)].Low();
    const PageLayout laid = LayOut(page, start);
    ASSERT_FALSE(laid.Systems.empty());
    systems += static_cast<int>(laid.Systems.size());
    if (page == pages) break;
    // The room the page leaves is less than the next page's first system needs.
    const PageLayout next = LayOut(page + 1, laid.End);
    const SystemLayout& following = next.Systems.front();
    EXPECT_GT(laid.Systems.back().Bottom + between + (following.Bottom - following.Top),
              laid.BottomY);
  }
  EXPECT_EQ(systems, kMeasures);
  // Three a page; room for both staves' farthest reaches would let only two.
  EXPECT_EQ(pages, kMeasures / 3);
}

// Seven staves at the score's staff height: one system takes more than half the page, so a
// page would hold one and leave the rest of the paper blank.
TEST_F(PageBreaks, APageLeftMostlyEmptyLowersItsStaffHeightToTakeOneSystemMore) {
  for (int i = 0; i < 6; ++i) AddStaff();
  for (int i = 1; i <= 7; ++i) FillQuarters(*score.Staff(i), 40);
  Attach();
  PaginateAll();
  ASSERT_GE(score.LastPage(), 2);
  const PageLayout first = LayOut(1, 0);
  // At the score's own height the page would hold one system: it holds two at a lowered one.
  EXPECT_LT(first.StaffHeight, kL);
  EXPECT_GE(first.StaffHeight, PageBreaker::kReadableStaffHeight);
  EXPECT_GE(first.Systems.size(), 2u);
  EXPECT_LE(first.Systems.back().Bottom, first.BottomY);
  // The pages after it keep the lowered height, and hold as many systems.
  for (int page = 2; page < score.LastPage(); ++page) {
    SCOPED_TRACE(::testing::Message() << "page " << page);
    const int start = score.PageTimes()[static_cast<std::size_t>(page - 1)].Low();
    EXPECT_EQ(score.PageLayouts()[static_cast<std::size_t>(page - 1)].High(), first.StaffHeight);
    EXPECT_GE(LayOut(page, start, first.StaffHeight).Systems.size(), first.Systems.size());
  }
}

TEST_F(PageBreaks, AFirstSystemTooTallForThePageLowersTheStaffHeightOnce) {
  for (int i = 0; i < 11; ++i) AddStaff();  // twelve staves
  FillQuarters(First(), 40);
  Attach();
  PaginateAll();
  // The largest staff height at which the twelve bands (lines 4 x L / 4, pads of half the
  // staff spacing shrunk by L / 576, bottoms snapped to pixels) fit between 1440 and 15120:
  // 525, pads of 315. The system then fits, alone.
  ASSERT_GE(score.PageLayouts().size(), 2u);
  EXPECT_EQ(score.PageLayouts()[0].High(), 525);
  EXPECT_EQ(score.PageTimes()[1].Low(), score.PageTimes()[0].High());
  // The lowered height holds on later pages, until the staff height is set again.
  EXPECT_EQ(score.PageLayouts()[1].High(), 525);
  score.SetStaffHeight(0.25f);  // 360: twelve staves fit
  PaginateAll();
  EXPECT_EQ(score.PageLayouts()[0].High(), 360);
  EXPECT_EQ(score.PageLayouts()[1].High(), 360);
}

TEST_F(PageBreaks, ALoweredStaffHeightFillsTheRoomOfGrandAndSingleStaves) {
  // Five grand staves and five single ones: at 324 twips the system still fits the page.
  First().SetDefaultClef(clfGrand);
  for (int i = 1; i < 10; ++i) AddStaff().SetDefaultClef(i < 5 ? clfGrand : clfTreble);
  FillQuarters(First(), 40);
  Attach();
  const PageLayout page = LayOut(1, 0);
  ASSERT_EQ(page.Systems.size(), 1u);
  const SystemLayout& system = page.Systems[0];
  EXPECT_GE(page.StaffHeight, 320);
  EXPECT_LE(system.Bottom, kBottomY);
  // The system fills the page: a pixel-snapped staff height larger would not fit.
  EXPECT_GT(system.Bottom - system.Top, (kBottomY - system.Top) * 97 / 100);
  const PageLayout larger = LayOut(1, 0, page.StaffHeight + 4);
  EXPECT_EQ(larger.StaffHeight, page.StaffHeight);
}

TEST_F(PageBreaks, ASystemTooTallAtTheReadableHeightGoesOnOnTheNextPage) {
  // Chord symbols and three lyric verses under each of twelve staves: even at the readable
  // height the system does not fit; the page takes the staves that do.
  score.SetUseChords(true);
  First().SetVerses(Internal{}, 3);
  for (int i = 0; i < 11; ++i) AddStaff().SetVerses(Internal{}, 3);
  FillQuarters(First(), 40);
  Attach();
  const PageLayout first = LayOut(1, 0);
  ASSERT_EQ(first.Systems.size(), 1u);
  const SystemLayout& upper = first.Systems[0];
  EXPECT_EQ(first.StaffHeight, PageBreaker::kReadableStaffHeight);
  EXPECT_LE(upper.Bottom, kBottomY);
  ASSERT_TRUE(upper.Continues());
  EXPECT_EQ(first.End, 0);  // page 2 starts with the same system...
  EXPECT_EQ(first.NextStaff, static_cast<int>(upper.Staves.size()));  // ...below these staves
  EXPECT_EQ(first.Reach(), upper.End);

  const PageLayout second = LayOut(2, first.End, first.StaffHeight);
  // Without its start staff a page shows the system from its first staff.
  EXPECT_EQ(second.Systems.front().Staves.front().Staff, 1);
  const PageLayout rest =
      PageBreaker(score, Dc()).LayOut(2, first.End, first.StaffHeight, 1 << 20, first.NextStaff);
  ASSERT_FALSE(rest.Systems.empty());
  const SystemLayout& lower = rest.Systems.front();
  EXPECT_EQ(lower.Start, 0);
  EXPECT_EQ(lower.Staves.front().Staff, first.NextStaff + 1);
  EXPECT_EQ(lower.FirstStaff + static_cast<int>(lower.Staves.size()), 12);
  EXPECT_FALSE(lower.Continues());
  // The same measures as the staves above them, at the same staff height.
  EXPECT_EQ(Widths(lower), Widths(upper));
  EXPECT_EQ(lower.End, upper.End);
  EXPECT_EQ(rest.StaffHeight, first.StaffHeight);
  for (const SystemLayout& system : rest.Systems) EXPECT_LE(system.Bottom, kBottomY);
}

TEST_F(PageBreaks, ASystemTooTallAtTheReadableHeightTakesFewerMeasuresBeforeItIsCut) {
  // Sixteen staves: two measures of plain quarters, then measures whose first chord reaches
  // far under and over every staff at one place, where each staff meets the next. A system
  // with the deep measures does not fit even at the readable height; one without them does.
  for (int i = 0; i < 15; ++i) AddStaff();
  for (int s = 1; s <= 16; ++s) {
    Notes& notes = score.Staff(s)->Voice(1)->Notes();
    for (int m = 0; m < 12; ++m) {
      for (int b = 0; b < 64; b += 16) {
        auto note = notes.Add(64 * m + b, 72, durQuarter, 0);
        if (m >= 2 && b == 0) {
          note->AddValue(38);
          note->AddValue(98);
        }
      }
    }
  }
  Attach();
  const PageLayout first = LayOut(1, 0);
  ASSERT_EQ(first.Systems.size(), 1u);
  const SystemLayout& whole = first.Systems[0];
  EXPECT_EQ(first.StaffHeight, PageBreaker::kReadableStaffHeight);
  // The page holds the whole system, with the two measures that let it fit.
  EXPECT_FALSE(whole.Continues());
  EXPECT_EQ(whole.Staves.size(), 16u);
  EXPECT_EQ(whole.Measures.size(), 2u);
  EXPECT_LE(whole.Bottom, kBottomY);
  EXPECT_EQ(first.End, 128);
  EXPECT_EQ(first.NextStaff, 0);
  // Its measures share the line as a system's last measures do.
  EXPECT_EQ(whole.Measures[0].Width + whole.Measures[1].Width, whole.Right - whole.Left);

  // Not even one deep measure fits: that system is cut, in two even parts, every staff on
  // one of them, no part a lone staff.
  const PageLayout second = LayOut(2, first.End, first.StaffHeight);
  ASSERT_EQ(second.Systems.size(), 1u);
  const SystemLayout& upper = second.Systems[0];
  ASSERT_TRUE(upper.Continues());
  EXPECT_EQ(upper.Staves.size(), 8u);
  const PageLayout third = PageBreaker(score, Dc()).LayOut(3, second.End, second.StaffHeight,
                                                           1 << 20, second.NextStaff);
  ASSERT_FALSE(third.Systems.empty());
  const SystemLayout& lower = third.Systems.front();
  EXPECT_EQ(lower.Start, upper.Start);
  EXPECT_EQ(lower.Staves.size(), 8u);
  EXPECT_FALSE(lower.Continues());
  EXPECT_EQ(Widths(lower), Widths(upper));
}

TEST_F(PageBreaks, TheStaffHeightStopsAtTheReadableHeight) {
  for (int i = 0; i < 29; ++i) AddStaff();  // thirty staves: no readable height holds them
  FillQuarters(First(), 8);
  Attach();
  const PageLayout page = LayOut(1, 0);
  EXPECT_EQ(page.StaffHeight, PageBreaker::kReadableStaffHeight);
  ASSERT_EQ(page.Systems.size(), 1u);
  EXPECT_LE(page.Systems[0].Bottom, kBottomY);
  EXPECT_GT(page.NextStaff, 0);  // the score moves on, with the staves left

  // A score drawn smaller than that on purpose keeps its own staff height.
  score.SetStaffHeight(0.1f);
  const PageLayout small = LayOut(1, 0, score.StaffHeightTwips());
  EXPECT_EQ(small.StaffHeight, 144);
  EXPECT_LE(small.Systems[0].Bottom, kBottomY);
}

TEST_F(PageBreaks, APageWithoutVisibleStavesEndsTheScore) {
  FillQuarters(First(), 8);
  First().SetVisible(false);
  Attach();
  const PageLayout page = PageBreaker(score, Dc()).LayOut(1, 0, kL, 512);
  EXPECT_TRUE(page.Systems.empty());
  EXPECT_EQ(page.End, 512);
}

TEST_F(PageBreaks, HeadingsAndFootersNarrowTheRoomForMusic) {
  FillQuarters(First(), 80);
  score.SetTitle("Title");
  score.SetCopyright(0, "Upper footer");
  score.SetCopyright(1, "Lower footer");
  score.SetPageNums(pgnAllPages);
  Attach();
  const PageLayout first = LayOut(1, 0);
  // Title (Arial 14 bold: a line of 1.15 x 280 twips) above the first system.
  EXPECT_EQ(first.Systems[0].Top, kTopMargin + 322);
  // Two footer lines of Arial 8 (184 each) stand higher than the page number (Arial 10 bold).
  EXPECT_EQ(first.BottomY, kBottomY - 2 * 184);
  for (const SystemLayout& system : first.Systems) EXPECT_LE(system.Bottom, first.BottomY);
  // Later pages start at the top margin.
  EXPECT_EQ(LayOut(2, first.End).Systems[0].Top, kTopMargin);
}

}  // namespace
}  // namespace notecraft

namespace notecraft::testing {
namespace {

// The last page ends with the system that holds the music's end, and that system with the
// measure that holds it: no empty systems or measures follow, whether the music ends inside
// a system or exactly at a system's end.
TEST_F(PageBreaks, TheLastPageEndsWithTheSystemHoldingTheMusicsEnd) {
  FillQuarters(First(), 60);
  Attach();
  const PageLayout full = LayOut(1, 0);
  ASSERT_GE(full.Systems.size(), 4u);
  const int systemEnd = full.Systems[1].End;
  struct Case {
    const char* name;
    int end;
    std::size_t systems;
  };
  const Case cases[] = {
      {"an empty score shows one system", 0, 1},
      {"music ending in the first measure", 16, 1},
      {"music ending inside the second system", systemEnd - 16, 2},
      {"music ending with the second system", systemEnd, 2},
      {"music ending one measure into the third system", systemEnd + 64, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PageLayout page = PageBreaker(score, Dc()).LayOut(1, 0, kL, c.end);
    EXPECT_EQ(page.Systems.size(), c.systems);
    EXPECT_EQ(page.End, page.Systems.back().End);
    // The page keeps the systems it would have had with more music after it; the last one
    // ends with the measure of the music's end (an empty score's first measure).
    for (std::size_t k = 0; k < page.Systems.size(); ++k) {
      EXPECT_EQ(page.Systems[k].Start, full.Systems[k].Start);
      if (k + 1 < page.Systems.size()) {
        EXPECT_EQ(page.Systems[k].End, full.Systems[k].End);
      }
    }
    EXPECT_EQ(page.Systems.back().End, std::max(64, (c.end + 63) / 64 * 64));
  }
}

// A short score printed or shown: one page, its bands only as many as the music needs.
TEST_F(PageBreaks, AShortScorePaintsNoSystemsAfterItsEnd) {
  FillQuarters(First(), 6);
  Attach();
  PaginateAll();
  EXPECT_EQ(score.LastPage(), 1);
  score.PaintWindow();
  const auto& bands = score.Bands(Internal{});
  ASSERT_FALSE(bands.empty());
  const Region& last = *bands.back();
  EXPECT_LE(last.Time(), 6 * 64);
  EXPECT_LT(static_cast<int>(bands.size()), 3);
}

}  // namespace
}  // namespace notecraft::testing
