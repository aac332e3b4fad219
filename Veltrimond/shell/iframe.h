#pragma once
// The frame as its score windows and dialogs see it. Every score window gets its frame
// (ParentFrame) when it is registered and makes every frame call through this interface;
// nothing else of the frame is theirs to use.

#include <QString>

class QPrinter;

namespace notecraft {
class MIDIEvent;
class Score;
}  // namespace notecraft

namespace veltrimond {

class IFrame {
public:
  virtual ~IFrame() = default;

  // Stops playback; keepPlayButton leaves the transport's Play button down.
  virtual void CancelPlay(bool keepPlayButton) = 0;
  // "NEW", "OPEN" (with a path, or asking for one), "SETUP" (print setup) and "EXIT", in any
  // letter case. Runs once control is back in the event loop, so a window may ask the frame
  // to close the program from inside its own menu handler.
  virtual void DoFunction(const QString& command, const QString& path = {}) = 0;

  // The toolbar's Cut and Copy, Paste and Undo buttons, which the active window keeps
  // current from its selection, clipboard and undo state.
  virtual bool EnableCutCopy() const = 0;
  virtual void SetEnableCutCopy(bool enabled) = 0;
  virtual bool EnablePaste() const = 0;
  virtual void SetEnablePaste(bool enabled) = 0;
  virtual bool EnableUndo() const = 0;
  virtual void SetEnableUndo(bool enabled) = 0;

  // Playback (score times in 64ths).
  virtual void Ending1(long curTime, long nextTime) = 0;
  virtual long GoRepeat() const = 0;
  virtual void SetGoRepeat(long time) = 0;
  virtual long MarkRepeat() const = 0;
  virtual void SetMarkRepeat(long time) = 0;
  virtual void GotMidi(const notecraft::MIDIEvent& event) = 0;
  // Sounds (or silences) one pitch through the frame's sound output.
  virtual void PlayNote(int value, bool stopNote, int instrument, int channel) = 0;
  // Starts the transport pane and the arrangement buttons for an activated window.
  virtual void ShowPlay() = 0;
  // Presses transport button `index` as a click would (0 Beginning, 1 Rewind, 2 Play,
  // 3 Stop, 4 Fast Forward, 5 End): the score windows' Play and Stop menu items.
  virtual void ClickTransport(int index) = 0;

  // The progress display of a file being loaded: Init returns false when the status bar is
  // hidden or a display already runs; the bar never moves back.
  virtual bool InitStatus(long size, const QString& caption) = 0;
  virtual void UpdateStatus(long position) = 0;
  virtual void TerminateStatus() = 0;

  virtual bool InsertStyle(notecraft::Score& score, long staff, long measure, int type) = 0;
  // The chord mapper window's open flag, which that window keeps.
  virtual bool Mapper() const = 0;
  virtual void SetMapper(bool open) = 0;
  // Hands the defaults of section Options to every open score window.
  virtual void ReloadDefaults() = 0;
  // A closing window leaves the frame's list.
  virtual void UnRegister(const QString& tag) = 0;

  // Menu commands that the score windows' own menus forward to the frame.
  virtual void OpenHistory(int index) = 0;
  virtual void HelpContents() = 0;
  virtual void HelpIndex() = 0;
  virtual void HelpAbout() = 0;
  virtual void HelpUpdate() = 0;
  virtual void ScoreDefaults() = 0;
  virtual void ToolsChordMapper() = 0;
  virtual void ToolsStyleEditor() = 0;
  virtual void ToolsClearHistory() = 0;
  virtual void ViewToolBar() = 0;
  virtual void ViewStatusBar() = 0;

  // The printer Print Setup set up, which the windows print on; null when the frame keeps
  // none (a window then uses its own).
  virtual QPrinter* Printer() { return nullptr; }
  // Arranges the score windows: 0 cascade, 1 tile horizontally, 2 tile vertically.
  virtual void Arrange(int how) { (void)how; }
};

}  // namespace veltrimond
