// Printing: the pages of a range painted on a printer through the ordinary page painting.
#include <algorithm>
#include <cmath>

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
  try {
    const Internal key;
    DrawContext& dc = View(key);
    if (dc.Printing()) return false;

    // Every page of the range must exist: finish the layout that background pagination has
    // not reached yet.
    while (m_paginating) {
      const int before = m_paginatePage;
      PaginateStep(key);
      if (m_paginating && m_paginatePage == before) break;
    }
    if (fromPage <= 0) {
      fromPage = 1;
      if (toPage <= 0) toPage = m_lastPage;
    }
    toPage = std::max(std::min(toPage, m_lastPage), fromPage);
    if (m_lastPage < 1 || fromPage > m_lastPage) return false;  // no empty job, no blank sheet

    Surface* device = printer.BeginJob(SettingsFor(*this));
    if (!device) return false;

    Surface* const screen = dc.Window();
    const double screenX = dc.TwipsPerPixelX();
    const double screenY = dc.TwipsPerPixelY();
    const auto colors = dc.SavedColors();
    const int curTime = m_curTime, curPage = m_curPage;
    const bool redraw = m_redraw, paintPending = m_paintPending;

    dc.SetPrinting(true, (device->PageWidth() - device->ScaleWidth()) / 2,
                   (device->PageHeight() - device->ScaleHeight()) / 2);
    dc.SwapWindow(device);
    dc.SetTwipsPerPixel(device->TwipsPerPixelX(), device->TwipsPerPixelY());
    // A line as wide on paper as one screen pixel; never thinner than one device pixel.
    device->SetLineWidth(std::max(1, static_cast<int>(screenX / std::max(device->TwipsPerPixelX(), 1e-9))));
    m_redraw = true;
    dc.SetAllColors(0);

    for (int page = fromPage; page <= toPage; ++page) {
      if (static_cast<std::size_t>(page) > m_pageTimes.size()) break;
      if (page > fromPage) device->NewPage();  // between pages only: no blank last sheet
      m_curPage = page;
      m_curTime = m_pageTimes[static_cast<std::size_t>(page - 1)].Low();
      PaintWindow();
    }

    m_paintPending = paintPending;
    m_redraw = redraw;
    m_curTime = curTime;
    m_curPage = curPage;
    device->EndDoc();
    printer.EndJob();
    dc.SwapWindow(screen);
    dc.SetPrinting(false);
    dc.SetTwipsPerPixel(screenX, screenY);
    // This score's own colours: another score may have changed the process defaults since.
    dc.RestoreColors(colors);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace notecraft
