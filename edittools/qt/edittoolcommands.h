#pragma once
// The commands a score window's menus call: Tools > Transpose Notes... and Copy/Move
// Notes... (a dialog, then the tool on the window's score) and Note > Set Pitch... (a dialog,
// then the pitch of the selected notes).
//
// The window hands itself over through IToolWindow. A tool keeps running after its command
// returns, in steps from the event loop, behind a progress window that is modal on the
// window; while it runs further tool commands of that window are refused. The tool host is
// a child of the window, so closing the window stops the tool.

#include <QPoint>
#include <memory>
#include <optional>

class QWidget;

namespace notecraft {
class Score;
}

namespace edittools {

class ToolBox;

// What the tool commands need of a score window.
class IToolWindow {
public:
  virtual ~IToolWindow() = default;
  // The window's score; a running tool shares it. (A window that owns its score alone may
  // hand out a non-owning pointer, and then calls StopTools before the score goes.)
  virtual std::shared_ptr<notecraft::Score> ToolScore() = 0;
  // The measure the window is at (1-based): the dialogs' measure boxes start there.
  virtual long CurMeasure() const = 0;
  // Stops playback (the frame's CancelPlay(false)) before a dialog opens.
  virtual void CancelPlay() = 0;
  // A tool of this window has ended: 0 done, -1 cancelled, -2 failed (the user has been
  // told why). The score is already marked changed and repainted when notes changed.
  virtual void ToolEnded(int returnCode) { static_cast<void>(returnCode); }
};

// The tool running on window, or null.
ToolBox* RunningTool(QWidget* window);
// Stops and drops the tools of window (toolEnded(-1)), keeping what they did so far. A
// window whose score is not shared with the tools (ToolScore hands out a pointer that does
// not own it) calls this before its score goes.
void StopTools(QWidget* window);

// The Transpose Notes / Copy/Move Notes commands: true when a tool was started; false after
// Cancel, without a score, or (silently) while a tool of window still runs.
bool RunTranspose(QWidget* window, IToolWindow& host);
bool RunCopyMove(QWidget* window, IToolWindow& host);

// The Set Note Value dialog, placed near `near` (global pixels; the dialog keeps on the
// screen): the value for Score::ChangeSel, or nothing after Cancel.
std::optional<int> AskNoteValue(QWidget* parent, std::optional<QPoint> near = std::nullopt);
// Note > Set Pitch...: asks, then changes the selected notes of score. True when changed.
bool RunSetNote(QWidget* parent, notecraft::Score& score, std::optional<QPoint> near = std::nullopt);

}  // namespace edittools
