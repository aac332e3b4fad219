#pragma once
// Transposes the notes of a range of measures, staff by staff and measure by measure:
// to a key (mode 0), or up (1) or down (2) by key steps or half-steps. A key transposition
// moves each measure from the key the staff shows there to the chosen key and writes that
// key at the start of the range (and the old key back after it, when the range ends inside
// the score). Rests and drum voices are left alone.
//
// Parameters, as ToolBox hands them on:
//   dest.Staff    the mode: 0 to a key, 1 raise, 2 lower
//   dest.Measure  mode 0: the voices (VoicesOfChoice); modes 1, 2: non-zero = half-steps
//   dest.Voice    mode 0: the key + 7 (0..14); modes 1, 2: the amount
// A run over the selection moves exactly the selected notes (of the chosen voices), each
// from the key its staff shows at the note; it writes no key signature, as the notes around
// it keep theirs. Ties join notes by time and stay as they are.

#include <memory>
#include <vector>

#include "edittools/core/measurespan.h"
#include "edittools/core/selectedvoices.h"
#include "edittools/core/steppedtool.h"
#include "edittools/core/toolsettings.h"

namespace notecraft {
class Note;
class Score;
class Staff;
}  // namespace notecraft

namespace edittools {

class TransposeTool : public SteppedTool {
public:
  // writeKeys off leaves key signatures as they are in mode 0 too.
  TransposeTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
                const ToolDest& dest, bool writeKeys = true);

  std::string Label() const override { return "Transposing Score..."; }
  void Setup() override;
  bool Step() override;
  void Finish() override;
  void Abandon(bool repaint) override;
  bool Changed() const override { return m_changed; }
  std::int64_t WorkDone() const override;
  std::int64_t WorkTotal() const override;

private:
  bool StartStaff(int number);
  void TransposeMeasure(int from, int to);
  void TransposeSelected(const SelectedVoice& selected);
  void TransposeNote(notecraft::Note& note, int shift);
  int ShiftAt(const notecraft::Staff& staff, int time) const;
  void WriteKeys();
  void WriteStaffKeys(notecraft::Staff& staff, bool atStart);
  void MarkChanged();

  std::shared_ptr<notecraft::Score> m_score;
  ToolRange m_range;
  ToolDest m_dest;
  bool m_writeKeys = true;
  int m_mode = 0;
  int m_targetKey = 0;          // mode 0
  bool m_halfSteps = false;     // modes 1, 2
  int m_amount = 0;
  std::vector<int> m_voices;    // mode 0's choice, as voice numbers; empty: every voice
  bool m_voiceChoiceAll = true;
  TimeSpan m_span;
  std::vector<int> m_staves;    // staff numbers to run over
  std::size_t m_staffPos = 0;
  std::shared_ptr<notecraft::Staff> m_staff;
  int m_time = 0;
  bool m_done = true;
  bool m_changed = false;
  std::vector<int> m_keysAtEnd;  // per entry of m_staves: the stored key in force at the end
  std::vector<SelectedVoice> m_selection;  // a selection run: one step a voice
  std::size_t m_selectionPos = 0;
};

}  // namespace edittools
