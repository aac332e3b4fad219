#pragma once
// Small scores for the tool tests, and notes written and read as (time, pitches) rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "edittools/core/steppedtool.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/recordingsurface.h"

namespace edittools::testing {

// time -> pitches, ascending.
using Chords = std::map<int, std::vector<int>>;

// A default score in common time with `staves` staves of `voices` voices each, unchanged.
inline std::shared_ptr<notecraft::Score> MakeScore(int staves = 1, int voices = 1) {
  auto score = std::make_shared<notecraft::Score>();
  score->CreateDefault();
  auto& list = score->AllStaffs();
  for (int s = 2; s <= staves; ++s) list.AddStaff(notecraft::Internal{}, list.NewID(), "New");
  for (int s = 1; s <= staves; ++s) {
    auto staff = score->Staff(s);
    staff->SetDescription("Staff " + std::to_string(s));
    while (staff->Voices() < voices) staff->AddVoice(staff->Voice(1)->Instrument());
  }
  score->SetChanged(false);
  return score;
}

// A staff appended with one voice on a drum kit.
inline std::shared_ptr<notecraft::Staff> AddDrumStaff(notecraft::Score& score) {
  auto& list = score.AllStaffs();
  auto staff = list.AddStaff(notecraft::Internal{}, list.NewID(), "Drums", std::nullopt, true);
  auto kit = score.AllInstruments().Add(score.AllInstruments().NewID(), 120);
  kit->SetCategory(notecraft::Internal{}, notecraft::catDrums);
  staff->AddVoice(kit);
  return staff;
}

inline notecraft::Notes& NotesOf(notecraft::Score& score, int staff, int voice) {
  return score.Staff(staff)->Voice(voice)->Notes();
}

// Writes quarter notes (or `duration`), with flags.
inline void Put(notecraft::Score& score, int staff, int voice, const Chords& chords,
                int duration = notecraft::durQuarter, int flags = 0) {
  auto& notes = NotesOf(score, staff, voice);
  for (const auto& [time, pitches] : chords) {
    auto note = notes.Add(time, pitches.front(), duration, flags);
    for (int p : pitches) note->AddValue(p);
  }
  score.SetChanged(false);
}

inline Chords Read(notecraft::Score& score, int staff, int voice) {
  Chords out;
  for (const auto& n : NotesOf(score, staff, voice))
    out[n->NoteTime()] = {n->Values().begin(), n->Values().end()};
  return out;
}

// Every staff key change: time -> key.
inline std::map<int, int> StaffKeys(notecraft::Score& score, int staff) {
  std::map<int, int> keys;
  for (const auto& e : score.Staff(staff)->GlobalEvents())
    if (e->EventType() == notecraft::evtKeyChange)
      keys[e->EventTime()] = e->Value1() < 128 ? e->Value1() : e->Value1() - 256;
  return keys;
}

inline void AddStaffKey(notecraft::Score& score, int staff, int time, int key) {
  score.Staff(staff)->GlobalEvents().Add(time, notecraft::evtKeyChange,
                                          static_cast<std::uint8_t>(key & 0xFF));
}

// Selects notes as the page editor does, by a rectangle over page 1 (painted on surface):
// those of the active voice of each of `staves` drawn from time `from` to time `to` of the
// first staff (all on page 1; the two ends notes, not rests). Returns the number selected.
inline int SelectNotes(notecraft::Score& score, notecraft::RecordingSurface& surface,
                       std::vector<int> staves, int from, int to) {
  if (score.Window() != &surface) score.SetWindow(&surface);
  score.PaintWindow();
  const auto& bands = score.Bands(notecraft::Internal{});
  int top = INT_MAX, bottom = INT_MIN, left = 0, right = 0;
  for (int s : staves) {
    for (const auto& band : bands) {
      if (band->Staff() != s) continue;
      top = std::min(top, band->Top() + 1);
      bottom = std::max(bottom, band->Bottom() - 1);
      if (s != staves.front()) break;
      const auto& notes = score.Staff(s)->Voice(score.Voice())->Notes();
      const auto first = notes.Lookup(from);
      const auto last = notes.Lookup(to, true);
      EXPECT_TRUE(first && last) << "no notes to select on staff " << s;
      if (!first || !last) return 0;
      left = first->X() - 1;
      right = last->X() + band->IncY() + 1;  // a note counts while x + a space is inside
      break;
    }
  }
  return score.SetSelection(left, top, right, bottom);
}

// Runs a tool to its end as the host does, without the host.
inline void RunToEnd(SteppedTool& tool) {
  tool.Setup();
  while (tool.Step()) {
  }
  tool.Finish();
}

}  // namespace edittools::testing
