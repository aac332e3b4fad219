#pragma once
// A low/high pair: an instrument's playable pitch range, and the per-page records of
// pagination (start and end time of a page, its layout numbers).

namespace notecraft {

struct Internal;

class Range {
public:
  int High() const { return m_high; }
  int Low() const { return m_low; }
  // Library-internal; negative values are ignored.
  void SetHigh(Internal, int value);
  void SetLow(Internal, int value);

private:
  int m_high = 0;
  int m_low = 0;
};

}  // namespace notecraft
