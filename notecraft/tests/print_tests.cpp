#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "layout_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/printtarget.h"
#include "print_fixtures.h"

namespace notecraft {
namespace {

using testing::FillQuarters;
using testing::RecordingPrinter;

class PrintTest : public testing::LayoutFixture {
protected:
  void SetUp() override {
    // Twelve staves of forty measures: several pages.
    for (int s = 2; s <= 12; ++s) AddStaff();
    for (int s = 1; s <= 12; ++s) FillQuarters(*score.Staff(s), 40);
    Attach();
    PaginateAll();
    ASSERT_GE(score.LastPage(), 3);
  }
};

TEST_F(PrintTest, PrintsTheRangeAskedFor) {
  struct Case {
    int from, to;
    int pages;  // -1: every page
  };
  for (const auto c : {Case{0, 0, -1}, Case{2, 0, 1}, Case{3, 1, 1}, Case{0, 2, 2}, Case{2, 99, -2}}) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    RecordingPrinter printer;
    EXPECT_TRUE(score.PrintScore(printer, c.from, c.to));
    const int want = c.pages == -1 ? score.LastPage() : c.pages == -2 ? score.LastPage() - 1 : c.pages;
    EXPECT_EQ(printer.Pages(), want);
    EXPECT_EQ(printer.ended, 1);
  }
}

TEST_F(PrintTest, NothingToPrintStartsNoJob) {
  RecordingPrinter printer;
  EXPECT_FALSE(score.PrintScore(printer, score.LastPage() + 1, 0));
  EXPECT_EQ(printer.jobs, 0);
  printer.refuse = true;
  EXPECT_FALSE(score.PrintScore(printer));
  EXPECT_EQ(printer.jobs, 1);
  EXPECT_EQ(score.Window(), &surface);
}

TEST_F(PrintTest, PrintsInBlackAndPutsTheScreenBack) {
  score.SetColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12), RGB(13, 14, 15));
  const auto before = Dc().SavedColors();
  score.SetCurPage(2);
  const int curTime = score.CurTime();
  const int measure = score.SelectedMeasure() + 1;  // the measure worked in, on page 2
  score.SetSelectedMeasure(Internal{}, measure);
  Score other;  // another score's colours must not leak into this one after the print
  other.SetColors(RGB(99, 0, 0), 0, 0, 0, 0);

  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer));
  for (const auto& op : printer.surface->Ops()) {
    if (op.What == SurfaceOp::Kind::NewPage || op.What == SurfaceOp::Kind::Clear) continue;
    ASSERT_EQ(op.Color, 0) << op;
  }
  EXPECT_EQ(score.Window(), &surface);
  EXPECT_EQ(score.CurPage(), 2);
  EXPECT_EQ(score.CurTime(), curTime);
  EXPECT_EQ(score.SelectedMeasure(), measure);
  EXPECT_EQ(Dc().SavedColors(), before);
  EXPECT_FALSE(Dc().Printing());
  EXPECT_EQ(Dc().TwipsPerPixelX(), 15.0);
}

TEST_F(PrintTest, TheLayoutIsFinishedBeforeTheRangeIsTaken) {
  score.RestartPagination(1);  // pagination starts again: only page 1 would be known
  ASSERT_TRUE(score.Paginating());
  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer));
  EXPECT_FALSE(score.Paginating());
  EXPECT_EQ(printer.Pages(), score.LastPage());
  EXPECT_GE(printer.Pages(), 3);
}

TEST_F(PrintTest, PaperFollowsThePageSettings) {
  struct Case {
    int size, orientation;
    int paper, printerOrientation;
  };
  for (const auto c : {Case{pgsLeter, pgePortrait, 1, 1}, Case{pgsLegal, pgePortrait, 5, 1},
                       Case{pgsExecutive, pgeLandscape, 7, 2}, Case{pgsA4, pgePortrait, 9, 1},
                       Case{pgsA5, pgeLandscape, 11, 2}}) {
    score.SetPageOrientation(c.orientation);
    score.SetPageSize(c.size);
    RecordingPrinter printer;
    ASSERT_TRUE(score.PrintScore(printer, 1, 1));
    EXPECT_EQ(printer.settings.PaperSize, c.paper);
    EXPECT_EQ(printer.settings.Orientation, c.printerOrientation);
  }
  score.SetPageOrientation(pgeLandscape);
  score.SetPageHeight(7.0f);  // custom: in landscape the height is the paper's width
  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer, 1, 1));
  EXPECT_EQ(printer.settings.PaperSize, 0);
  EXPECT_EQ(printer.settings.WidthTwips, 7 * 1440);
}

// Printing real music: a piano's grand staff, beams, and a score with no window.
class PrintMusic : public testing::LayoutFixture {
protected:
  // Every curve drawn, with both its ends.
  static std::vector<SurfaceOp> Curves(const RecordingSurface& surface) {
    return surface.Ops(SurfaceOp::Kind::PolyBezier);
  }
};

TEST_F(PrintMusic, GrandStaffTiesJoinTheirOwnNotesOnTheFirstPaintAndInPrint) {
  // A piano part: the right hand in voice 1, the left hand in voice 2, each holding half
  // notes tied to the next, through system and page breaks.
  Staff& piano = First();
  piano.SetDefaultClef(clfGrand);
  AddVoice(piano);
  const int end = 40 * 64;
  for (int v = 1; v <= 2; ++v) {
    auto& notes = piano.Voice(v)->Notes();
    for (int t = 0; t < end; t += 32) {
      notes.Add(t, v == 1 ? 74 : 50, durHalf, 0);
      if (t + 32 < end)
        piano.GlobalEvents().Add(t, evtTie, static_cast<std::uint8_t>((t + 32) / 256),
                                 static_cast<std::uint8_t>((t + 32) % 256), std::to_string(v));
    }
  }
  // Every tie lies on the staves: never from the page's corner or left of the music.
  auto onTheStaves = [](const RecordingSurface& drawn, int minimum) {
    const auto curves = Curves(drawn);
    EXPECT_GE(static_cast<int>(curves.size()), minimum);
    for (const SurfaceOp& curve : curves) {
      for (const SurfacePoint& point : {curve.Points.front(), curve.Points.at(3)}) {
        EXPECT_GE(point.X, testing::kLeftMargin) << curve;
        EXPECT_LE(point.X, testing::kRightX) << curve;
        EXPECT_GT(point.Y, testing::kTopMargin) << curve;
      }
    }
  };
  Attach();  // the first paint of page 1
  onTheStaves(surface, 2);
  RecordingPrinter printer;
  ASSERT_TRUE(score.PrintScore(printer));
  // Both hands' ties on every page.
  onTheStaves(*printer.surface, 2 * printer.Pages());
}

TEST_F(PrintMusic, BeamsAndLinesKeepTheirWeightAgainstTheStaffOnEveryDevice) {
  auto& notes = First().Voice(1)->Notes();
  for (int t = 0; t < 64; t += 8) notes.Add(t, 72, durEighth, 0);
  for (int t = 64; t < 128; t += 4) notes.Add(t, 72, durSixteenth, 0);
  Attach();
  PaginateAll();
  std::vector<std::vector<int>> beams;  // per device: each beam's thickness in twips
  for (const double twipsPerPixel : {15.0, 1.2}) {
    SCOPED_TRACE(twipsPerPixel);
    RecordingPrinter printer;
    printer.twipsPerPixel = twipsPerPixel;
    ASSERT_TRUE(score.PrintScore(printer, 1, 1));
    std::vector<int> thickness;
    for (const SurfaceOp& beam : printer.surface->Ops(SurfaceOp::Kind::Polygon))
      thickness.push_back(std::abs(beam.Points.at(3).Y - beam.Points.at(0).Y));
    // Four groups of eighths (one beam each), four of sixteenths (two each).
    ASSERT_EQ(thickness.size(), 12u);
    beams.push_back(thickness);
    // A line is as wide as a screen pixel on either device.
    const auto lines = printer.surface->Ops(SurfaceOp::Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_NEAR(lines.front().LineWidth * twipsPerPixel, 15.0, twipsPerPixel);
  }
  EXPECT_EQ(beams[0], beams[1]);
  for (const int t : beams[0]) EXPECT_EQ(t, 144 / 2);  // half a line space
}

// The heads drawn per page: on screen, each page painted in turn; in print, between the
// printer's page breaks.
std::vector<int> HeadsPerPage(const std::vector<SurfaceOp>& ops) {
  std::vector<int> pages(1, 0);
  for (const SurfaceOp& op : ops) {
    if (op.What == SurfaceOp::Kind::NewPage) pages.push_back(0);
    if (op.What == SurfaceOp::Kind::Text && op.Text == std::string(1, glyph::FilledHead))
      ++pages.back();
  }
  return pages;
}

TEST_F(PrintMusic, APrinterOfAnyResolutionPrintsThePagesTheScreenShows) {
  // Scores with headings, page numbers and footers on a 1200-dpi printer whose fonts measure
  // text lines a quarter taller than the screen's: page N printed holds what page N on
  // screen holds, and no measure is left out.
  struct Case {
    int staves;
    float height;
  };
  for (const Case c : {Case{2, 0.37f}, Case{3, 0.41f}, Case{5, 0.33f}, Case{7, 0.35f}}) {
    const int staves = c.staves;
    SCOPED_TRACE(::testing::Message() << staves << " staves, staff height " << c.height);
    score.SetWindow(nullptr);
    score.CreateDefault();
    First().SetFlags(0);
    for (int s = 2; s <= staves; ++s) AddStaff();
    for (int s = 1; s <= staves; ++s) {
      auto& notes = score.Staff(s)->Voice(1)->Notes();
      for (int t = 0; t < 60 * 64; t += 16)
        notes.Add(t, (t / 16) % 5 ? 67 : 50 + s * 9, durQuarter, 0);
    }
    score.SetStaffHeight(c.height);
    score.SetTitle("Title");
    score.SetSubTitle("Subtitle");
    score.SetPageNums(pgnAllPages);
    score.SetCopyright(0, "Footer");
    score.SetCopyright(1, "Second footer");
    Attach();
    PaginateAll();
    std::vector<int> screen;
    for (int page = 1; page <= score.LastPage(); ++page) {
      surface.ClearRecord();
      if (score.CurPage() != page)
        score.SetCurPage(page);
      else
        score.PaintWindow();
      screen.push_back(HeadsPerPage(surface.Ops()).front());
    }
    RecordingPrinter printer;
    printer.twipsPerPixel = 1.2;
    printer.textHeight = 1.25;
    ASSERT_TRUE(score.PrintScore(printer));
    const std::vector<int> printed = HeadsPerPage(printer.surface->Ops());
    EXPECT_EQ(printed, screen);
    EXPECT_EQ(std::accumulate(printed.begin(), printed.end(), 0), staves * 60 * 4);
  }
}

TEST_F(PrintMusic, AScoreWithoutAWindowPrintsEveryPage) {
  for (int s = 2; s <= 12; ++s) AddStaff();
  for (int s = 1; s <= 12; ++s) FillQuarters(*score.Staff(s), 40);
  ASSERT_EQ(score.Window(), nullptr);
  RecordingPrinter all;
  ASSERT_TRUE(score.PrintScore(all));
  EXPECT_GE(score.LastPage(), 3);  // laid out on the printer, and kept
  EXPECT_EQ(all.Pages(), score.LastPage());
  EXPECT_EQ(score.Window(), nullptr);
  EXPECT_FALSE(score.Paginating());

  // A negative first page prints page 1 alone.
  RecordingPrinter first;
  ASSERT_TRUE(score.PrintScore(first, -1, 0));
  EXPECT_EQ(first.Pages(), 1);
}

}  // namespace
}  // namespace notecraft
