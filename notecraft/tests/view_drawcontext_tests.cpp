// The score's drawing context: attaching a window, colours, font selection by kind, the
// staff geometry, text and line output and the page text lines.
#include "notecraft/view/drawcontext.h"

#include <gtest/gtest.h>

#include <string>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/view/musicfontmetrics.h"
#include "view_fixtures.h"

namespace notecraft {
namespace {

using testing::kPx;
using testing::Snap;
using testing::ViewFixture;

using DrawContextTest = ViewFixture;

TEST(DrawContextWindow, AttachingTakesTheProcessColoursClearsAndSizesTheSurface) {
  Score other;
  Score score;
  // Colours set on one score are the defaults of windows attached later to any score.
  other.SetColors(RGB(1, 2, 3), RGB(10, 20, 30), RGB(100, 100, 100), RGB(200, 0, 0),
                  RGB(0, 0, 99));
  RecordingSurface surface(100, 100);
  surface.SetDrawStyle(DrawStyle::Dot);
  surface.SetDrawMode(DrawMode::XorPen);
  score.SetWindow(&surface);

  const DrawContext& dc = score.View(Internal{});
  EXPECT_EQ(score.Window(), &surface);
  EXPECT_EQ(dc.ColorLines(), RGB(1, 2, 3));
  EXPECT_EQ(dc.ColorBars(), RGB(10, 20, 30));
  EXPECT_EQ(dc.ColorNotes(), RGB(100, 100, 100));
  EXPECT_EQ(dc.ColorLight(), RGB(140, 140, 140));  // each channel x 1.4
  EXPECT_EQ(dc.ColorTies(), RGB(200, 0, 0));
  EXPECT_EQ(dc.ColorChords(), RGB(0, 0, 99));
  // Attaching clears the surface first, then paints the page on it.
  ASSERT_FALSE(surface.Ops().empty());
  EXPECT_EQ(surface.Ops()[0].What, SurfaceOp::Kind::Clear);
  EXPECT_EQ(surface.DrawStyle(), DrawStyle::Solid);
  EXPECT_EQ(surface.DrawMode(), DrawMode::CopyPen);
  EXPECT_EQ(surface.PageWidth(), score.PageWidthTwips());
  EXPECT_EQ(surface.PageHeight(), score.PageHeightTwips());

  // Detaching leaves the surface's drawing alone.
  const auto drawn = surface.Ops().size();
  score.SetWindow(nullptr);
  EXPECT_EQ(score.Window(), nullptr);
  EXPECT_EQ(surface.Ops().size(), drawn);
}

TEST(DrawContextWindow, ANewScoreResetsTheProcessColours) {
  Score first;
  first.SetColors(1, 2, 3, 4, 5);
  Score second;
  RecordingSurface surface;
  second.SetWindow(&surface);
  EXPECT_EQ(second.View(Internal{}).ColorBars(), RGB(48, 48, 192));
  EXPECT_EQ(second.View(Internal{}).ColorLight(), RGB(22, 182, 22));
  second.SetWindow(nullptr);
}

TEST_F(DrawContextTest, SelectFontSizesTheMusicFontToTheStaff) {
  struct Case {
    int staffHeight;
    float scale;
    float points;
    int baseline;
  };
  const Case cases[] = {
      {576, 1.0f, 28.8f, 225},  // 576 x 0.39 = 224.64: 225, a whole number of pixels
      {576, 0.5f, 14.4f, 105},  // 112.32 snapped down to whole pixels
      {576, 0.0f, 28.8f, 225},  // no scale reads as full size
      {480, 1.0f, 24.0f, 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.staffHeight) + " at " + std::to_string(c.scale));
    dc.SetStaffHeightTwips(c.staffHeight);
    dc.SetStaffScale(c.scale);
    dc.SelectFont(DrawContext::kMusicFont);
    EXPECT_EQ(dc.FontKind(), DrawContext::kMusicFont);
    EXPECT_EQ(surface.Font().Name, "Veltrimond");
    EXPECT_FLOAT_EQ(surface.Font().Size, c.points);
    EXPECT_FLOAT_EQ(score.Fonts(DrawContext::kMusicFont)->Size, c.points);
    EXPECT_EQ(dc.GlyphBaseline(), c.baseline);
  }
}

TEST_F(DrawContextTest, SelectFontCopiesTheTextFontsAndSizesTheExpressionFont) {
  dc.SelectFont(fntTitle);
  EXPECT_EQ(surface.Font(), (FontSpec{"Arial", 14.0f, true, false, false}));
  dc.SelectFont(DrawContext::kExpressionFont);
  EXPECT_EQ(surface.Font(), (FontSpec{"Verdana", 9.6f, true, true, false}));  // 576 / 60
  EXPECT_EQ(dc.FontKind(), DrawContext::kExpressionFont);

  // A kind the score has no font for, or no window, changes nothing.
  dc.SelectFont(7);
  EXPECT_EQ(dc.FontKind(), DrawContext::kExpressionFont);
  score.SetWindow(nullptr);
  dc.SelectFont(fntTitle);
  EXPECT_EQ(dc.FontKind(), DrawContext::kExpressionFont);
}

TEST_F(DrawContextTest, TheStaffHeightHasAFloor) {
  for (int height : {-576, 0, 1, 60}) {
    SCOPED_TRACE(height);
    dc.SetStaffHeightTwips(height);
    EXPECT_EQ(dc.StaffHeightTwips(), DrawContext::kMinStaffHeight);
  }
  dc.SetStaffHeightTwips(575);
  EXPECT_EQ(dc.StaffHeightClass(), (std::pair{3, 90}));
  dc.SetStaffHeightTwips(576);
  EXPECT_EQ(dc.StaffHeightClass(), (std::pair{4, 105}));
}

TEST_F(DrawContextTest, SetStaffUnitDerivesTheWholeGeometry) {
  dc.SetStaffUnit(144);
  const StaffGeometry g = dc.Geometry();
  EXPECT_EQ(g.LineSpace, 144);
  EXPECT_EQ(g.NarrowSpace, 65);       // 64.8
  EXPECT_EQ(g.HalfSpace, 72);
  EXPECT_EQ(g.SpaceAndQuarter, 180);  // 36 + 144, whole pixels
  EXPECT_EQ(g.SpaceAndHalf, 216);
  EXPECT_EQ(g.TwoSpaces, 288);
  EXPECT_EQ(g.ThreeSpaces, 432);
  EXPECT_EQ(g.FourSpaces, 576);
  EXPECT_EQ(g.FiveSpaces, 720);
  EXPECT_EQ(g.FiveAndHalfSpaces, 792);

  dc.SetStaffUnit(143);
  EXPECT_EQ(dc.Geometry().NarrowSpace, 64);        // 64.35
  EXPECT_EQ(dc.Geometry().SpaceAndQuarter, 165);   // 35 + 143 = 178, snapped down
  dc.SetStaffUnit(0);  // never a zero step
  EXPECT_EQ(dc.LineSpace(), 1);
}

TEST_F(DrawContextTest, TwipsToPixelsRoundsHalvesToEven) {
  EXPECT_EQ(score.TwipsToPixelsX(22), 1);
  EXPECT_EQ(score.TwipsToPixelsX(23), 2);
  EXPECT_EQ(score.TwipsToPixelsY(-23), -2);
  dc.SetTwipsPerPixel(12, 12);
  EXPECT_EQ(score.TwipsToPixelsX(6), 0);
  EXPECT_EQ(score.TwipsToPixelsX(18), 2);
  EXPECT_EQ(score.TwipsToPixelsY(30), 2);
}

TEST_F(DrawContextTest, TextGoesToWholePixelsOnScreenAndLessTheOffsetsOnPaper) {
  dc.DrawTextAt("a", 1007, 2014);
  dc.SetPrinting(true, 100, 200);
  dc.DrawTextAt("b", 1007, 2014);
  dc.SetPrinting(false);
  EXPECT_EQ(dc.PrintOffsetX(), 0);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Points[0], (SurfacePoint{1005, 2010}));
  EXPECT_EQ(texts[1].Points[0], (SurfacePoint{907, 1814}));
}

TEST_F(DrawContextTest, DrawLineUsesItsColourAndLeavesTheForeColour) {
  surface.SetForeColor(RGB(1, 1, 1));
  dc.SetPrinting(true, 10, 20);
  dc.DrawLine(RGB(9, 9, 9), 100, 200, 300, 400);
  dc.DrawLine(RGB(8, 8, 8), 100, 200, 300, 400, true);
  EXPECT_EQ(surface.ForeColor(), RGB(1, 1, 1));
  ASSERT_EQ(surface.Ops().size(), 2u);
  EXPECT_EQ(surface.Ops()[0].What, SurfaceOp::Kind::Line);
  EXPECT_EQ(surface.Ops()[0].Color, RGB(9, 9, 9));
  EXPECT_EQ(surface.Ops()[0].Points, (std::vector<SurfacePoint>{{90, 180}, {290, 380}}));
  EXPECT_EQ(surface.Ops()[1].What, SurfaceOp::Kind::Box);
}

// --- Page text lines. Letter paper 12240 wide, margins 1080 left and 720 right: 10440
// printable. The recording surface gives text-font characters half an em each.

class PageTextTest : public ViewFixture {
protected:
  PageTextTest() {
    dc.SelectFont(fntTitle);  // Arial 14: 140 twips a character, lines 322 tall
    surface.ClearRecord();
  }
  static constexpr int kLeft = 1080, kRight = 720, kWidth = 12240 - kLeft - kRight;
  static constexpr int kChar = 140, kLine = 322;
};

TEST_F(PageTextTest, HeadingIsCentredAndCutToThePrintableWidth) {
  int y = 1440;
  dc.DrawHeadingLine(y, "Title");
  EXPECT_EQ(y, 1440 + kLine);
  const std::string wide(100, 'W');
  dc.DrawHeadingLine(y, wide);
  EXPECT_EQ(y, 1440 + 2 * kLine);

  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "Title");
  EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(kLeft + (kWidth - 5 * kChar) / 2), 1440}));
  // 10440 / 140 = 74.6: the last 26 characters are dropped.
  EXPECT_EQ(texts[1].Text, std::string(74, 'W'));
  EXPECT_EQ(texts[1].Points[0].X, Snap(kLeft + (kWidth - 74 * kChar) / 2));
}

TEST_F(PageTextTest, CuttingNeverSplitsACharacter) {
  int y = 1440;
  std::string text(73, 'x');
  text += "\xC3\xA9\xC3\xA9";  // two e-acutes, two bytes each: 75 characters, one too many
  dc.DrawHeadingLine(y, text);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].Text, std::string(73, 'x') + "\xC3\xA9");
}

TEST_F(PageTextTest, FootersStackUpwardsAndRightLinesEndAtTheMargin) {
  int y = 15840 - 720;
  dc.DrawFooterLine(y, "Copyright");
  EXPECT_EQ(y, 15840 - 720 - kLine);
  int right = 2000;
  dc.DrawRightLine(right, "Composer");
  EXPECT_EQ(right, 2000 + kLine);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Points[0].Y, Snap(15840 - 720 - kLine));
  EXPECT_EQ(texts[1].Points[0], (SurfacePoint{Snap(12240 - kRight - 8 * kChar), Snap(2000)}));
}

TEST_F(PageTextTest, MirroredEvenPagesSwapTheMargins) {
  score.SetReverseEvenOdd(true);
  score.SetLastPage(Internal{}, 1);
  score.SetCurPage(2);
  ASSERT_EQ(score.CurPage(), 2);
  int y = 1440;
  dc.DrawHeadingLine(y, "Title");
  dc.DrawRightLine(y, "Composer");
  dc.DrawTempoLine(y, "Allegro");
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Points[0].X, Snap(kRight + (kWidth - 5 * kChar) / 2));
  EXPECT_EQ(texts[1].Points[0].X, Snap(12240 - kLeft - 8 * kChar));
  EXPECT_EQ(texts[2].Points[0].X, Snap(kRight));
}

TEST_F(PageTextTest, WhilePaginatingNothingIsDrawnButYAdvances) {
  dc.SetPaginating(true);
  int y = 1440;
  dc.DrawHeadingLine(y, "Title");
  dc.DrawRightLine(y, "Composer");
  dc.DrawTempoLine(y, "Allegro \x02 = 120");
  int footer = 15000;
  dc.DrawFooterLine(footer, "Copyright");
  EXPECT_TRUE(surface.Ops().empty());
  EXPECT_EQ(y, 1440 + 3 * kLine);
  EXPECT_EQ(footer, 15000 - kLine);
}

TEST_F(PageTextTest, TheTempoLineDrawsTheBeatsNoteSignLarger) {
  score.SetBeat(durEighth);
  dc.SelectFont(fntHeader);  // Arial 10 bold: 100 twips a character
  int y = 2000;
  dc.DrawTempoLine(y, "Allegro (\x02 = 120)");
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Text, "Allegro (");
  EXPECT_EQ(texts[0].Points[0], (SurfacePoint{Snap(kLeft), Snap(2000)}));
  // The note sign in the music font at 15 points (an em of 300 twips), lifted by 0.3 of
  // its cell's height.
  EXPECT_EQ(texts[1].Text, "e");
  EXPECT_EQ(texts[1].Font.Name, "Veltrimond");
  EXPECT_FLOAT_EQ(texts[1].Font.Size, 15.0f);
  const int cell = (musicfont::Ascent + musicfont::Descent) * 300 / musicfont::UnitsPerEm;
  const int lift = static_cast<int>(0.3 * cell + 0.5);
  const int x = kLeft + 9 * 100;
  EXPECT_EQ(texts[1].Points[0], (SurfacePoint{Snap(x), Snap(2000 - lift)}));
  EXPECT_EQ(texts[2].Text, " = 120)");
  EXPECT_EQ(texts[2].Font.Name, "Arial");
  const int noteWidth = static_cast<int>(musicfont::Advance['e'] * 300 / 1000.0 + 0.5);
  EXPECT_EQ(texts[2].Points[0].X, Snap(x + noteWidth));
  // The text font is back, and y moves down one text line.
  EXPECT_EQ(dc.FontKind(), fntHeader);
  EXPECT_EQ(y, 2000 + 230);
}

TEST_F(PageTextTest, NoPrintableWidthDrawsNothingAndOnlyAFooterMovesUp) {
  score.SetMargins(marLeft, 5.0f);
  score.SetMargins(marRight, 4.0f);  // 8.5 inch paper: nothing printable
  dc.SelectFont(fntTitle);  // the margins repainted the page: start from a clean record
  surface.ClearRecord();
  int y = 1440;
  dc.DrawHeadingLine(y, "Title");
  EXPECT_EQ(y, 1440);
  dc.DrawFooterLine(y, "Copyright");
  EXPECT_EQ(y, 1440 - kLine);
  EXPECT_TRUE(surface.Ops().empty());
}

}  // namespace
}  // namespace notecraft
