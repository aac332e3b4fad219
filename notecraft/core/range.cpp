#include "notecraft/core/range.h"

#include "notecraft/core/internal.h"

namespace notecraft {

void Range::SetHigh(Internal, int value) {
  if (value >= 0) m_high = value;
}

void Range::SetLow(Internal, int value) {
  if (value >= 0) m_low = value;
}

}  // namespace notecraft
