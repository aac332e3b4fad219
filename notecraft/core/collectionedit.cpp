#include "notecraft/core/collectionedit.h"

#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"

namespace notecraft {

void CollectionsEdited(Score& score, bool repaint) {
  score.SetChanged(true);
  score.SetPlaybackStale(Internal{}, true);  // also while the score suppresses change marks
  score.ClearUndo(Internal{});
  if (repaint) score.PaintWindow();
}

}  // namespace notecraft
