// The page widget: it shows the page the score draws, repaints only what an edit drew on,
// lays the selection band over the page without touching it, and reports the mouse in twips.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/scorepagewidget.h"

namespace notecraft {
namespace {

constexpr int Px = 15;

// Keeps the region of every paint event.
class RecordingPage final : public ScorePageWidget {
public:
  QRegion Painted;

protected:
  void paintEvent(QPaintEvent* event) override {
    Painted += event->region();
    ScorePageWidget::paintEvent(event);
  }
};

class ScorePageWidgetTest : public ::testing::Test {
protected:
  void SetUp() override {
    score.CreateDefault();
    page = std::make_unique<RecordingPage>();
    page->SetScore(&score);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    QCoreApplication::processEvents();
    page->Painted = QRegion();
  }

  // A point on the staff where the score reads that pitch, in twips.
  QPoint PitchPoint(int pitch) {
    for (int y = 0; y < score.PageHeightTwips() / 2; y += Px)
      for (int x = 3000; x < 6000; x += Px)
        if (score.GetNoteValueByHit(x, y) == pitch) return {x, y};
    return {-1, -1};
  }

  Score score;
  std::unique_ptr<RecordingPage> page;
};

TEST_F(ScorePageWidgetTest, ShowsThePageAtItsSize) {
  EXPECT_EQ(page->size(), QSize(score.PageWidthTwips() / Px, score.PageHeightTwips() / Px));
  EXPECT_EQ(page->PageSizeTwips(), QSize(score.PageWidthTwips(), score.PageHeightTwips()));
  const QImage shown = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage drawn = page->PageImage()->convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), drawn.size());
  EXPECT_EQ(shown, drawn);
  int inked = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) inked += drawn.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_GT(inked, 500) << "nothing drawn?";

  QSignalSpy resized(page.get(), &ScorePageWidget::pageResized);
  score.SetPageOrientation(pgeLandscape);
  EXPECT_EQ(resized.count(), 1);
  EXPECT_EQ(page->width(), score.PageWidthTwips() / Px);
}

TEST_F(ScorePageWidgetTest, RepaintsWhatAnEditDrewOn) {
  const QPoint at = PitchPoint(72);
  ASSERT_GE(at.x(), 0);
  score.AddNoteByHit(at.x(), at.y(), 16, 0);
  ASSERT_EQ(score.Staff(1)->Voice(1)->Notes().Count(), 1);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  const QRect painted = page->Painted.boundingRect();
  EXPECT_TRUE(painted.contains(at / Px)) << "the new note is shown; painted " << painted.x()
                                         << "," << painted.y() << " " << painted.width() << "x"
                                         << painted.height() << "; note at " << at.x() / Px
                                         << "," << at.y() / Px;
  // One system, not the page.
  EXPECT_LT(painted.height(), page->height() / 3);
  const QImage shown = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, page->PageImage()->convertToFormat(QImage::Format_RGB32));
}

TEST_F(ScorePageWidgetTest, BandLiesOverThePage) {
  const QImage before = page->PageImage()->copy();
  page->SetBand(QRect(QPoint(6000, 6000), QPoint(1500, 3000)));  // corners as dragged
  QCoreApplication::processEvents();
  const QImage shown = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown.pixelColor(100, 300), QColor(40, 250, 240));  // on the left edge
  EXPECT_EQ(*page->PageImage(), before) << "the page itself is not drawn on";
  page->SetBand(std::nullopt);
  const QImage cleared = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(cleared, before.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ScorePageWidgetTest, HandleMarksShowTheirImagesAtThePageEdge) {
  QPixmap red(8, 8);
  red.fill(QColor(255, 0, 0));
  QPixmap blue(8, 8);
  blue.fill(QColor(0, 0, 255));
  page->SetHandleImages({red, blue});
  page->SetHandleMarks({{1605, 1}, {3105, 0}, {4605, 7}});  // 7: no such image
  const QImage shown = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown.pixelColor(2, 1500 / Px + 2), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(2, 3000 / Px + 2), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(2, 4500 / Px + 2), QColor(255, 255, 255));
}

TEST_F(ScorePageWidgetTest, MouseComesInTwipsAndDetachingLetsTheScoreGo) {
  QSignalSpy pressed(page.get(), &ScorePageWidget::pagePressed);
  QSignalSpy lost(page.get(), &ScorePageWidget::mouseLost);
  QTest::mousePress(page.get(), Qt::LeftButton, {}, QPoint(100, 50));
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.first().at(1).toPointF(), QPointF(1500, 750));
  QTest::mouseRelease(page.get(), Qt::LeftButton, {}, QPoint(100, 50));
  page->hide();
  EXPECT_GE(lost.count(), 1);
  page.reset();
  EXPECT_EQ(score.Window(), nullptr);
}

}  // namespace
}  // namespace notecraft
