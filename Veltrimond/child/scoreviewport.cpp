#include "Veltrimond/child/scoreviewport.h"

#include <algorithm>

namespace veltrimond {

namespace {

ScrollBarState LayOutBar(bool needed, int neededLength, int available, int value) {
  ScrollBarState bar;
  bar.Visible = needed;
  if (!needed) return bar;
  bar.Max = (neededLength - available) / kScrollUnit;
  bar.Value = std::clamp(value, 0, bar.Max);
  // A page only a few twips too big gives a range of 0 or 1: the step still moves.
  bar.PageStep = std::max(1, std::min(available / kScrollUnit, bar.Max));
  return bar;
}

}  // namespace

ViewportLayout LayOutViewport(int mainWidth, int mainHeight, int pageWidth, int pageHeight,
                              int hValue, int vValue) {
  int availHeight = mainHeight - kShadowOffset;
  int availWidth = mainWidth - kShadowOffset;
  const int needHeight = pageHeight + 180;
  const int needWidth = pageWidth + 180;
  bool hNeeded = false;
  bool vNeeded = false;
  if (availWidth < needWidth) {
    hNeeded = true;
    availHeight -= kScrollBarTwips;
    if (availHeight < needHeight) {
      vNeeded = true;
      availWidth -= kScrollBarTwips;
    }
  } else if (availHeight < needHeight) {
    vNeeded = true;
    availWidth -= kScrollBarTwips;
    if (availWidth < needWidth) {
      hNeeded = true;
      availHeight -= kScrollBarTwips;
    }
  }
  ViewportLayout layout;
  layout.BaseWidth = std::max(0, availWidth);
  layout.BaseHeight = std::max(0, availHeight);
  layout.Vertical = LayOutBar(vNeeded, needHeight, availHeight, vValue);
  layout.Horizontal = LayOutBar(hNeeded, needWidth, availWidth, hValue);
  return layout;
}

int ScrollValueToShow(int start, int length, int visibleStart, int baseLength, int current,
                      int maxValue, int marginBefore) {
  const int visibleEnd = visibleStart + baseLength;
  if (start >= visibleStart && start + length <= visibleEnd) return current;
  // Integer division truncates toward zero, as the arithmetic always has.
  const int value = start >= visibleStart ? (start + length + 900 - baseLength) / kScrollUnit
                                           : (start - marginBefore) / kScrollUnit;
  return std::clamp(value, 0, std::max(0, maxValue));
}

int PageBoxNumber(const QString& text) {
  // The leading digits count, as a number typed into the box is read.
  qsizetype digits = 0;
  const QString trimmed = text.trimmed();
  while (digits < trimmed.size() && trimmed[digits].isDigit() && digits < 9) ++digits;
  return digits > 0 ? trimmed.left(digits).toInt() : 0;
}

PageBoxCommit CommitPageBox(const QString& text, int curPage, int lastPage) {
  PageBoxCommit commit;
  if (curPage < 1 || lastPage < 1) return commit;
  const int page = std::clamp(PageBoxNumber(text), 1, lastPage);
  commit.Shown = page;
  if (page != curPage) commit.GoTo = page;
  return commit;
}

bool PageBoxAccepts(QChar character) {
  return (character >= QLatin1Char('0') && character <= QLatin1Char('9')) ||
         character == QChar(8);
}

BodyWidths DivideBody(int windowWidth, int paneWidth, bool paneVisible) {
  BodyWidths widths;
  widths.Pane = paneVisible ? paneWidth : 0;
  widths.Viewport = windowWidth - (widths.Pane + 120);
  if (widths.Viewport < 1200) {
    widths.Viewport = 1200;
    if (windowWidth - 1320 >= 600) {
      if (paneVisible) widths.Pane = windowWidth - 1320;
    } else {
      widths.Viewport = 0;
    }
  }
  if (widths.Viewport <= 0) widths.TooNarrow = true;
  return widths;
}

}  // namespace veltrimond
