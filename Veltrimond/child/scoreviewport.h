#pragma once
// The score window's viewport arithmetic in twips, kept apart from the widgets so that it can
// be checked without a screen: which scroll bars a page needs, their ranges, how far to
// scroll to bring a rectangle into view, and what the page box accepts.
//
// The page sits 60 twips inside the viewport at scroll value 0 with its drop shadow 60 twips
// right of and below it; one scroll unit is 15 twips and a bar is 210 twips thick.

#include <QString>

namespace veltrimond {

inline constexpr int kScrollUnit = 15;
inline constexpr int kScrollBarTwips = 210;
inline constexpr int kShadowOffset = 60;

struct ScrollBarState {
  bool Visible = false;
  int Max = 0;
  int PageStep = 1;  // never 0, so that a click on the trough always moves
  int Value = 0;
};

struct ViewportLayout {
  int BaseWidth = 0;  // the visible part (pctBase)
  int BaseHeight = 0;
  ScrollBarState Horizontal;
  ScrollBarState Vertical;
};

// mainWidth/mainHeight: the viewport's container; pageWidth/pageHeight: the page picture.
// The current values are clamped to the new ranges (0 where a bar goes).
ViewportLayout LayOutViewport(int mainWidth, int mainHeight, int pageWidth, int pageHeight,
                              int hValue, int vValue);

// The scroll value that brings [start, start + length) into view along one axis, or the
// current one when it is already visible. visibleStart is where the page's visible part
// begins (minus the page's offset), baseLength the viewport's length. marginBefore is the
// room left before a rectangle that lies before the view (300 across, 0 down).
int ScrollValueToShow(int start, int length, int visibleStart, int baseLength, int current,
                      int maxValue, int marginBefore);

// The page picture's offset in the viewport for a scroll value: (4 - value) x 15.
inline int PageOffset(int value) { return (4 - value) * kScrollUnit; }

// What the page box does with its text on commit: the page to show in it and, when it
// differs from curPage, the page to go to (0: stay).
struct PageBoxCommit {
  int Shown = 1;
  int GoTo = 0;
};
PageBoxCommit CommitPageBox(const QString& text, int curPage, int lastPage);
// The page number the box's text asks for: its leading digits (at most nine), 0 for none.
int PageBoxNumber(const QString& text);

// Whether a key typed into the page box is kept (digits and Backspace).
bool PageBoxAccepts(QChar character);

// The window's horizontal division: how wide the tool pane and the viewport are for a window
// width (twips). A viewport that cannot get its 1200 twips takes them from the pane while the
// pane keeps 600; below that the window asks to be 1920 twips wide.
struct BodyWidths {
  int Pane = 0;
  int Viewport = 0;
  bool TooNarrow = false;  // the window should become kMinWindowWidth wide
};
inline constexpr int kMinWindowWidth = 1920;
BodyWidths DivideBody(int windowWidth, int paneWidth, bool paneVisible);

}  // namespace veltrimond
