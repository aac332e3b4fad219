#pragma once
// An editing tool as the tool host drives it: set up once, then one step at a time from the
// host's event loop, then finished or cancelled. Tools hold their score by shared_ptr, so a
// run never outlives it.

#include <cstdint>
#include <string>

namespace edittools {

class SteppedTool {
public:
  virtual ~SteppedTool() = default;

  // Caption of the progress window.
  virtual std::string Label() const = 0;
  // Reads the score and the parameters; runs before the first step.
  virtual void Setup() = 0;
  // Does one step; false once there is nothing left to do.
  virtual bool Step() = 0;
  // After the last step: what the run writes at its end (key signatures), the changed mark
  // and the repaint.
  virtual void Finish() = 0;
  // Stopped part way: marks (and with repaint repaints) what the steps done so far
  // changed. Leaves the rest undone.
  virtual void Abandon(bool repaint) = 0;
  // Whether any note or event has changed so far.
  virtual bool Changed() const = 0;
  // Progress as done out of total (any unit); total 0 while unknown.
  virtual std::int64_t WorkDone() const = 0;
  virtual std::int64_t WorkTotal() const = 0;
};

}  // namespace edittools
