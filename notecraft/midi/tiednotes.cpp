#include "notecraft/midi/tiednotes.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <utility>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"

namespace notecraft {

namespace {

bool Holds(const Note& note, int pitch) {
  const auto values = note.Values();
  return std::find(values.begin(), values.end(), pitch) != values.end();
}

int SaturatingAdd(int a, int b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

}  // namespace

TiedNotes::TiedNotes(const Score& score, std::vector<int> barriers)
    : m_barriers(std::move(barriers)) {
  std::sort(m_barriers.begin(), m_barriers.end());
  for (const auto& staff : score.AllStaffs()) {
    std::map<const Voice*, std::vector<std::pair<int, int>>> ties;  // (start, end) per voice
    for (const auto& e : staff->GlobalEvents()) {
      if (e->EventType() != evtTie) continue;
      const double number = Val(e->Text());
      if (!(number >= 1 && number <= staff->Voices())) continue;
      const auto voice = staff->Voice(static_cast<int>(number));
      const int end = e->Value1() * 256 + e->Value2();
      if (voice && end > e->EventTime()) ties[voice.get()].emplace_back(e->EventTime(), end);
    }
    for (auto& [voice, list] : ties) {
      std::sort(list.begin(), list.end());
      Spans& spans = m_spans[voice];
      for (const auto& [start, end] : list) {
        spans.Reach.push_back(spans.Reach.empty() ? end : std::max(spans.Reach.back(), end));
        spans.Starts.push_back(start);
      }
    }
  }
}

bool TiedNotes::Joins(const Voice& voice, int first, int second) const {
  const auto found = m_spans.find(&voice);
  if (found == m_spans.end() || second <= first) return false;
  const Spans& spans = found->second;
  const auto after = std::upper_bound(spans.Starts.begin(), spans.Starts.end(), first);
  if (after == spans.Starts.begin()) return false;
  if (spans.Reach[static_cast<std::size_t>(after - spans.Starts.begin() - 1)] < second)
    return false;
  const auto barrier = std::upper_bound(m_barriers.begin(), m_barriers.end(), first);
  return barrier == m_barriers.end() || *barrier > second;
}

void TiedNotes::Strikes(const Voice& voice, const Note& note, int index, int from,
                        const LengthOf& length, std::vector<Strike>& strikes) const {
  strikes.clear();
  const auto found = m_spans.find(&voice);
  if (found == m_spans.end()) {  // no ties: every pitch sounds with its note
    const int off = SaturatingAdd(note.NoteTime(), length(note));
    for (const std::uint8_t pitch : note.Values()) strikes.push_back({pitch, off});
    return;
  }
  const Notes& notes = voice.Notes();
  const auto before = notes.ByIndex(index - 1);
  const bool heldOver = before && before->NoteTime() >= from &&
                        Joins(voice, before->NoteTime(), note.NoteTime());
  for (const std::uint8_t pitch : note.Values()) {
    if (heldOver && Holds(*before, pitch)) continue;
    // The chain of notes the pitch sounds through: on while the next note is joined and
    // holds it.
    int last = index;
    const Note* end = &note;
    Notes::NotePtr next;
    while ((next = notes.ByIndex(last + 1)) && Holds(*next, pitch) &&
           Joins(voice, end->NoteTime(), next->NoteTime())) {
      ++last;
      end = next.get();
    }
    strikes.push_back({pitch, SaturatingAdd(end->NoteTime(), length(*end))});
  }
}

}  // namespace notecraft
