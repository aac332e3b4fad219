#include "edittools/core/tooldialogs.h"

#include <algorithm>

#include "edittools/core/setnotevalue.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"

namespace edittools {

const std::array<const char*, 11>& VoiceChoiceNames() {
  static constexpr std::array<const char*, 11> kNames{
      "All", "1", "2", "3", "4", "1, 2", "1, 3", "1, 4", "2, 3", "2, 4", "3, 4"};
  return kNames;
}

const std::array<const char*, 15>& MajorKeyNames() {
  static constexpr std::array<const char*, 15> kNames{
      "Cb - 7 flats", "Gb - 6 flats", "Db - 5 flats", "Ab - 4 flats", "Eb - 3 flats",
      "Bb - 2 flats", "F - 1 flat",   "C",            "G - 1 sharp",  "D - 2 sharps",
      "A - 3 sharps", "E - 4 sharps", "B - 5 sharps", "F# - 6 sharps", "C# - 7 sharps"};
  return kNames;
}

const std::array<const char*, 15>& MinorKeyNames() {
  static constexpr std::array<const char*, 15> kNames{
      "Ab - 7 flats", "Eb - 6 flats", "Bb - 5 flats",  "F - 4 flats",   "C - 3 flats",
      "G - 2 flats",  "D - 1 flat",   "A",             "E - 1 sharp",   "B - 2 sharps",
      "F# - 3 sharps", "C# - 4 sharps", "G# - 5 sharps", "D# - 6 sharps", "A# - 7 sharps"};
  return kNames;
}

const std::array<const char*, 12>& NoteNames() {
  static constexpr std::array<const char*, 12> kNames{"C",  "C#", "D",  "D#", "E",  "F",
                                                      "F#", "G",  "G#", "A",  "A#", "B"};
  return kNames;
}

std::vector<std::string> StaffItems(const notecraft::Score& score) {
  std::vector<std::string> items;
  for (int s = 1; s <= score.Staffs(); ++s) {
    auto staff = score.Staff(s);
    items.push_back(std::to_string(s) + ": " + (staff ? staff->Description() : std::string()));
  }
  return items;
}

ToolRange RangeOf(const RangeChoice& choice) {
  ToolRange range;
  range.UseSelection = choice.Selection;
  range.Staff = choice.StaffIndex;
  range.FromMeasure = choice.FromBeginning ? 0 : BoxNumber(choice.FromText);
  range.ToMeasure = choice.ToEnd ? 0 : BoxNumber(choice.ToText);
  return range;
}

ToolRequest TransposeRequest(const TransposeChoice& choice) {
  ToolRequest r;
  r.Tool = toolTranspose;
  r.Range = RangeOf(choice.Range);
  if (choice.Function == 0)
    r.Dest = {0, choice.VoiceIndex, choice.KeyIndex};
  else
    r.Dest = {choice.Function == 1 ? 1 : 2, choice.HalfSteps ? 1 : 0, BoxNumber(choice.Quant)};
  r.Parm1 = choice.ChangeKeys;
  return r;
}

NoteFilter FilterOf(const CopyMoveChoice& choice) {
  NoteFilter filter;
  filter.AllNotes = choice.AllNotes;
  filter.Above = choice.Above;
  const int octave = std::min(BoxNumber(choice.OctaveText), 11);  // past the MIDI range
  filter.Pitch = std::min(octave * 12 + std::clamp(choice.NoteIndex, 0, 11), 128);
  return filter;
}

ToolRequest CopyMoveRequest(const CopyMoveChoice& choice) {
  ToolRequest r;
  r.Tool = toolCopyMove;
  r.Range = RangeOf(choice.Range);
  r.Dest = {choice.ToStaffIndex, BoxNumber(choice.MeasureText), choice.ToVoiceIndex};
  r.Parm1 = choice.Move;
  r.Parm2 = choice.VoiceIndex;  // the source voices reach the tool
  r.Parm3 = NoteSelectValue(FilterOf(choice));
  return r;
}

}  // namespace edittools
