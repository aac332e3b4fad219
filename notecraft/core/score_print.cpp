// Printing: the pages of a range painted on a printer through the ordinary page painting.
#include <algorithm>
#include <cmath>
#include <utility>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
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
  const int selectedMeasure = m_selectedMeasure;
  bool printed = false;
  try {
    // Every page of the range must exist: finish the layout that background pagination has
    // not reached yet. The pages printed are then laid out again on the printer itself,
    // which measures text as it prints it, so that each printed page goes on exactly where
    // the one before it ended.
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
    if (screen) {
      FinishPagination();
      const auto [from, to] = range();
      if (m_lastPage < 1 || from > m_lastPage) return false;  // no empty job, no blank sheet
    }

    device = printer.BeginJob(SettingsFor(*this));
    if (!device) return false;
    m_redraw = true;
    dc.SwapWindow(device);
    dc.SetPrinting(true, (device->PageWidth() - device->ScaleWidth()) / 2,
                   (device->PageHeight() - device->ScaleHeight()) / 2);
    dc.SetTwipsPerPixel(device->TwipsPerPixelX(), device->TwipsPerPixelY());
    RestartPagination(1);
    FinishPagination();
    const auto [from, to] = range();

    // A line as wide on paper as one screen pixel; never thinner than one device pixel.
    device->SetLineWidth(std::max(1, static_cast<int>(screenX / std::max(device->TwipsPerPixelX(), 1e-9))));
    dc.SetAllColors(0);

    for (int page = from; page <= std::min(to, m_lastPage); ++page) {
      if (static_cast<std::size_t>(page) > m_pageTimes.size()) break;
      if (page > from) device->NewPage();  // between pages only: no blank last sheet
      m_curPage = page;
      m_curTime = m_pageTimes[static_cast<std::size_t>(page - 1)].Low();
      PaintWindow();
      printed = true;
    }
  } catch (...) {
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
    // The pages are the screen's again.
    const bool kept = m_redraw;
    m_redraw = true;
    RestartPagination(1);
    FinishPagination();
    m_redraw = kept;
    m_bands = bands;
    m_selectedMeasure = selectedMeasure;
  }
  // This score's own colours: another score may have changed the process defaults since.
  dc.RestoreColors(colors);
  return printed;
}

}  // namespace notecraft
