#pragma once
// What a new score takes from the editor's defaults (Score > Defaults, held in
// AppState::Options): its page margins, staff height, staff and system spacing, page
// numbering and even/odd reversal. The paper size stays the score's own (set in Score
// Properties); the colours and the unit reach every window, not only new scores.

#include "Veltrimond/core/optionsettings.h"

namespace notecraft {
class Score;
}  // namespace notecraft

namespace veltrimond {

// The page-number kind (PageNumTypes) of the two page-numbering switches.
int PageNumsOf(const OptionSettings& options);

// Sets the values on score, drawing nothing meanwhile. Meant for a score about to be made a
// new one (CreateDefault keeps them and clears the change mark they set).
void ApplyNewScoreDefaults(notecraft::Score& score, const OptionSettings& options);

}  // namespace veltrimond
