// The frame's rectangle: the default for a first run or a too small stored one, the check
// against the screens, and the splash's place.
#include <gtest/gtest.h>

#include <limits>

#include "Veltrimond/core/framegeometry.h"
#include "Veltrimond/core/tilelayout.h"

namespace veltrimond {
namespace {

constexpr TwipsPerPixel kTpp{15, 15};
// A 1024 x 768 screen in twips.
constexpr double kScreenW = 1024 * 15;
constexpr double kScreenH = 768 * 15;

TEST(DefaultFrameRect, KeepsAStoredRectangleOnlyFromTheMinimumSizeUp) {
  // 80 % of 15360 = 12288 (819.2 pixels, snapped down to 12285); 75 % of 11520 = 8640;
  // left (15360 - 12285) / 2 = 1537.5 and top (11520 - 8640) / 2.2 = 1309.09, both snapped
  // down to whole pixels.
  const TwipsRect computed{1530, 1305, 12285, 8640};
  struct Case {
    const char* Name;
    TwipsRect Stored;
    bool Kept;
  } cases[] = {
      {"nothing stored", {}, false},
      {"on both thresholds", {100, 200, 4800, 3600}, true},
      {"one twip too low", {100, 200, 4800, 3599}, false},
      {"one twip too narrow", {100, 200, 4799, 3600}, false},
      {"ordinary", {300, 450, 9000, 7000}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DefaultFrameRect(kScreenW, kScreenH, c.Stored, kTpp), c.Kept ? c.Stored : computed);
  }
}

TEST(DefaultFrameRect, SnapsEveryValueDownToWholePixels) {
  // 1366 x 768 at 12 twips per pixel (120 dpi): nothing may fall between two pixels.
  const TwipsPerPixel tpp{12, 12};
  const TwipsRect r = DefaultFrameRect(1366 * 12, 768 * 12, {}, tpp);
  for (double v : {r.Left, r.Top, r.Width, r.Height}) EXPECT_DOUBLE_EQ(v, SnapToPixel(v, 12));
  EXPECT_DOUBLE_EQ(r.Width, 1092 * 12);  // 1366 * 0.8 = 1092.8 pixels
  EXPECT_EQ(ToPixels(r, tpp), QRect(137, 87, 1092, 576));
}

TEST(FramePlacement, PixelsAndTwipsRoundTripAtFractionalScales) {
  const TwipsPerPixel tpp{1440.0 / 144, 1440.0 / 144};  // 10
  const TwipsPerPixel odd{1440.0 / 110, 1440.0 / 110};  // 13.09...
  const QRect rect(-5, 40, 800, 600);
  EXPECT_EQ(ToPixels(ToTwips(rect, tpp), tpp), rect);
  EXPECT_EQ(ToPixels(ToTwips(rect, odd), odd), rect);
}

TEST(FramePlacement, AStoredRectangleIsCutToTheScreenItMeetsOrFallsBack) {
  // A 1024 x 768 primary screen with a panel at its foot, and a taller one to its right.
  const QRect primary(0, 0, 1024, 768);
  const QList<QRect> available{QRect(0, 0, 1024, 740), QRect(1024, 0, 1280, 1024)};
  const QRect fallback = ToPixels(DefaultFrameRect(kScreenW, kScreenH, {}, kTpp), kTpp);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto px = [](double pixels) { return pixels * 15; };
  struct Case {
    const char* Name;
    TwipsRect Stored;
    QRect Placed;
  } cases[] = {
      {"ordinary", {px(100), px(100), px(800), px(600)}, QRect(100, 100, 800, 600)},
      {"on the second screen", {px(1500), px(200), px(700), px(700)}, QRect(1500, 200, 700, 700)},
      {"wider than every screen", {px(100), px(100), 1e6, px(600)}, QRect(1024, 100, 1280, 600)},
      {"wider than its screen", {px(10), px(100), px(1200), px(600)}, QRect(0, 100, 1024, 600)},
      {"over the panel", {px(100), px(300), px(800), px(600)}, QRect(100, 140, 800, 600)},
      {"mostly on the second", {px(900), px(50), px(800), px(2000)}, QRect(1024, 0, 800, 1024)},
      {"a width beyond any screen", {px(100), px(100), 1e12, px(600)}, fallback},
      {"a left beyond any screen", {-1e12, px(100), px(800), px(600)}, fallback},
      {"off every screen", {-5e6, px(100), px(800), px(600)}, fallback},
      {"not a number", {px(100), px(100), px(800), nan}, fallback},
      {"infinite", {px(100), inf, px(800), px(600)}, fallback},
      {"too small", {px(100), px(100), 4799, 3600}, fallback},
      {"nothing stored", {}, fallback},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(FrameRectOnScreens(c.Stored, primary, available, kTpp), c.Placed);
  }
  // The default goes on the primary screen, wherever that stands.
  EXPECT_EQ(FrameRectOnScreens({}, primary.translated(-1024, 0), available, kTpp),
            fallback.translated(-1024, 0));
  // Pixels of a value past every screen stay on the scale of a screen, never wrapping.
  EXPECT_EQ(ToPixels({0, 0, 1e12, -1e12}, kTpp), QRect(0, 0, 666667, -666667));
}

TEST(FramePlacement, SplashCentresOnTheFrameOrOnTheScreenWhenMaximised) {
  const QSize splash(480, 280);
  const QRect screen(0, 0, 1280, 1024);
  const QRect frame(100, 50, 800, 600);
  EXPECT_EQ(SplashTopLeft(splash, screen, frame, false), QPoint(260, 210));
  // (1024 - 280) / 2.2 = 338.18
  EXPECT_EQ(SplashTopLeft(splash, screen, frame, true), QPoint(400, 338));
  // A frame smaller than the splash: the splash overhangs it evenly, rounding down.
  EXPECT_EQ(SplashTopLeft(splash, screen, QRect(0, 0, 301, 201), false), QPoint(-90, -40));
}

TEST(TileRects, StripsStackAndColumnsStandSideBySideFillingTheArea) {
  const QRect area(0, 0, 700, 500);
  const QList<QRect> strips = TileRects(area, 3, TileDirection::Horizontal);
  ASSERT_EQ(strips.size(), 3);
  EXPECT_EQ(strips[0], QRect(0, 0, 700, 166));
  EXPECT_EQ(strips[1], QRect(0, 166, 700, 166));
  EXPECT_EQ(strips[2], QRect(0, 332, 700, 168));  // the remainder goes to the last
  const QList<QRect> columns = TileRects(area, 2, TileDirection::Vertical);
  ASSERT_EQ(columns.size(), 2);
  EXPECT_EQ(columns[0], QRect(0, 0, 350, 500));
  EXPECT_EQ(columns[1], QRect(350, 0, 350, 500));
  EXPECT_TRUE(TileRects(area, 0, TileDirection::Vertical).isEmpty());
}

}  // namespace
}  // namespace veltrimond
