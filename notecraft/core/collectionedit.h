#pragma once
// For hosts that edit a score through its collections (Notes, GlobalEvents) rather than by
// position, as the editing tools do when they transpose, copy or move notes.

namespace notecraft {

class Score;

// Tells the score that its notes or events were rewritten in place: the score is marked
// changed (so the playback file is written again before it is played) and the undo history
// is emptied, because its records name notes and pitches that have moved. Repaints when
// repaint is set.
void CollectionsEdited(Score& score, bool repaint = true);

}  // namespace notecraft
