#pragma once
// The staff geometry: every symbol size of a staff derives from one line spacing s (the
// distance between two staff lines, twips) through these multiples.

namespace notecraft {

struct StaffGeometry {
  int LineSpace = 0;          // s
  int NarrowSpace = 0;        // s x 0.45, rounded
  int HalfSpace = 0;          // s \ 2
  int SpaceAndQuarter = 0;    // s + s \ 4, whole pixels
  int SpaceAndHalf = 0;       // s + s \ 2
  int TwoSpaces = 0;          // 2s
  int ThreeSpaces = 0;        // 3s
  int FourSpaces = 0;         // 4s: the height of a five-line staff, top line to bottom line
  int FiveSpaces = 0;         // 5s
  int FiveAndHalfSpaces = 0;  // 5s + s \ 2

  // The geometry of line spacing s; an s below 1 twip is taken as 1, so that no loop that
  // steps by a multiple of s can stand still.
  static StaffGeometry FromLineSpace(int s);

  bool operator==(const StaffGeometry&) const = default;
};

}  // namespace notecraft
