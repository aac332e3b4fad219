#pragma once
// The score window: one score, shown page by page in a scrolled viewport with the page's
// drop shadow, a tool pane at its left, its own toolbar (with the page box) and status bar.
// It owns its Score from construction to destruction and hears the score's events; the
// frame reaches it through IScoreWindow, and it reaches the frame only through IFrame.
//
// Split over files: chdvltmain.cpp (layout, activation, viewport, page box, opening and
// closing), chdvltmain_events.cpp (the score's events), chdvltmain_tools.cpp (the tool
// pane), chdvltmain_mouse.cpp (mouse editing on the page). The toolbar, saving, printing,
// menus, keys, handles, drum panel, lyrics and labels plug in through Hooks and the public
// widgets below.

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "Veltrimond/child/pageeditor.h"
#include "Veltrimond/child/toolpalette.h"
#include "Veltrimond/shell/iscorewindow.h"
#include "notecraft/core/scoreevents.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace notecraft {
class Score;
class ScorePageWidget;
}  // namespace notecraft

namespace veltrimond {

struct AppContext;
class ScoreMenus;
class ScoreToolbar;
class SubToolStrip;
class ScoreDrumPanel;
class ScoreHandles;
class ScoreKeys;
class ScoreLabelEditor;
class ScoreLyricEditor;

class chdVLTMain : public QWidget,
                   public IScoreWindow,
                   public notecraft::ScoreEvents,
                   private PageEditHost {
  Q_OBJECT

public:
  chdVLTMain(AppContext& context, IFrame& frame, QWidget* parent = nullptr);
  ~chdVLTMain() override;

  // --- IScoreWindow ---
  QWidget* Widget() override { return this; }
  QString Tag() const override { return m_tag; }
  void SetTag(const QString& tag) override { m_tag = tag; }
  void SetParentFrame(IFrame* frame) override { m_frame = frame; }
  bool OpenFile(const QString& path) override;
  void ReloadDefaults() override;
  long CurMeasure() const override { return m_measureNumber; }
  bool Playing() const override { return m_isPlaying; }
  void SetPlaying(bool playing) override { m_isPlaying = playing; }
  notecraft::Score* GetScore() override { return m_score.get(); }
  void EditUndo() override { mnuEditUndo_Click(); }
  void EditCut() override;
  void EditCopy() override;
  void EditPaste() override;
  QList<QMenu*> Menus() override { return m_menus; }

  // --- The window's public interface ---
  IFrame* ParentFrame() const { return m_frame; }
  AppContext& Context() const { return m_context; }
  notecraft::Score& Score() const { return *m_score; }
  // Tools (the tool pane): a tool by its button key, the current tool's sub-tool, and an
  // option's image (which presses it). Unknown keys and images change nothing.
  void SetTool(const QString& key);
  void SetSubTool(int number);
  void SetOption(const QString& key, int number);
  // Names the tool the next SetSubTool is for (the note-value keys name "Note").
  void NameTool(const QString& key) { m_palette.SetToolKey(key); }
  void mnuEditUndo_Click();

  // Lays the window out again (after the tool pane was shown, hidden or resized).
  void FormResize();
  // Scrolls so that a rectangle of the page (twips) comes into view.
  void SetScrollBars(int x, int y, int width, int height);
  // The Note menu and Cut/Copy in their no-selection state.
  void EnableNoteMenu();
  // Clears a selection made on the page.
  void ResetSelection() { m_editor.ResetSelection(); }
  // Runs what becoming the active window runs; the first time also sets up the tools, the
  // transport and, for a new window, a default score. Called by the MDI area's activation,
  // and by a window shown outside one.
  void FormActivate();
  void FormDeactivate() { m_windowActive = false; }
  // Commits the page box as leaving it does.
  void txtPage_LostFocus();
  // Stores what is typed into the lyric or label box, as leaving the box does, and closes
  // the chord panel. Run before the window closes (so that its save prompt covers the
  // text) and before a command of its menus or toolbar: a save, a print, a page turned, a
  // staff or measure inserted or deleted.
  void EndInPlaceEntry();

  // --- State other parts of the window read ---
  bool Untitled() const { return m_untitled; }
  void SetUntitled(bool untitled) { m_untitled = untitled; }
  bool WindowActive() const { return m_windowActive; }
  bool ToolboxVisible() const { return m_toolboxVisible; }
  void SetToolboxVisible(bool visible);
  bool HasSelection() const { return m_editor.HasSelection(); }
  bool ButtonDown() const { return m_editor.ButtonDown() || m_splitterDown; }
  bool Reloading() const { return m_reloading; }
  void SetReloading(bool reloading) { m_reloading = reloading; }
  long MeasureStart() const { return m_measureStart; }
  long MeasureLength() const { return m_measureLength; }
  int ActiveStaffNumber() const { return m_activeStaffNumber; }
  const ToolPalette& Palette() const { return m_palette; }
  const PageEditor& Editor() const { return m_editor; }
  NoteMenuState NoteMenu() const { return m_noteMenu; }
  // The status bar's panels: "Msg", "Staff", "Measure", "Voice", "Status".
  QLabel* Panel(const QString& key) const;
  // The handle rows of the page shown: (Y, type), one per distinct Y.
  struct HandleMark {
    int Y = 0;
    int Type = 0;
  };
  const std::vector<HandleMark>& HandleMarks() const { return m_handleMarks; }
  // The caption as the score's title with " *" while it has unsaved changes.
  void ShowCaption();

  // --- Keys, staff-spacing handles, drum panel, in-place lyrics, labels and chords ---
  ScoreKeys& Keys() const { return *m_keys; }
  ScoreHandles& Handles() const { return *m_handles; }
  ScoreDrumPanel& Drums() const { return *m_drums; }
  ScoreLyricEditor& Lyrics() const { return *m_lyrics; }
  ScoreLabelEditor& Labels() const { return *m_labels; }

  // --- Layout (the names the other parts of the window use) ---
  QWidget* pctToolBox = nullptr;    // the tool pane
  QWidget* pctTitle = nullptr;      // its title bar: "Toolbox" and the close box
  QLabel* lblTitle = nullptr;
  QToolButton* pctClose = nullptr;
  QWidget* tbrTools = nullptr;      // the ten tools
  QWidget* tbrOptions = nullptr;    // the four note options
  QWidget* pctDrums = nullptr;      // the drum panel's place in the pane (empty here)
  QVBoxLayout* drumLayout = nullptr;
  QWidget* pctSizeVert = nullptr;   // the splitter at the pane's right edge
  QWidget* pctMain = nullptr;       // the viewport with its scroll bars
  QWidget* pctBase = nullptr;       // the visible part of the page
  notecraft::ScorePageWidget* pctScore = nullptr;  // the page
  QWidget* shpScore = nullptr;      // the page's drop shadow
  QScrollBar* hscMain = nullptr;
  QScrollBar* vscMain = nullptr;
  QToolBar* tbrMain = nullptr;      // the window's toolbar; holds txtPage
  QLineEdit* txtPage = nullptr;     // the page box
  QStatusBar* sbrMain = nullptr;

  // --- Commands other parts put into menus, and whose states this window keeps ---
  QAction* mnuEditUndo = nullptr;
  QAction* mnuEditCut = nullptr;
  QAction* mnuEditCopy = nullptr;
  QAction* mnuEditPaste = nullptr;
  std::array<QAction*, 4> mnuVoice{};  // Voice > 1..4, checkable
  QAction* mnuViewToolbox = nullptr;
  // The toolbar's "Cancel" (discard changes) button, once the toolbar has one.
  QPointer<QAction> tbrCancel;
  // The pop-up menus of the page, once the menus exist.
  QPointer<QMenu> mnuNote;
  QPointer<QMenu> mnuScore;
  QPointer<QMenu> mnuMeasure;
  // The top-level menus the frame shows while this window is active.
  QList<QMenu*> m_menus;
  // The menus' and toolbar's commands (chdvltmain_menus.cpp, chdvltmain_toolbar.cpp).
  ScoreMenus* MenuCommands() const { return m_menuCommands; }
  ScoreToolbar* Toolbar() const { return m_toolbar; }

  // --- Where other parts plug in; unset hooks do the plain thing noted ---
  struct ChildHooks {
    // Rebuild the drum panel for the score (after a file was opened). Unset: nothing.
    std::function<void()> RefreshDrumPanel;
    // A note about to be placed on a drum staff takes its drum from the panel.
    std::function<void()> ChooseDrum;
    // Staff-spacing handles: a press on one starts a drag; true when it did.
    std::function<bool(int x, int y)> StartHandleDrag;
    std::function<void(int y)> DragHandle;
    std::function<void()> DropHandle;
    std::function<void(int x, int y)> OpenChordPanel;
    std::function<void(int x, int y)> OpenTextLabel;
    // True while in-place lyric entry is open: the tool is then not written to "Status".
    std::function<bool()> LyricActive;
    // The toolbar's Lyrics button: in-place lyric entry. Unset: nothing.
    std::function<void()> StartLyricEntry;
    // Shows a page pop-up; unset: mnuNote/mnuScore/mnuMeasure as they are.
    std::function<void(PagePopup)> ShowPopup;
    // The Note menu's items follow the state (the menus enable and disable them).
    std::function<void(NoteMenuState)> NoteMenuChanged;
  } Hooks;

  // Questions the window asks; tests answer them. Unset: message boxes. (The Save As
  // dialog is the menus' own: MenuCommands()->Saving().)
  struct ChildPrompts {
    // Yes (6), No (7) or Cancel (2) to "Save changes to ...?".
    std::function<int(const QString& title, const QString& text)> AskSaveChanges;
  } Prompts;

  // File > Save, as the close prompt's Yes runs it (ScoreMenus::FileSave); false when
  // nothing was saved (failed or cancelled).
  bool SaveScore();

  // --- The score's events (public handlers, as the frame and tests reach them) ---
  void ActiveMeasure(int number) override;
  void ActiveStaff(const std::shared_ptr<notecraft::Staff>& curStaff) override;
  void ActiveVoice(int number) override;
  void AfterOpenSave() override;
  void BeforeOpenSave(int size) override;
  void ChangeNotify(bool isChanged) override;
  void GoRepeat(int nextTime) override;
  void HistoryChanged(bool canUndo) override;
  void LoadMIDI(const std::shared_ptr<notecraft::MIDIEvent>& eventObj) override;
  void MarkHandle(int hType, int y) override;
  void MarkRepeat(int curTime) override;
  void ProgressReport(int position) override;
  void SelectionCleared() override;
  void SkipSection(int curTime, int nextTime) override;
  void WindowCleared() override;

signals:
  void noteMenuStateChanged(veltrimond::NoteMenuState state);

protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Construction, by file.
  void BuildLayout();
  void BuildStatusBar();
  void BuildActions();
  void BuildToolPane();  // chdvltmain_tools.cpp
  void ConnectPage();    // chdvltmain_mouse.cpp
  void WatchMdiArea();
  void AttachEditingParts();  // chdvltmain_keys.cpp

  // Viewport.
  void LayOutViewport();
  void PlacePage();
  int ToPixelsX(int twips) const;
  int ToPixelsY(int twips) const;
  int ToTwipsX(int pixels) const;
  int ToTwipsY(int pixels) const;

  // Tool pane (chdvltmain_tools.cpp).
  void RefreshToolButtons();
  void StripPicked(int number);
  void ShowToolCursor(int slot);
  void ToolButtonRightClicked(QToolButton* button, bool option);
  QToolButton* MakeToolButton(QWidget* bar, const QString& key, const QString& tip,
                              const QString& image);
  bool ToolButtonEvent(QToolButton* button, QEvent* event);
  void FlowToolButtons(int width);

  // Closing.

  // PageEditHost (chdvltmain_mouse.cpp).
  void AddNoteByHit(int x, int y, int duration, int flags, int snap) override;
  void AddGlobalByHit(int x, int y, int eventType, int subType) override;
  void AddOrnamentByHit(int x, int y, int ornament) override;
  void SetBraceByHit(float x, float y, int staffs) override;
  int SetSelection(int left, int top, int right, int bottom) override;
  void ClearSelection() override;
  void SetActiveByHit(int x, int y) override;
  bool OnNote(int x, int y, int& noteTime, int& noteDur) override;
  int GetNoteValueByHit(int x, int y) override;
  bool HitTest(float x, float y) override;
  void PlayNote(int pitch, bool stop, int program, int channel) override;
  void ShowCursor(int slot) override;
  void ShowBand(const std::optional<QRect>& band) override;
  void SetMessage(const QString& text) override;
  void SetNoteMenuState(NoteMenuState state) override;
  void EnableCutCopy(bool enabled) override;
  void ShowPopup(PagePopup popup) override;
  void PointerTool() override;
  bool StartHandleDrag(int x, int y) override;
  void DragHandle(int y) override;
  void DropHandle() override;
  void ChooseDrum() override;
  void OpenChordPanel(int x, int y) override;
  void OpenTextLabel(int x, int y) override;

  AppContext& m_context;
  IFrame* m_frame;
  QString m_tag;
  std::unique_ptr<notecraft::Score> m_score;
  ToolPalette m_palette;
  PageEditor m_editor{*this, m_palette};

  std::map<QString, QLabel*> m_panels;
  std::map<QString, QToolButton*> m_toolButtons;    // by key
  std::map<QString, QToolButton*> m_optionButtons;  // by key
  SubToolStrip* m_strip = nullptr;
  bool m_stripForOption = false;
  QString m_stripOptionKey;
  QString m_stripToolKey;
  int m_toolColumns = 2;  // the tool whose strip is open; named only once a cell is picked

  bool m_untitled = true;
  bool m_windowActive = false;
  bool m_wasActivated = false;
  bool m_isPlaying = false;
  bool m_toolboxVisible = true;
  bool m_progressShown = false;
  long m_progressSize = 0;
  bool m_reloading = false;
  bool m_splitterDown = false;
  int m_splitterPressX = 0;
  bool m_pageBoxFocus = false;
  bool m_opening = false;  // OpenFile runs (its progress display may let events through)
  long m_measureNumber = 0;
  long m_measureStart = 0;
  long m_measureLength = 0;
  int m_activeStaffNumber = 0;
  int m_paneWidth = 1500;  // twips
  NoteMenuState m_noteMenu = NoteMenuState::NoSelection;
  std::vector<HandleMark> m_handleMarks;
  bool m_mdiWatched = false;
  ScoreMenus* m_menuCommands = nullptr;  // children of the window
  ScoreToolbar* m_toolbar = nullptr;
  // Children of the window, made by AttachEditingParts.
  ScoreKeys* m_keys = nullptr;
  ScoreHandles* m_handles = nullptr;
  ScoreDrumPanel* m_drums = nullptr;
  ScoreLyricEditor* m_lyrics = nullptr;
  ScoreLabelEditor* m_labels = nullptr;
};

}  // namespace veltrimond
