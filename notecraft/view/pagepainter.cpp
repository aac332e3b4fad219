#include "notecraft/view/pagepainter.h"

#include <algorithm>
#include <string>

#include "notecraft/core/enums.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/numeric.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/staff.h"
#include "notecraft/view/drawcontext.h"
#include "notecraft/view/glyphs.h"
#include "notecraft/view/lyricspacing.h"
#include "notecraft/view/measurefloor.h"
#include "notecraft/view/notespacing.h"
#include "notecraft/view/restsandties.h"
#include "notecraft/view/staffsystem.h"

namespace notecraft {

namespace {

// A group gets a bracket unless it is solo (0) or piano (4).
bool Bracketed(int groupID) { return groupID >= 1 && groupID != grpPiano; }

}  // namespace

PagePainter::Result PagePainter::Paint(const PageLayout& page, bool handles) {
  m_result = {};
  m_handles = handles;
  m_groupOrder = m_score.GroupOrder(Internal{});
  Surface* window = m_dc.Window();
  if (!window) return m_result;
  m_dc.SetPaginating(false);
  m_dc.SetStaffHeightTwips(page.StaffHeight);
  if (!m_dc.Printing()) {
    window->Clear();
    window->SetDrawMode(DrawMode::CopyPen);
    window->SetDrawStyle(DrawStyle::Solid);
    m_score.Raise([](ScoreEvents& l) { l.WindowCleared(); });
  }
  window->SetForeColor(m_dc.ColorLines());
  DrawTexts(page);
  for (const SystemLayout& system : page.Systems) DrawSystem(page, system);
  return std::move(m_result);
}

void PagePainter::DrawTexts(const PageLayout& page) {
  for (const PageTextLine& line : page.Texts) {
    m_dc.SelectFont(line.Font);
    int y = line.Y;
    switch (line.Line) {
      case PageTextLine::Kind::PageNumber: m_dc.DrawTextAt(line.Text, line.X, y); break;
      case PageTextLine::Kind::Footer: m_dc.DrawFooterLine(y, line.Text); break;
      case PageTextLine::Kind::Heading: m_dc.DrawHeadingLine(y, line.Text); break;
      case PageTextLine::Kind::Right: m_dc.DrawRightLine(y, line.Text); break;
      case PageTextLine::Kind::Tempo: m_dc.DrawTempoLine(y, line.Text); break;
    }
  }
}

// The system with every measure at least as wide as its notes need standing clear of each
// other, where the line allows (measurefloor.h); a short last line reaches further right, up
// to the margin, for measures that need it.
SystemLayout PagePainter::FitSystem(const PageLayout& page, const SystemLayout& laidOut) {
  SystemLayout system = laidOut;
  std::vector<MeasureSlot>& slots = system.Measures;
  const SymbolState& state = m_dc.Symbols();
  if (slots.empty() || state.Positions.size() != slots.size()) return system;
  const MeasureSlot& last = slots.back();
  const MeasureFloor floor(m_dc, m_score, m_dc.StaffHeightTwips(), system.Start,
                           last.Start + last.Duration);
  std::vector<int> widths;
  std::vector<MeasureFloor::Floor> floors;
  long long need = 0;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const LyricEnd end = i < state.LyricEnds.size() ? state.LyricEnds[i] : LyricEnd{};
    widths.push_back(slots[i].Width);
    floors.push_back(floor.Least(state.Positions[i], end, slots[i].Start, slots[i].Duration,
                                 slots[i].Flags, i == 0));
    need += std::max(0, floors.back().Notes - widths.back());
  }
  if (need == 0) return system;
  const int right = std::max(page.RightX, page.LeftX);
  if (system.Right < right) {
    const int more = static_cast<int>(std::min<long long>(need, right - system.Right));
    system.Right += more;
    widths.back() += more;
  }
  widths = FitToFloors(widths, floors);
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i].Width = widths[i];
  return system;
}

void PagePainter::DrawStaffLines(int left, int top, int right) {
  const int s = m_dc.LineSpace();
  for (int k = 0; k < 5; ++k) m_dc.DrawLine(m_dc.ColorLines(), left, top + k * s, right, top + k * s);
}

void PagePainter::DrawSystem(const PageLayout& page, const SystemLayout& laidOut) {
  const Internal key;
  SymbolState& state = m_dc.Symbols();
  // The note positions of each measure over all the system's staves, which every staff
  // spaces alike so that what sounds together stands together (also where a page holds
  // only some of them).
  std::vector<std::pair<int, int>> measures;
  for (const MeasureSlot& m : laidOut.Measures) measures.emplace_back(m.Start, m.Duration);
  GatherSystemPositions(m_dc, m_score, laidOut.SystemStaves, measures);
  const SystemLayout system = FitSystem(page, laidOut);
  SystemGrid grid;
  for (const MeasureSlot& m : system.Measures) {
    grid.Widths.push_back(m.Width);
    grid.Flags.push_back(m.Flags);
    if (m.Start == m_score.CurTime()) m_result.SelectedMeasure = m.Number;
  }
  grid.Pulse = m_score.AllGlobals().PulseValue();
  // The system's shared drawing state starts afresh: no change shifts, stems free.
  state.Shifts.assign(system.Measures.size(), ChangeShift{});
  state.InnerShifts.assign(system.Measures.size(), {});
  state.Spreads.assign(system.Measures.size(), {});
  state.StemMode = system.SharedStaves ? SymbolState::kSharedStaves : 0;

  // The closing bar line of every measure, for the joins between braced staves.
  std::vector<int> barX;
  int x = system.Left;
  for (const MeasureSlot& m : system.Measures) barX.push_back(x += m.Width);
  if (!barX.empty()) barX.back() = system.Right;

  m_groupID = -1;
  m_runType = 0;
  m_braceTop = 0;
  m_braceLeft = 0;
  bool firstBand = true;
  int systemTop = 0;
  int systemBottom = 0;
  int previousLine = 0;  // the bottom line of the staff above
  const bool names = system.LabelWidth > 0;

  for (const StaffSlot& slot : system.Staves) {
    const auto staff = m_score.Staff(slot.Staff);
    if (!staff) continue;
    m_dc.SetStaffScale(slot.Scale);
    m_dc.SetStaffUnit(slot.LineSpace);
    m_dc.SelectFont(DrawContext::kMusicFont);
    const int s = slot.LineSpace;

    auto band = std::make_shared<Region>(key);
    band->SetTime(system.Start);
    band->SetFirst(firstBand);
    band->SetSplit(false);
    band->SetStaff(slot.Staff);
    band->SetLeft(system.Left);
    band->SetRight(system.Right);
    band->SetTop(slot.Top);
    band->SetIncY(s);
    band->SetPadTop(slot.PadTop);
    band->SetPadBottom(slot.PadBottom);
    band->SetMeasures(static_cast<int>(system.Measures.size()));
    // The band's extent is known before its staff draws, which keeps what it places inside.
    band->SetBottom(slot.Bottom);
    if (slot.Grand) band->SetLowerTop(slot.LowerTopLine);

    if (m_groupOrder) Brackets(*staff, slot.TopLine, system.Left);

    // Inside a brace the bar lines run on through the gap from the staff above.
    int joinTop = 0;
    if (m_braceTop != 0) {
      joinTop = previousLine - slot.PadTop;
      for (const int bar : barX) m_dc.DrawLine(m_dc.ColorBars(), bar, previousLine, bar, slot.TopLine);
    }

    if (m_handles) {
      const int top = slot.TopLine;
      m_score.Raise([top](ScoreEvents& l) { l.MarkHandle(0, top); });
    }
    DrawStaffLines(system.Left, slot.TopLine, system.Right);
    if (systemTop == 0) systemTop = slot.TopLine;
    staff->SetLyricOffset(key, slot.LyricOffset);

    StaffPlacement place;
    place.Left = system.Left;
    place.Top = slot.TopLine;
    place.Right = system.Right;
    place.Bottom = slot.BottomLine;
    place.GrandHalf = 1;
    place.StaffIndex = slot.Staff;
    place.StartTime = system.Start;
    place.JoinTop = joinTop;
    DrawStaffSystem(m_dc, grid, place, *band);
    DrawTies(m_dc, slot.Staff);

    if (slot.Grand) {
      staff->SetBrace(key, 0);
      band->SetSplit(true);
      DrawStaffLines(system.Left, slot.LowerTopLine, system.Right);
      place.Top = slot.LowerTopLine;
      place.Bottom = slot.LowerBottomLine;
      place.GrandHalf = 2;
      place.JoinTop = 0;
      DrawStaffSystem(m_dc, grid, place, *band);
      DrawTies(m_dc, slot.Staff);
      // Its two staves read as one instrument: braced (unless a brace over several staves
      // holds it already), the bar lines running through the gap between them.
      for (const int bar : barX)
        m_dc.DrawLine(m_dc.ColorBars(), bar, slot.BottomLine, bar, slot.LowerTopLine);
      if (m_braceTop == 0) DrawBrace(slot.TopLine, slot.LowerBottomLine, system.Left, page.LeftX, {});
    } else if (m_braceTop != 0) {
      staff->SetBrace(key, 0);
    }

    // Braces: a staff whose brace is set opens one over itself and the staves below it.
    if (staff->Brace() > 0 && m_braceTop == 0) {
      m_braceTop = slot.TopLine;
      m_braceLeft = staff->Brace();
      m_braceName.clear();
    }
    staff->SetBraceOpen(key, m_braceTop != 0);
    if (m_braceTop != 0 && --m_braceLeft <= 0) {
      DrawBrace(m_braceTop, slot.LastLine(), system.Left, page.LeftX, m_braceName);
      m_braceTop = 0;
    }

    systemBottom = slot.LastLine();

    // Staff names on page 1's first system; inside a brace the brace shows one.
    if (names && (staff->Flags() & stfShowStaffDesc)) {
      m_braceName = staff->Description();
      if (!staff->BraceOpen(key) && !m_braceName.empty()) {
        m_dc.SelectFont(fntCopyright);
        Surface& window = *m_dc.Window();
        window.SetForeColor(m_dc.ColorBars());
        m_dc.DrawTextAt(ColumnName(m_braceName, system.LabelWidth), page.LeftX,
                        slot.Top + (slot.End - slot.Top - window.TextHeight()) / 2);
        m_dc.SelectFont(DrawContext::kMusicFont);
      }
    }

    band->SetIndex(static_cast<int>(m_result.Bands.size()) + 1);
    m_result.Bands.push_back(band);
    firstBand = false;
    previousLine = slot.LastLine();
  }
  // A brace whose lower staves the next page holds closes with the page's last staff.
  if (m_braceTop != 0 && !system.Staves.empty())
    DrawBrace(m_braceTop, system.Staves.back().LastLine(), system.Left, page.LeftX, m_braceName);
  if (m_groupOrder && Bracketed(m_groupID)) CloseGroup(system.Left);
  state.Positions.clear();  // this system's: a staff drawn on its own gathers its own
  state.LyricEnds.clear();
  if (systemTop != 0) m_dc.DrawLine(m_dc.ColorBars(), system.Left, systemTop, system.Left, systemBottom);
}

// Staves of one group (GroupID) stand in one bracket; within it, consecutive staves of one
// instrument (GroupType) get a thin sub-bracket.
void PagePainter::Brackets(const Staff& staff, int topLine, int left) {
  const StaffGeometry& g = m_dc.Geometry();
  const int groupID = staff.GroupID();
  if (groupID != m_groupID) {
    m_dc.Window()->SetForeColor(m_dc.ColorBars());
    if (Bracketed(m_groupID)) CloseGroup(left);
    m_bracketX = left - g.SpaceAndQuarter;
    m_glyphY = topLine - g.SpaceAndHalf;
    m_groupID = groupID;
    if (Bracketed(groupID)) {
      m_dc.DrawTextAt(std::string(1, glyph::BracketTop), m_bracketX, m_glyphY);
      m_groupTop = topLine;
      m_runTop = topLine;
      m_runType = staff.GroupType();
    }
  } else if (Bracketed(groupID) && staff.GroupType() != m_runType) {
    CloseRun(left);
    m_runType = staff.GroupType();
    m_runTop = topLine;
  }
  m_glyphY = topLine - g.SpaceAndHalf;
  m_lastTop = topLine;
}

void PagePainter::CloseGroup(int left) {
  const StaffGeometry& g = m_dc.Geometry();
  m_dc.DrawTextAt(std::string(1, glyph::BracketBottom), m_bracketX, m_glyphY);
  // The spine reaches the last staff's bottom line.
  m_dc.DrawLine(m_dc.ColorBars(), m_bracketX, m_groupTop, m_bracketX + g.NarrowSpace,
                m_glyphY + g.FiveAndHalfSpaces, true);
  CloseRun(left);
}

void PagePainter::CloseRun(int left) {
  if (m_runTop == m_lastTop) return;  // one staff: no sub-bracket
  const int s = m_dc.LineSpace();
  const int x = left - 2 * s;
  const int bottom = m_lastTop + 4 * s;
  m_dc.DrawLine(m_dc.ColorBars(), x, m_runTop, left, m_runTop);
  m_dc.DrawLine(m_dc.ColorBars(), x, bottom, left, bottom);
  m_dc.DrawLine(m_dc.ColorBars(), x, m_runTop, x, bottom);
}

// A staff name as it fits the name column (in the current font), with the column's gap of
// three letters before the staves.
std::string PagePainter::ColumnName(const std::string& name, int column) const {
  return m_dc.Ellipsized(name, column - m_dc.Window()->TextWidth("xxx"));
}

// The brace's two halves, each as tall as half the braced staves, left of the staves; a
// name centred on it at the page's left edge.
void PagePainter::DrawBrace(int top, int bottom, int left, int pageLeft, const std::string& name) {
  Surface& window = *m_dc.Window();
  const float keptSize = window.Font().Size;
  const int h = (bottom - top) / 2;
  if (!name.empty()) {
    m_dc.SelectFont(fntCopyright);
    window.SetForeColor(m_dc.ColorBars());
    m_dc.DrawTextAt(ColumnName(name, left - pageLeft), pageLeft, top + h - window.TextHeight() / 2);
    m_dc.SelectFont(DrawContext::kMusicFont);
  }
  FontSpec font = window.Font();
  font.Size = static_cast<float>(h) / 40.0f;
  window.SetFont(font);
  const int d = static_cast<int>(RoundHalfEven(0.17 * h));
  const std::string upper(1, glyph::BraceUpper);
  const int x = left - window.TextWidth(upper);
  window.SetForeColor(m_dc.ColorBars());
  m_dc.DrawTextAt(upper, x, top - d);
  m_dc.DrawTextAt(std::string(1, glyph::BraceLower), x, top - d + h);
  font.Size = keptSize;
  window.SetFont(font);
}

}  // namespace notecraft
