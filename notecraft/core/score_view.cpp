// The score's drawing context, colours and pixel conversions; the drawing itself lives in
// notecraft/view/.
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/view/drawcontext.h"

namespace notecraft {

void Score::DrawContextDeleter::operator()(DrawContext* context) const noexcept {
  delete context;
}

DrawContext& Score::View(Internal) {
  if (!m_view) m_view.reset(new DrawContext(*this));
  return *m_view;
}

const DrawContext& Score::View(Internal) const {
  // Made on first use even from a const score: the context is drawing state, not content.
  if (!m_view) m_view.reset(new DrawContext(const_cast<Score&>(*this)));
  return *m_view;
}

void Score::SetColors(int colorLines, int colorBars, int colorNotes, int colorTies,
                      int colorChords) {
  View(Internal{}).SetColors(colorLines, colorBars, colorNotes, colorTies, colorChords);
  try {
    PaintWindow();
  } catch (...) {
    // Drawing runs with errors ignored; the colours are set.
  }
}

Surface* Score::Window() const noexcept { return View(Internal{}).Window(); }

void Score::SetWindow(Surface* window) noexcept { View(Internal{}).AttachWindow(window); }

void Score::FitWindowToPage() { View(Internal{}).FitWindowToPage(); }

void Score::ShowPageFromStart(Internal, int page) {
  if (page < 1 || page > m_lastPage || static_cast<std::size_t>(page) > m_pageTimes.size()) return;
  m_curPage = page;
  m_curTime = m_pageTimes[static_cast<std::size_t>(page - 1)].Low();
}

int Score::TwipsToPixelsX(int value) const { return View(Internal{}).TwipsToPixelsX(value); }

int Score::TwipsToPixelsY(int value) const { return View(Internal{}).TwipsToPixelsY(value); }

}  // namespace notecraft
