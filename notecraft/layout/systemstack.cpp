#include "notecraft/layout/systemstack.h"

#include <algorithm>
#include <cmath>

#include "notecraft/core/common.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/core/voice.h"
#include "notecraft/layout/pagelayout.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/restsandties.h"
#include "notecraft/view/understaff.h"

#ifdef NOTECRAFT_HAS_CHORD
#include "harmonygrid/core/chord.h"
#endif

namespace notecraft {

namespace {

// What each staff keeps free beyond what it draws, in line spaces: what two neighbouring
// staves draw into the gap between them stays a space apart.
constexpr double kClearance = 0.5;
// How many columns (line spaces) away what one staff draws may still stand over what the
// other draws: a head with its signs or its flag.
constexpr int kNeighbours = 3;

// Whole pixels, at least twips.
int SnapUpY(int twips) {
  const int pixel = std::max(1, TheCommon().TwipsPerPixelY);
  return SnapY(twips + pixel - 1);
}

// Twips for a number of line spaces s twips apart, rounded up.
int Spaces(double spaces, int s) {
  return static_cast<int>(std::ceil(std::max(spaces, 0.0) * s));
}

// What one staff (half of a grand staff) needs around its lines: how far its symbols reach
// above and below them, each with half the clearance, in twips.
struct Room {
  int Above = 0;
  int Below = 0;
};
Room RoomOf(double above, double below, int s) {
  return {Spaces(above + kClearance, s), Spaces(below + kClearance, s)};
}

// Ends a staff's band as the system's last: under what its staff draws, its lyric lines
// (lyrics twips) below that.
void EndAsLast(StaffSlot& slot, int lyrics) {
  slot.Bottom = SnapY(slot.LastLine() + slot.BelowRoom);
  slot.PadBottom = slot.BelowRoom;
  slot.End = slot.Bottom + lyrics;
}

}  // namespace

double SystemStack::SpacingScale(const Score& score, int staffHeight) {
  const int base = score.StaffHeightTwips();
  if (base <= 0 || staffHeight >= base) return 1.0;
  return static_cast<double>(std::max(staffHeight, 1)) / base;
}

int SystemStack::Scaled(int twips, double scale) {
  return static_cast<int>(RoundHalfEven(twips * scale));
}

int SystemStack::ChordRowHeight() const {
  if (!m_score.UseChords()) return 0;
#ifdef NOTECRAFT_HAS_CHORD
  if (const harmonygrid::Chord* chords = m_score.Chord())
    return m_score.UseChordMaps() ? chords->AreaHeight() : chords->ChordTextHeight();
#endif
  return 0;
}

int SystemStack::NameColumn() {
  Surface* window = m_dc.Window();
  if (!window) return 0;
  int width = 0;
  bool selected = false;
  for (const auto& staff : m_score.AllStaffs()) {
    if (!staff || !staff->Visible() || !(staff->Flags() & stfShowStaffDesc)) continue;
    if (!selected) m_dc.SelectFont(fntCopyright);
    selected = true;
    width = std::max(width, window->TextWidth(staff->Description()));
  }
  return width > 0 ? width + window->TextWidth("xxx") : 0;
}

std::vector<int> SystemStack::VisibleStaves(const Score& score) {
  std::vector<int> staves;
  for (const auto& staff : score.AllStaffs())
    if (staff && staff->Visible()) staves.push_back(staff->Index());
  return staves;
}

bool SystemStack::SharedStaves(const Score& score) {
  for (const auto& staff : score.AllStaffs()) {
    if (!staff || !staff->Visible()) continue;
    for (int v = 2; v <= staff->Voices(); ++v) {
      const auto voice = staff->Voice(v);
      if (voice && voice->Notes().Count() > 0) return true;
    }
  }
  return false;
}

void SystemStack::AddTextLabels(Staff& staff, const SystemLayout& system, int s,
                                StaffReach& reach) {
  const GlobalEvents& events = staff.GlobalEvents();
  const auto last = events.Find(system.End - 1, evtText);
  Surface* window = m_dc.Window();
  if (!last || last->EventTime() < system.Start || !window) return;
  const SurfaceState kept = window->State();
  m_dc.SelectFont(fntCopyright);
  if (m_labelHeight < 0) m_labelHeight = window->TextHeight();
  const double height = static_cast<double>(m_labelHeight) / s;
  const int column = m_columns.Width();
  Outline& outline = reach.Upper;
  for (int i = last->Index(); i >= 1; --i) {
    const auto label = events.ByIndex(i);
    if (!label) continue;
    if (label->EventTime() < system.Start) break;
    if (label->EventType() != evtText) continue;
    const int from = m_columns.At(label->EventTime());
    const int width = window->TextWidth(label->Text());
    const int to = from + (std::max(width - s, 0) + column - 1) / column;
    // At the middle line moved by its half-space offsets. One placed over or under the
    // staff moves on away from it until clear of the notes there, a half space apart
    // (marksandtext.h); one placed among the lines stays among them.
    double top = -2.0 - label->Value1() / 2.0 + label->Value2() / 2.0;
    const auto through = std::min(to, m_columns.Count() - 1);
    if (top + height <= -4.0) {
      double notes = 0;
      for (int c = from; c <= through; ++c)
        notes = std::max(notes, static_cast<double>(outline.Above[static_cast<std::size_t>(c)]));
      if (top + height > -4.0 - notes - kClearance) top = -4.0 - notes - kClearance - height;
      outline.RaiseAbove(from, to, -4.0 - top);
    } else if (top >= 0.0) {
      double notes = 0;
      for (int c = from; c <= through; ++c)
        notes = std::max(notes, static_cast<double>(outline.Below[static_cast<std::size_t>(c)]));
      top = std::max(top, notes + kClearance);
      outline.RaiseBelow(from, to, top + height);
    }
  }
  window->SetState(kept);
  reach.Above = outline.MaxAbove();
  reach.Below = outline.MaxBelow();
}

const StaffReach& SystemStack::ReachAt(std::size_t k, Staff& staff, const SystemLayout& system,
                                       int staffHeight, int s) {
  const int start = system.Start;
  const int end = system.Measures.empty() ? start : system.End;
  if (start != m_reachStart || end != m_reachEnd || system.Left != m_reachLeft ||
      staffHeight != m_reachHeight) {
    m_reachStart = start;
    m_reachEnd = end;
    m_reachLeft = system.Left;
    m_reachHeight = staffHeight;
    m_reachSpace.assign(m_reachSpace.size(), 0);
    m_columns.Reset(system.Measures, system.Left, staffHeight);
  }
  if (k >= m_reach.size()) {
    m_reach.resize(k + 1);
    m_reachSpace.resize(k + 1, 0);
  }
  if (m_reachSpace[k] != s) {
    // A triplet bracket's "3" keeps its text size whatever the staff's. The bracket may
    // reach the band's edge: it stands clear of the notes already, and the next staff keeps
    // its own clearance.
    if (m_tripletDigit < 0) m_tripletDigit = TripletDigitHeight(m_dc);
    const double bracket = std::max(0.0, TripletBracketReach(m_tripletDigit, s) - kClearance);
    ReachOf(staff, system.Measures, m_columns, m_score.AllGlobals().PulseValue(),
            system.SharedStaves, bracket, m_reach[k], &m_memo.ReachOfStaff(staff.Index()));
    if (end > start) AddTextLabels(staff, system, s, m_reach[k]);
    m_reachSpace[k] = s;
  }
  return m_reach[k];
}

int SystemStack::Stack(SystemLayout& system, int y, int staffHeight, int firstStaff, int limit) {
  system.Top = y;
  system.ChordRow = ChordRowHeight();
  system.Staves.clear();
  system.SystemStaves.clear();
  system.FirstStaff = firstStaff;
  if (m_shared < 0) m_shared = SharedStaves(m_score) ? 1 : 0;
  system.SharedStaves = m_shared == 1;
  const double spacing = SpacingScale(m_score, staffHeight);
  const int staffSpace = Scaled(m_score.StaffSpaceTwips(), spacing);

  y += system.ChordRow;
  int count = 0;
  Room before;       // of the staff above (its lower staff, on a grand staff)
  int padAbove = 0;  // the staff spacing's share below the staff above
  int spaceAbove = 1;  // the line space of the staff above
  for (const auto& staff : m_score.AllStaffs()) {
    if (!staff || !staff->Visible()) continue;
    const std::size_t position = system.SystemStaves.size();
    system.SystemStaves.push_back(staff->Index());
    if (static_cast<int>(position) < firstStaff || (count > 0 && y > limit)) continue;
    StaffSlot slot;
    slot.Staff = staff->Index();
    slot.Scale = static_cast<float>(staff->ScalePct()) / 100.0f;
    slot.LineSpace = std::max(
        1, static_cast<int>(RoundHalfEven(staffHeight / 4.0 * static_cast<double>(slot.Scale))));
    const int s = slot.LineSpace;
    const int pad =
        SnapY(static_cast<int>(RoundHalfEven(static_cast<double>(slot.Scale) * staffSpace)) / 2);
    slot.Grand = staff->DefaultClef() == clfGrand;
    const StaffReach& reach = ReachAt(position, *staff, system, staffHeight, s);
    const Room upper = RoomOf(reach.Above, reach.Below, s);
    Room lower = slot.Grand ? RoomOf(reach.LowerAbove, reach.LowerBelow, s) : upper;
    const int verses = staff->Verses();
    const int lyrics = kLyricLineTwips * std::max(verses, 0);
    // What the staff (a grand staff's lower one) draws below itself, place by place.
    m_below = slot.Grand ? reach.Lower.Below : reach.Upper.Below;
    // The rows of dynamics and tempo marks under the staff (a grand staff's lower one) and,
    // on an ordinary staff, the lyric lines under those stand where the staff drawer puts
    // them: the band reaches down to where the lyric lines begin.
    if (system.End > system.Start) {
      const UnderStaff rows = MeasureUnderStaff(
          m_dc, *staff, system.Start, system.End, staffHeight, slot.Scale,
          std::max(pad, lower.Below), slot.Grand ? 2 : 1, verses > 0 && !slot.Grand, &m_rowMarks);
      lower.Below = std::max(lower.Below, rows.LyricTop);
      const int column = m_columns.Width();
      for (const RowMark& mark : m_rowMarks) {
        const int from = mark.Time < 0 ? 0 : m_columns.At(mark.Time);
        const int to = mark.Time < 0 ? m_columns.Count() - 1
                                     : from + (std::max(mark.Width - s, 0) + column - 1) / column;
        const auto depth = static_cast<float>(static_cast<double>(mark.Depth) / s);
        for (int c = from; c <= std::min(to, static_cast<int>(m_below.size()) - 1); ++c)
          m_below[static_cast<std::size_t>(c)] =
              std::max(m_below[static_cast<std::size_t>(c)], depth);
      }
    }
    // Below a staff that nothing follows: the spacing's share, or what its notes reach.
    slot.BelowRoom = std::max(pad, lower.Below);

    // A staff-space event at the system's start moves the band down, or up.
    int shift = 0;
    if (const auto space = staff->GlobalEvents().Find(system.Start, evtStaffSpace, true))
      shift = space->Value1() > 0 ? s * space->Value1() : -s * space->Value2();
    if (system.Staves.empty() || system.Staves.back().End > system.Staves.back().Bottom) {
      // The first staff, or one under lyrics: its own share of the spacing above it.
      slot.Top = y + shift;
      slot.TopLine = slot.Top + std::max(pad, upper.Above);
    } else {
      // The two staves' spacing shares, or room for what both draw into the gap between
      // them at the same place, a space apart.
      StaffSlot& above = system.Staves.back();
      const int last = above.LastLine();
      const int meeting =
          MeetingDistance(m_belowBefore, spaceAbove, reach.Upper.Above, s,
                          Spaces(kClearance, spaceAbove) + Spaces(kClearance, s), kNeighbours);
      const int lines = std::max(SnapY(last + padAbove) + pad, SnapUpY(last + meeting));
      // The bands meet where the spacing would have put them, as long as each still holds
      // what its staff draws; where what they draw overlaps in height (at different places),
      // the gap is shared in proportion to it.
      const int low = last + before.Below;
      const int high = lines - upper.Above;
      int meet = 0;
      if (low <= high) {
        meet = std::clamp(last + padAbove, low, high);
      } else {
        const double share =
            static_cast<double>(before.Below) / std::max(before.Below + upper.Above, 1);
        meet = last + static_cast<int>((lines - last) * share);
      }
      above.Bottom = SnapY(meet);
      above.End = above.Bottom;
      above.PadBottom = meet - last;
      // A grand staff's lyrics keep their place between its staves.
      if (!above.Grand) above.LyricOffset = above.PadBottom;
      slot.Top = above.End + shift;
      slot.TopLine = lines + shift;
    }
    slot.PadTop = slot.TopLine - slot.Top;
    slot.BottomLine = slot.TopLine + 4 * s;
    // Every staff keeps a line per lyric verse: below the band, under what the staff draws,
    // or on a grand staff between its two staves, under what the upper staff draws.
    if (slot.Grand) {
      slot.LyricOffset = std::max(pad, upper.Below);
      const int apart = verses > 0 ? slot.LyricOffset + lyrics + lower.Above
                                   : MeetingDistance(reach.Upper.Below, s, reach.Lower.Above, s,
                                                     2 * Spaces(kClearance, s), kNeighbours);
      slot.LowerTopLine = slot.BottomLine + std::max(4 * s + lyrics, apart);
      slot.LowerBottomLine = slot.LowerTopLine + 4 * s;
    }
    // As the last staff; the next staff moves the band's bottom to where they meet.
    EndAsLast(slot, slot.Grand ? 0 : lyrics);
    if (!slot.Grand) slot.LyricOffset = slot.PadBottom;
    y = slot.End;
    before = lower;
    padAbove = pad;
    spaceAbove = s;
    std::swap(m_belowBefore, m_below);
    count += slot.Grand ? 3 : 1;
    system.Staves.push_back(slot);
  }
  system.Bottom = y;
  return count;
}

int SystemStack::PartBottom(const SystemLayout& system, std::size_t count) {
  if (count == 0 || count > system.Staves.size()) return system.Top;
  // The part's last staff ends as the system's last: its band under what it draws.
  StaffSlot last = system.Staves[count - 1];
  EndAsLast(last, last.End - last.Bottom);
  return last.End;
}

void SystemStack::Cut(SystemLayout& system, std::size_t count) {
  if (count >= system.Staves.size()) return;
  system.Staves.resize(count);
  system.Bottom = PartBottom(system, count);
  if (count > 0) {
    StaffSlot& last = system.Staves.back();
    EndAsLast(last, last.End - last.Bottom);
  }
}

}  // namespace notecraft
