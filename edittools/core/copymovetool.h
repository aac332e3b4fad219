#pragma once
// Copies or moves the notes of a range of measures of one staff (or of each staff in turn)
// from one voice, a pair or all voices into one voice of a destination staff, optionally
// shifted to start at a destination measure. One staff per step.
//
// Each staff's source notes are taken first, then (moving) removed, then placed, so a
// destination that overlaps the source reads nothing it has written, and a note whose
// destination is its own place stays. Ties of the moved notes go with them; lyrics belong
// to the staff and stay. Notes landing on a note merge into one chord: a rest
// adds nothing to a sounding chord, and sounding pitches replace a lone rest. The cost is
// one pass over each voice touched (bulk removal and sorted insertion).
//
// Parameters, as ToolBox hands them on:
//   dest.Staff    0 = the source staff, n = staff n
//   dest.Measure  0 = notes keep their times, n = the range moves to start at measure n
//   dest.Voice    0 = the voice numbered as the first source voice, n = voice n
//   move          remove the notes from their source
//   fromVoice     the source voices (VoicesOfChoice)
// A run over the selection changes nothing.

#include <memory>
#include <vector>

#include "edittools/core/measurespan.h"
#include "edittools/core/steppedtool.h"
#include "edittools/core/toolsettings.h"

namespace notecraft {
class Score;
class Staff;
}  // namespace notecraft

namespace edittools {

class CopyMoveTool : public SteppedTool {
public:
  CopyMoveTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
               const ToolDest& dest, bool move, int fromVoice);

  std::string Label() const override { return m_move ? "Moving Notes..." : "Copying Notes..."; }
  void Setup() override;
  bool Step() override;
  void Finish() override;
  void Abandon(bool repaint) override;
  bool Changed() const override { return m_changed; }
  std::int64_t WorkDone() const override { return m_staffPos; }
  std::int64_t WorkTotal() const override { return static_cast<std::int64_t>(m_staves.size()); }

private:
  void CopyStaff(notecraft::Staff& source, int sourceNumber);
  void CarryTies(notecraft::Staff& source, notecraft::Staff& dest, const std::vector<int>& voiceNumbers,
                 int destVoiceNumber, int delta);

  std::shared_ptr<notecraft::Score> m_score;
  ToolRange m_range;
  ToolDest m_dest;
  bool m_move = false;
  int m_fromVoice = 0;
  TimeSpan m_span;
  std::vector<int> m_staves;
  std::size_t m_staffPos = 0;
  bool m_changed = false;
};

}  // namespace edittools
