#include "notecraft/view/notespacing.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/pitchspelling.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/accidentalcolumns.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/drumnotation.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/ink.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/notesandbeams.h"

namespace notecraft {

namespace {

// What the proportional space and the spreads take at a scale of unit twips per 64th.
long long Taken(const std::vector<NotePosition>& positions, const std::vector<int>& rooms,
                int duration, int unit) {
  long long taken = static_cast<long long>(unit) * (duration + 1);
  for (std::size_t k = 1; k < positions.size(); ++k) {
    const long long proportional =
        static_cast<long long>(unit) * (positions[k].Time - positions[k - 1].Time);
    taken += std::max(0LL, rooms[k] - proportional);
  }
  return taken;
}

// Marks what the heads of a drawn chord need at its position: a dot, a second, columns of
// accidentals. Pitches are spelled in the order the drawer writes them, highest first.
class ChordMarks {
public:
  // clef: the staff's clef, by which a sign meets a ledger line.
  void Mark(const RhythmItem& item, int grandHalf, int split, bool drums, int key, int clef,
            AccidentalMemory& memory, NotePosition& p) {
    if (item.Dotted) p.Dotted = true;
    if (item.Rest) p.Rest = true;
    if (item.Rest || !item.Of) return;
    m_heads.clear();
    m_signs.clear();
    const auto pitches = item.Of->Values();
    for (auto it = pitches.rbegin(); it != pitches.rend(); ++it) {
      const int pitch = *it;
      if (pitch == 0 || (grandHalf == 2 ? pitch >= split : pitch < split)) continue;
      const SpelledPitch spelled =
          SpellPitch(drums ? DrumStaffPitch(pitch) : pitch, drums ? clfPercussion : clef, key,
                     memory);
      m_heads.push_back(spelled.Y);
      if (!drums && spelled.Mark != Accidental::None) m_signs.push_back({spelled.Y, spelled.Mark});
    }
    // Two heads less than a line apart (a second, or two drums on one place) stand side by
    // side, whatever order the drawer takes them in.
    std::sort(m_heads.begin(), m_heads.end());
    for (std::size_t s = 1; s < m_heads.size(); ++s)
      if (m_heads[s] - m_heads[s - 1] < 0.75) p.Second = true;
    if (m_signs.empty()) return;
    p.Accidental = true;
    p.AccidentalColumns = std::max(p.AccidentalColumns, AccidentalColumns(m_signs, m_columns));
    if (AccidentalsMeetLedgers(m_signs, m_heads.front(), m_heads.back())) p.LedgerSign = true;
  }

private:
  std::vector<double> m_heads;
  std::vector<AccidentalSign> m_signs;
  std::vector<int> m_columns;
};

// Whether item k of a voice's measure is a note drawn with a flag: shorter than a quarter,
// with no such note before or after it in the same beat to share a beam (a rest or a longer
// note closes a beam group, as does the beat).
bool Unbeamed(const std::vector<RhythmItem>& items, std::size_t k, int pulse) {
  auto beamed = [&](std::size_t j) {
    return !items[j].Rest && !items[j].MeasureRest && items[j].Value < durQuarter;
  };
  if (!beamed(k)) return false;
  const int beat = items[k].Time / pulse;
  if (k > 0 && beamed(k - 1) && items[k - 1].Time / pulse == beat) return false;
  if (k + 1 < items.size() && beamed(k + 1) && items[k + 1].Time / pulse == beat) return false;
  return true;
}

// Rooms (needed in all) that need more than the measure has, shrunk to share what there
// is: the gaps between glyphs where that is enough, else the glyphs' rooms alike, the
// syllables' room kept as long as the syllables alone fit, and only then everything alike.
void Squeeze(const std::vector<NotePosition>& positions, const GlyphRoom& room, long long available,
             long long needed, std::vector<int>& rooms) {
  auto kept = [&](std::size_t k) { return std::min(positions[k].LyricRoom, rooms[k]); };
  auto gap = [&](std::size_t k) { return std::min(room.Gap, rooms[k] - kept(k)); };
  long long lyrics = 0, gaps = 0;
  for (std::size_t k = 1; k < rooms.size(); ++k) {
    lyrics += kept(k);
    gaps += gap(k);
  }
  const long long over = needed - available;
  for (std::size_t k = 1; k < rooms.size(); ++k) {
    if (over <= gaps)  // rounded up, so that the rooms fit
      rooms[k] -= static_cast<int>((gap(k) * over + gaps - 1) / gaps);
    else if (lyrics <= available && lyrics < needed)
      rooms[k] = kept(k) + static_cast<int>((rooms[k] - kept(k)) * (available - lyrics) /
                                            (needed - lyrics));
    else
      rooms[k] = static_cast<int>(rooms[k] * available / needed);
  }
}

}  // namespace

int StaffRoom(const NotePosition& before, const NotePosition& at, const GlyphRoom& room) {
  int need = std::max(before.Dotted ? room.DottedHead : room.Head, before.Flag ? room.Flagged : 0) +
             room.Gap;
  if (before.Second) need += room.Head;
  need += room.Accidental * std::max(at.AccidentalColumns, at.Accidental ? 1 : 0);
  if (at.Second) need += room.Head;
  if (at.Rest) need += room.RestLead;
  if (at.LedgerSign) need += kLedgerOverhang;
  return need;
}

int RoomBefore(const std::vector<NotePosition>& positions, std::size_t k, const GlyphRoom& room) {
  if (k == 0 || k >= positions.size()) return 0;
  const NotePosition& at = positions[k];
  const int need = at.Room > 0 ? at.Room : StaffRoom(positions[k - 1], at, room);
  return std::max(need, at.LyricRoom);
}

int RoomAfter(const NotePosition& last, const GlyphRoom& room) {
  int need = std::max(
      {last.Dotted ? room.DottedHead : room.Head, room.Ledger, last.Flag ? room.Flagged : 0});
  if (last.Second) need += room.Head;
  return need + room.Gap;
}

int LeadRoom(const NotePosition& first, const GlyphRoom& room) {
  const int columns = std::max(first.AccidentalColumns, first.Accidental ? 1 : 0);
  if (columns == 0) return 0;
  return (columns - 1) * room.Accidental + (first.Second ? room.Head : 0) +
         (first.LedgerSign ? kLedgerOverhang : 0);
}

int SpacedWidth(const std::vector<NotePosition>& positions, const GlyphRoom& room) {
  if (positions.empty()) return room.Head + room.Gap;
  int width = LeadRoom(positions.front(), room) + RoomAfter(positions.back(), room);
  for (std::size_t k = 1; k < positions.size(); ++k) width += RoomBefore(positions, k, room);
  return width;
}

GlyphRoom MeasureGlyphRoom(const Surface& window, int s) {
  auto widest = [&window](std::initializer_list<std::string_view> texts) {
    int w = 0;
    for (const std::string_view text : texts) w = std::max(w, window.TextWidth(text));
    return w;
  };
  const std::string filled(1, glyph::FilledHead), drum(1, glyph::PercussionHead);
  const std::string half(1, glyph::HalfHead), rest(1, glyph::ThirtySecondRest);
  const std::string dots(glyph::DotSuffix);
  GlyphRoom room;
  // A measure's last position may hold the shortest rest, the widest of them.
  room.Head = widest({filled, drum, half, rest});
  room.DottedHead = std::max(widest({filled + dots, drum + dots}), room.Head);
  room.Accidental = widest({std::string(1, glyph::Sharp), std::string(1, glyph::Flat),
                            std::string(1, glyph::Natural)}) +
                    s / 4;
  room.Gap = s / 3;
  room.Flagged = std::max(widest({std::string(1, glyph::FlagEighthUp),
                                  std::string(1, glyph::FlagSixteenthUp),
                                  std::string(1, glyph::FlagThirtySecondUp)}),
                          room.Head);
  room.Ledger = s + kLedgerOverhang;
  room.RestLead = std::max(0, -GlyphInk(rest, 0, 0, EmTwips(window.Font())).Left);
  room.Apart = room.Head / 2 + room.Gap;
  return room;
}

GlyphRoom StaffGlyphRoom(DrawContext& dc, const Score& score, int staffHeight) {
  Surface* window = dc.Window();
  if (!window) return {};
  const SurfaceState kept = window->State();
  FontSpec music = window->Font();
  if (const auto font = score.Fonts(DrawContext::kMusicFont)) music = *font;
  music.Size = static_cast<float>(staffHeight / 20.0);
  window->SetFont(music);
  const GlyphRoom room = MeasureGlyphRoom(*window, std::max(staffHeight / 4, 1));
  window->SetState(kept);
  return room;
}

MeasureSpacing SpreadPositions(const std::vector<NotePosition>& positions, int duration,
                               int available, const GlyphRoom& room) {
  MeasureSpacing spacing;
  duration = std::max(duration, 1);
  available = std::max(available, 0);
  std::vector<int> rooms(positions.size(), 0);
  long long needed = 0;
  for (std::size_t k = 1; k < positions.size(); ++k) {
    rooms[k] = RoomBefore(positions, k, room);
    needed += rooms[k];
  }

  // What is taken grows with the scale (by at least one twip per unit, as the spreads
  // together span less than the measure), so the largest scale that fits is found by
  // halving.
  int low = 0;
  int high = available / (duration + 1);
  if (Taken(positions, rooms, duration, high) <= available) {
    low = high;
  } else {
    while (low < high) {
      const int mid = low + (high - low + 1) / 2;
      if (Taken(positions, rooms, duration, mid) <= available)
        low = mid;
      else
        high = mid - 1;
    }
  }
  spacing.TwipsPerUnit = low;

  if (needed > available) Squeeze(positions, room, available, needed, rooms);
  for (std::size_t k = 1; k < positions.size(); ++k) {
    const int proportional = low * (positions[k].Time - positions[k - 1].Time);
    if (rooms[k] > proportional)
      spacing.Spreads.push_back({positions[k].Time, rooms[k] - proportional});
  }
  return spacing;
}

std::vector<NotePosition> CollectPositions(Score& score, const std::vector<int>& staves, int start,
                                           int duration, const GlyphRoom* room) {
  PositionReader reader(score);
  return reader.Read(staves, start, duration, room);
}

PositionReader::StaffVoices* PositionReader::VoicesOf(int staff) {
  if (staff < 1) return nullptr;
  const auto index = static_cast<std::size_t>(staff - 1);
  if (index >= m_looked.size()) {
    m_looked.resize(index + 1, false);
    m_staves.resize(index + 1);
  }
  StaffVoices& found = m_staves[index];
  if (!m_looked[index]) {
    m_looked[index] = true;
    found.Of = m_score.Staff(staff);
    if (found.Of) {
      for (int v = 1; v <= found.Of->Voices(); ++v) {
        auto voice = found.Of->Voice(v);
        const auto instrument = voice ? voice->Instrument() : nullptr;
        found.Voices.push_back(std::move(voice));
        found.Drums.push_back(instrument && instrument->Category() == catDrums);
      }
      found.First.assign(found.Voices.size(), 1);
    }
  }
  return found.Of ? &found : nullptr;
}

int PositionReader::FirstNote(StaffVoices& staff, std::size_t v, int start) {
  const Notes& notes = staff.Voices[v]->Notes();
  int& first = staff.First[v];
  if (staff.Start < 0 || start < staff.Start || first < 1 || first > notes.Count() + 1) {
    first = notes.IndexAtOrAfter(start);
  } else {
    auto it = notes.begin() + (first - 1);
    while (it != notes.end() && (*it)->NoteTime() < start) ++it, ++first;
  }
  return first;
}

const std::vector<NotePosition>& PositionReader::Read(const std::vector<int>& staves, int start,
                                                      int duration, const GlyphRoom* room) {
  duration = std::max(duration, 1);
  const auto slots = static_cast<std::size_t>(duration);
  m_at.assign(slots, NotePosition{});
  m_taken.assign(slots, 0);
  m_staffAt.assign(slots, NotePosition{});
  m_stamp.assign(slots, 0);
  int serial = 0;  // of the staff (half) being read
  m_links.clear();
  m_items.clear();
  const Metre metre = Metre::Of(m_score.AllGlobals().CurTimeVal(start), duration);
  const int pulse = std::max(m_score.AllGlobals().PulseValue(), 1);
  ChordMarks marks;
  for (const int index : staves) {
    StaffVoices* found = VoicesOf(index);
    if (!found) continue;
    Staff& staff = *found->Of;
    const int key = staff.CurKey(start);
    const int staffClef = staff.CurClef(start);
    const bool grand = staffClef == clfGrand;
    for (int half = 1; half <= (grand ? 2 : 1); ++half) {
      const int clef = grand ? (half == 1 ? clfTreble : clfBass) : staffClef;
      const int split = grand ? kGrandSplit : 0;
      AccidentalMemory& memory = m_memory;  // the staff's signs across its voices, as drawn
      memory.Clear();
      m_staffTimes.clear();
      ++serial;
      for (std::size_t v = 0; v < found->Voices.size(); ++v) {
        const auto& voice = found->Voices[v];
        if (!voice) continue;
        RhythmOptions options;
        options.FillGaps = v == 0;
        options.Drums = found->Drums[v];
        const int first = half == 1 ? FirstNote(*found, v, start) : found->First[v];
        GatherRhythmNotesFrom(voice->Notes(), first, start, duration, half, split, m_notes);
        ReadRhythm(m_notes, metre, options, m_rhythm);
        for (std::size_t k = 0; k < m_rhythm.Items.size(); ++k) {
          const RhythmItem& item = m_rhythm.Items[k];
          if (item.Time < 0 || item.Time >= duration) continue;
          const auto at = static_cast<std::size_t>(item.Time);
          NotePosition& p = m_staffAt[at];
          if (m_stamp[at] != serial) {  // the staff's first item here
            m_stamp[at] = serial;
            p = NotePosition{};
            p.Time = item.Time;
            m_staffTimes.push_back(item.Time);
          }
          marks.Mark(item, half, split, options.Drums, key, clef, memory, p);
          if (Unbeamed(m_rhythm.Items, k, pulse)) p.Flag = true;
        }
      }
      // The staff's items in time order, each adding its marks to the position there.
      std::sort(m_staffTimes.begin(), m_staffTimes.end());
      for (const int t : m_staffTimes) {
        const auto at = static_cast<std::size_t>(t);
        const NotePosition& own = m_staffAt[at];
        NotePosition& p = m_at[at];
        p.Time = t;
        p.Dotted = p.Dotted || own.Dotted;
        p.Accidental = p.Accidental || own.Accidental;
        p.Second = p.Second || own.Second;
        p.AccidentalColumns = std::max(p.AccidentalColumns, own.AccidentalColumns);
        p.Flag = p.Flag || own.Flag;
        p.Rest = p.Rest || own.Rest;
        p.LedgerSign = p.LedgerSign || own.LedgerSign;
        m_taken[at] = 1;
      }
      if (room) LinkStaff();
    }
    found->Start = start;
  }
  m_positions.clear();
  for (std::size_t t = 0; t < m_at.size(); ++t)
    if (m_taken[t]) m_positions.push_back(m_at[t]);
  if (room) SetRooms(*room);
  return m_positions;
}

// The staff just read: its successive items, and its first and last.
void PositionReader::LinkStaff() {
  if (m_staffTimes.empty()) return;
  const int first = static_cast<int>(m_items.size());
  for (const int t : m_staffTimes) m_items.push_back(m_staffAt[static_cast<std::size_t>(t)]);
  const int last = static_cast<int>(m_items.size()) - 1;
  m_links.push_back({-1, m_staffTimes.front(), -1, first});
  for (int k = first + 1; k <= last; ++k)
    m_links.push_back({m_items[static_cast<std::size_t>(k - 1)].Time,
                       m_items[static_cast<std::size_t>(k)].Time, k - 1, k});
  m_links.push_back({m_staffTimes.back(), -1, last, -1});
}

// Each position's Room: the positions spaced as tightly as the staves' glyphs allow,
// positions of different staves at least room.Apart apart. A staff's first signs keep inside
// the measure's start and its last glyphs before the bar line as far as the first and last
// positions keep theirs.
void PositionReader::SetRooms(const GlyphRoom& room) {
  std::vector<NotePosition>& positions = m_positions;
  if (positions.empty()) return;
  const int first = positions.front().Time;
  const int last = positions.back().Time;
  const int lead = LeadRoom(positions.front(), room);
  const int tail = RoomAfter(positions.back(), room);
  const auto slots = static_cast<std::size_t>(last) + 1;
  m_x.assign(slots, 0);
  m_into.assign(slots, -1);
  m_next.resize(m_links.size());
  // The links into each position, chained from its 64th.
  for (std::size_t k = 0; k < m_links.size(); ++k) {
    const int to = m_links[k].To < 0 ? last : m_links[k].To;
    int& head = m_into[static_cast<std::size_t>(to)];
    m_next[k] = head;
    head = static_cast<int>(k);
  }
  auto item = [&](int k) -> const NotePosition& { return m_items[static_cast<std::size_t>(k)]; };
  int x = 0;
  for (std::size_t k = 0; k < positions.size(); ++k) {
    NotePosition& p = positions[k];
    const auto at = static_cast<std::size_t>(p.Time);
    if (k > 0) {
      int need = room.Apart;
      for (int j = m_into[at]; j >= 0; j = m_next[static_cast<std::size_t>(j)]) {
        const Link& link = m_links[static_cast<std::size_t>(j)];
        int from = link.From;
        int distance = 0;
        if (from < 0) {  // from the measure's start
          from = first;
          distance = LeadRoom(item(link.At), room) - lead;
        } else if (link.To < 0) {  // up to the bar line
          distance = RoomAfter(item(link.Before), room) - tail;
        } else {
          distance = StaffRoom(item(link.Before), item(link.At), room);
        }
        if (from < p.Time)
          need = std::max(need, distance - (x - m_x[static_cast<std::size_t>(from)]));
      }
      p.Room = std::max(need, 1);
      x += p.Room;
    }
    m_x[at] = x;
  }
}

}  // namespace notecraft
