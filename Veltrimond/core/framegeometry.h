#pragma once
// The frame's rectangle: kept in twips in the settings (Main/Left, Top, Width, Height), shown
// in pixels. Twips per pixel are doubles (1440 / logical dots per inch), so a rectangle
// survives a change of screen scale as a length, not as a pixel count.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace veltrimond {

struct TwipsPerPixel {
  double X = 15;
  double Y = 15;
};

struct TwipsRect {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
  bool operator==(const TwipsRect&) const = default;
};

// A length in twips rounded down to whole pixels.
double SnapToPixel(double twips, double twipsPerPixel);

// The stored rectangle when it is at least 4800 twips wide and 3600 high; otherwise 80 % of
// the screen's width and 75 % of its height, centred across and placed at (H - h) / 2.2 from
// the top, every value snapped to pixels. The screen size is in twips; the result is relative
// to the screen's top left corner.
TwipsRect DefaultFrameRect(double screenWidthTwips, double screenHeightTwips,
                           const TwipsRect& stored, TwipsPerPixel tpp);

// Whole pixels; values beyond what a screen could show are held at +-kMaxFrameTwips first.
QRect ToPixels(const TwipsRect& rect, TwipsPerPixel tpp);
TwipsRect ToTwips(const QRect& rect, TwipsPerPixel tpp);

// Far beyond any screen: a stored value past it was edited out of all reason.
inline constexpr double kMaxFrameTwips = 1e7;

// Where the frame opens, in pixels. A stored rectangle of real numbers, from the minimum
// size (DefaultFrameRect) up and meeting one of the available areas, is cut to the area it
// meets most and moved into it, so that the whole frame shows. Anything else (nothing
// stored, too small, off every screen, or a value that is not a number or lies beyond
// kMaxFrameTwips) gives DefaultFrameRect on the primary screen.
QRect FrameRectOnScreens(const TwipsRect& stored, const QRect& primaryScreen,
                         const QList<QRect>& availableScreens, TwipsPerPixel tpp);

// Where the splash goes: centred on the screen (down by / 2.2) when the frame opens
// maximised, else centred on the frame's rectangle. Pixels.
QPoint SplashTopLeft(const QSize& splash, const QRect& screen, const QRect& frame,
                     bool frameMaximized);

}  // namespace veltrimond
