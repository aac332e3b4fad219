#pragma once
// The layout of one page: its text lines, the systems it holds, which measures each system
// takes and how wide they are, and where every staff band of a system lies. PageBreaker
// computes it from the model; background pagination keeps only its times and staff height
// (the score's page arrays), and painting draws exactly this (PagePainter), so a page holds
// the same systems whichever of the two looked at it.
//
// Plain data, thrown away and made again at will. Lengths are twips from the page's top-left
// corner (y grows downwards), times 64ths.

#include <algorithm>
#include <string>
#include <vector>

namespace notecraft {

// The room one lyric verse takes below a staff band.
inline constexpr int kLyricLineTwips = 225;

// One line of page text: the page number, a footer, or a first-page heading.
struct PageTextLine {
  enum class Kind { PageNumber, Footer, Heading, Right, Tempo };
  Kind Line = Kind::Heading;
  int Font = 0;  // font kind (ScoreFonts)
  std::string Text;
  int X = 0;  // the page number's left edge; the other lines place themselves
  int Y = 0;  // the y handed to the line's drawer (a footer moves up from it by its height)
};

// One measure of a system.
struct MeasureSlot {
  int Start = 0;     // score time at its start
  int Duration = 0;  // its length in 64ths
  int Number = 0;    // its measure number
  int Width = 0;     // twips; the system's measures follow each other from its left edge
  int Flags = 0;     // Score::MeasureFlags at its start: bar lines, section marks
};

// Where one visible staff stands in a system. A band is the staff's rectangle: from Top,
// a pad, the staff lines, a pad, down to Bottom; the staff's lyric lines follow below it,
// or, on a grand staff, stand between its two staves, which move apart to make room. The
// pads are the staff spacing's share, more where the staff's notes reach further beyond
// its lines, so that nothing of one staff touches the next.
struct StaffSlot {
  int Staff = 0;  // Staff::Index
  float Scale = 1.0f;
  int LineSpace = 0;  // the staff's line spacing: L / 4 at its scale
  int PadTop = 0;     // free space kept above the lines
  int PadBottom = 0;  // and below them
  int LyricOffset = 0;  // from the (upper) staff's bottom line to its first lyric line
  int BelowRoom = 0;    // kept under its last line when no staff follows it
  int Top = 0;        // the band's upper edge, after a staff-space event moved it
  int TopLine = 0;    // y of the top line
  int BottomLine = 0;  // y of the bottom line (of the upper staff of a grand staff)
  bool Grand = false;
  int LowerTopLine = 0;     // the lower staff of a grand staff
  int LowerBottomLine = 0;
  int Bottom = 0;  // the band's lower edge: the last line and the pad, whole pixels
  int End = 0;     // below the staff's lyric lines: where the next staff begins
  // The last staff line drawn: the bottom line, or the lower staff's of a grand staff.
  int LastLine() const { return Grand ? LowerBottomLine : BottomLine; }
};

struct SystemLayout {
  int Start = 0;     // score time at the system's start
  int End = 0;       // where the next system starts
  int Top = 0;       // y where the system begins, above its chord row
  int ChordRow = 0;  // height of the chord symbols' row above the first staff
  int Left = 0;      // the staff lines' left edge: after the staff-name column
  int Right = 0;     // and their right edge
  // The staff-name column, when the score shows names: its first system, and every part of
  // a system cut over pages.
  int LabelWidth = 0;
  // Some visible staff has notes in its second or a later voice: stems of shared staves
  // point away from each other.
  bool SharedStaves = false;
  std::vector<MeasureSlot> Measures;
  // Every visible staff of the system (Staff::Index), top to bottom: their notes are spaced
  // alike, whichever of them a page holds.
  std::vector<int> SystemStaves;
  // The staves drawn here: the visible staves from FirstStaff on. A system too tall for a
  // page even at the smallest readable staff height is cut into even parts, a page each.
  std::vector<StaffSlot> Staves;
  int FirstStaff = 0;  // the system's visible staves that earlier pages hold
  int Bottom = 0;  // the End of its last staff
  // True when the system's staves go on on the next page.
  bool Continues() const {
    return FirstStaff + static_cast<int>(Staves.size()) < static_cast<int>(SystemStaves.size());
  }
};

struct PageLayout {
  int Page = 1;
  int Start = 0;            // score time at the top of the page
  int FirstStaff = 0;       // the staves of its first system that the page before holds
  int End = 0;              // score time where the next page starts
  int NextStaff = 0;        // and the staves of that system the next page leaves out
  int StaffHeight = 0;      // L used on the page (lowered when one system did not fit)
  int BaseStaffHeight = 0;  // the score's staff height when the page was laid out
  int LabelWidth = 0;       // the staff-name column of the page's first system
  int LeftX = 0, RightX = 0;  // the margins, mirrored on even pages when asked
  int TopY = 0, BottomY = 0;  // the room for music, above the page number and footers
  std::vector<PageTextLine> Texts;
  std::vector<SystemLayout> Systems;

  // The score time the page's music reaches: the end of its last system, which may go on
  // on the next page.
  int Reach() const { return Systems.empty() ? End : std::max(End, Systems.back().End); }
};

}  // namespace notecraft
