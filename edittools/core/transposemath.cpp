#include "edittools/core/transposemath.h"

#include <algorithm>
#include <cstdlib>

namespace edittools {

int KeyStepTarget(int mode, int sourceKey, int amount) {
  const int a = std::abs(amount);
  if (mode == 1) {
    const int t = sourceKey + a;
    return t > 7 ? t - 12 : t;
  }
  const int t = sourceKey - a;
  return t < -7 ? t + 12 : t;
}

int KeyShift(int sourceKey, int targetKey) {
  int shift = 0;
  for (int k = sourceKey; k < targetKey; ++k) {
    shift += 7;
    if (shift > 11) shift -= 12;
  }
  for (int k = sourceKey; k > targetKey; --k) {
    shift -= 7;
    if (shift < -11) shift += 12;
  }
  return shift;
}

int HalfStepShift(int mode, int amount) {
  const int a = std::abs(amount);
  return mode == 1 ? a : -a;
}

int FoldKey(int key) {
  if (key > 7) key -= 12;
  if (key < -7) key += 12;
  return key;
}

int ShiftPitch(int pitch, int shift) {
  if (pitch == 0) return 0;
  return std::clamp(pitch + shift, 1, 127);
}

}  // namespace edittools
