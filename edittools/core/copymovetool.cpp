#include "edittools/core/copymovetool.h"

#include <algorithm>
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

}  // namespace

CopyMoveTool::CopyMoveTool(std::shared_ptr<notecraft::Score> score, const ToolRange& range,
                           const ToolDest& dest, bool move, int fromVoice)
    : m_score(std::move(score)), m_range(range), m_dest(dest), m_move(move),
      m_fromVoice(fromVoice) {}

void CopyMoveTool::Setup() {
  m_changed = false;
  m_staves.clear();
  m_staffPos = 0;
  if (!m_score || m_range.UseSelection) return;
  m_span = MeasureSpan(*m_score, m_range.FromMeasure, m_range.ToMeasure);
  if (m_span.Empty()) return;
  m_staves = RangeStaves(*m_score, m_range.Staff);
}

bool CopyMoveTool::Step() {
  if (m_staffPos >= m_staves.size()) return false;
  if (auto staff = m_score->Staff(m_staves[m_staffPos])) CopyStaff(*staff, m_staves[m_staffPos]);
  ++m_staffPos;
  return m_staffPos < m_staves.size();
}

void CopyMoveTool::CopyStaff(notecraft::Staff& source, int sourceNumber) {
  const std::vector<int> voiceNumbers = VoicesOfChoice(m_fromVoice, source.Voices());
  std::vector<std::shared_ptr<notecraft::Voice>> sources;
  for (int v : voiceNumbers)
    if (auto voice = source.Voice(v)) sources.push_back(voice);
  if (sources.empty()) return;

  auto destStaff = m_score->Staff(m_dest.Staff > 0 ? m_dest.Staff : sourceNumber);
  if (!destStaff) return;
  const int destVoiceNumber = m_dest.Voice > 0 ? m_dest.Voice : voiceNumbers.front();
  auto destVoice = destStaff->Voice(destVoiceNumber);
  if (!destVoice) return;
  const long long shift =
      m_dest.Measure > 0
          ? static_cast<long long>(m_score->AllGlobals().MeasureTime(m_dest.Measure)) - m_span.Start
          : 0;
  // Notes that cannot land (before time 0, past the last time a file holds) are not taken
  // away either: such a destination does nothing.
  if (m_span.Start + shift < 0 || m_span.End - 1 + shift > kLastTime) return;
  const int delta = static_cast<int>(shift);

  // Take every source note first, gathered by the time it lands at.
  Entries landing;
  for (const auto& voice : sources) {
    const bool staysPut = delta == 0 && voice == destVoice;
    auto& notes = voice->Notes();
    Entries taken;
    bool took = false;
    for (int i = notes.IndexAtOrAfter(m_span.Start); i <= notes.Count(); ++i) {
      auto note = notes.ByIndex(i);
      if (note->NoteTime() >= m_span.End) break;
      took = true;
      if (staysPut) continue;  // its destination is its own place
      taken.push_back({note->NoteTime() + delta, note->Duration(), note->Flags(),
                       {note->Values().begin(), note->Values().end()}});
    }
    if (m_move && took && !staysPut) {
      notes.RemoveSpan(m_span.Start, m_span.End);
      m_changed = true;
    }
    landing = MergeLanding(std::move(landing), std::move(taken));
  }
  CarryTies(source, *destStaff, voiceNumbers, destVoiceNumber, delta);
  if (landing.empty()) return;

  // Meet the destination's own notes by the same rule.
  auto& destNotes = destVoice->Notes();
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
  if (entries.empty()) return;
  destNotes.AddSorted(entries);
  for (int time : restsReplaced)
    if (auto note = destNotes.Lookup(time); note && note->ValueCount() > 1) note->RemoveValue(0);
  m_changed = true;
}

// A tie is a staff event at its first note's time, naming its last note's time (two bytes)
// and its voice number (the text). Ties that start in the range go with their notes.
void CopyMoveTool::CarryTies(notecraft::Staff& source, notecraft::Staff& dest,
                             const std::vector<int>& voiceNumbers, int destVoiceNumber, int delta) {
  struct Tie {
    int Time, End;
    std::string Voice;
  };
  std::vector<Tie> carried, staying;
  std::vector<int> emptied;  // times whose ties are taken away and put back
  auto& events = source.GlobalEvents();
  for (const auto& e : events) {
    if (e->EventType() != notecraft::evtTie) continue;
    if (e->EventTime() < m_span.Start || e->EventTime() >= m_span.End) continue;
    const int end = e->Value1() * 256 + e->Value2();
    const bool ours = std::any_of(voiceNumbers.begin(), voiceNumbers.end(),
                                  [&](int v) { return e->Text() == std::to_string(v); });
    const bool staysPut = delta == 0 && &source == &dest && e->Text() == std::to_string(destVoiceNumber);
    if (!ours || staysPut) {
      staying.push_back({e->EventTime(), end, e->Text()});
      continue;
    }
    const long long newEnd = static_cast<long long>(end) + delta;
    if (e->EventTime() + delta >= 0 && newEnd > e->EventTime() + delta && newEnd <= 65535)
      carried.push_back({e->EventTime() + delta, static_cast<int>(newEnd), std::to_string(destVoiceNumber)});
    if (m_move) emptied.push_back(e->EventTime());
  }
  if (m_move && !emptied.empty()) {
    for (int time : emptied)
      while (events.Item(time, notecraft::evtTie)) events.Remove(time, notecraft::evtTie);
    for (const Tie& t : staying)
      if (std::find(emptied.begin(), emptied.end(), t.Time) != emptied.end())
        events.Add(t.Time, notecraft::evtTie, static_cast<std::uint8_t>(t.End / 256),
                   static_cast<std::uint8_t>(t.End % 256), t.Voice);
    m_changed = true;
  }
  auto& target = dest.GlobalEvents();
  for (const Tie& t : carried) {
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
