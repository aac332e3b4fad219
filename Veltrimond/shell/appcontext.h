#pragma once
// What the editor's windows share, made once in main() (or by a test) and passed by reference
// to the frame, the score windows and the dialogs, so that none of it is a static.

#include <functional>
#include <memory>

#include "Veltrimond/core/apppaths.h"
#include "Veltrimond/core/appstate.h"
#include "platform/recentfiles.h"
#include "pointerset/cursorbank.h"

namespace tonegen {
class SoundMaster;
}  // namespace tonegen

namespace veltrimond {

class IFrame;
class IScoreWindow;

struct AppContext {
  AppState State;
  AppPaths Paths;
  // The recent-file list (History/1Path .. 5Path), shown by the frame and by every window.
  platform::RecentFiles History;
  // The process's one cursor store; State.CursorIDs hold its numbers by tool.
  pointerset::CursorBank Cursors;
  // Makes a new, empty score window for the frame; the frame registers and shows it. Unset,
  // the frame's New and Open commands make no window.
  std::function<IScoreWindow*(AppContext& context, IFrame& frame)> NewScoreWindow;
  // The frame's sound output; unset, the sound library's own device list is used.
  std::function<std::unique_ptr<tonegen::SoundMaster>()> MakeSoundMaster;
};

}  // namespace veltrimond
