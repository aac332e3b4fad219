#pragma once
// The editor's process-wide state that the frame, the score windows and the dialogs share.
// One object, owned by the application context and passed by reference; tests make their own.

#include <array>

#include "Veltrimond/core/framegeometry.h"
#include "Veltrimond/core/optionsettings.h"

namespace veltrimond {

// Cursor slots by tool: 0 off the score, 1..10 the tools, 11..12 the group sub-tools and
// 13..16 the clef sub-tools. Slots 2 and 3 hold no file: the score window keeps its working
// cursors there.
inline constexpr int kCursorSlots = 17;

struct AppState {
  TwipsPerPixel Tpp;
  // The frame's last normal rectangle and whether it was maximised.
  TwipsRect Frame;
  bool FrameMaximized = false;
  // New score windows open maximised; the score windows keep it current.
  bool ChildrenMaximized = false;
  // Set by a score window whose save prompt was cancelled while the whole program closes, so
  // that the other windows stop asking.
  bool CloseCancelled = false;
  // True while the frame closes its score windows on the way out: a window's own close
  // starts afresh (clears CloseCancelled), a close of them all does not.
  bool ClosingAll = false;
  int RecordDeviceID = -1;
  int PlayDeviceID = -1;
  OptionSettings Options;
  // Ids from the cursor store; 0 where no cursor was loaded.
  std::array<int, kCursorSlots> CursorIDs{};
};

}  // namespace veltrimond
