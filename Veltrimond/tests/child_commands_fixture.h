#pragma once
// A score window for the tests of its toolbar, menus, saving and printing: a frame that
// records every call, the engine's prompts answered by the test, messages kept, and helpers
// for scores with many pages and for selecting notes on the page.

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <memory>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/chdvltmain_toolbar.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iframe.h"
#include "nullframe.h"
#include "notecraft/core/dialogservice.h"
#include "settings_fixture.h"

namespace veltrimond::testing {

// Every frame call as a line: "DoFunction NEW", "Arrange 1", "ClickTransport 2", ...
class RecordingFrame final : public NullFrame {
public:
  void CancelPlay(bool keep) override { Calls << QStringLiteral("CancelPlay %1").arg(keep); }
  void DoFunction(const QString& command, const QString&) override {
    Calls << QStringLiteral("DoFunction ") + command;
  }
  bool EnableCutCopy() const override { return CutCopy; }
  void SetEnableCutCopy(bool on) override { CutCopy = on; }
  bool EnablePaste() const override { return Paste; }
  void SetEnablePaste(bool on) override { Paste = on; }
  bool EnableUndo() const override { return Undo; }
  void SetEnableUndo(bool on) override { Undo = on; }
  void ClickTransport(int index) override { Calls << QStringLiteral("ClickTransport %1").arg(index); }
  bool InitStatus(long, const QString&) override {
    Calls << QStringLiteral("InitStatus");
    return true;
  }
  bool InsertStyle(notecraft::Score&, long staff, long measure, int type) override {
    Calls << QStringLiteral("InsertStyle %1 %2 %3").arg(staff).arg(measure).arg(type);
    return true;
  }
  void OpenHistory(int index) override { Calls << QStringLiteral("OpenHistory %1").arg(index); }
  void HelpContents() override { Calls << QStringLiteral("HelpContents"); }
  void HelpIndex() override { Calls << QStringLiteral("HelpIndex"); }
  void HelpAbout() override { Calls << QStringLiteral("HelpAbout"); }
  void HelpUpdate() override { Calls << QStringLiteral("HelpUpdate"); }
  void ScoreDefaults() override { Calls << QStringLiteral("ScoreDefaults"); }
  void ToolsChordMapper() override { Calls << QStringLiteral("ToolsChordMapper"); }
  void ToolsStyleEditor() override { Calls << QStringLiteral("ToolsStyleEditor"); }
  void ToolsClearHistory() override { Calls << QStringLiteral("ToolsClearHistory"); }
  void ViewToolBar() override { Calls << QStringLiteral("ViewToolBar"); }
  void ViewStatusBar() override { Calls << QStringLiteral("ViewStatusBar"); }
  void Arrange(int how) override { Calls << QStringLiteral("Arrange %1").arg(how); }

  QStringList CallsStartingWith(const QString& prefix) const {
    QStringList found;
    for (const QString& call : Calls)
      if (call.startsWith(prefix)) found << call;
    return found;
  }

  QStringList Calls;
  bool CutCopy = false;
  bool Paste = false;
  bool Undo = false;
};

// The engine's insert, delete and property prompts, recorded with what they propose and
// answered OK with one staff or measure as proposed (insertions: after the last staff), or
// with Cancel while Cancel is set; DeleteMeasure, when set, answers Delete Measure.
class AnsweringDialogs final : public notecraft::DialogService {
public:
  std::optional<notecraft::DeleteStaffAnswer> AskDeleteStaff(notecraft::Score&, int staff) override;
  std::optional<notecraft::DeleteMeasureAnswer> AskDeleteMeasure(notecraft::Score&,
                                                                 int measure) override;
  std::optional<notecraft::InsertMeasureAnswer> AskInsertMeasure(notecraft::Score&, int measure,
                                                                 bool after) override;
  std::optional<notecraft::InsertStaffAnswer> AskInsertStaff(notecraft::Score&) override;
  void ShowProperties(notecraft::Score&, int dialog, std::optional<int>,
                      std::optional<int>) override;

  QStringList Calls;
  bool Cancel = false;
  std::optional<notecraft::DeleteMeasureAnswer> DeleteMeasure;
};

class CommandsFixture : public SettingsFixture {
protected:
  void SetUp() override;
  void TearDown() override;

  // A window shown on its own (its first activation has run), answering every question
  // through Answer and keeping its messages.
  std::unique_ptr<chdVLTMain> ShownWindow();
  // A window opened from path.
  std::unique_ptr<chdVLTMain> OpenedWindow(const QString& path);
  static ScoreMenus& Menus(chdVLTMain& window) { return *window.MenuCommands(); }
  static QAction* Item(chdVLTMain& window, const char* name) {
    return window.MenuCommands()->Item(QString::fromLatin1(name));
  }
  static QAction* Button(chdVLTMain& window, const char* key) {
    return window.Toolbar()->Button(QString::fromLatin1(key));
  }
  // Quarter notes (B, 71) in every measure of the first staff, laid out and painted again.
  static void FillQuarters(chdVLTMain& window, int measures);
  // Drags a band around every note of the first staff's first voice drawn on the page shown.
  static void SelectAllShown(chdVLTMain& window);

  AppContext Context;
  RecordingFrame Frame;
  AnsweringDialogs Dialogs;
  // The answer to Yes/No/Cancel questions (6, 7 or 2) and the questions asked.
  int Answer = 6;
  QStringList Asked;
  // Messages the window showed: "title: text".
  QStringList Messages;
};

}  // namespace veltrimond::testing
