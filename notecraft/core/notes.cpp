#include "notecraft/core/notes.h"

#include <algorithm>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/noteend.h"
#include "notecraft/core/score.h"

namespace notecraft {

namespace {

auto ByTime() {
  return [](const Notes::NotePtr& n, int t) { return n->NoteTime() < t; };
}

}  // namespace

void Notes::BinarySearch(int t) {
  auto it = std::lower_bound(m_notes.begin(), m_notes.end(), t, ByTime());
  m_cursor = static_cast<int>(it - m_notes.begin()) + 1;
  m_foundTime = it == m_notes.end() ? -1 : (*it)->NoteTime();
}

Notes::NotePtr Notes::Add(int atTime, int value, int duration, int flags) {
  return AddNote(atTime, value, duration, flags, false);
}

Notes::NotePtr Notes::AddStored(Internal, int atTime, int value, int duration, int flags) {
  return AddNote(atTime, value, duration, flags, true);
}

Notes::NotePtr Notes::AddNote(int atTime, int value, int duration, int flags, bool stored) {
  // A value that is no MIDI note would leave a chord without pitches and cut its neighbour.
  if (value < 0 || value > 127) return nullptr;
  Edited();
  std::size_t index = 0;  // 0-based position of the note
  NotePtr note;
  if (m_notes.empty() || m_notes.back()->NoteTime() < atTime) {
    // After the last note, as a file or a recording fills the list: no search needed.
    index = m_notes.size();
    note = std::make_shared<Note>();
    m_notes.push_back(note);
    m_cursor = static_cast<int>(m_notes.size());
    m_foundTime = -1;
  } else {
    BinarySearch(atTime);
    index = static_cast<std::size_t>(m_cursor - 1);
    if (m_foundTime == atTime) {
      note = m_notes[index];
    } else {
      note = std::make_shared<Note>();
      m_notes.insert(m_notes.begin() + static_cast<std::ptrdiff_t>(index), note);
    }
  }
  note->SetNoteTime(Internal{}, atTime);
  note->AddValue(value);
  note->SetDuration(Internal{}, duration);
  note->SetFlags(Internal{}, flags);
  if (index > 0) TrimPrevious(index - 1, atTime, stored);
  return note;
}

void Notes::TrimBefore(int atTime) {
  Edited();
  const int before = IndexAtOrAfter(atTime) - 1;  // how many notes start before atTime
  if (before > 0) TrimPrevious(static_cast<std::size_t>(before - 1), atTime);
}

// The note before a new one is cut to the largest power of two (1..64) not above the gap,
// dotted when the gap exceeds it; a triplet stays a triplet (and so ends before the new
// note). Its dot is not counted in its length, so an overlap of a dotted note can remain; a
// triplet ends where NoteEnd says.
void Notes::TrimPrevious(std::size_t index, int atTime, bool stored) {
  Note& prev = *m_notes[index];
  const GlobalEvents* globals = m_parent ? &m_parent->AllGlobals() : nullptr;
  const int end = stored && (prev.Flags() & nteTriplet)
                      ? prev.NoteTime() + prev.Duration() / 2
                      : NoteEnd(prev.NoteTime(), prev.Duration(), prev.Flags() & ~nteDot, globals);
  if (atTime >= end) return;
  int gap = atTime - prev.NoteTime();
  int fit = 1;
  while (fit < 64 && fit * 2 <= gap) fit *= 2;
  bool dotted = gap > fit && fit >= 2 && fit < 64;
  prev.SetDuration(Internal{}, fit);
  // Clearing stores Flags AND 65534, which also drops the bits from 16 up.
  prev.SetFlags(Internal{}, dotted ? (prev.Flags() | nteDot) : (prev.Flags() & 65534));
}

Notes::NotePtr Notes::ByIndex(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return m_notes[static_cast<std::size_t>(index - 1)];
}

Notes::NotePtr Notes::Item(int atTime, bool le, bool lt) {
  BinarySearch(atTime);
  return Lookup(atTime, le, lt);
}

int Notes::IndexAtOrAfter(int atTime) const {
  return static_cast<int>(std::lower_bound(m_notes.begin(), m_notes.end(), atTime, ByTime()) -
                          m_notes.begin()) + 1;
}

Notes::NotePtr Notes::Lookup(int atTime, bool le, bool lt) const {
  int p = IndexAtOrAfter(atTime);
  if (!le && !lt) return ByIndex(p);
  if (p > Count() || m_notes[static_cast<std::size_t>(p - 1)]->NoteTime() > atTime) --p;
  if (p < 1) return nullptr;
  if (lt && m_notes[static_cast<std::size_t>(p - 1)]->NoteTime() == atTime) --p;
  return ByIndex(p);
}

Notes::NotePtr Notes::NextItem() {
  if (m_cursor >= Count()) return nullptr;
  return ByIndex(++m_cursor);
}

Notes::NotePtr Notes::PrevItem() {
  if (m_cursor < 2) return nullptr;
  return ByIndex(--m_cursor);
}

void Notes::Remove(int atTime) {
  Edited();
  BinarySearch(atTime);
  if (m_foundTime == atTime && m_cursor <= Count())
    m_notes.erase(m_notes.begin() + (m_cursor - 1));
}

void Notes::RemoveRange(int fromTime, int toTime) {
  if (toTime <= fromTime) return;
  Edited();
  auto first = std::lower_bound(m_notes.begin(), m_notes.end(), fromTime, ByTime());
  auto last = std::lower_bound(first, m_notes.end(), toTime, ByTime());
  first = m_notes.erase(first, last);
  const int shift = toTime - fromTime;
  for (auto it = first; it != m_notes.end(); ++it)
    (*it)->SetNoteTime(Internal{}, (*it)->NoteTime() - shift);
  m_cursor = static_cast<int>(first - m_notes.begin()) + 1;
  m_foundTime = first == m_notes.end() ? -1 : (*first)->NoteTime();
}

void Notes::RemoveSpan(int fromTime, int toTime) {
  if (toTime <= fromTime) return;
  Edited();
  auto first = std::lower_bound(m_notes.begin(), m_notes.end(), fromTime, ByTime());
  auto last = std::lower_bound(first, m_notes.end(), toTime, ByTime());
  first = m_notes.erase(first, last);
  m_cursor = static_cast<int>(first - m_notes.begin()) + 1;
  m_foundTime = first == m_notes.end() ? -1 : (*first)->NoteTime();
}

void Notes::AddSorted(const std::vector<Entry>& entries) {
  if (entries.empty()) return;
  Edited();
  // Notes before the first entry stay put; the rest is merged with the entries in one pass.
  const auto split = std::lower_bound(m_notes.begin(), m_notes.end(), entries.front().Time,
                                      ByTime());
  std::vector<NotePtr> tail(split, m_notes.end());
  m_notes.erase(split, m_notes.end());
  m_notes.reserve(m_notes.size() + tail.size() + entries.size());
  std::vector<std::size_t> placed;  // positions that took an entry, ascending
  placed.reserve(entries.size());
  auto old = tail.begin();
  for (const Entry& e : entries) {
    if (e.Values.empty() || e.Values.front() < 0 || e.Values.front() > 127) continue;
    while (old != tail.end() && (*old)->NoteTime() < e.Time) m_notes.push_back(*old++);
    NotePtr note;
    if (old != tail.end() && (*old)->NoteTime() == e.Time) {
      note = *old++;
    } else {
      note = std::make_shared<Note>();
      note->SetNoteTime(Internal{}, e.Time);
    }
    for (int v : e.Values) note->AddValue(v);
    note->SetDuration(Internal{}, e.Duration);
    note->SetFlags(Internal{}, e.Flags);
    placed.push_back(m_notes.size());
    m_notes.push_back(std::move(note));
  }
  m_notes.insert(m_notes.end(), old, tail.end());
  // In ascending order, as a run of Add calls trims each new note's predecessor.
  for (std::size_t index : placed)
    if (index > 0) TrimPrevious(index - 1, m_notes[index]->NoteTime());
  m_cursor = 0;
  m_foundTime = 0;
}

bool Notes::Restore(Internal, const NotePtr& note) {
  if (!note) return false;
  Edited();
  const auto at = std::lower_bound(m_notes.begin(), m_notes.end(), note->NoteTime(), ByTime());
  if (at != m_notes.end() && (*at)->NoteTime() == note->NoteTime()) return false;
  m_notes.insert(at, note);
  m_cursor = 0;
  m_foundTime = 0;
  return true;
}

int Notes::CurIndex(Internal) const { return m_cursor; }

void Notes::Reserve(Internal, std::size_t count) { m_notes.reserve(m_notes.size() + count); }

void Notes::SetParent(Internal, Score* score) { m_parent = score; }

Score* Notes::Parent(Internal) const { return m_parent; }

void Notes::Edited() {
  if (m_parent) m_parent->ContentEdited(Internal{});
}

void Notes::Reset(Internal) {
  Edited();
  m_notes.clear();
  m_cursor = 0;
  m_foundTime = 0;
}

}  // namespace notecraft
