// Score: the undo history of edits by position, and taking its records back.

#include "notecraft/core/score.h"

#include <algorithm>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/edit/didwhat.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/edit/undohistory.h"
#include "notecraft/layout/systemmeasures.h"

namespace notecraft {

namespace {

std::uint8_t ByteOf(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Removes the event of `type` at `time` that carries the recorded values, or, when none
// does any more, the last of that type there. The list removes only the last event of a
// type at a time, so the values of the later ones move up one place first.
bool RemoveRecorded(GlobalEvents& list, int time, int type, const DidWhat& r) {
  if (type == evtTimeChange) {
    if (!list.Find(time, evtTimeChange, true)) return false;
    list.Remove(time, evtTimeChange);
    return true;
  }
  std::vector<GlobalEvents::EventPtr> same;
  for (const auto& e : list.At(time))
    if (e->EventType() == type) same.push_back(e);
  if (same.empty()) return false;
  std::size_t target = same.size() - 1;
  for (std::size_t i = same.size(); i-- > 0;) {
    const auto& e = *same[i];
    if (e.Value1() == r.Arg2 && e.Value2() == r.Arg3 && e.Text() == r.Text) {
      target = i;
      break;
    }
  }
  for (std::size_t i = target; i + 1 < same.size(); ++i) {
    same[i]->SetValue1(same[i + 1]->Value1());
    same[i]->SetValue2(same[i + 1]->Value2());
    same[i]->SetText(same[i + 1]->Text());
  }
  list.Remove(time, type);
  return true;
}

// Puts back the values an event had before it was changed, or the event itself when it
// has gone since.
void RestoreRecorded(GlobalEvents& list, const DidWhat& r) {
  if (auto e = list.Item(r.AtTime, r.Arg1)) {
    e->SetValue1(ByteOf(r.Arg2));
    e->SetValue2(ByteOf(r.Arg3));
    e->SetText(r.Text);
  } else {
    list.Add(r.AtTime, r.Arg1, ByteOf(r.Arg2), ByteOf(r.Arg3), r.Text);
  }
}

// Events whose entry lays the whole score out again: line ends, measure widths and staff
// spacing.
bool ChangesLayout(int type) {
  // A score-end mark decides where the score's last system ends.
  return type == evtLineEnd || type == evtMeasureSize || type == evtStaffSpace ||
         type == evtScoreEnd;
}

}  // namespace

int Score::UndoCount() const { return m_undo ? m_undo->Count() : 0; }

void Score::PushUndo(Internal, int action, int atTime, int arg1, int arg2, int arg3, int arg4,
                     const std::string& text) {
  DidWhat record;
  record.AtTime = atTime;
  record.Action = action;
  record.Text = text;
  record.Arg1 = arg1;
  record.Arg2 = arg2;
  record.Arg3 = arg3;
  record.Arg4 = arg4;
  PushUndo(Internal{}, record);
}

void Score::PushUndo(Internal, const DidWhat& record) {
  if (!m_undo) m_undo = std::make_shared<UndoHistory>();
  m_undo->Push(record);
}

std::shared_ptr<DidWhat> Score::PopUndo(Internal) { return m_undo ? m_undo->Pop() : nullptr; }

void Score::ClearUndo(Internal) {
  if (UndoCount() == 0) return;
  m_undo = std::make_shared<UndoHistory>();
  Raise([](ScoreEvents& l) { l.HistoryChanged(false); });
}

void Score::Undo() noexcept {
  try {
    if (UndoCount() == 0) return;
    auto record = PopUndo(Internal{});
    // The music changes back: a playback file written before is out of date (marked first,
    // so that a record taken back only in part counts too).
    if (record) {
      m_playbackStale = true;
      LayoutInputsChanged();
    }
    try {
      if (record) TakeBack(*record);
    } catch (...) {
      // A record that cannot be taken back is dropped.
    }
    if (UndoCount() == 0) Raise([](ScoreEvents& l) { l.HistoryChanged(false); });
  } catch (...) {
  }
}

// Puts the voice of a note entry back as it was: the pitch or note entered goes, the chord
// it joined gets back its duration and flags, the note before gets back the length it was
// cut from, and the later note it removed returns (the same note, so a selection holding it
// holds it again). Each part that can no longer be found (deleted since) is passed over.
bool Score::TakeBackEntry(const DidWhat& r) {
  const Internal key;
  auto staff = m_staffs->Item(r.Arg1);
  auto voice = staff ? staff->Voice(r.Arg2) : nullptr;
  if (!voice) return false;
  Notes& notes = voice->Notes();
  const DidWhat::NoteEntry& entry = r.Entry;
  int number = 0, length = 0;
  m_globals->MeasureInfo(r.AtTime, number, length);
  const int start = m_globals->MeasureStart(r.AtTime);
  const int before = MeasureSlots(*this).Count(start, length);
  bool changed = false;
  bool elsewhere = false;  // notes of other measures came back too

  if (auto note = notes.Lookup(r.AtTime); note && note->NoteTime() == r.AtTime) {
    changed = true;
    if (entry.Pitch >= 0 && !entry.NoteCreated) {
      // A pitch added to a chord that was there before: only that pitch goes, and the
      // chord gets back its duration and flags.
      if (entry.PitchAdded) note->RemoveValue(entry.Pitch);
      if (entry.Duration > 0) {
        note->SetDuration(key, entry.Duration);
        note->SetFlags(key, entry.Flags);
      }
      if (note->ValueCount() == 0) notes.Remove(r.AtTime);
    } else {
      notes.Remove(r.AtTime);
    }
  }
  const DidWhat::Neighbours& around = r.Around;
  if (around.TrimmedTime >= 0) {
    if (auto earlier = notes.Lookup(around.TrimmedTime);
        earlier && earlier->NoteTime() == around.TrimmedTime) {
      earlier->SetDuration(key, around.TrimmedDuration);
      earlier->SetFlags(key, around.TrimmedFlags);
      changed = elsewhere = true;
    }
  }
  if (around.Removed && notes.Restore(key, around.Removed)) changed = elsewhere = true;
  if (!changed) return false;

  EditState& edit = Edit();
  // The arrow keys move the note entered last: not once its entry is taken back.
  if (edit.Last.Staff == r.Arg1 && edit.Last.Voice == r.Arg2 && edit.Last.Time == r.AtTime)
    edit.Last = {};
  // The page is laid out again when the notes of other measures changed, when the measure
  // needs another number of note positions, or when the entry had grown the score.
  if (elsewhere || MeasureSlots(*this).Count(start, length) != before ||
      EndMeasure(ScoreEndTime()) != EndMeasure(m_endTime))
    RestartPagination(m_curPage);
  PaintWindow();
  return true;
}

// Reverses one record and lays out and paints what it touched, as its entry did. A record
// whose staff, voice, note or event is gone changes nothing and paints nothing.
bool Score::TakeBack(const DidWhat& r) {
  switch (r.Action) {
    case 1:
      return TakeBackEntry(r);
    case 3:
    case 4:
    case 5: {
      if (r.Action == 3) {
        if (!RemoveRecorded(*m_globals, r.AtTime, r.Arg1, r)) return false;
      } else if (r.Action == 4) {
        m_globals->Add(r.AtTime, r.Arg1, ByteOf(r.Arg2), ByteOf(r.Arg3), r.Text);
      } else {
        RestoreRecorded(*m_globals, r);
      }
      break;
    }
    case 6:
    case 7:
    case 8: {
      auto staff = m_staffs->Item(r.Arg4);
      if (!staff) return false;
      auto& list = staff->GlobalEvents();
      if (r.Action == 6) {
        if (!RemoveRecorded(list, r.AtTime, r.Arg1, r)) return false;
      } else if (r.Action == 7) {
        list.Add(r.AtTime, r.Arg1, ByteOf(r.Arg2), ByteOf(r.Arg3), r.Text);
      } else {
        RestoreRecorded(list, r);
      }
      break;
    }
    default:
      return false;  // kind 2 is never written; unknown kinds are dropped
  }
  if (ChangesLayout(r.Arg1)) RestartPagination(1);
  PaintWindow();
  return true;
}

}  // namespace notecraft
