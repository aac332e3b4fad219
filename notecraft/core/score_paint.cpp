#include "notecraft/core/score.h"

namespace notecraft {

// Painting and pagination arrive with the page renderer; until then a score has nothing to
// draw on and nothing to lay out.
void Score::PaintWindow() {}

void Score::RestartPagination(int /*fromPage*/) {}

}  // namespace notecraft
