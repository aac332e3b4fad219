#include "notecraft/view/staffgeometry.h"

#include <algorithm>

#include "notecraft/core/common.h"
#include "notecraft/core/numeric.h"

namespace notecraft {

StaffGeometry StaffGeometry::FromLineSpace(int s) {
  s = std::max(s, 1);
  StaffGeometry g;
  g.LineSpace = s;
  g.NarrowSpace = static_cast<int>(RoundHalfEven(s * 0.45));
  g.HalfSpace = s / 2;
  g.SpaceAndQuarter = SnapX(s / 2 / 2 + s);
  g.SpaceAndHalf = s / 2 + s;
  g.TwoSpaces = 2 * s;
  g.ThreeSpaces = 3 * s;
  g.FourSpaces = 4 * s;
  g.FiveSpaces = 5 * s;
  g.FiveAndHalfSpaces = s / 2 + 5 * s;
  return g;
}

}  // namespace notecraft
