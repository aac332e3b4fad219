#include "notecraft/dialogs/captions.h"

namespace notecraft::dialogs {

int DenominatorOfBeat(int beatLength) {
  switch (beatLength) {
    case 64:
      return 1;
    case 32:
      return 2;
    case 8:
      return 8;
    case 4:
      return 16;
    default:
      return 4;
  }
}

int BeatOfDenominator(int denominator) {
  switch (denominator) {
    case 1:
      return 64;
    case 2:
      return 32;
    case 4:
      return 16;
    case 8:
      return 8;
    case 16:
      return 4;
    default:
      return 0;
  }
}

int DefaultPulse(int timeValue) {
  if (timeValue == 0) return 4;
  if (timeValue == 1) return 2;
  const int n = timeValue / 128;
  if (n == 6) return 2;
  if (n == 9) return 3;
  return n;
}

}  // namespace notecraft::dialogs
