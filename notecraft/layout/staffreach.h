#pragma once
// How far what one staff draws reaches beyond its five lines across one system, place by
// place: its heads and ledger lines, stems, flags, beams, ties, articulations, ornaments,
// triplet brackets and the section marks and octave lines over its measures, found on the
// notes and events alone (pitch places, stem directions, beam groups and beam lines decided
// as the note drawer decides them), without drawing. The system stack keeps as much room
// between two staves as what they draw at the same place of the system needs, so that
// nothing one staff draws touches the next, and a high note at the start of a system does
// not push a staff away from a low one at its end.

#include <memory>
#include <vector>

namespace notecraft {

class Staff;
struct MeasureSlot;

// The places of a system, coarse: columns a line space wide from its left edge. A note of a
// time stands in the column of its place in its measure, as the measure spaces its notes in
// proportion to their times; what sounds at one time stands at one x on every staff.
class SystemColumns {
public:
  // The measures with their widths, from x left, at staff height staffHeight.
  void Reset(const std::vector<MeasureSlot>& measures, int left, int staffHeight);
  int Count() const { return m_count; }
  // The column of a note of the system at time; times outside it fall into its first or
  // last column. In: the same for a time of measure i (0-based).
  int At(int time) const;
  int In(int measure, int time) const;
  // The column of x, and the width of a column, twips.
  int AtX(int x) const;
  int Width() const { return m_width; }
  // The first and last column of measure i.
  int First(int i) const { return AtX(m_measures[static_cast<std::size_t>(i)].Left); }
  int Last(int i) const { return AtX(m_measures[static_cast<std::size_t>(i)].Right - 1); }

private:
  struct Measure {
    int Start = 0;
    int Duration = 1;
    int Left = 0;      // its left bar line
    int Right = 0;     // its right one
    int Notes = 0;     // where its first note stands
    double Scale = 0;  // twips per 64th from there
  };
  std::vector<Measure> m_measures;
  int m_left = 0;
  int m_width = 1;
  int m_count = 1;
};

// One side of a staff across the system: per column, line spaces beyond the outer line
// (0 where everything stays within the lines).
struct Outline {
  std::vector<float> Above;  // above the top line
  std::vector<float> Below;  // below the bottom line

  void Reset(int columns);
  // Raises the outline over columns [from, to] to reach at least spaces.
  void RaiseAbove(int from, int to, double spaces);
  void RaiseBelow(int from, int to, double spaces);
  // Takes the largest reach from the columns, after they were written to directly.
  void Settle();
  // The largest reach over all columns.
  double MaxAbove() const { return m_maxAbove; }
  double MaxBelow() const { return m_maxBelow; }

private:
  float m_maxAbove = 0;
  float m_maxBelow = 0;
};

struct StaffReach {
  Outline Upper;  // the staff (the upper staff of a grand staff)
  Outline Lower;  // a grand staff's lower staff; empty otherwise
  // The largest reach of each, line spaces.
  double Above = 0;
  double Below = 0;
  double LowerAbove = 0;
  double LowerBelow = 0;
};

// What the measures of one staff draw, read from their notes once for every system they are
// tried in (the same measures at other widths, with more or fewer beside them): a layout of
// the score as it stands keeps one per staff (LayoutMemo).
class ReachMemo {
public:
  ReachMemo();
  ~ReachMemo();
  ReachMemo(ReachMemo&&) noexcept;
  ReachMemo& operator=(ReachMemo&&) noexcept;
  // Drops the measures starting before time.
  void ForgetBefore(int time);

private:
  friend void ReachOf(Staff&, const std::vector<MeasureSlot>&, const SystemColumns&, int, bool,
                      double, struct StaffReach&, ReachMemo*);
  struct Measures;
  std::unique_ptr<Measures> m_measures;
};

// The reach of staff's notes in the measures of one system, read into reach (its vectors
// are reused), the measures' notes read once per memo where one is given. pulse is the beat that beam groups end at (64ths); sharedStaves says the
// system's staves with several voices point their stems apart; bracket is how far (line
// spaces) a triplet note's bracket reaches beyond the stems of its beam group, on their
// side (view/restsandties.h), and it reaches at least as far as the bracket's usual place.
void ReachOf(Staff& staff, const std::vector<MeasureSlot>& measures, const SystemColumns& columns,
             int pulse, bool sharedStaves, double bracket, StaffReach& reach,
             ReachMemo* memo = nullptr);

// The least distance (twips) from one staff's bottom line down to the next staff's top line
// at which what the upper staff draws below (below, in its line spaces of upperSpace twips)
// keeps clearance twips from what the lower staff draws above (above, lowerSpace twips a
// space) in the same column and those within reach columns of it: the heads, signs and
// flags of two places near each other may stand over each other.
int MeetingDistance(const std::vector<float>& below, int upperSpace,
                    const std::vector<float>& above, int lowerSpace, int clearance, int reach);

}  // namespace notecraft
