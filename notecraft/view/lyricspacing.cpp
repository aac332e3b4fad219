#include "notecraft/view/lyricspacing.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/note.h"
#include "notecraft/core/notes.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/lyricrow.h"
#include "notecraft/view/marksandtext.h"
#include "notecraft/view/measurerhythm.h"
#include "notecraft/view/musicfontmetrics.h"
#include "notecraft/view/notesandbeams.h"

namespace notecraft {

namespace {

// One verse's syllable at a note: its shown width and whether a hyphen follows it.
struct Verse {
  int Width = 0;
  bool Hyphen = false;
};
struct Syllables {
  int Time = 0;  // from the measure's start
  std::vector<Verse> Verses;
};

// The lyric font (the small text's, as the lyric row draws it), the window's own put back
// when done.
class LyricFont {
public:
  explicit LyricFont(DrawContext& dc) : m_window(*dc.Window()), m_kept(m_window.State()) {
    SelectSmallTextFont(dc);
  }
  ~LyricFont() { m_window.SetState(m_kept); }
  LyricFont(const LyricFont&) = delete;
  LyricFont& operator=(const LyricFont&) = delete;
  int Width(std::string_view text) const { return m_window.TextWidth(text); }

private:
  Surface& m_window;
  SurfaceState m_kept;
};

// Where the staff drawer stands the notes of the measure [start, end) of a staff's voice:
// at their own times, but the notes of a triplet group where their slots begin. Times from
// start.
class DrawnTimes {
public:
  // first: the index of the first note at or after start.
  DrawnTimes(const Staff& staff, const Notes& notes, int first, int start, int end)
      : m_start(start) {
    if (!HoldsTriplets(notes, first, end)) return;
    const Score* score = staff.Parent(Internal{});
    const GlobalEvents* globals = score ? &score->AllGlobals() : nullptr;
    const int split = staff.DefaultClef() == clfGrand ? kGrandSplit : 0;
    m_upper.Read(notes, first, start, end - start, globals, 1, split, false);
    if (split > 0) m_lower.Read(notes, first, start, end - start, globals, 2, split, false);
  }
  int Of(const Note& note) const {
    if (const int upper = m_upper.TimeOf(note); upper >= 0) return upper;
    if (const int lower = m_lower.TimeOf(note); lower >= 0) return lower;
    return note.NoteTime() - m_start;
  }

private:
  int m_start;
  TripletNotes m_upper;
  TripletNotes m_lower;
};

// The syllables the staff shows in [start, end), times from measureStart; with first, only
// the first of them.
std::vector<Syllables> StaffSyllables(const LyricFont& font, Staff& staff, int start, int end,
                                      int measureStart, bool first = false) {
  std::vector<Syllables> out;
  const auto voice = staff.Voice(1);
  if (!voice || staff.Verses() < 1) return out;
  const bool grand = staff.DefaultClef() == clfGrand;
  const Notes& notes = voice->Notes();
  const int from = notes.IndexAtOrAfter(start);
  const DrawnTimes drawn(staff, notes, from, start, end);
  for (int k = from; k <= notes.Count(); ++k) {
    const auto note = notes.ByIndex(k);
    if (!note || note->NoteTime() >= end) break;
    if (grand) {
      const auto& values = note->Values();
      if (std::none_of(values.begin(), values.end(), [](int p) { return p >= kGrandSplit; }))
        continue;
    }
    const auto lyric = staff.GlobalEvents().Find(note->NoteTime(), evtLyric, true);
    if (!lyric) continue;
    Syllables at;
    at.Time = drawn.Of(*note) + start - measureStart;
    for (const std::string_view stored : LyricVerses(lyric->Text())) {
      const ShownSyllable shown = ShowSyllable(stored);
      at.Verses.push_back({shown.Text.empty() ? 0 : font.Width(shown.Text), shown.Hyphen});
    }
    out.push_back(std::move(at));
    if (first) break;
  }
  return out;
}

// The distance two neighbouring syllables of a verse need between their notes.
int Apart(const Verse& a, const Verse& b, int space, int hyphen) {
  if (a.Width == 0 && b.Width == 0 && !a.Hyphen) return 0;
  const int need = (a.Width - a.Width / 2) + b.Width / 2 + space;
  return a.Hyphen ? need + hyphen + space : need;
}

// Shares need out among the positions from time a (exclusive) to time b, in proportion to
// their times.
void Share(std::vector<NotePosition>& positions, int a, int b, int need) {
  if (need <= 0 || b <= a) return;
  auto at = [&](int time) {
    return std::lower_bound(positions.begin(), positions.end(), time,
                            [](const NotePosition& p, int t) { return p.Time < t; });
  };
  const auto from = at(a);
  const auto to = at(b);
  if (from == positions.end() || to == positions.end() || from->Time != a || to->Time != b) return;
  for (auto p = from + 1; p <= to; ++p) {
    const long long part = static_cast<long long>(need) * (p->Time - (p - 1)->Time);
    const int share = static_cast<int>((part + (b - a) - 1) / (b - a));
    p->LyricRoom = std::max(p->LyricRoom, share);
  }
}

// The staves of the given ones that show lyrics.
std::vector<int> LyricStaves(Score& score, const std::vector<int>& staves) {
  std::vector<int> sung;
  for (const int index : staves) {
    const auto staff = score.Staff(index);
    if (staff && staff->Verses() >= 1) sung.push_back(index);
  }
  return sung;
}

// The times of the first voice's notes of the staves in [start, start + duration), from
// the measure's start: where their syllables stand.
std::vector<NotePosition> SyllablePositions(Score& score, const std::vector<int>& staves, int start,
                                            int duration) {
  std::vector<NotePosition> positions;
  for (const int index : staves) {
    const auto staff = score.Staff(index);
    const auto voice = staff ? staff->Voice(1) : nullptr;
    if (!voice) continue;
    const Notes& notes = voice->Notes();
    const int first = notes.IndexAtOrAfter(start);
    const DrawnTimes drawn(*staff, notes, first, start, start + duration);
    for (int k = first; k <= notes.Count(); ++k) {
      const auto note = notes.ByIndex(k);
      if (!note || note->NoteTime() >= start + duration) break;
      NotePosition p;
      p.Time = drawn.Of(*note);
      positions.push_back(p);
    }
  }
  std::sort(positions.begin(), positions.end(),
            [](const NotePosition& a, const NotePosition& b) { return a.Time < b.Time; });
  positions.erase(
      std::unique(positions.begin(), positions.end(),
                  [](const NotePosition& a, const NotePosition& b) { return a.Time == b.Time; }),
      positions.end());
  return positions;
}

}  // namespace

LyricEnd AddLyricRooms(DrawContext& dc, Score& score, const std::vector<int>& staves, int start,
                       int duration, int staffHeight, std::vector<NotePosition>& positions) {
  LyricEnd end;
  const std::vector<int> sung = LyricStaves(score, staves);
  if (!dc.Window() || sung.empty()) return end;
  const LyricFont font(dc);
  const int space = std::max(font.Width(" "), 1);
  const int hyphen = font.Width("-");
  const int finish = start + duration;
  int nextNumber = 0, nextDuration = 0;
  score.AllGlobals().MeasureInfo(finish, nextNumber, nextDuration);
  for (const int index : sung) {
    const auto staff = score.Staff(index);
    const std::vector<Syllables> here = StaffSyllables(font, *staff, start, finish, start);
    if (here.empty()) continue;
    const std::vector<Syllables> next =
        StaffSyllables(font, *staff, finish, finish + std::max(nextDuration, 1), finish, true);
    // The next measure's first note stands its pad from the bar line.
    const int s =
        std::max(1, static_cast<int>(RoundHalfEven(staffHeight / 4.0 * staff->ScalePct() / 100.0)));
    const int pad = 2 * s;
    std::size_t verses = 0;
    for (const Syllables& at : here) verses = std::max(verses, at.Verses.size());
    for (std::size_t k = 0; k < verses; ++k) {
      const Syllables* previous = nullptr;
      for (const Syllables& at : here) {
        if (k >= at.Verses.size()) continue;
        if (previous)
          Share(positions, previous->Time, at.Time,
                Apart(previous->Verses[k], at.Verses[k], space, hyphen));
        previous = &at;
      }
      if (!previous) continue;
      // The last syllable keeps its right half inside the measure, and what reaches the next
      // measure's first syllable beyond its pad.
      const Verse& last = previous->Verses[k];
      int room = last.Width - last.Width / 2;
      if (!next.empty() && k < next.front().Verses.size())
        room = std::max(room, Apart(last, next.front().Verses[k], space, hyphen) - pad);
      if (last.Hyphen) room = std::max(room, last.Width - last.Width / 2 + space + hyphen);
      if (room > 0 && (previous->Time > end.Time || end.Room == 0)) end.Time = previous->Time;
      end.Room = std::max(end.Room, room);
    }
  }
  return end;
}

void GatherSystemPositions(DrawContext& dc, Score& score, const std::vector<int>& staves,
                           const std::vector<std::pair<int, int>>& measures) {
  SymbolState& state = dc.Symbols();
  state.Positions.clear();
  state.LyricEnds.clear();
  const std::vector<int> sung = LyricStaves(score, staves);
  PositionReader reader(score);
  const GlyphRoom room = StaffGlyphRoom(dc, score, dc.StaffHeightTwips());
  for (const auto& [start, duration] : measures) {
    std::vector<NotePosition> positions = reader.Read(staves, start, std::max(duration, 1), &room);
    state.LyricEnds.push_back(AddLyricRooms(dc, score, sung, start, std::max(duration, 1),
                                            dc.StaffHeightTwips(), positions));
    state.Positions.push_back(std::move(positions));
  }
}

MeasureSpacing SpreadKeepingLyricEnd(const std::vector<NotePosition>& positions, int duration,
                                     int available, const GlyphRoom& room, const LyricEnd& end,
                                     int reach) {
  MeasureSpacing spacing = SpreadPositions(positions, duration, available, room);
  for (int round = 0; round < 3 && end.Room > 0; ++round) {
    const int unit = spacing.TwipsPerUnit;
    int spread = 0;
    for (const ChangeShift& s : spacing.Spreads)
      if (s.Time <= end.Time) spread += s.Width;
    const int tail = reach - 2 * unit - unit * end.Time - spread;
    if (tail >= end.Room || available <= 0) break;
    available = std::max(0, available - (end.Room - tail));
    spacing = SpreadPositions(positions, duration, available, room);
  }
  return spacing;
}

bool ShowsLyrics(Score& score) {
  return std::any_of(score.AllStaffs().begin(), score.AllStaffs().end(), [](const auto& staff) {
    return staff && staff->Visible() && staff->Verses() >= 1;
  });
}

int LyricMeasureWidth(DrawContext& dc, Score& score, int start, int duration, int width,
                      int staffHeight) {
  if (!dc.Window()) return width;
  std::vector<int> visible;
  for (const auto& staff : score.AllStaffs())
    if (staff && staff->Visible() && staff->Verses() >= 1) visible.push_back(staff->Index());
  if (visible.empty()) return width;
  duration = std::max(duration, 1);
  // The syllables' own positions: what lies between two of them shares their room in
  // proportion, so it adds nothing to the width.
  std::vector<NotePosition> positions = SyllablePositions(score, visible, start, duration);
  const LyricEnd end = AddLyricRooms(dc, score, visible, start, duration, staffHeight, positions);
  if (positions.empty()) return width;

  // The staff drawer's geometry: the notes begin a pad after the bar line and keep room for
  // the last position's glyph before the next.
  const int s = std::max(staffHeight / 4, 1);
  const int pad = 2 * s;
  const int lastRoom = static_cast<int>(std::lround(
      std::max(musicfont::Advance[static_cast<unsigned char>(glyph::FilledHead)],
               musicfont::Advance[static_cast<unsigned char>(glyph::ThirtySecondRest)]) *
      static_cast<double>(staffHeight) / musicfont::UnitsPerEm));
  const int unit = std::max(0, (width - pad - lastRoom) / (duration + 1));
  long long x = static_cast<long long>(unit) * positions.front().Time;
  long long endX = end.Time == positions.front().Time ? x : 0;
  for (std::size_t k = 1; k < positions.size(); ++k) {
    const long long proportional =
        static_cast<long long>(unit) * (positions[k].Time - positions[k - 1].Time);
    x += std::max<long long>(proportional, positions[k].LyricRoom);
    if (positions[k].Time == end.Time) endX = x;
  }
  long long taken = x + static_cast<long long>(unit) * (duration + 1 - positions.back().Time);
  if (end.Room > 0) taken = std::max(taken, endX + 2LL * unit + end.Room - lastRoom);
  return static_cast<int>(std::max<long long>(width, pad + lastRoom + taken));
}

}  // namespace notecraft
