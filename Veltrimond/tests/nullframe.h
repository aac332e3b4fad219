#pragma once
// A frame that does nothing and answers no, zero or false: the base of the test frames,
// which override only the calls they record or answer, and the frame of the benchmarks.

#include "Veltrimond/shell/iframe.h"

namespace veltrimond::testing {

class NullFrame : public IFrame {
public:
  void CancelPlay(bool) override {}
  void DoFunction(const QString&, const QString&) override {}
  bool EnableCutCopy() const override { return false; }
  void SetEnableCutCopy(bool) override {}
  bool EnablePaste() const override { return false; }
  void SetEnablePaste(bool) override {}
  bool EnableUndo() const override { return false; }
  void SetEnableUndo(bool) override {}
  void Ending1(long, long) override {}
  long GoRepeat() const override { return 0; }
  void SetGoRepeat(long) override {}
  long MarkRepeat() const override { return 0; }
  void SetMarkRepeat(long) override {}
  void GotMidi(const notecraft::MIDIEvent&) override {}
  void PlayNote(int, bool, int, int) override {}
  void ShowPlay() override {}
  void ClickTransport(int) override {}
  bool InitStatus(long, const QString&) override { return false; }
  void UpdateStatus(long) override {}
  void TerminateStatus() override {}
  bool InsertStyle(notecraft::Score&, long, long, int) override { return false; }
  bool Mapper() const override { return false; }
  void SetMapper(bool) override {}
  void ReloadDefaults() override {}
  void UnRegister(const QString&) override {}
  void OpenHistory(int) override {}
  void HelpContents() override {}
  void HelpIndex() override {}
  void HelpAbout() override {}
  void HelpUpdate() override {}
  void ScoreDefaults() override {}
  void ToolsChordMapper() override {}
  void ToolsStyleEditor() override {}
  void ToolsClearHistory() override {}
  void ViewToolBar() override {}
  void ViewStatusBar() override {}
};

}  // namespace veltrimond::testing
