#pragma once
// How far the notes of one staff reach beyond its five lines across one system: their
// heads and ledger lines, stems, flags, beams and articulations, found on the notes alone
// (pitch places, stem directions, beam groups and beam lines decided as the note drawer
// decides them), without drawing. The system stack keeps that much room above and below
// each staff, so that nothing one staff draws touches the next.

#include <vector>

namespace notecraft {

class Staff;
struct MeasureSlot;

// Line spaces beyond the lines, 0 where everything stays within them.
struct StaffReach {
  double Above = 0;       // above the top line (of the upper staff of a grand staff)
  double Below = 0;       // below the bottom line (of the upper staff of a grand staff)
  double LowerAbove = 0;  // a grand staff's lower staff
  double LowerBelow = 0;
};

// The reach of staff's notes in the measures of one system. pulse is the beat that beam
// groups end at (64ths); sharedStaves says the system's staves with several voices point
// their stems apart.
StaffReach ReachOf(Staff& staff, const std::vector<MeasureSlot>& measures, int pulse,
                   bool sharedStaves);

}  // namespace notecraft
