// Printing: the pages of a range, as the screen lays them out, painted on a printer through
// the ordinary page painting.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/printtarget.h"

namespace notecraft {

namespace {

PrintSettings SettingsFor(const Score& score) {
  PrintSettings settings;
  const bool landscape = score.PageOrientation() == pgeLandscape;
  settings.Orientation = landscape ? 2 : 1;
  switch (score.PageSize()) {
    case pgsLegal: settings.PaperSize = 5; break;
    case pgsExecutive: settings.PaperSize = 7; break;
    case pgsA4: settings.PaperSize = 9; break;
    case pgsA5: settings.PaperSize = 11; break;
    case pgsCustom: settings.PaperSize = 0; break;
    default: settings.PaperSize = 1; break;
  }
  if (settings.PaperSize == 0) {  // the paper in portrait terms
    settings.HeightTwips = landscape ? score.PageWidthTwips() : score.PageHeightTwips();
    settings.WidthTwips = landscape ? score.PageHeightTwips() : score.PageWidthTwips();
  }
  return settings;
}

}  // namespace

bool Score::PrintScore(PrintTarget& printer, int fromPage, int toPage) noexcept {
  const Internal key;
  DrawContext& dc = View(key);
  if (dc.Printing()) return false;
  Surface* const screen = dc.Window();
  Surface* device = nullptr;
  const double screenX = dc.TwipsPerPixelX();
  const double screenY = dc.TwipsPerPixelY();
  const auto colors = dc.SavedColors();
  const int curTime = m_curTime, curPage = m_curPage;
  const bool redraw = m_redraw, paintPending = m_paintPending;
  // The page on screen keeps its bands for hit testing and repaints.
  const auto bands = m_bands;
  const auto paintedPage = m_paintedPage;
  const int selectedMeasure = m_selectedMeasure;
  bool printed = false;
  try {
    // The range: 0 (or missing) for the first page, and with it for the last; pages beyond
    // the last laid out are not printed.
    auto range = [&]() {
      int from = fromPage;
      int to = toPage;
      if (from == 0) {
        from = 1;
        if (to == 0) to = m_lastPage;
      }
      from = std::max(from, 1);
      to = std::max(std::min(to, m_lastPage), from);
      return std::pair{from, to};
    };
    // The pages of the range as laid out where they are shown, so that page N printed is
    // page N on screen, break for break.
    std::vector<PageLayout> pages;
    auto layOutRange = [&] {
      FinishPagination();
      const auto [from, to] = range();
      for (int page = from; page <= std::min(to, m_lastPage); ++page) {
        if (static_cast<std::size_t>(page) > m_pageTimes.size()) break;
        const int start = m_pageTimes[static_cast<std::size_t>(page - 1)].Low();
        pages.push_back(LayOutPage(page, start, PageFirstStaff(page, start)));
      }
    };
    if (screen) {
      layOutRange();
      if (pages.empty()) return false;  // no empty job, no blank sheet
    }

    device = printer.BeginJob(SettingsFor(*this));
    if (!device) return false;
    m_redraw = true;
    dc.SwapWindow(device);
    dc.SetPrinting(true, (device->PageWidth() - device->ScaleWidth()) / 2,
                   (device->PageHeight() - device->ScaleHeight()) / 2);
    dc.SetTwipsPerPixel(device->TwipsPerPixelX(), device->TwipsPerPixelY());
    // A score shown nowhere is laid out on the printer itself.
    if (!screen) {
      RestartPagination(1);
      layOutRange();
    }

    // A line as wide on paper as one screen pixel; never thinner than one device pixel.
    device->SetLineWidth(std::max(1, static_cast<int>(screenX / std::max(device->TwipsPerPixelX(), 1e-9))));
    dc.SetAllColors(0);

    for (const PageLayout& page : pages) {
      if (printed) device->NewPage();  // between pages only: no blank last sheet
      m_curPage = page.Page;
      m_curTime = page.Start;
      m_paintBusy = true;
      PaintLaidOut(page);
      m_paintBusy = false;
      printed = true;
    }
  } catch (...) {
    m_paintBusy = false;
    printed = false;
  }
  if (device) {
    device->EndDoc();
    printer.EndJob();
  }
  m_paintPending = paintPending;
  m_redraw = redraw;
  m_curTime = curTime;
  m_curPage = curPage;
  dc.SwapWindow(screen);
  dc.SetPrinting(false);
  dc.SetTwipsPerPixel(screenX, screenY);
  if (screen && device) {
    // The page on screen is what hit testing and repaints go on working with.
    m_bands = bands;
    m_paintedPage = paintedPage;
    m_selectedMeasure = selectedMeasure;
  }
  // This score's own colours: another score may have changed the process defaults since.
  dc.RestoreColors(colors);
  return printed;
}

}  // namespace notecraft
