#pragma once
// What the layout reads from each measure, kept from one page's layout to the next: the
// pages after a page try the measures it tried (its first system at several staff heights,
// then with fewer measures, and the system that did not fit is the next page's first). The
// score keeps one for as long as nothing the layout reads changed (its layout revision,
// its staves, the window it measures text on, the pages' end); a page breaker without one
// keeps its own for the page.
//
// Each record is keyed by what it depends on beyond the notes: the measure's start and
// length, and the staff height and system position where those matter. Records of
// measures before the page being laid out are dropped, as the pages go on.

#include <cstdint>
#include <vector>

#include "notecraft/layout/staffreach.h"

namespace notecraft {

class DrawContext;
class Score;

class LayoutMemo {
public:
  // What the records were read from, beyond the notes and events the revision covers.
  struct Inputs {
    unsigned long long Revision = 0;
    const void* Window = nullptr;
    double PixelX = 0;
    double PixelY = 0;
    int ScreenPixelY = 0;
    bool Printing = false;
    int End = 0;
    std::vector<int> Staves;  // each staff's and voice's settings the layout reads
    bool operator==(const Inputs&) const = default;
  };
  static Inputs InputsOf(const Score& score, const DrawContext& dc, unsigned long long revision,
                         int end);

  // Keeps the records while inputs are those they were read from, else drops them all.
  void Hold(Inputs inputs);
  // Drops the records of measures starting before time.
  void ForgetBefore(int time);

  // MeasureSlots::Count of a measure.
  struct Count {
    int Start = 0;
    int Duration = 0;
    int Value = 0;
  };
  // A measure's glyph floor at a staff height, as a system's first measure or not.
  struct Floor {
    int Start = 0;
    int Height = 0;
    bool First = false;
    int Glyphs = 0;
  };
  // The width a measure's lyrics need, from the width its notes take, at a staff height.
  struct LyricWidth {
    int Start = 0;
    int Duration = 0;
    int Width = 0;
    int Height = 0;
    int Value = 0;
  };
  std::vector<Count> Counts;
  std::vector<Floor> Floors;
  std::vector<LyricWidth> LyricWidths;
  std::vector<ReachMemo> Reach;  // by Staff::Index

  ReachMemo& ReachOfStaff(int index);

private:
  Inputs m_inputs;
  int m_from = 0;  // the earliest start kept
};

}  // namespace notecraft
