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

const StaffReach& SystemStack::ReachAt(std::size_t k, Staff& staff, const SystemLayout& system,
                                       int s) {
  const int start = system.Start;
  const int end = system.Measures.empty() ? start : system.End;
  if (start != m_reachStart || end != m_reachEnd) {
    m_reachStart = start;
    m_reachEnd = end;
    m_reachSpace.assign(m_reachSpace.size(), 0);
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
    m_reach[k] = ReachOf(staff, system.Measures, m_score.AllGlobals().PulseValue(),
                         system.SharedStaves, bracket);
    m_reachSpace[k] = s;
  }
  return m_reach[k];
}

int SystemStack::Stack(SystemLayout& system, int y, int staffHeight, int firstStaff) {
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
  for (const auto& staff : m_score.AllStaffs()) {
    if (!staff || !staff->Visible()) continue;
    const std::size_t position = system.SystemStaves.size();
    system.SystemStaves.push_back(staff->Index());
    if (static_cast<int>(position) < firstStaff) continue;
    StaffSlot slot;
    slot.Staff = staff->Index();
    slot.Scale = static_cast<float>(staff->ScalePct()) / 100.0f;
    slot.LineSpace = std::max(
        1, static_cast<int>(RoundHalfEven(staffHeight / 4.0 * static_cast<double>(slot.Scale))));
    const int s = slot.LineSpace;
    const int pad =
        SnapY(static_cast<int>(RoundHalfEven(static_cast<double>(slot.Scale) * staffSpace)) / 2);
    slot.Grand = staff->DefaultClef() == clfGrand;
    const StaffReach& reach = ReachAt(position, *staff, system, s);
    const Room upper = RoomOf(reach.Above, reach.Below, s);
    Room lower = slot.Grand ? RoomOf(reach.LowerAbove, reach.LowerBelow, s) : upper;
    const int verses = staff->Verses();
    const int lyrics = kLyricLineTwips * std::max(verses, 0);
    // The rows of dynamics and tempo marks under the staff (a grand staff's lower one) and,
    // on an ordinary staff, the lyric lines under those stand where the staff drawer puts
    // them: the band reaches down to where the lyric lines begin.
    if (system.End > system.Start) {
      const UnderStaff rows =
          MeasureUnderStaff(m_dc, *staff, system.Start, system.End, staffHeight, slot.Scale,
                            std::max(pad, lower.Below), slot.Grand ? 2 : 1, verses > 0 && !slot.Grand);
      lower.Below = std::max(lower.Below, rows.LyricTop);
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
      // them; the bands meet where the spacing would have put them, as long as each still
      // holds what its staff draws.
      StaffSlot& above = system.Staves.back();
      const int last = above.LastLine();
      const int lines =
          std::max(SnapY(last + padAbove) + pad, SnapUpY(last + before.Below + upper.Above));
      const int low = last + before.Below;
      const int meet = std::clamp(last + padAbove, low, std::max(low, lines - upper.Above));
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
      const int apart =
          verses > 0 ? slot.LyricOffset + lyrics + lower.Above : upper.Below + lower.Above;
      slot.LowerTopLine = slot.BottomLine + std::max(4 * s + lyrics, apart);
      slot.LowerBottomLine = slot.LowerTopLine + 4 * s;
    }
    // As the last staff; the next staff moves the band's bottom to where they meet.
    EndAsLast(slot, slot.Grand ? 0 : lyrics);
    if (!slot.Grand) slot.LyricOffset = slot.PadBottom;
    y = slot.End;
    before = lower;
    padAbove = pad;
    count += slot.Grand ? 3 : 1;
    system.Staves.push_back(slot);
  }
  system.Bottom = y;
  return count;
}

int SystemStack::Cut(SystemLayout& system, int bottom, int least) {
  // Each staff kept as the last one: its band ends under what it draws.
  auto asLast = [](StaffSlot slot) {
    EndAsLast(slot, slot.End - slot.Bottom);
    return slot;
  };
  std::size_t kept = 0;
  while (kept < system.Staves.size() && asLast(system.Staves[kept]).End <= bottom) ++kept;
  kept =
      std::min(std::max(kept, static_cast<std::size_t>(std::max(least, 0))), system.Staves.size());
  if (kept == system.Staves.size()) return static_cast<int>(kept);
  system.Staves.resize(kept);
  if (kept > 0) system.Staves.back() = asLast(system.Staves.back());
  system.Bottom = kept > 0 ? system.Staves.back().End : system.Top;
  return static_cast<int>(kept);
}

}  // namespace notecraft
