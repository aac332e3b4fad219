#pragma once
// The rules of the Transpose and Copy/Move dialogs, apart from their widgets: the lists they
// show and what their choices hand the tool host.

#include <array>
#include <string>
#include <vector>

#include "edittools/core/toolsettings.h"

namespace notecraft {
class Score;
}

namespace edittools {

// Captions of the voice choice (index = VoicesOfChoice's choice), of the key lists (index =
// key + 7) and of the note names.
const std::array<const char*, 11>& VoiceChoiceNames();
const std::array<const char*, 15>& MajorKeyNames();
const std::array<const char*, 15>& MinorKeyNames();
const std::array<const char*, 12>& NoteNames();

// "1: Violin", ... for every staff of the score, in order.
std::vector<std::string> StaffItems(const notecraft::Score& score);

// The shared Range frame.
struct RangeChoice {
  bool Selection = false;
  int StaffIndex = 0;  // 0 "All", n staff n
  bool FromBeginning = true;
  std::string FromText;
  bool ToEnd = true;
  std::string ToText;
};
ToolRange RangeOf(const RangeChoice& choice);

// What ToolBox is given for one run: SetRange, SetDest and UseTool's parameters.
struct ToolRequest {
  int Tool = 0;
  ToolRange Range;
  ToolDest Dest;
  bool Parm1 = false;
  int Parm2 = 0;
  int Parm3 = 0;
};

struct TransposeChoice {
  RangeChoice Range;
  int Function = 0;    // 0 "Change Voice:", 1 "Raise", 2 "Lower"
  int VoiceIndex = 0;  // mode 0's voices
  int KeyIndex = 7;    // mode 0's key + 7, from the list the dialog shows
  bool HalfSteps = false;
  std::string Quant;   // the amount of modes 1, 2
  bool ChangeKeys = true;
};
ToolRequest TransposeRequest(const TransposeChoice& choice);

struct CopyMoveChoice {
  RangeChoice Range;
  bool Move = false;
  int VoiceIndex = 0;    // source voices
  int ToStaffIndex = 0;  // 0 "Same"
  std::string MeasureText;
  int ToVoiceIndex = 0;  // 0 "Same"
  // The note filter: "All Notes", or "Above"/"Below" a note name (index into NoteNames)
  // in an octave (NoteName's numbering: middle C is C5).
  bool AllNotes = true;
  bool Above = true;
  int NoteIndex = 0;
  std::string OctaveText = "5";
};
// The filter the choice names; Parm3 of its request carries it (NoteSelectValue).
NoteFilter FilterOf(const CopyMoveChoice& choice);
ToolRequest CopyMoveRequest(const CopyMoveChoice& choice);

}  // namespace edittools
