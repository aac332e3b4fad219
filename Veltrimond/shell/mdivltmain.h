#pragma once
// The editor's MDI frame, caption "Veltrimond": the menus shown while no score window is
// active, the main toolbar, the status pane with its progress display, the transport pane,
// the list of score windows and the sound output. Score windows and dialogs reach it only
// through IFrame.
//
// Split over files: mdivltmain.cpp (construction, bars and menus), mdivltmain_children.cpp
// (the window list, file commands, arrangement), mdivltmain_status.cpp (progress display,
// the remaining menu commands), mdivltmain_play.cpp (the transport: playback and note
// preview), mdivltmain_close.cpp (closing and placement), mdivltmain_style.cpp (Insert Style),
// mdivltmain_help.cpp (Defaults, About, the chord mapper and the companion programs).

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QVector>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "Veltrimond/core/progressmodel.h"
#include "Veltrimond/options/mididevicelist.h"
#include "Veltrimond/shell/companions.h"
#include "Veltrimond/shell/frameimages.h"
#include "Veltrimond/shell/iframe.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QToolBar;

namespace dropskin {
class CoolMenu;
}  // namespace dropskin

class QToolButton;

namespace notecraft {
class PlaybackClock;
class PlaybackScheduler;
class PlaybackTimer;
class ScorePlaybackSource;
}  // namespace notecraft

namespace tonegen {
class SoundMaster;
}  // namespace tonegen

namespace veltrimond {

struct AppContext;
class IScoreWindow;

class mdiVLTMain final : public QMainWindow, public IFrame {
  Q_OBJECT

public:
  // The frame's Load: device ids, the sound output (opened; a device that fails is the sound
  // library's to report), the toolbar and status bar as last left. Menus and the main
  // toolbar keys stay disabled until EnableCommands().
  explicit mdiVLTMain(AppContext& context, QWidget* parent = nullptr);
  ~mdiVLTMain() override;

  AppContext& Context() { return m_context; }
  // Enables the six menus and the toolbar keys New, Open, Exit and Help.
  void EnableCommands();
  // Gives the menus (the frame's and those of score windows) the frame's pictures.
  void InitMenuPictures();
  // True once a close of the frame went through.
  bool Closed() const noexcept { return m_closed; }

  // Opens a score or MIDI file in a new window; fileType 1 score, 2 MIDI, 0 from the name.
  // True when a window was made and loaded it.
  bool OpenScoreFile(const QString& path, int fileType);
  // The frame's pictures, also handed to the menu control.
  const FrameImages& imlMain() const { return m_images; }
  // The open score windows (those that were registered and not yet closed), in slot order.
  QList<IScoreWindow*> ScoreWindows() const;
  IScoreWindow* ActiveScoreWindow() const;
  // The toolbar button with this key ("New", "Open", ..., "Help").
  QAction* ToolbarButton(const QString& key) const;
  // Frame-level commands, one action each, which score windows put into their own menus.
  QAction* mnuFileNew = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileSetup = nullptr;
  QAction* mnuFileExit = nullptr;
  std::array<QAction*, 6> mnuFileHist{};  // 0 is the separator above the recent files
  QAction* mnuViewToolBar = nullptr;
  QAction* mnuViewStatusBar = nullptr;
  QAction* mnuScoreOptions = nullptr;
  QAction* mnuToolsChordMapper = nullptr;
  QAction* mnuToolsStyleEditor = nullptr;
  QAction* mnuToolsClearHist = nullptr;
  QAction* mnuHelpTOC = nullptr;
  QAction* mnuHelpIndex = nullptr;
  QAction* mnuHelpAbout = nullptr;
  QAction* mnuHelpUpdate = nullptr;

  // Tests and the program's start-up replace how the Open command asks for a file: the
  // chosen path and filter index 1..3, or nothing when cancelled.
  struct OpenChoice {
    QString Path;
    int FilterIndex = 1;
  };
  using OpenPrompt = std::function<std::optional<OpenChoice>(const QString& folder, int filter)>;
  void SetOpenPrompt(OpenPrompt prompt) { m_openPrompt = std::move(prompt); }

  // Refreshes the recent-file items (mnuFileHist) from the list.
  void ShowHistoryMenu();
  const ProgressModel& Progress() const { return m_progress; }
  tonegen::SoundMaster* Sound() const { return m_sound.get(); }
  // A playback has been started and has not ended.
  bool PlayActive() const { return m_playActive; }
  // The transport's buttons by index (0 Beginning ... 5 End).
  QToolButton* TransportButton(int index) const;

  // IFrame
  void CancelPlay(bool keepPlayButton) override;
  void DoFunction(const QString& command, const QString& path = {}) override;
  bool EnableCutCopy() const override;
  void SetEnableCutCopy(bool enabled) override;
  bool EnablePaste() const override;
  void SetEnablePaste(bool enabled) override;
  bool EnableUndo() const override;
  void SetEnableUndo(bool enabled) override;
  void Ending1(long curTime, long nextTime) override;
  long GoRepeat() const override;
  void SetGoRepeat(long time) override;
  long MarkRepeat() const override;
  void SetMarkRepeat(long time) override;
  void GotMidi(const notecraft::MIDIEvent& event) override;
  void PlayNote(int value, bool stopNote, int instrument, int channel) override;
  void ShowPlay() override;
  void ClickTransport(int index) override;
  bool InitStatus(long size, const QString& caption) override;
  void UpdateStatus(long position) override;
  void TerminateStatus() override;
  bool InsertStyle(notecraft::Score& score, long staff, long measure, int type) override;
  bool Mapper() const override { return m_mapper; }
  void SetMapper(bool open) override { m_mapper = open; }
  void ReloadDefaults() override;
  void UnRegister(const QString& tag) override;
  void OpenHistory(int index) override;
  void HelpContents() override;
  void HelpIndex() override;
  void HelpAbout() override;
  void HelpUpdate() override;
  void ScoreDefaults() override;
  void ToolsChordMapper() override;
  void ToolsStyleEditor() override;
  void ToolsClearHistory() override;
  void ViewToolBar() override;
  void ViewStatusBar() override;
  QPrinter* Printer() override;
  void Arrange(int how) override;

  // Help, companion programs, Defaults and the chord mapper (mdivltmain_help.cpp).
  // Tests replace how a companion program is started and where the Defaults dialog's MIDI
  // devices come from.
  void SetCompanionLauncher(CompanionLauncher launcher) { m_launcher = std::move(launcher); }
  void SetDeviceLister(std::function<MidiDeviceLists()> lister) {
    m_deviceLister = std::move(lister);
  }
  // The open Chord Mapper window, if any.
  QWidget* MapperWindow() const { return m_mapperWindow; }

signals:
  // The frame was shown for the first time (the start-up's first activation waits for it).
  void firstShown();
  // The close went through: the frame is hidden and its placement saved.
  void closed();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  struct ChildSlot {
    QPointer<QWidget> Widget;
    IScoreWindow* Window = nullptr;  // valid while Widget is
  };

  void CreateImages();
  void CreateMenus();
  void CreateToolbar();
  void CreateStatusPane();
  void CreateMdiArea();
  QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& shortcut = {});
  void ShowFrameMenus();
  void OnSubWindowActivated(QMdiSubWindow* window);
  void OnToolbarButton(const QString& key);
  void RunFunction(const QString& command, const QString& path);
  void OpenWithDialog();
  void PrintSetup();
  IScoreWindow* NewWindow();
  int RegisterChild(IScoreWindow* window);
  void ShowChild(IScoreWindow* window);
  void DropWindow(QWidget* widget);
  bool CloseChildren();
  void SavePlacement();
  // The transport (mdivltmain_play.cpp).
  void CreateTransport();
  void CreatePlayer();
  void ReleasePlayer();
  void OnTransportClicked(int index);
  void StartPlay(IScoreWindow& window);
  void EndPlay(bool keepPlayButton);
  void ReleaseTransportButtons(bool keepPlayButton);
  void ShowHelp(const QString& topic);
  bool Launch(const CompanionCommand& command);
  // The devices as the sound output lists them, matched by name first.
  void ResolveDevices();

  AppContext& m_context;
  FrameImages m_images;
  dropskin::CoolMenu* cmnMain = nullptr;
  std::unique_ptr<tonegen::SoundMaster> m_sound;
  std::unique_ptr<QPrinter> m_printer;
  OpenPrompt m_openPrompt;

  QMdiArea* mdiArea = nullptr;
  QToolBar* tbrMain = nullptr;
  QMap<QString, QAction*> m_buttons;
  QWidget* pctPlay = nullptr;
  QAction* m_pctPlayAction = nullptr;  // pctPlay's place on the toolbar
  QStatusBar* pctStatusBar = nullptr;
  QLabel* lblMain = nullptr;
  QProgressBar* pbrMain = nullptr;
  QList<QMenu*> m_frameMenus;
  QMenu* mnuFile = nullptr;
  QMenu* mnuEdit = nullptr;
  QMenu* mnuView = nullptr;
  QMenu* mnuScore = nullptr;
  QMenu* mnuTools = nullptr;
  QMenu* mnuHelp = nullptr;
  // Whose menus the menu bar shows: the frame's, or those of the window m_menusOf.
  bool m_showingFrameMenus = true;
  QPointer<QMdiSubWindow> m_menusOf;

  QVector<ChildSlot> m_children;
  // The window whose file is being loaded; the progress display it started ends with it.
  QPointer<QWidget> m_loading;
  ProgressModel m_progress;
  // QProgressBar counts in int: sizes above that are shown scaled down.
  long m_progressScale = 1;
  bool m_closed = false;
  bool m_shownOnce = false;
  bool m_mapper = false;

  // The transport: one player for the program. The scheduler borrows m_sound and goes
  // before it.
  std::array<QToolButton*, 6> chkPlay{};
  std::unique_ptr<notecraft::PlaybackClock> m_playClock;
  std::unique_ptr<notecraft::ScorePlaybackSource> m_playSource;  // reads the playing score
  std::unique_ptr<notecraft::PlaybackScheduler> m_player;
  std::unique_ptr<notecraft::PlaybackTimer> m_playTimer;
  // The window whose score plays: a closed or destroyed window ends play first.
  QPointer<QWidget> m_playingWidget;
  IScoreWindow* m_playingWindow = nullptr;  // valid while m_playingWidget is, until gone
  // Set once the playing window is being destroyed (its score is already gone, though
  // QWidget's part still is there): nothing of it may be used.
  bool m_playingGone = false;
  QMetaObject::Connection m_playingWatch;
  bool m_playActive = false;
  bool m_stopRequested = false;  // CancelPlay runs; guards against re-entry
  CompanionLauncher m_launcher;
  std::function<MidiDeviceLists()> m_deviceLister;
  QPointer<QWidget> m_mapperWindow;
  // Context of the windows' destroyed connections. Declared last, so it goes first: the
  // windows, deleted with the MDI area after every member, find nobody listening.
  QObject m_childWatch;
};

}  // namespace veltrimond
