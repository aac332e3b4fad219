#pragma once
// Copies or moves the notes of a range of measures of one staff (or of each staff in turn)
// from one voice, a pair or all voices into one voice of a destination staff, optionally
// shifted to start at a destination measure; or, over the score's selection, exactly the
// selected notes. One staff per step; the whole selection in one.
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
//   dest.Measure  0 = notes keep their times, n = the range (or the measure of the first
//                 selected note) moves to start at measure n
//   dest.Voice    0 = over a range the voice numbered as the first source voice, over the
//                 selection each note's own voice number; n = voice n
//   move          remove the notes from their source
//   fromVoice     the source voices (VoicesOfChoice)
//   filter        the pitches taken from each chord; a chord left without pitches by a
//                 move goes, one that keeps some stays with them (and with its tie)
//
// Over the selection a tie goes with its notes when it joins two of them; a move takes
// away the tie of a note it takes away.

#include <memory>
#include <set>
#include <vector>

#include "edittools/core/measurespan.h"
#include "edittools/core/selectedvoices.h"
#include "edittools/core/steppedtool.h"
#include "edittools/core/toolsettings.h"

namespace notecraft {
class Note;
class Score;
class Staff;
class Voice;
}  // namespace notecraft

namespace edittools {

class CopyMoveTool : public SteppedTool {
public:
  CopyMoveTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
               const ToolDest& dest, bool move, int fromVoice, const NoteFilter& filter = {});

  std::string Label() const override { return m_move ? "Moving Notes..." : "Copying Notes..."; }
  void Setup() override;
  bool Step() override;
  void Finish() override;
  void Abandon(bool repaint) override;
  bool Changed() const override { return m_changed; }
  std::int64_t WorkDone() const override { return m_staffPos; }
  std::int64_t WorkTotal() const override { return static_cast<std::int64_t>(m_staves.size()); }

private:
  // One voice's notes to take, in time order, and the staff and voice they go to.
  struct Source {
    std::shared_ptr<notecraft::Staff> SourceStaff;
    std::shared_ptr<notecraft::Staff> DestStaff;
    std::shared_ptr<notecraft::Voice> Voice;
    int Number = 0;
    int DestNumber = 0;
    std::vector<std::shared_ptr<notecraft::Note>> Notes;
  };
  // What was taken from one source voice: every time a pitch was taken at, and the times
  // whose notes left the voice; StaysPut when the notes land in their own places.
  struct Taken {
    const Source* From = nullptr;
    bool StaysPut = false;
    std::set<int> Times;
    std::set<int> Emptied;
  };

  std::vector<Source> RangeSources(const std::shared_ptr<notecraft::Staff>& staff,
                                   int number) const;
  std::vector<Source> SelectionSources() const;
  // Takes every source's notes, removes them when moving, carries their ties, then lands
  // them.
  void Transfer(const std::vector<Source>& sources);
  void CarryTies(const std::vector<Taken>& taken, int delta);

  std::shared_ptr<notecraft::Score> m_score;
  ToolRange m_range;
  ToolDest m_dest;
  bool m_move = false;
  int m_fromVoice = 0;
  NoteFilter m_filter;
  TimeSpan m_span;
  std::vector<int> m_staves;
  std::vector<SelectedVoice> m_selection;
  std::size_t m_staffPos = 0;
  bool m_changed = false;
};

}  // namespace edittools
