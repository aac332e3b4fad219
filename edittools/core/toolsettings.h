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

// The voice numbers a voice choice 0..10 names, in processing order: 0 every voice of the
// staff (1..voiceCount), 1..4 that voice, 5..10 the pairs 1-2, 1-3, 1-4, 2-3, 2-4, 3-4.
// Any other choice names none.
std::vector<int> VoicesOfChoice(int choice, int voiceCount);

}  // namespace edittools
