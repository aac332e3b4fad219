#include "Veltrimond/core/framegeometry.h"

#include <algorithm>
#include <cmath>

namespace veltrimond {

double SnapToPixel(double twips, double twipsPerPixel) {
  if (twipsPerPixel <= 0) return twips;
  return std::floor(twips / twipsPerPixel) * twipsPerPixel;
}

TwipsRect DefaultFrameRect(double screenWidthTwips, double screenHeightTwips,
                           const TwipsRect& stored, TwipsPerPixel tpp) {
  if (stored.Height >= 3600 && stored.Width >= 4800) return stored;
  TwipsRect rect;
  rect.Height = SnapToPixel(screenHeightTwips * 0.75, tpp.Y);
  rect.Width = SnapToPixel(screenWidthTwips * 0.8, tpp.X);
  rect.Left = SnapToPixel((screenWidthTwips - rect.Width) / 2, tpp.X);
  rect.Top = SnapToPixel((screenHeightTwips - rect.Height) / 2.2, tpp.Y);
  return rect;
}

QRect ToPixels(const TwipsRect& rect, TwipsPerPixel tpp) {
  // Whole pixels as the settings hold them: a value read back from a rectangle written by
  // ToTwips comes back to the same pixel.
  auto px = [](double twips, double perPixel) {
    if (!std::isfinite(twips)) twips = 0;
    twips = std::clamp(twips, -kMaxFrameTwips, kMaxFrameTwips);
    return static_cast<int>(std::lround(twips / (perPixel >= 1 ? perPixel : 15)));
  };
  return {px(rect.Left, tpp.X), px(rect.Top, tpp.Y), px(rect.Width, tpp.X), px(rect.Height, tpp.Y)};
}

TwipsRect ToTwips(const QRect& rect, TwipsPerPixel tpp) {
  return {rect.x() * tpp.X, rect.y() * tpp.Y, rect.width() * tpp.X, rect.height() * tpp.Y};
}

QRect FrameRectOnScreens(const TwipsRect& stored, const QRect& primaryScreen,
                         const QList<QRect>& availableScreens, TwipsPerPixel tpp) {
  const double screenWidth = primaryScreen.width() * tpp.X;
  const double screenHeight = primaryScreen.height() * tpp.Y;
  const QRect fallback = ToPixels(DefaultFrameRect(screenWidth, screenHeight, {}, tpp), tpp)
                             .translated(primaryScreen.topLeft());
  for (double v : {stored.Left, stored.Top, stored.Width, stored.Height})
    if (!std::isfinite(v) || std::abs(v) > kMaxFrameTwips) return fallback;
  if (!(DefaultFrameRect(screenWidth, screenHeight, stored, tpp) == stored)) return fallback;
  QRect rect = ToPixels(stored, tpp);
  // The area the frame meets most holds it.
  QRect area;
  long long most = 0;
  for (const QRect& screen : availableScreens) {
    const QRect common = screen.intersected(rect);
    const long long size = common.isEmpty() ? 0 : 1LL * common.width() * common.height();
    if (size > most) {
      most = size;
      area = screen;
    }
  }
  if (most == 0) return fallback;
  rect.setSize(rect.size().boundedTo(area.size()));
  rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() + 1 - rect.width()));
  rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() + 1 - rect.height()));
  return rect;
}

QPoint SplashTopLeft(const QSize& splash, const QRect& screen, const QRect& frame,
                     bool frameMaximized) {
  auto down = [](double v) { return static_cast<int>(std::floor(v)); };
  if (frameMaximized) {
    return {screen.x() + down((screen.width() - splash.width()) / 2.0),
            screen.y() + down((screen.height() - splash.height()) / 2.2)};
  }
  return {frame.x() + down((frame.width() - splash.width()) / 2.0),
          frame.y() + down((frame.height() - splash.height()) / 2.0)};
}

}  // namespace veltrimond
