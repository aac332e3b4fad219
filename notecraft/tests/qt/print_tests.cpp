// Printing through a QPrinter whose output is a PDF file: the page range asked for, the paper
// of the score, and no blank last sheet.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/qt/qprintertarget.h"
#include "pdfpages.h"

namespace notecraft {
namespace {

// Ten staves of forty measures of quarter notes: several pages.
void BuildScore(Score& score) {
  score.CreateDefault();
  for (int s = 2; s <= 10; ++s) score.AllStaffs().AddStaff(Internal{}, score.AllStaffs().NewID(), "Staff");
  for (int s = 1; s <= 10; ++s)
    for (int t = 0; t < 40 * 64; t += 16) score.Staff(s)->Voice(1)->Notes().Add(t, 60 + s, durQuarter, 0);
}

TEST(QtPrinting, APageRangeGoesToPdfOnTheScoresPaper) {
  Score score;
  BuildScore(score);
  score.SetPageSize(pgsA4);
  QPainterSurface screen;
  score.SetWindow(&screen);
  const std::string file = NOTECRAFT_QT_TEST_OUTPUT "/printed.pdf";

  struct Case {
    int from, to, pages;
  };
  for (const auto c : {Case{2, 3, 2}, Case{3, 1, 1}, Case{0, 0, 0}}) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    std::filesystem::remove(file);
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(file));
      QPrinterTarget target(printer);
      ASSERT_TRUE(score.PrintScore(target, c.from, c.to));
      // The paper is the score's: A4 in portrait.
      EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
      EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    }
    ASSERT_GE(score.LastPage(), 3);
    const int pages = testing::PdfPages(file);
    if (pages < 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not available";
    EXPECT_EQ(pages, c.pages == 0 ? score.LastPage() : c.pages);  // no blank last sheet
  }
  EXPECT_EQ(score.Window(), &screen);
  score.SetWindow(nullptr);
}

TEST(QtPrinting, AScoreWithoutAWindowPrintsEveryPageToPdf) {
  Score score;
  BuildScore(score);
  const std::string file = NOTECRAFT_QT_TEST_OUTPUT "/unattached.pdf";
  std::filesystem::remove(file);
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    QPrinterTarget target(printer);
    ASSERT_TRUE(score.PrintScore(target));
  }
  EXPECT_EQ(score.Window(), nullptr);
  ASSERT_GE(score.LastPage(), 3);  // laid out on the printer
  const int pages = testing::PdfPages(file);
  if (pages < 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not available";
  EXPECT_EQ(pages, score.LastPage());
}

}  // namespace
}  // namespace notecraft
