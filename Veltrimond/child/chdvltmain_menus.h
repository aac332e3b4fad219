#pragma once
// The score window's menu bar (File .. Help, built from ScoreMenuTable) and its commands,
// which the toolbar shares: saving, printing, the clearing commands of the Score menu, the
// staff, measure and note commands, the editing tools and the frame's forwarded commands.
// The window's own actions (Edit, Voice, View > Toolbox) are taken into the menus with the
// table's captions and shortcuts.
//
// Shortcuts follow the menu bar: an item's shortcut works while this window's menus are on
// the frame's menu bar, that is while the window is the active one.

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "Veltrimond/child/chdvltmain_print.h"
#include "Veltrimond/child/pageeditor.h"
#include "Veltrimond/child/chdvltmain_save.h"
#include "Veltrimond/core/scoremenutable.h"
#include "edittools/qt/edittoolcommands.h"

class QAction;
class QMenu;
class QPrinter;
class QRect;

namespace notecraft {
class GlobalEvents;
}  // namespace notecraft

namespace veltrimond {

class chdVLTMain;

class ScoreMenus : public QObject, private edittools::IToolWindow {
  Q_OBJECT

public:
  // Builds the menus and gives them to the window (its menu list and pop-up menus).
  explicit ScoreMenus(chdVLTMain& window);
  ~ScoreMenus() override;

  const QList<QMenu*>& Menus() const { return m_menus; }
  // A menu or item of the table by name ("mnuNote", "mnuFileSave"); null for other names.
  QMenu* Menu(const QString& name) const { return m_menuByName.value(name); }
  QAction* Item(const QString& name) const { return m_items.value(name); }

  // Questions the commands ask; tests answer them. Unset: message boxes.
  struct CommandPrompts {
    // Yes (6), No (7) or Cancel (2), with the question icon.
    std::function<int(const QString& title, const QString& text)> YesNoCancel;
    // The Set Pitch dialog beside the rectangle (page twips); the score's NewValue, or
    // nothing when cancelled. Unset: the editing tools' Set Note Value dialog.
    std::function<std::optional<int>(const QRect& band)> SetPitch;
    // The Transpose and Copy/Move dialogs, which start their tools; true when one started.
    // Unset: the editing tools' commands.
    std::function<bool()> Transpose;
    std::function<bool()> CopyMove;
    // Shows a page pop-up menu and returns once it closed (a command chosen has run).
    std::function<void(QMenu* menu)> Popup;
  } Prompts;

  ScoreSaving& Saving() { return *m_saving; }
  ScorePrinting& Printing() { return *m_printing; }
  // The printer prints go to: the frame's (as Print Setup left it), else this window's own.
  QPrinter& Printer();

  // --- Commands (the toolbar runs some of them too) ---
  bool FileSave();
  bool FileSaveAs();
  // File > Print: the dialog, then the range chosen.
  bool FilePrint();
  // Every page, no dialog.
  bool FilePrintAll();
  // Asks "Are you sure ...?" in a box titled "Score": true only for Yes.
  bool Confirm(const QString& title, const QString& text);
  // Deletes the events of eventType (chord symbols, dynamics or text) that lie in the active
  // measure, the last first; the number removed. The score is marked changed when any went.
  int DeleteMeasureEvents(int eventType);
  // Clears every staff's events of a staff-list kind (lyrics, key changes), restoring the
  // staff that was selected; true when the user said Yes.
  bool ClearOnEveryStaff(int eventType, const QString& question);
  // The recent-file items from the list.
  void ShowHistoryMenu();
  // The Note menu and Cut/Copy as the selection has them.
  void ApplyNoteMenu(NoteMenuMode mode);
  // Ends a running editing tool at once (the window is going with its score).
  void StopTool();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FreeMenuShortcuts();
  void ShowPopup(PagePopup popup);
  void Build();
  QAction* TakeItem(QMenu* menu, const MenuItemSpec& spec);
  void Connect();
  void On(const char* name, std::function<void()> command);
  void NoteCommand(std::function<void()> command);
  void ChangeSel(int newDur, int newValue, int stemDir, int ornaments, bool del = false,
                 bool tie = false);
  void AddGlobalAtDown(int eventType, int subType);
  void ShowWindowList();
  void SyncFrameChecks();
  void SetPitch();

  // edittools::IToolWindow
  std::shared_ptr<notecraft::Score> ToolScore() override;
  long CurMeasure() const override;
  void CancelPlay() override;

  chdVLTMain& m_window;
  QList<QMenu*> m_menus;
  QMap<QString, QMenu*> m_menuByName;
  QMap<QString, QAction*> m_items;
  QList<QAction*> m_windowList;  // the Window menu's entries for the open windows
  std::unique_ptr<ScoreSaving> m_saving;
  std::unique_ptr<ScorePrinting> m_printing;
  std::unique_ptr<QPrinter> m_ownPrinter;
};

}  // namespace veltrimond
