// RecordingSurface: what the drawing tests assert on. Operations carry the state they were
// drawn with; music-font widths come from the font's own metrics table.
#include <gtest/gtest.h>

#include <string>

#include "notecraft/core/common.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/musicfontmetrics.h"
#include "notecraft/view/recordingsurface.h"

namespace notecraft {
namespace {

FontSpec Music(float points) { return FontSpec{std::string(MusicFontName), points}; }

TEST(RecordingSurface, RecordsEachOperationWithTheStateItWasDrawnWith) {
  RecordingSurface s;
  s.SetForeColor(RGB(48, 48, 192));
  s.SetFont(Music(28.8f));
  s.DrawText(1200, 800, "\xCF .");
  s.SetDrawStyle(DrawStyle::Dot);
  s.SetLineWidth(2);
  s.DrawLine(10, 20, 30, 40);
  s.SetDrawStyle(DrawStyle::Solid);
  s.SetLineWidth(0);  // raised to one pixel
  s.SetDrawMode(DrawMode::XorPen);
  s.FillBox(1, 2, 3, 4);
  s.DrawPolyBezier({{0, 0}, {1, 1}, {2, 1}, {3, 0}});
  s.DrawArc(0, 0, 100, 50, 90, 180);

  ASSERT_EQ(s.Ops().size(), 5u);
  SurfaceOp text;
  text.What = SurfaceOp::Kind::Text;
  text.Points = {{1200, 800}};
  text.Text = "\xCF .";
  text.Font = Music(28.8f);
  text.Color = RGB(48, 48, 192);
  EXPECT_EQ(s.Ops()[0], text);
  EXPECT_EQ(ToString(s.Ops()[0]), "text (1200,800) \"\\xCF .\" Veltrimond 28.8pt color=#3030C0");
  EXPECT_EQ(ToString(s.Ops()[1]), "line (10,20) (30,40) color=#3030C0 dotted width=2");
  EXPECT_EQ(ToString(s.Ops()[2]), "box (1,2) (3,4) color=#3030C0 mode=7");
  EXPECT_EQ(s.Ops(SurfaceOp::Kind::PolyBezier).at(0).Points.size(), 4u);
  EXPECT_EQ(ToString(s.Ops()[4]), "arc (0,0) (100,50) from 90 through 180 color=#3030C0 mode=7");
  EXPECT_EQ(s.Texts(), std::vector<std::string>{"\xCF ."});

  s.ClearRecord();
  EXPECT_TRUE(s.Ops().empty());
}

TEST(RecordingSurface, StateRoundTripsForDrawersThatPutItBack) {
  RecordingSurface s;
  const SurfaceState saved = s.State();
  s.SetForeColor(RGB(240, 0, 0));
  s.SetFont(FontSpec{"Verdana", 9.6f, true, true});
  s.SetDrawStyle(DrawStyle::Dot);
  EXPECT_NE(s.State(), saved);
  s.SetState(saved);
  EXPECT_EQ(s.State(), saved);
  EXPECT_EQ(s.ForeColor(), 0);
}

TEST(RecordingSurface, MusicWidthsComeFromTheFontsMetricsTable) {
  RecordingSurface s;
  // At 28.8 points one em is 576 twips: a staff height of 0.4 inch.
  s.SetFont(Music(28.8f));
  for (unsigned char code : glyph::AllCodes) {
    SCOPED_TRACE(code);
    const double expected = musicfont::Advance[code] * 576.0 / musicfont::UnitsPerEm;
    EXPECT_NEAR(s.TextWidth(std::string(1, static_cast<char>(code))), expected, 0.5);
  }
  EXPECT_EQ(s.TextHeight(), 1780);  // (1390 + 1700) / 1000 x 576, rounded

  struct Case {
    const char* what;
    std::string_view text;
    int width;
  };
  const int flat = s.TextWidth("b");
  const int head = s.TextWidth("\xCF");
  const int space = s.TextWidth(" ");
  const int dot = s.TextWidth(".");
  for (const Case& c : {
           Case{"a double flat is two flats", glyph::DoubleFlat, 2 * flat},
           Case{"a dotted head is head, space and dot", "\xCF .", head + space + dot},
           Case{"a byte the font lacks measures as its empty box", "\x05",
                static_cast<int>(musicfont::NotdefAdvance * 576 / 1000.0 + 0.5)},
           Case{"nothing", "", 0},
       }) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(s.TextWidth(c.text), c.width);
  }

  // Half the size, half the widths (rounded each).
  s.SetFont(Music(14.4f));
  EXPECT_NEAR(s.TextWidth("&"), musicfont::Advance['&'] * 288.0 / 1000, 0.5);
}

TEST(RecordingSurface, TextFontsFollowAFixedModel) {
  RecordingSurface s;
  s.SetFont(FontSpec{"Arial", 10.0f});  // em 200 twips
  EXPECT_EQ(s.TextWidth("Page 1"), 600);
  EXPECT_EQ(s.TextWidth("\xC3\xA9t\xC3\xA9"), 300);  // UTF-8 "ete" with accents: 3 characters
  EXPECT_EQ(s.TextHeight(), 230);
  s.SetFont(FontSpec{"Arial", 8.0f, true});
  EXPECT_EQ(s.TextWidth("3"), 80);
}

TEST(RecordingSurface, PageAndResolutionAreTheTestsChoice) {
  RecordingSurface printer(12240, 15840, 2.4, 2.4);
  EXPECT_EQ(printer.TwipsPerPixelX(), 2.4);
  printer.SetPrintableArea(11520, 15120);
  // The print offset the page renderer subtracts: half the unprintable width.
  EXPECT_EQ((printer.PageWidth() - printer.ScaleWidth()) / 2, 360);
  printer.NewPage();
  printer.SetBackColor(RGB(1, 2, 3));
  printer.Clear();
  ASSERT_EQ(printer.Ops().size(), 2u);
  EXPECT_EQ(printer.Ops()[0].What, SurfaceOp::Kind::NewPage);
  EXPECT_EQ(printer.Ops()[1].Color, RGB(1, 2, 3));
}

}  // namespace
}  // namespace notecraft
