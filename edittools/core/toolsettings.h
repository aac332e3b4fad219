#pragma once
// What a caller hands the editing tools: the source range and the destination, with the
// numbering both tools share.

#include <vector>

namespace edittools {

enum ToolsToUse : int { toolTranspose = 1, toolCopyMove = 2 };
enum ModesToUse : int { runSynchronous = 0, runAsynchronous = 1 };

// Return codes carried by ToolBox::toolEnded.
inline constexpr int kToolFinished = 0;
inline constexpr int kToolCancelled = -1;
inline constexpr int kToolFailed = -2;  // an error stopped the run (ToolBox::LastError)

struct ToolRange {
  bool UseSelection = false;
  int Staff = 0;        // 1-based; 0 = every staff
  int FromMeasure = 0;  // 1-based; 0 = from the start of the score
  int ToMeasure = 0;    // 1-based, inclusive; 0 = to the end of the score
};

// Read by each tool in its own way (TransposeTool, CopyMoveTool).
struct ToolDest {
  int Staff = 0;
  int Measure = 0;
  int Voice = 0;
};

// Which pitches of the source chords a copy or move takes: every one, those at or above a
// pitch, or those below it (Above and Below of one pitch split a part between them). A rest
// has no pitch: only AllNotes takes it.
struct NoteFilter {
  bool AllNotes = true;
  bool Above = true;
  int Pitch = 60;  // MIDI; 0..128 (128: above takes nothing, below everything)
  bool Takes(int pitch) const {
    return AllNotes || (pitch > 0 && (Above ? pitch >= Pitch : pitch < Pitch));
  }
  bool operator==(const NoteFilter&) const = default;
};
// As ToolBox::UseTool's third parameter of the copy/move tool: 0 every note, p + 1 the
// pitches at or above p, -(p + 1) those below it.
int NoteSelectValue(const NoteFilter& filter);
NoteFilter NoteFilterOf(int noteSelect);

// The voice numbers a voice choice 0..10 names, in processing order: 0 every voice of the
// staff (1..voiceCount), 1..4 that voice, 5..10 the pairs 1-2, 1-3, 1-4, 2-3, 2-4, 3-4.
// Any other choice names none.
std::vector<int> VoicesOfChoice(int choice, int voiceCount);

}  // namespace edittools
