#include "notecraft/layout/systemmeasures.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/lyricspacing.h"
#include "notecraft/view/measurefloor.h"
#include "notecraft/view/notesandbeams.h"

namespace notecraft {

namespace {

// The longest measure there is, 64ths.
constexpr int kLongestMeasure = 96;

}  // namespace

void MeasureSlots::FindVoices() {
  m_found = true;
  for (const auto& staff : m_score.AllStaffs()) {
    for (int v = 1; v <= staff->Voices(); ++v) {
      auto voice = staff->Voice(v);
      if (!voice) continue;
      const auto instrument = voice->Instrument();
      m_voices.push_back({staff, voice, v == 1, instrument && instrument->Category() == catDrums});
    }
  }
}

int MeasureSlots::Count(int start, int duration) {
  if (!m_found) FindVoices();
  duration = std::clamp(duration, 1, kLongestMeasure);
  // A page tried at several staff heights, and the pages after it, count a measure once.
  std::vector<LayoutMemo::Count>& counted = m_memo ? m_memo->Counts : m_counted;
  for (const LayoutMemo::Count& known : counted)
    if (known.Start == start && known.Duration == duration) return known.Value;
  const int count = CountNow(start, duration);
  counted.push_back({start, duration, count});
  return count;
}

int MeasureSlots::CountNow(int start, int duration) {
  m_taken.assign(static_cast<std::size_t>(duration), 0);
  const Metre metre = Metre::Of(m_score.AllGlobals().CurTimeVal(start), duration);
  for (const VoiceSlot& slot : m_voices) {
    const bool grand = slot.Of->CurClef(start) == clfGrand;
    for (int half = 1; half <= (grand ? 2 : 1); ++half) {
      RhythmOptions options;
      options.FillGaps = slot.First;
      options.Drums = slot.Drums;
      GatherRhythmNotes(slot.Voice->Notes(), start, duration, half, grand ? kGrandSplit : 0, m_notes);
      ReadRhythm(m_notes, metre, options, m_rhythm);
      for (const RhythmItem& item : m_rhythm.Items)
        if (item.Time >= 0 && item.Time < duration) m_taken[static_cast<std::size_t>(item.Time)] = 1;
    }
  }
  // Half staff heights: two for a place the next one follows an eighth or more later, one
  // for a closer one.
  int halves = 0;
  int next = duration;
  for (int t = duration - 1; t >= 0; --t) {
    if (!m_taken[static_cast<std::size_t>(t)]) continue;
    halves += next - t >= durEighth ? 2 : 1;
    next = t;
  }
  const int count = std::max(halves, 10) / 2;
  return count - count % 2;
}

void SystemMeasures::Fill(SystemLayout& system, int staffHeight, int endTime, int most) {
  GlobalEvents& globals = m_score.AllGlobals();
  const int s = std::max(staffHeight / 4, 1);
  const int width = system.Right - system.Left;
  int remaining = width;
  int t = system.Start;
  system.Measures.clear();
  const bool lyrics = ShowsLyrics(m_score);

  // Gives the measures taken what is left of the width: the last one reaches the right edge.
  auto closeAtRightEdge = [&] {
    int used = 0;
    for (std::size_t i = 0; i + 1 < system.Measures.size(); ++i) used += system.Measures[i].Width;
    system.Measures.back().Width = width - used;
  };
  // Shares the room left equally among the measures taken; the last takes what remains.
  auto shareOut = [&] {
    const int share = SnapX(remaining / static_cast<int>(system.Measures.size()));
    for (MeasureSlot& taken : system.Measures) taken.Width += share;
    closeAtRightEdge();
  };

  // The painter gives every measure at least the width its glyphs need to stand clear (its
  // floor), taking it from the measures wider than theirs: a line takes a measure only where
  // the measures taken still fit in it with their glyphs clear.
  const bool floors = m_score.View(Internal{}).Window() != nullptr;
  long long floorsTaken = 0;

  most = std::clamp(most, 1, kMaxMeasures);
  for (int m = 0; m < kMaxMeasures; ++m) {
    // A system held to fewer measures ends as one whose next measure does not fit.
    if (m == most && m < kMaxMeasures && t < endTime) {
      shareOut();
      system.End = t;
      return;
    }
    if (m > 0 && t >= endTime) {
      // The score ends with the measures taken: a short line keeps their widths.
      if (2 * (width - remaining) < width)
        system.Right = system.Left + width - remaining;
      else
        shareOut();
      system.End = t;
      return;
    }
    MeasureSlot slot;
    slot.Start = t;
    globals.MeasureInfo(t, slot.Number, slot.Duration);
    slot.Duration = std::max(slot.Duration, 1);
    int w = m_slots.Count(t, slot.Duration) * 4 * s;
    if (m > 0 && globals.Find(t, evtLineEnd, true)) w = remaining + 1;  // forces a new system
    if (w <= remaining) {
      if (const auto size = globals.Find(t, evtMeasureSize, true)) {
        if (size->Value1() > 0)
          w += 2 * s * size->Value1();
        else
          w = std::max(w - 2 * s * size->Value2(), 3 * s);
      }
    }
    // Syllables never touch: a measure is as wide as its lyrics need.
    if (lyrics && w <= remaining)
      w = LyricWidth(t, slot.Duration, w, staffHeight);
    if (m == 0) {
      // Room for the clef and the widest key signature, and at the start for the time.
      w += staffHeight + s * m_score.AllStaffs().KeyCount(t, slot.Duration) * 2;
      if (t == 0) w += staffHeight / 2;
    }
    slot.Flags = m_score.MeasureFlags(t);
    if (floors && w <= remaining) {
      const int floor = GlyphFloor(t, slot.Duration, slot.Flags, m == 0, staffHeight, endTime);
      if (m > 0 && floorsTaken + floor > width) w = remaining + 1;
      floorsTaken += floor;
    }

    if (w <= remaining) {
      remaining -= w;
      slot.Width = w;
      system.Measures.push_back(slot);
      t += slot.Duration;
      continue;
    }
    if (m == 0) {  // one measure wider than the line takes the whole line
      slot.Width = width;
      system.Measures.push_back(slot);
      t += slot.Duration;
      system.End = t;
      return;
    }
    // This measure starts the next system; the room left is shared out.
    shareOut();
    system.End = t;
    return;
  }
  // Sixteen measures: the room left is not shared, the last measure takes it.
  closeAtRightEdge();
  system.End = t;
}

int SystemMeasures::GlyphFloor(int start, int duration, int flags, bool first, int staffHeight,
                               int endTime) {
  for (const LayoutMemo::Floor& known : m_memo.Floors)
    if (known.Start == start && known.Height == staffHeight && known.First == first)
      return known.Glyphs;
  if (!m_floors || m_floorsHeight != staffHeight || start < m_floorsFrom ||
      start + duration > m_floorsTo) {
    if (m_visible.empty())
      for (const auto& staff : m_score.AllStaffs())
        if (staff && staff->Visible()) m_visible.push_back(staff->Index());
    // The clef and key changes of a few lines ahead are looked up at once.
    constexpr int kReach = 4 * kMaxMeasures * kLongestMeasure;
    m_floorsFrom = start;
    m_floorsTo = std::max(std::min(endTime, start + kReach), start + duration);
    m_floors.emplace(m_score.View(Internal{}), m_score, staffHeight, m_floorsFrom, m_floorsTo);
    m_floorsHeight = staffHeight;
  }
  if (!m_reader) m_reader.emplace(m_score);
  const auto& positions = m_reader->Read(m_visible, start, duration, &m_floors->Room());
  const int glyphs = m_floors->Least(positions, {}, start, duration, flags, first).Glyphs;
  m_memo.Floors.push_back({start, staffHeight, first, glyphs});
  return glyphs;
}

int SystemMeasures::LyricWidth(int start, int duration, int width, int staffHeight) {
  for (const LayoutMemo::LyricWidth& known : m_memo.LyricWidths)
    if (known.Start == start && known.Duration == duration && known.Width == width &&
        known.Height == staffHeight)
      return known.Value;
  const int value =
      LyricMeasureWidth(m_score.View(Internal{}), m_score, start, duration, width, staffHeight);
  m_memo.LyricWidths.push_back({start, duration, width, staffHeight, value});
  return value;
}

}  // namespace notecraft
