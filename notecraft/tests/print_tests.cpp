#include <gtest/gtest.h>

#include <algorithm>

#include "layout_fixtures.h"
#include "notecraft/core/common.h"
#include "notecraft/view/printtarget.h"

namespace notecraft {
namespace {

using testing::FillQuarters;

// A printer that records what it is asked for on a page-sized recording surface.
class RecordingPrinter : public PrintTarget {
public:
  Surface* BeginJob(const PrintSettings& s) override {
    ++jobs;
    settings = s;
    if (refuse) return nullptr;
    surface = std::make_unique<RecordingSurface>();
    return surface.get();
  }
  void EndJob() override { ++ended; }

  int Pages() const {
    if (!surface) return 0;
    const auto& ops = surface->Ops();
    return 1 + static_cast<int>(std::count_if(ops.begin(), ops.end(), [](const SurfaceOp& op) {
             return op.What == SurfaceOp::Kind::NewPage;
           }));
  }

  std::unique_ptr<RecordingSurface> surface;
  PrintSettings settings;
  bool refuse = false;
  int jobs = 0;
  int ended = 0;
};

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

}  // namespace
}  // namespace notecraft
