#include "notecraft/view/measurefloor.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/instrument.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/staffs.h"
#include "notecraft/core/voice.h"
#include "notecraft/view/clefsandbars.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"

namespace notecraft {

namespace {

bool DrumStaff(const Staff& staff) {
  const auto first = staff.Voice(1);
  const auto instrument = first ? first->Instrument() : nullptr;
  return instrument && instrument->Category() == catDrums;
}

}  // namespace

MeasureFloor::MeasureFloor(DrawContext& dc, Score& score, int staffHeight, int from, int to)
    : m_score(score), m_height(staffHeight), m_s(std::max(staffHeight / 4, 1)) {
  for (const auto& staff : score.AllStaffs()) {
    if (!staff || !staff->Visible()) continue;
    Changes changes;
    changes.Of = staff.get();
    changes.Drums = DrumStaff(*staff);
    const GlobalEvents& events = staff->GlobalEvents();
    for (auto e = events.Find(to, evtClefChange); e && e->EventTime() >= from;
         e = events.Find(e->EventTime() - 1, evtClefChange))
      changes.Clefs.insert(changes.Clefs.begin(), e->EventTime());
    for (auto e = events.Find(to, evtKeyChange); e && e->EventTime() >= from;
         e = events.Find(e->EventTime() - 1, evtKeyChange))
      changes.Keys.insert(changes.Keys.begin(), e->EventTime());
    m_changes.push_back(std::move(changes));
  }
  Surface* window = dc.Window();
  if (!window) return;
  m_room = StaffGlyphRoom(dc, score, staffHeight);
  const SurfaceState kept = window->State();
  FontSpec music = window->Font();
  if (const auto font = score.Fonts(DrawContext::kMusicFont)) music = *font;
  music.Size = static_cast<float>(staffHeight / 20.0);
  window->SetFont(music);
  for (const int clef : {clfTreble, clfBass, clfAlto, clfPercussion})
    m_clef = std::max(m_clef, window->TextWidth(ClefGlyph(clef)));
  m_repeatBegin = window->TextWidth(glyph::RepeatBeginBar);
  m_repeatEnd = window->TextWidth(glyph::RepeatEndBar);
  m_sectionEnd = window->TextWidth(std::string(1, glyph::DoubleBar));
  m_scoreEnd = window->TextWidth(std::string(1, glyph::ThinThickBar));
  window->SetState(kept);
}

MeasureFloor::Floor MeasureFloor::Least(const std::vector<NotePosition>& positions,
                                        const LyricEnd& end, int start, int duration, int flags,
                                        bool first) const {
  duration = std::max(duration, 1);
  const int s = m_s;
  // The content offset: after the system's opening signs, or two spaces after the bar line;
  // a repeat sign puts its own room in place of that.
  int offset = first ? StartSigns(start, true) + s + s / 2 : 2 * s;
  if (flags & 1) offset += first ? m_repeatBegin + s : m_repeatBegin - s / 2;
  const int frame = offset + (first ? 0 : StartSigns(start, false)) +
                    InnerClefs(start, start + duration) + EndBars(start, start + duration, flags);
  Floor floor;
  floor.Notes = frame + SpacedWidth(positions, m_room);
  // The spacing gives way first in the gaps kept between the positions' glyphs.
  const int gaps = positions.empty() ? 0 : static_cast<int>(positions.size() - 1) * m_room.Gap;
  floor.Glyphs = std::max(floor.Notes - gaps, frame);
  // The syllables alone: their rooms between the first and last positions' glyphs, and the
  // last one's up to the bar line.
  int lyrics = 0;
  for (std::size_t k = 1; k < positions.size(); ++k) lyrics += positions[k].LyricRoom;
  if ((lyrics > 0 || end.Room > 0) && !positions.empty()) {
    const int last = RoomAfter(positions.back(), m_room);
    floor.Lyrics = frame + LeadRoom(positions.front(), m_room) + lyrics + std::max(last, end.Room);
  }
  // The last syllable keeps its room up to the bar line beyond the positions after it.
  if (end.Room > 0 && !positions.empty()) {
    int after = RoomAfter(positions.back(), m_room);
    for (std::size_t k = positions.size(); k-- > 1 && positions[k].Time > end.Time;)
      after += RoomBefore(positions, k, m_room);
    floor.Notes += std::max(0, end.Room - after);
  }
  floor.Lyrics = std::min(floor.Lyrics, floor.Notes);
  return floor;
}

// What the clef, key and time signature drawn at the measure's start take: at a system's
// start every staff's clef and key and, at the score's start or a change, the time; inside
// a system only the changes.
int MeasureFloor::StartSigns(int start, bool first) const {
  auto at = [](const std::vector<int>& times, int t) {
    return std::binary_search(times.begin(), times.end(), t);
  };
  int clef = 0;
  int keys = 0;
  for (const Changes& staff : m_changes) {
    if (!first && at(staff.Clefs, start)) clef = std::max(clef, m_clef + m_s);
    if ((first || at(staff.Keys, start)) && !staff.Drums) {
      const int count = std::min(std::abs(staff.Of->CurKey(start)), 7);
      if (count > 0) keys = std::max(keys, m_s * (count + 1));
    }
  }
  // A system's clef stands within the staff height the key signature starts after.
  if (first) clef = m_height;
  int x = clef + keys;
  const auto time = m_score.AllGlobals().Find(start, evtTimeChange, true);
  if (time || (first && start == 0)) x = static_cast<int>(RoundHalfEven(x + 0.7 * m_height));
  return x;
}

// The clefs that change inside the measure, on the staff that changes most.
int MeasureFloor::InnerClefs(int start, int end) const {
  long most = 0;
  for (const Changes& staff : m_changes) {
    const auto from = std::upper_bound(staff.Clefs.begin(), staff.Clefs.end(), start);
    const auto to = std::lower_bound(staff.Clefs.begin(), staff.Clefs.end(), end);
    most = std::max(most, static_cast<long>(to - from));
  }
  return static_cast<int>(most) * (m_clef + m_s / 2);
}

// The repeat-end, section-end and score-end bars at the measure's end; a key change after
// the measure brings a section end.
int MeasureFloor::EndBars(int start, int end, int flags) const {
  for (const Changes& staff : m_changes) {
    if (!(flags & 4) && std::binary_search(staff.Keys.begin(), staff.Keys.end(), end) &&
        staff.Of->CurKey(end) != staff.Of->CurKey(start))
      flags |= 4;
  }
  int width = 0;
  if (flags & 2) width += m_repeatEnd;
  if (flags & 4) width += m_sectionEnd;
  if (flags & 8) width += m_scoreEnd;
  return width;
}

std::vector<int> FitToFloors(const std::vector<int>& widths,
                             const std::vector<MeasureFloor::Floor>& floors) {
  std::vector<int> fitted = widths;
  if (floors.size() != widths.size() || widths.empty()) return fitted;
  long long line = 0, need = 0, spare = 0, least = 0, kept = 0;
  std::vector<int> keep(widths.size());
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int floor = floors[i].Notes;
    keep[i] = std::min(std::max(floors[i].Lyrics, floors[i].Glyphs), floor);
    line += widths[i];
    least += floor;
    kept += keep[i];
    if (floor > widths[i])
      need += floor - widths[i];
    else
      spare += widths[i] - floor;
  }
  if (need == 0) return fitted;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int floor = floors[i].Notes;
    if (need <= spare)
      fitted[i] = floor >= widths[i]
                      ? floor
                      : widths[i] - static_cast<int>((widths[i] - floor) * need / spare);
    else if (kept <= line && least > kept)
      fitted[i] = keep[i] + static_cast<int>((floor - keep[i]) * (line - kept) / (least - kept));
    else if (least > 0)
      fitted[i] = static_cast<int>(floor * line / least);
  }
  // The measures still end where the line does.
  long long used = 0;
  for (std::size_t i = 0; i + 1 < fitted.size(); ++i) used += fitted[i];
  fitted.back() = static_cast<int>(line - used);
  return fitted;
}

}  // namespace notecraft
