// Score: note entry by position, and the one path every edit by position takes.
#include <algorithm>

#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/bandhit.h"
#include "notecraft/edit/didwhat.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/layout/systemmeasures.h"

namespace notecraft {

void Score::EditStateDeleter::operator()(EditState* state) const noexcept {
  delete state;
}

EditState& Score::Edit() {
  if (!m_edit) m_edit.reset(new EditState);
  return *m_edit;
}

const EditState& Score::Editing(Internal) const {
  return const_cast<Score*>(this)->Edit();
}

void Score::SetSelectedMeasure(Internal, int number) {
  m_selectedMeasure = number;
}

void Score::ForgetEditPositions(Internal) {
  EditState& edit = Edit();
  const bool hadSelection = !edit.Selection.empty();
  edit.Selection.clear();
  edit.Last = {};
  edit.LastBandIndex = 0;
  if (hadSelection) Raise([](ScoreEvents& l) { l.SelectionCleared(); });
}

void Score::CommitEdit(const DidWhat* record) {
  if (record) {
    const bool wasEmpty = UndoCount() == 0;
    PushUndo(Internal{}, *record);
    if (wasEmpty && UndoCount() == 1) Raise([](ScoreEvents& l) { l.HistoryChanged(true); });
  }
  m_playbackStale = true;
  MarkChanged();
}

void Score::AddNoteByHit(int x, int y, int duration, int flags, int snap) {
  try {
    const auto band = InRegion(x, y);
    if (!band) return;
    const auto measure = MeasureAt(*band, x);
    const auto staff = Staff(band->Staff());
    if (!measure || !staff) return;
    const int v = std::min(Voice(), staff->Voices());
    const auto voice = staff->Voice(v);
    // A staff without voices takes no note: nothing is raised or changed.
    if (!voice || duration < 1 || duration > 255) return;
    Raise([&staff](ScoreEvents& l) { l.ActiveStaff(staff); });

    int number = 0, length = 0;
    m_globals->MeasureInfo(measure->Start, number, length);
    m_selectedMeasure = number;
    Raise([number](ScoreEvents& l) { l.ActiveMeasure(number); });

    const int t0 = measure->Start;
    int offset = OffsetInMeasure(*measure, x, length);
    // Snapping within the measure keeps the note in the measure clicked, whatever its
    // start. A click on a drawn rest means the rest's time, as one on a head the note's.
    if (snap > 0 && RestUnder(*measure, x) < 0) offset = offset / snap * snap;
    Notes& notes = voice->Notes();
    // A click on a note's head means that note, as a click on its beat does: the time
    // under a head's right half already lies inside the note, which would push the new
    // one past it.
    const auto head = HeadUnder(notes, *band, x, t0, t0 + length);
    if (head) offset = head->NoteTime() - t0;
    const int before = MeasureSlots(*this).Count(t0, length);

    int value = 0;
    const auto instrument = voice->Instrument();
    if (instrument && instrument->Category() == catDrums) {
      value = std::clamp(instrument->DrumValue(DrumIX()), 0, 127);
    } else {
      const int at = t0 + offset;
      value = PitchFromY(y, staff->CurClef(at), staff->CurKey(at), band->Top(), band->PadTop(),
                         band->IncY(), GrandStaffGap(*band));
    }
    int time = t0 + offset;

    const GlobalEvents* globals = m_globals.get();
    const auto previous = notes.Lookup(time, true, false);
    const bool follows = previous && previous->NoteTime() < time;
    const int free = follows ? NoteEnd(*previous, globals) : time;  // where the note before ends
    time = std::max(time, free);
    // A triplet stands on a slot of its group: right after the note before when clicked
    // less than a slot after it, else on the slot nearest the click. A click on a note (its
    // head, or the time it starts) joins its chord.
    if (const auto at = notes.Lookup(time);
        (flags & nteTriplet) && !head && !(at && at->NoteTime() == time)) {
      const int slot = (2 * duration + 1) / 3;
      if (!follows)
        time = SlotStart(time, duration, flags, globals);
      else if (time - free < slot)
        time = free;
      else
        time = std::max(SlotStart(time, duration, flags, globals), free);
    }
    time = std::min(time, t0 + length);
    const int newEnd = NoteEnd(time, duration, flags, globals);

    DidWhat record;
    record.Action = 1;
    record.AtTime = time;
    record.Arg1 = staff->Index();
    record.Arg2 = v;
    DidWhat::NoteEntry& entry = record.Entry;
    entry.Pitch = value;
    // A later note the new one would cover goes when it is the only one: with others
    // between, the new note ends at the next one anyway, and removing it would leave a hole.
    const auto later = notes.Lookup(newEnd, false, true);
    if (later && later->NoteTime() > time && later == notes.Lookup(time + 1)) {
      record.Around.Removed = later;
      notes.Remove(later->NoteTime());
    }
    if (const auto existing = notes.Lookup(time); existing && existing->NoteTime() == time) {
      entry.NoteCreated = false;
      const auto values = existing->Values();
      entry.PitchAdded = std::find(values.begin(), values.end(), value) == values.end();
      entry.Duration = existing->Duration();
      entry.Flags = existing->Flags();
    }
    // The note before may be cut short to end where this one starts.
    const auto earlier = notes.Lookup(time, false, true);
    const int earlierDuration = earlier ? earlier->Duration() : 0;
    const int earlierFlags = earlier ? earlier->Flags() : 0;
    const auto entered = notes.Add(time, value, duration, flags);
    // Nor does it run past the next note: the page draws it up to there, and the saved
    // score reopens so, which what plays and exports must not contradict.
    if (const auto next = notes.Lookup(time + 1); entered && next)
      notes.TrimBefore(next->NoteTime());
    const int end = entered ? NoteEnd(*entered, globals) : newEnd;
    if (earlier && (earlier->Duration() != earlierDuration || earlier->Flags() != earlierFlags)) {
      record.Around.TrimmedTime = earlier->NoteTime();
      record.Around.TrimmedDuration = earlierDuration;
      record.Around.TrimmedFlags = earlierFlags;
    }

    EditState& edit = Edit();
    edit.Last = {0, staff->Index(), time, value, v};
    const int oldEnd = m_endTime;
    m_endTime = std::max(m_endTime, end);
    CommitEdit(&record);
    edit.Last.Band = band->Index();

    // The band's system alone shows the note only when it stays in the measure clicked
    // and the score keeps its measures: a note after a full measure starts the next one,
    // and a score grown into a new measure may need another system.
    const bool inMeasure = time < t0 + length && end <= t0 + length;
    const bool grown = EndMeasure(m_endTime) != EndMeasure(oldEnd);
    if (!inMeasure || grown || MeasureSlots(*this).Count(t0, length) != before) {
      RestartPagination(m_curPage);
      PaintWindow();
    } else {
      RepaintAfterEdit(Internal{}, *band, false, -1, 0, 0);
    }
  } catch (...) {
    // Entry runs with errors ignored: what was done stays.
  }
}

int Score::EndMeasure(int endTime) const {
  int number = 0, length = 0;
  m_globals->MeasureInfo(std::max(endTime - 1, 0), number, length);
  return number;
}

std::shared_ptr<Note> Score::AddNote(int voice, int time, int value, int duration, int flags) {
  const auto target = m_voices->Item(voice);
  if (!target || value < 0 || value > 127 || time < 0) return nullptr;
  auto note = target->Notes().Add(time, value, duration, flags);
  m_endTime = std::max(m_endTime, NoteEnd(time, duration, flags, m_globals.get()));
  m_playbackStale = true;
  MarkChanged();
  return note;
}

}  // namespace notecraft
