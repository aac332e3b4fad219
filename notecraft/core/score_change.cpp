// Score: changing notes that stand in the score: the note entered last (ChangeLast) and
// every selected note (ChangeSel), with the re-timing of measures whose durations changed.
#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/edit/editstate.h"
#include "notecraft/edit/liveselection.h"

namespace notecraft {

namespace {

int ToggleOrnaments(int flags, int ornaments) {
  if (ornaments & ornAccent) flags ^= nteAccent;
  if (ornaments & ornStacato) flags ^= nteStacato;
  if (ornaments & ornTrill) flags ^= nteTrill;
  if (ornaments & ornFermata) flags ^= nteFermata;
  if (ornaments & ornBowUp) flags = (flags & ~nteBowDown) ^ nteBowUp;
  if (ornaments & ornBowDown) flags = (flags & ~nteBowUp) ^ nteBowDown;
  return flags;
}

// A new pitch for every pitch of the chord: 1..127 one pitch, 128 a rest, 256 + n up n
// semitones, negative down. A transposition that would leave 0..127 leaves the chord as it
// was, so its pitches stay ascending and distinct.
void ChangePitch(Note& note, int newValue) {
  if (newValue >= 1 && newValue <= 128) {
    const int pitch = newValue == 128 ? 0 : newValue;
    if (note.ValueCount() == 0) {
      note.AddValue(pitch);
    } else {
      note.SetSingleValue();
      note.SetValue(0, pitch);
    }
    return;
  }
  const int shift = newValue >= 256 ? newValue % 256 : (newValue < 0 ? newValue : 0);
  if (shift == 0 || note.ValueCount() == 0) return;
  const auto values = note.Values();
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  if (*low + shift < 0 || *high + shift > 127) return;
  for (int i = 0; i < note.ValueCount(); ++i) note.SetValue(i, note.Value(i) + shift);
}

}  // namespace

bool Score::ChangeLast(int value, bool alignment) {
  EditState& edit = Edit();
  LastEntry& last = edit.Last;
  bool result = false;
  bool moved = false;
  try {
    const auto staff = last.Value != 0 ? Staff(last.Staff) : nullptr;
    const auto voice = staff ? staff->Voice(last.Voice) : nullptr;
    const int index = voice ? voice->Notes().IndexAtOrAfter(last.Time) : 0;
    Notes* notes = voice ? &voice->Notes() : nullptr;
    const auto note = notes ? notes->ByIndex(index) : nullptr;
    if (note && note->NoteTime() == last.Time) {
      if (!alignment) {
        if (note->RemoveValue(last.Value)) {
          last.Value = std::clamp(last.Value + value, 0, 127);
          note->AddValue(last.Value);
          result = moved = true;
        }
      } else {
        result = true;
        const GlobalEvents* globals = m_globals.get();
        const int span = NoteEnd(*note, globals) - note->NoteTime();
        const auto previous = notes->ByIndex(index - 1);
        const auto next = notes->ByIndex(index + 1);
        const int low = previous ? NoteEnd(*previous, globals) : 0;
        const int high = next ? next->NoteTime() : note->NoteTime() + span + 64;
        int to = std::max(note->NoteTime() + value * 4, low);
        to = std::min(to, high - span);
        // A triplet's length on the 64th grid depends on where it stands.
        while (to > low && NoteEnd(to, note->Duration(), note->Flags(), globals) > high) --to;
        if (to != note->NoteTime() && to >= low) {
          const int from = note->NoteTime();
          const std::vector<std::uint8_t> pitches(note->Values().begin(), note->Values().end());
          auto moved_note = notes->Add(to, pitches.empty() ? 0 : pitches.front(), note->Duration(),
                                       note->Flags());
          moved_note->SetMultiVoice(note->MultiVoice());
          for (const int p : pitches) moved_note->AddValue(p);
          notes->Remove(from);
          last.Time = to;
          moved = true;
        }
      }
    }
  } catch (...) {
    // Changes run with errors ignored.
  }
  if (!result) {
    last.Value = 0;
    return false;
  }
  if (moved && last.Band >= 1 && last.Band <= static_cast<int>(m_bands.size()))
    RepaintAfterEdit(Internal{}, *m_bands[static_cast<std::size_t>(last.Band - 1)], false, -1, 0,
                     0);
  return true;
}

int Score::ChangeSel(int newDur, int newValue, int stemDir, int ornaments, bool del, bool tie) {
  const Internal key;
  EditState& edit = Edit();
  int count = 0;
  try {
    const std::vector<LiveNote> live = LiveSelection(*m_voices, edit.Selection);
    if (del) {
      for (const LiveNote& n : live) {
        n.Owner->Notes().Remove(n.Item->NoteTime());
        ++count;
      }
      ClearSelection();
      Raise([](ScoreEvents& l) { l.SelectionCleared(); });
    } else if (tie) {
      int staff = 0, first = 0, last = 0;
      for (const LiveNote& n : live) {
        if (staff == 0) {
          staff = n.Staff;
          first = n.Item->NoteTime();
        }
        if (n.Staff == staff) last = n.Item->NoteTime();
      }
      // The end time travels in two bytes.
      const auto owner = staff ? Staff(staff) : nullptr;
      if (owner && last > first && last <= 65535) {
        owner->GlobalEvents().Add(first, evtTie, static_cast<std::uint8_t>(last / 256),
                                  static_cast<std::uint8_t>(last % 256),
                                  std::to_string(edit.SelectionVoice));
        count = 1;
      }
    } else {
      std::vector<std::pair<int, int>> retime;  // (measure number, length), first met first
      for (const LiveNote& n : live) {
        Note& note = *n.Item;
        bool changed = false;
        int f = note.Flags();
        switch (stemDir) {
          case stmClearProp:
            changed = (f & (nteDot | nteTriplet)) != 0;
            f = 0;
            break;
          case stmPropDot:
            changed = !(f & nteDot);
            f |= nteDot;
            break;
          case stmPropNoDot:
            changed = (f & nteDot) != 0;
            f &= ~nteDot;
            break;
          case stmPropTrip:
            changed = !(f & nteTriplet);
            f |= nteTriplet;
            break;
          case stmPropNoTrip:
            changed = (f & nteTriplet) != 0;
            f &= ~nteTriplet;
            break;
          case stmForceUp:
            f = (f & ~nteForceDown) | nteForceUp;
            break;
          case stmForceDown:
            f = (f & ~nteForceUp) | nteForceDown;
            break;
          default:
            break;  // stmReverse: counted, the stems stay
        }
        f = ToggleOrnaments(f, ornaments);
        note.SetFlags(key, f);
        // A duration holds in one byte.
        if (newDur > 0 && newDur <= 255) {
          changed = changed || newDur != note.Duration();
          note.SetDuration(key, newDur);
        }
        if (changed) {
          int number = 0, length = 0;
          m_globals->MeasureInfo(note.NoteTime(), number, length);
          if (std::none_of(retime.begin(), retime.end(),
                           [number](const auto& r) { return r.first == number; }))
            retime.emplace_back(number, length);
        }
        ChangePitch(note, newValue);
        ++count;
      }
      for (const auto& [number, length] : retime) RetimeAfterDuration(number, length);
    }
  } catch (...) {
    // Changes run with errors ignored.
  }
  if (count > 0) {
    CommitEdit(nullptr);
    PaintWindow();
  }
  return count;
}

void Score::RetimeAfterDuration(int mesNo, int duration) {
  const Internal key;
  const int start = m_globals->MeasureTime(mesNo);
  const int end = start + duration;
  for (const auto& staff : *m_staffs) {
    for (int v = 1; v <= staff->Voices(); ++v) {
      const auto voice = staff->Voice(v);
      if (!voice) continue;
      const Notes& notes = voice->Notes();
      const int from = notes.IndexAtOrAfter(start);
      std::vector<int> times;
      int cursor = start;
      int k = from;
      for (; k <= notes.Count(); ++k) {
        const auto note = notes.ByIndex(k);
        if (note->NoteTime() >= end) break;
        const int time = std::max(note->NoteTime(), cursor);
        times.push_back(time);
        cursor = NoteEnd(time, note->Duration(), note->Flags(), m_globals.get());
      }
      // A pushed note never reaches the next note that stays (at or after the measure's
      // end): one time, one note.
      int limit =
          k <= notes.Count() ? notes.ByIndex(k)->NoteTime() : std::numeric_limits<int>::max();
      for (int i = static_cast<int>(times.size()) - 1; i >= 0; --i) {
        const auto note = notes.ByIndex(from + i);
        const int time =
            std::max(std::min(times[static_cast<std::size_t>(i)], limit - 1), note->NoteTime());
        note->SetNoteTime(key, time);
        limit = time;
      }
    }
  }
}

}  // namespace notecraft
