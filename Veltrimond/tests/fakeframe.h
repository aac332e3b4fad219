#pragma once
// A frame for the score window's tests: it records every call as a line ("PlayNote 67 0"),
// keeps the Cut/Copy, Paste and Undo states, and answers InitStatus as the test sets.

#include <QStringList>

#include "Veltrimond/shell/iframe.h"
#include "nullframe.h"

namespace veltrimond::testing {

class FakeFrame final : public NullFrame {
public:
  void CancelPlay(bool keepPlayButton) override;
  void DoFunction(const QString& command, const QString& path) override;
  bool EnableCutCopy() const override { return CutCopy; }
  void SetEnableCutCopy(bool enabled) override { CutCopy = enabled; }
  bool EnablePaste() const override { return Paste; }
  void SetEnablePaste(bool enabled) override { Paste = enabled; }
  bool EnableUndo() const override { return Undo; }
  void SetEnableUndo(bool enabled) override { Undo = enabled; }
  void Ending1(long curTime, long nextTime) override;
  long GoRepeat() const override { return m_goRepeat; }
  void SetGoRepeat(long time) override { m_goRepeat = time; }
  long MarkRepeat() const override { return m_markRepeat; }
  void SetMarkRepeat(long time) override { m_markRepeat = time; }
  void GotMidi(const notecraft::MIDIEvent& event) override;
  void PlayNote(int value, bool stopNote, int instrument, int channel) override;
  void ShowPlay() override { Calls << QStringLiteral("ShowPlay"); }
  void ClickTransport(int index) override { Calls << QStringLiteral("ClickTransport %1").arg(index); }
  bool InitStatus(long size, const QString& caption) override;
  void UpdateStatus(long position) override;
  void TerminateStatus() override { Calls << QStringLiteral("TerminateStatus"); }
  void UnRegister(const QString& tag) override { Calls << QStringLiteral("UnRegister ") + tag; }

  // The calls whose text starts with prefix.
  QStringList CallsStartingWith(const QString& prefix) const;

  QStringList Calls;
  bool CutCopy = false;
  bool Paste = false;
  bool Undo = false;
  bool StatusShown = true;  // InitStatus's answer

private:
  long m_goRepeat = 0;
  long m_markRepeat = 0;
};

}  // namespace veltrimond::testing
