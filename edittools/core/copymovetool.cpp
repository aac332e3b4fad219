#include "edittools/core/copymovetool.h"

#include <algorithm>
#include <climits>
#include <map>
#include <string>

#include "notecraft/core/collectionedit.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace edittools {

namespace {

// The latest time a score file can hold.
constexpr int kLastTime = (1 << 24) - 1;

bool IsRest(const std::vector<int>& pitches) { return pitches.empty() || pitches.front() == 0; }

// Pitches of two chords that meet at one time: a rest gives way to sounding pitches.
void MergePitches(std::vector<int>& into, const std::vector<int>& from) {
  if (IsRest(from) && !IsRest(into)) return;
  if (!IsRest(from) && IsRest(into)) into.clear();
  for (int p : from)
    if (std::find(into.begin(), into.end(), p) == into.end()) into.push_back(p);
  std::sort(into.begin(), into.end());
}

using Entries = std::vector<notecraft::Notes::Entry>;

// Two time-ordered lists of chords as one; at a time both hold, the later list's duration
// and flags win, as they would when added after the earlier one.
Entries MergeLanding(Entries earlier, Entries later) {
  if (earlier.empty()) return later;
  Entries merged;
  merged.reserve(earlier.size() + later.size());
  auto a = earlier.begin();
  auto b = later.begin();
  while (a != earlier.end() || b != later.end()) {
    if (b == later.end() || (a != earlier.end() && a->Time < b->Time)) {
      merged.push_back(std::move(*a++));
    } else if (a == earlier.end() || b->Time < a->Time) {
      merged.push_back(std::move(*b++));
    } else {
      MergePitches(a->Values, b->Values);
      a->Duration = b->Duration;
      a->Flags = b->Flags;
      merged.push_back(std::move(*a++));
      ++b;
    }
  }
  return merged;
}

// Removes the notes standing at the given times (ascending), each run of neighbours in the
// list in one pass.
void RemoveNotesAt(notecraft::Notes& notes, const std::vector<int>& times) {
  std::size_t k = 0;
  while (k < times.size()) {
    const int first = notes.IndexAtOrAfter(times[k]);
    std::size_t j = k;
    while (j + 1 < times.size()) {
      const auto next = notes.ByIndex(first + static_cast<int>(j - k) + 1);
      if (!next || next->NoteTime() != times[j + 1]) break;
      ++j;
    }
    notes.RemoveSpan(times[k], times[j] + 1);
    k = j + 1;
  }
}

// Places landing chords into a voice, meeting its own notes by the rule of MergePitches.
bool Land(notecraft::Notes& destNotes, Entries landing) {
  Entries entries;
  std::vector<int> restsReplaced;
  entries.reserve(landing.size());
  for (auto& entry : landing) {
    const int time = entry.Time;
    if (auto there = destNotes.Lookup(time); there && there->NoteTime() == time) {
      const std::vector<int> present(there->Values().begin(), there->Values().end());
      if (IsRest(entry.Values) && !IsRest(present)) continue;
      if (!IsRest(entry.Values) && IsRest(present)) restsReplaced.push_back(time);
    }
    entries.push_back(std::move(entry));
  }
  if (entries.empty()) return false;
  destNotes.AddSorted(entries);
  for (int time : restsReplaced)
    if (auto note = destNotes.Lookup(time); note && note->ValueCount() > 1) note->RemoveValue(0);
  return true;
}

}  // namespace

CopyMoveTool::CopyMoveTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
                           const ToolDest& dest, bool move, int fromVoice, const NoteFilter& filter)
    : m_score(std::move(score)),
      m_range(range),
      m_dest(dest),
      m_move(move),
      m_fromVoice(fromVoice),
      m_filter(filter) {}

void CopyMoveTool::Setup() {
  m_changed = false;
  m_staves.clear();
  m_selection.clear();
  m_staffPos = 0;
  if (!m_score) return;
  if (m_range.UseSelection) {
    // All selected notes in one step: each is taken before any lands, whichever staff.
    m_selection = SelectedVoices(*m_score, m_fromVoice);
    if (m_selection.empty()) return;
    int first = INT_MAX, last = 0;
    for (const SelectedVoice& v : m_selection) {
      first = std::min(first, v.Notes.front()->NoteTime());
      last = std::max(last, v.Notes.back()->NoteTime());
    }
    // A destination measure moves the first selected note's measure there.
    m_span = {m_score->AllGlobals().MeasureStart(first), last + 1};
    m_staves = {0};
    return;
  }
  m_span = MeasureSpan(*m_score, m_range.FromMeasure, m_range.ToMeasure);
  if (m_span.Empty()) return;
  m_staves = RangeStaves(*m_score, m_range.Staff);
}

bool CopyMoveTool::Step() {
  if (m_staffPos >= m_staves.size()) return false;
  const int number = m_staves[m_staffPos];
  if (m_range.UseSelection) {
    Transfer(SelectionSources());
  } else if (auto staff = m_score->Staff(number)) {
    Transfer(RangeSources(staff, number));
  }
  ++m_staffPos;
  return m_staffPos < m_staves.size();
}

std::vector<CopyMoveTool::Source> CopyMoveTool::RangeSources(
    const std::shared_ptr<notecraft::Staff>& staff, int number) const {
  std::vector<Source> sources;
  const std::vector<int> voiceNumbers = VoicesOfChoice(m_fromVoice, staff->Voices());
  if (voiceNumbers.empty()) return sources;
  // Every source voice of a range goes into one voice.
  const int destNumber = m_dest.Voice > 0 ? m_dest.Voice : voiceNumbers.front();
  const auto destStaff = m_score->Staff(m_dest.Staff > 0 ? m_dest.Staff : number);
  for (int v : voiceNumbers) {
    auto voice = staff->Voice(v);
    if (!voice) continue;
    Source source{staff, destStaff, voice, v, destNumber, {}};
    const auto& notes = voice->Notes();
    for (int i = notes.IndexAtOrAfter(m_span.Start); i <= notes.Count(); ++i) {
      auto note = notes.ByIndex(i);
      if (note->NoteTime() >= m_span.End) break;
      source.Notes.push_back(std::move(note));
    }
    sources.push_back(std::move(source));
  }
  return sources;
}

std::vector<CopyMoveTool::Source> CopyMoveTool::SelectionSources() const {
  std::vector<Source> sources;
  for (const SelectedVoice& selected : m_selection) {
    auto staff = m_score->Staff(selected.Staff);
    if (!staff) continue;
    const auto destStaff = m_score->Staff(m_dest.Staff > 0 ? m_dest.Staff : selected.Staff);
    const int destNumber = m_dest.Voice > 0 ? m_dest.Voice : selected.VoiceNumber;
    sources.push_back(
        {staff, destStaff, selected.Voice, selected.VoiceNumber, destNumber, selected.Notes});
  }
  return sources;
}

void CopyMoveTool::Transfer(const std::vector<Source>& sources) {
  const long long shift =
      m_dest.Measure > 0
          ? static_cast<long long>(m_score->AllGlobals().MeasureTime(m_dest.Measure)) - m_span.Start
          : 0;
  // Notes that cannot land (before time 0, past the last time a file holds) are not taken
  // away either: such a destination does nothing.
  if (m_span.Start + shift < 0 || m_span.End - 1 + shift > kLastTime) return;
  const int delta = static_cast<int>(shift);

  // Take every source note first, gathered by the voice it lands in.
  std::vector<Taken> taken;
  std::map<std::shared_ptr<notecraft::Voice>, Entries> landing;
  struct Removal {
    std::shared_ptr<notecraft::Voice> Voice;
    std::vector<int> Whole;  // times of notes that go
    std::vector<std::pair<std::shared_ptr<notecraft::Note>, std::vector<int>>> Pitches;
  };
  std::vector<Removal> removals;
  for (const Source& source : sources) {
    auto destVoice = source.DestStaff ? source.DestStaff->Voice(source.DestNumber) : nullptr;
    if (!destVoice) continue;
    const bool staysPut = delta == 0 && source.Voice == destVoice;
    Taken t{&source, staysPut, {}, {}};
    Removal removal{source.Voice, {}, {}};
    Entries entries;
    for (const auto& note : source.Notes) {
      std::vector<int> pitches;
      for (int p : note->Values())
        if (m_filter.Takes(p)) pitches.push_back(p);
      if (pitches.empty()) continue;
      t.Times.insert(note->NoteTime());
      if (staysPut) continue;  // its destination is its own place
      if (m_move) {
        if (pitches.size() == note->Values().size()) {
          removal.Whole.push_back(note->NoteTime());
          t.Emptied.insert(note->NoteTime());
        } else {
          removal.Pitches.emplace_back(note, pitches);
        }
      }
      entries.push_back(
          {note->NoteTime() + delta, note->Duration(), note->Flags(), std::move(pitches)});
    }
    landing[destVoice] = MergeLanding(std::move(landing[destVoice]), std::move(entries));
    taken.push_back(std::move(t));
    removals.push_back(std::move(removal));
  }

  for (const Removal& removal : removals) {
    if (removal.Whole.empty() && removal.Pitches.empty()) continue;
    RemoveNotesAt(removal.Voice->Notes(), removal.Whole);
    for (const auto& [note, pitches] : removal.Pitches)
      for (int p : pitches) note->RemoveValue(p);
    m_changed = true;
  }
  CarryTies(taken, delta);
  for (auto& [voice, entries] : landing)
    if (Land(voice->Notes(), std::move(entries))) m_changed = true;
}

// A tie is a staff event at its first note's time, naming its last note's time (two bytes)
// and its voice number (the text). A tie goes with its first note; over the selection only
// when its last note goes too. A move takes the tie away with the note it starts on.
void CopyMoveTool::CarryTies(const std::vector<Taken>& taken, int delta) {
  struct Tie {
    notecraft::Staff* Staff;
    int Time, End;
    std::string Voice;
  };
  std::vector<Tie> carried;
  std::vector<notecraft::Staff*> sourceStaves;
  for (const Taken& t : taken)
    if (std::find(sourceStaves.begin(), sourceStaves.end(), t.From->SourceStaff.get()) ==
        sourceStaves.end())
      sourceStaves.push_back(t.From->SourceStaff.get());

  for (notecraft::Staff* staff : sourceStaves) {
    std::vector<Tie> staying;
    std::set<int> emptied;  // times whose ties are taken away and put back
    auto& events = staff->GlobalEvents();
    for (const auto& e : events) {
      if (e->EventType() != notecraft::evtTie) continue;
      const int end = e->Value1() * 256 + e->Value2();
      const Taken* owner = nullptr;
      for (const Taken& t : taken)
        if (t.From->SourceStaff.get() == staff && e->Text() == std::to_string(t.From->Number) &&
            t.Times.count(e->EventTime()))
          owner = &t;
      if (!owner || owner->StaysPut) {
        staying.push_back({staff, e->EventTime(), end, e->Text()});
        continue;
      }
      const bool goes = !m_range.UseSelection || owner->Times.count(end);
      const long long newEnd = static_cast<long long>(end) + delta;
      if (goes && e->EventTime() + delta >= 0 && newEnd > e->EventTime() + delta && newEnd <= 65535)
        carried.push_back({owner->From->DestStaff.get(), e->EventTime() + delta,
                           static_cast<int>(newEnd), std::to_string(owner->From->DestNumber)});
      if (owner->Emptied.count(e->EventTime())) {
        emptied.insert(e->EventTime());
      } else {
        staying.push_back({staff, e->EventTime(), end, e->Text()});
      }
    }
    if (emptied.empty()) continue;
    for (int time : emptied)
      while (events.Item(time, notecraft::evtTie)) events.Remove(time, notecraft::evtTie);
    for (const Tie& t : staying)
      if (emptied.count(t.Time))
        events.Add(t.Time, notecraft::evtTie, static_cast<std::uint8_t>(t.End / 256),
                   static_cast<std::uint8_t>(t.End % 256), t.Voice);
    m_changed = true;
  }

  for (const Tie& t : carried) {
    auto& target = t.Staff->GlobalEvents();
    bool there = false;
    for (const auto& e : target.At(t.Time))
      there = there || (e->EventType() == notecraft::evtTie && e->Text() == t.Voice &&
                        e->Value1() * 256 + e->Value2() == t.End);
    if (there) continue;
    target.Add(t.Time, notecraft::evtTie, static_cast<std::uint8_t>(t.End / 256),
               static_cast<std::uint8_t>(t.End % 256), t.Voice);
    m_changed = true;
  }
}

void CopyMoveTool::Finish() {
  if (m_changed) notecraft::CollectionsEdited(*m_score);
}

void CopyMoveTool::Abandon(bool repaint) {
  m_staffPos = m_staves.size();
  if (m_changed) notecraft::CollectionsEdited(*m_score, repaint);
}

}  // namespace edittools
