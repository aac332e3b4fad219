#include "edittools/core/transposetool.h"

#include <algorithm>

#include "edittools/core/transposemath.h"
#include "notecraft/core/collectionedit.h"
#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace edittools {

namespace {

bool IsDrumVoice(const notecraft::Voice& voice) {
  auto ins = voice.Instrument();
  return ins && ins->Category() == notecraft::catDrums;
}

bool IsDrumStaff(const notecraft::Staff& staff) {
  auto first = staff.Voice(1);
  return first && IsDrumVoice(*first);
}

// The transposition a staff's first instrument adds to the key it shows.
int InstrumentKey(const notecraft::Staff& staff) {
  auto first = staff.Voice(1);
  auto ins = first ? first->Instrument() : nullptr;
  return ins ? ins->Pitch() : 0;
}

// The key stored for a staff at a time: its own key change there or before, else the
// score's key (without the instrument's transposition, which CurKey adds).
int StoredKey(const notecraft::Score& score, const notecraft::Staff& staff, int time) {
  if (auto e = staff.GlobalEvents().Find(time, notecraft::evtKeyChange))
    return notecraft::KeyFromByte(e->Value1());
  return score.Key();
}

std::uint8_t KeyByte(int key) {
  return static_cast<std::uint8_t>(notecraft::KeyToByte(std::clamp(key, -7, 7)));
}

}  // namespace

TransposeTool::TransposeTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
                             const ToolDest& dest, bool writeKeys)
    : m_score(std::move(score)), m_range(range), m_dest(dest), m_writeKeys(writeKeys) {}

void TransposeTool::Setup() {
  m_changed = false;
  m_done = true;
  m_staves.clear();
  m_selection.clear();
  m_selectionPos = 0;
  if (!m_score) return;
  m_mode = m_dest.Staff;
  if (m_mode < 0 || m_mode > 2) return;
  if (m_mode == 0) {
    m_targetKey = std::clamp(m_dest.Voice - 7, -7, 7);
    m_voiceChoiceAll = m_dest.Measure == 0;
    m_voices = VoicesOfChoice(m_dest.Measure, notecraft::Staff::kMaxVoices);
    if (m_voices.empty()) return;  // a choice that names no voice
  } else {
    m_halfSteps = m_dest.Measure != 0;
    m_amount = m_dest.Voice;
    m_voiceChoiceAll = true;
    m_writeKeys = false;  // raising or lowering keeps the key signatures
  }
  if (m_range.UseSelection) {
    // The selected notes alone: no range, so no key signature is written either.
    m_selection = SelectedVoices(*m_score, m_voiceChoiceAll ? 0 : m_dest.Measure);
    m_done = m_selection.empty();
    return;
  }
  m_span = MeasureSpan(*m_score, m_range.FromMeasure, m_range.ToMeasure);
  if (m_span.Empty()) return;
  m_staves = RangeStaves(*m_score, m_range.Staff);
  // Keys in force at the range end, before any are written.
  m_keysAtEnd.clear();
  for (int s : m_staves) m_keysAtEnd.push_back(StoredKey(*m_score, *m_score->Staff(s), m_span.End));
  m_staffPos = 0;
  m_done = !StartStaff(0);
}

bool TransposeTool::StartStaff(int pos) {
  for (m_staffPos = static_cast<std::size_t>(pos); m_staffPos < m_staves.size(); ++m_staffPos) {
    m_staff = m_score->Staff(m_staves[m_staffPos]);
    if (m_staff && !IsDrumStaff(*m_staff)) {
      m_time = m_span.Start;
      return true;
    }
  }
  m_staff.reset();
  return false;
}

bool TransposeTool::Step() {
  if (m_done) return false;
  if (!m_selection.empty()) {
    TransposeSelected(m_selection[m_selectionPos++]);
    m_done = m_selectionPos >= m_selection.size();
    return !m_done;
  }
  if (m_time >= m_span.End) {
    m_done = !StartStaff(static_cast<int>(m_staffPos) + 1);
    return !m_done;
  }
  int number = 0, duration = 0;
  m_score->AllGlobals().MeasureInfo(m_time, number, duration);
  const int end = std::min(m_time + std::max(duration, 1), m_span.End);
  TransposeMeasure(m_time, end);
  m_time = end;
  return true;
}

int TransposeTool::ShiftAt(const notecraft::Staff& staff, int time) const {
  const int source = staff.CurKey(time);
  if (m_mode == 0) return KeyShift(source, FoldKey(m_targetKey + InstrumentKey(staff)));
  if (m_halfSteps) return HalfStepShift(m_mode, m_amount);
  return KeyShift(source, KeyStepTarget(m_mode, source, m_amount));
}

void TransposeTool::TransposeNote(notecraft::Note& note, int shift) {
  std::vector<int> pitches(note.Values().begin(), note.Values().end());
  bool moved = false;
  for (int& p : pitches) {
    const int q = ShiftPitch(p, shift);
    moved = moved || q != p;
    p = q;
  }
  if (!moved) return;
  // Pitches that meet after clamping become one, as AddValue keeps them distinct.
  note.SetSingleValue();
  note.SetValue(0, *std::min_element(pitches.begin(), pitches.end()));
  for (int p : pitches) note.AddValue(p);
  m_changed = true;
}

void TransposeTool::TransposeMeasure(int from, int to) {
  const int shift = ShiftAt(*m_staff, from);
  if (shift == 0) return;
  for (int v = 1; v <= m_staff->Voices(); ++v) {
    if (!m_voiceChoiceAll && std::find(m_voices.begin(), m_voices.end(), v) == m_voices.end())
      continue;
    auto voice = m_staff->Voice(v);
    if (!voice || IsDrumVoice(*voice)) continue;
    auto& notes = voice->Notes();
    for (int i = notes.IndexAtOrAfter(from); i <= notes.Count(); ++i) {
      auto note = notes.ByIndex(i);
      if (note->NoteTime() >= to) break;
      TransposeNote(*note, shift);
    }
  }
}

void TransposeTool::TransposeSelected(const SelectedVoice& selected) {
  const auto staff = m_score->Staff(selected.Staff);
  if (!staff || !selected.Voice || IsDrumVoice(*selected.Voice)) return;
  for (const auto& note : selected.Notes) TransposeNote(*note, ShiftAt(*staff, note->NoteTime()));
}

void TransposeTool::Finish() {
  if (m_writeKeys && m_mode == 0 && !m_staves.empty()) WriteKeys();
  if (m_changed) notecraft::CollectionsEdited(*m_score);
}

void TransposeTool::Abandon(bool repaint) {
  m_done = true;
  if (m_changed) notecraft::CollectionsEdited(*m_score, repaint);
}

void TransposeTool::WriteKeys() {
  const bool wholeScore = m_span.Start == 0 && m_range.Staff == 0;
  if (wholeScore && m_score->Key() != m_targetKey) {
    m_score->SetKey(m_targetKey);
    m_changed = true;
  }
  for (std::size_t i = 0; i < m_staves.size(); ++i) {
    auto staff = m_score->Staff(m_staves[i]);
    if (!staff || IsDrumStaff(*staff)) continue;
    WriteStaffKeys(*staff, !wholeScore);
    // The music after the range was not transposed: its key goes back to what it was.
    auto& events = staff->GlobalEvents();
    if (m_range.ToMeasure > 0 && m_span.End <= m_score->HighTime() &&
        !events.Item(m_span.End, notecraft::evtKeyChange) && m_keysAtEnd[i] != m_targetKey) {
      events.Add(m_span.End, notecraft::evtKeyChange, KeyByte(m_keysAtEnd[i]));
      m_changed = true;
    }
  }
}

void TransposeTool::WriteStaffKeys(notecraft::Staff& staff, bool atStart) {
  auto& events = staff.GlobalEvents();
  // Key changes inside the range now stand over transposed music: they take the new key.
  const std::uint8_t target = KeyByte(m_targetKey);
  bool atStartFound = false;
  for (const auto& e : events) {
    if (e->EventType() != notecraft::evtKeyChange) continue;
    if (e->EventTime() < m_span.Start || e->EventTime() >= m_span.End) continue;
    atStartFound = atStartFound || e->EventTime() == m_span.Start;
    if (e->Value1() != target) {
      e->SetValue1(target);
      m_changed = true;
    }
  }
  if (!atStart || atStartFound) return;
  const int before = std::max(m_span.Start - 1, 0);
  if (StoredKey(*m_score, staff, before) != m_targetKey) {
    events.Add(m_span.Start, notecraft::evtKeyChange, target);
    m_changed = true;
  }
}

std::int64_t TransposeTool::WorkTotal() const {
  if (!m_selection.empty()) return static_cast<std::int64_t>(m_selection.size());
  return static_cast<std::int64_t>(m_staves.size()) * std::max(m_span.End - m_span.Start, 0);
}

std::int64_t TransposeTool::WorkDone() const {
  if (m_done) return WorkTotal();
  if (!m_selection.empty()) return static_cast<std::int64_t>(m_selectionPos);
  return static_cast<std::int64_t>(m_staffPos) * (m_span.End - m_span.Start) +
         (m_time - m_span.Start);
}

}  // namespace edittools
