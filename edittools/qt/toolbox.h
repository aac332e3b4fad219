#pragma once
// Runs one editing tool at a time over a score: the caller sets the range and the
// destination, then UseTool creates the tool and starts it. The tool runs in steps from
// the event loop (never a nested one): with runSynchronous (the editor's mode) as fast as
// the loop allows, behind a progress window with Cancel that is window-modal on the
// progress parent, so the score cannot be edited under the tool; with runAsynchronous one
// step per tick of a process-wide 80 ms timer, without a progress window. Only one timer
// run goes at a time in the process: starting a second one stops the first one's ticks and
// leaves it held (Busy) until its host is released.
//
// However a run ends (done, cancelled, an error, the host released) the tool is dropped,
// the progress window closes and toolEnded(code) is emitted: 0 done, -1 cancelled, -2
// failed (LastError says why). A run that changed notes marks the score changed, empties
// its undo history and repaints it, cancelled runs included.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

#include "edittools/core/toolsettings.h"

class QProgressDialog;
class QTimer;
class QWidget;

namespace notecraft {
class Score;
}

namespace edittools {

class SteppedTool;

class ToolBox : public QObject {
  Q_OBJECT

public:
  explicit ToolBox(QObject* parent = nullptr);
  // A running tool is cancelled first (toolEnded(-1)).
  ~ToolBox() override;

  bool Busy() const { return m_tool != nullptr; }
  // The score the tools work on; shared while a tool runs.
  void Init(std::shared_ptr<notecraft::Score> score);
  // Ignored before Init. With useSelection only the flag is stored.
  void SetRange(bool useSelection, int staff = 0, int fromMeasure = 0, int toMeasure = 0);
  // Stored as given, also before Init.
  void SetDest(int staff, int measure = 0, int voice = 0);
  // Starts tool (ToolsToUse) with its parameters: transpose (parm1: write key signatures,
  // true when absent), copy/move (parm1: move, parm2: the source voices 0..10, parm3: the
  // note filter as NoteSelectValue gives it, every note when absent). True when a
  // tool started; false when busy, not initialised or for an unknown tool. An error while
  // the tool sets up ends it (toolEnded(-2)) and is thrown on to the caller.
  bool UseTool(int tool, const QVariant& parm1 = {}, const QVariant& parm2 = {},
               const QVariant& parm3 = {}, const QVariant& parm4 = {});
  int RunMode() const { return m_runMode; }
  void SetRunMode(int mode) { m_runMode = mode == runAsynchronous ? runAsynchronous : runSynchronous; }
  // "&Transpose Notes..." for 1, "Copy/&Move Notes..." for 2, "" otherwise.
  static QString ToolEnum(int index);

  // The window the progress window is modal on; none: the application.
  void SetProgressParent(QWidget* parent) { m_progressParent = parent; }
  QProgressDialog* ProgressWindow() const;
  // Stops the running tool as the progress window's Cancel does, at the next step.
  void Cancel();
  const QString& LastError() const { return m_lastError; }

  const ToolRange& Range() const { return m_range; }
  const ToolDest& Dest() const { return m_dest; }

signals:
  void toolEnded(int returnCode);

protected:
  // The tool for a ToolsToUse value; null for any other. Tests put fakes here.
  virtual std::unique_ptr<SteppedTool> CreateTool(int tool, const QVariant& parm1,
                                                  const QVariant& parm2, const QVariant& parm3);
  std::shared_ptr<notecraft::Score> Score() const { return m_score; }

private:
  friend class ToolTimer;
  void SyncTick();
  void TimerTick();
  // One step, or the end of the run; false when the run has ended.
  bool Advance();
  void Fail(const QString& why);
  void EndTool();
  void ShowProgress();
  void UpdateProgress();

  std::shared_ptr<notecraft::Score> m_score;
  bool m_initialised = false;
  ToolRange m_range;
  ToolDest m_dest;
  int m_runMode = runSynchronous;
  int m_returnCode = kToolFinished;
  std::unique_ptr<SteppedTool> m_tool;
  QPointer<QWidget> m_progressParent;
  QPointer<QProgressDialog> m_progress;
  QTimer* m_syncTimer = nullptr;
  bool m_inTick = false;
  bool m_cancelRequested = false;
  QString m_lastError;
};

}  // namespace edittools
