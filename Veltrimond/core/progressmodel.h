#pragma once
// The frame's progress display as a model: started when a file begins to load, advanced by
// the reader's progress, ended when the window that loads it is activated or goes away. The
// bar never moves back, and a position past the end shows it full.

namespace veltrimond {

class ProgressModel {
public:
  // Starts a display of `size` steps; false (and nothing changes) when the status bar is
  // hidden or a display is already running.
  bool Init(long size, bool statusBarShown);
  void Update(long position);
  // Ends a running display; false when none ran.
  bool Terminate();

  bool Active() const noexcept { return m_active; }
  long Value() const noexcept { return m_value; }
  long Max() const noexcept { return m_max; }

private:
  bool m_active = false;
  long m_value = 0;
  long m_max = 0;
};

}  // namespace veltrimond
