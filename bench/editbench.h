#pragma once
// The edit benchmark's scene, shared by its recording-surface and QPainter programs: a
// generated score of 4,000 measures and 16 staves, laid out, with the page of measure 1,000
// painted; and a click that adds a pitch to a chord of that page (so that entry repaints
// only the system, as a click into an existing chord does).

#include <memory>
#include <stdexcept>

#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/range.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "scoregen.h"

namespace editbench {

struct Click {
  int X = 0, Y = 0, Duration = 0, Flags = 0;
};

inline std::unique_ptr<notecraft::Score> BigScore() {
  auto score = scoregen::GenerateScore(4000, 16);
  score->SetRedraw(true);
  return score;
}

// Lays every page out on the window attached and shows the page of measure 1,000.
inline void ShowMeasure1000(notecraft::Score& score) {
  score.RestartPagination(1);
  while (score.Paginating()) score.PaginateStep(notecraft::Internal{});
  const int time = score.AllGlobals().MeasureTime(1000);
  for (int page = 1; page <= score.LastPage(); ++page) {
    const auto& range = score.PageTimes()[static_cast<std::size_t>(page - 1)];
    if (range.Low() <= time && time < range.High()) {
      score.SetCurPage(page);
      break;
    }
  }
  score.PaintWindow();
}

// A point on a chord of voice 1 of the page's eighth band, in the middle of its system, at a
// staff position one step above the chord's top pitch's neighbour.
inline Click ChordClick(notecraft::Score& score) {
  using namespace notecraft;
  const auto& bands = score.Bands(Internal{});
  if (bands.size() < 8) throw std::runtime_error("the page has too few staff bands");
  const Region& band = *bands[7];
  const auto voice = score.Staff(band.Staff())->Voice(1);
  for (int i = band.Measures() / 2; i < band.Measures(); ++i) {
    int x = band.Left();
    for (int k = 0; k < i; ++k) x += band.Measure(k)->Low();
    const int start = band.Measure(i)->High();
    int number = 0, length = 0;
    score.AllGlobals().MeasureInfo(start, number, length);
    const int unit = (band.Measure(i)->Low() - band.MeasurePad(i)) / length;
    for (const auto& note : voice->Notes()) {
      const int t = note->NoteTime();
      if (t < start || t >= start + length || note->Value(0) == 0) continue;
      return {x + band.MeasurePad(i) + (t - start) * unit + unit / 2,
              band.Top() + band.PadTop() + band.IncY() * 2, note->Duration(), note->Flags()};
    }
  }
  throw std::runtime_error("no chord to click on");
}

}  // namespace editbench
