#include "Veltrimond/child/newscoredefaults.h"

#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"

namespace veltrimond {

int PageNumsOf(const OptionSettings& options) {
  if (!options.PageNumbering) return notecraft::pgnNoPageNumbers;
  return options.PageNumbering1 ? notecraft::pgnNoPageOne : notecraft::pgnAllPages;
}

void ApplyNewScoreDefaults(notecraft::Score& score, const OptionSettings& options) {
  const bool redraw = score.Redraw();
  score.SetRedraw(false);
  for (int i = 0; i < 4; ++i)
    score.SetMargins(i, static_cast<float>(options.Margin[static_cast<std::size_t>(i)]));
  // A staff height of 0 (an empty box in the dialog) is refused: the score keeps its own.
  score.SetStaffHeight(static_cast<float>(options.StaffHeight));
  score.SetStaffSpace(static_cast<float>(options.StaffSpacing));
  score.SetSystemSpace(static_cast<float>(options.SystemSpacing));
  score.SetPageNums(PageNumsOf(options));
  score.SetReverseEvenOdd(options.ReverseEvenOdd);
  score.SetRedraw(redraw);
}

}  // namespace veltrimond
