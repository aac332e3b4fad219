#include "Veltrimond/styles/stylepattern.h"

#include <algorithm>

#include "Veltrimond/styles/styleentry.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"

namespace veltrimond::styles {

namespace {

std::shared_ptr<notecraft::Voice> SourceVoice(const notecraft::Score& style) {
  return style.AllVoices().Count() > 0 ? style.AllVoices().Item(1) : nullptr;
}

}  // namespace

int ClampMidiValue(int value, int shift) {
  return std::clamp(value + shift, 0, 127);
}

int PatternLength(const notecraft::Score& style) {
  const notecraft::GlobalEvents& globals = style.AllGlobals();
  int number = 0, length = 0;
  globals.MeasureInfo(0, number, length);
  const auto source = SourceVoice(style);
  if (!source || source->Notes().Count() == 0) return length;
  // A style of several measures repeats as a whole rather than laying its later measures
  // over the next copy of its first.
  const int last = source->Notes().ByIndex(source->Notes().Count())->NoteTime();
  int lastLength = 0;
  globals.MeasureInfo(last, number, lastLength);
  return std::max(length, globals.MeasureStart(last) + lastLength);
}

int InsertStylePattern(const notecraft::Score& style, notecraft::Score& target, int staff,
                       int first, int end, int shift) {
  const auto source = SourceVoice(style);
  const auto targetStaff = target.Staff(staff);
  const auto destination = targetStaff ? targetStaff->Voice(1) : nullptr;
  if (!source || !destination || source->Notes().Count() == 0) return 0;
  if (IsDrumStyle(style)) shift = 0;

  first = std::clamp(first, 1, kToScoreEnd - 1);
  if (end <= first) end = first + 1;
  const notecraft::GlobalEvents& globals = target.AllGlobals();
  const int start = globals.MeasureTime(first);
  // The end is where measure `end` starts, whatever the lengths of the measures between.
  int endTime = end >= kToScoreEnd ? target.HighTime() : globals.MeasureTime(end);
  if (endTime <= start) endTime = globals.MeasureTime(first + 1);
  const int pattern = std::max(PatternLength(style), 1);

  const bool redraw = target.Redraw();
  target.SetRedraw(false);
  notecraft::Notes& notes = destination->Notes();
  int written = 0;
  for (int cycle = start; cycle < endTime; cycle += pattern) {
    for (const auto& note : source->Notes()) {
      const int at = cycle + note->NoteTime();
      if (at >= endTime) break;
      // Pitch 0 is a rest: it stays one whatever the shift.
      const auto pitch = [shift](int value) {
        return value == 0 ? 0 : ClampMidiValue(value, shift);
      };
      const auto added = notes.Add(at, pitch(note->Value(0)), note->Duration(), note->Flags());
      if (!added) continue;
      for (int i = 1; i < note->ValueCount(); ++i) added->AddValue(pitch(note->Value(i)));
      ++written;
    }
  }
  if (written > 0) {
    target.SetChanged(true);
    target.RestartPagination(1);
    target.PaintWindow();
  }
  target.SetRedraw(redraw);
  return written;
}

}  // namespace veltrimond::styles
