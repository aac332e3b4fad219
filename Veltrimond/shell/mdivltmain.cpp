#include "Veltrimond/shell/mdivltmain.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <utility>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iscorewindow.h"
#include "dropskin/coolmenu.h"
#include "notecraft/player/playbackclock.h"
#include "notecraft/player/playbackscheduler.h"
#include "notecraft/player/playbacksource.h"
#include "notecraft/player/qt/playbacktimer.h"
#include "platform/settingsstore.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

namespace {

const QString kMain = QStringLiteral("Main");

}  // namespace

mdiVLTMain::mdiVLTMain(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context) {
  setObjectName(QStringLiteral("mdiVLTMain"));
  setWindowTitle(QStringLiteral("Veltrimond"));
  CreateImages();
  CreateMdiArea();
  CreateToolbar();
  CreateStatusPane();
  CreateMenus();

  AppState& state = m_context.State;
  state.RecordDeviceID =
      platform::ReadSettingInt(QStringLiteral("Devices"), QStringLiteral("RecordID"), -1);
  state.PlayDeviceID =
      platform::ReadSettingInt(QStringLiteral("Devices"), QStringLiteral("PlayID"), -1);
  m_sound = m_context.MakeSoundMaster ? m_context.MakeSoundMaster()
                                      : std::make_unique<tonegen::SoundMaster>();
  // Port numbers change between boots: the stored device names pick the ids.
  ResolveDevices();
  if (m_sound) {
    m_sound->SetOutputDevice(state.PlayDeviceID);
    m_sound->OpenOutput();
  }
  CreatePlayer();

  mnuViewToolBar->setChecked(platform::ReadSettingBool(kMain, QStringLiteral("ToolBar"), true));
  tbrMain->setVisible(mnuViewToolBar->isChecked());
  mnuViewStatusBar->setChecked(platform::ReadSettingBool(kMain, QStringLiteral("StatusBar"), true));
  pctStatusBar->setVisible(mnuViewStatusBar->isChecked());
  ShowHistoryMenu();
}

mdiVLTMain::~mdiVLTMain() {
  // The MDI area goes with QWidget's part of the frame and announces its windows' going:
  // nothing of this class may hear it.
  if (mdiArea) disconnect(mdiArea, nullptr, this, nullptr);
}

void mdiVLTMain::CreateImages() {
  m_images = FrameImages::Draw();
  cmnMain = new dropskin::CoolMenu(this);
  cmnMain->setObjectName(QStringLiteral("cmnMain"));
}

void mdiVLTMain::InitMenuPictures() {
  dropskin::ImageList images;
  for (const FrameImage& image : m_images.Items()) images.push_back({image.Tag, image.Icon});
  // Disabled items show only the dark strokes of their pictures, embossed.
  cmnMain->Init(this, images, false, true);
}

void mdiVLTMain::CreateMdiArea() {
  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  mdiArea->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(mdiArea);
  connect(mdiArea, &QMdiArea::subWindowActivated, this, &mdiVLTMain::OnSubWindowActivated);
}

QAction* mdiVLTMain::AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                                 const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // Frame actions live in the menus of every window; the shortcut follows the menu bar.
    action->setShortcutContext(Qt::WindowShortcut);
  }
  return action;
}

void mdiVLTMain::CreateMenus() {
  auto topMenu = [this](const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    // Enabled by the first activation, once the splash has gone.
    menu->menuAction()->setEnabled(false);
    m_frameMenus.append(menu);
    return menu;
  };
  auto disabled = [](QAction* action) {
    action->setEnabled(false);
    return action;
  };

  mnuFile = topMenu("mnuFile", tr("&File"));
  mnuFileNew = AddMenuItem(mnuFile, "mnuFileNew", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
  mnuFileOpen =
      AddMenuItem(mnuFile, "mnuFileOpen", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
  mnuFile->addSeparator();
  disabled(AddMenuItem(mnuFile, "mnuFileSave", tr("&Save")));
  disabled(AddMenuItem(mnuFile, "mnuFileSaveAs", tr("Save &As...")));
  mnuFile->addSeparator();
  disabled(
      AddMenuItem(mnuFile, "mnuFilePrint", tr("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)));
  disabled(AddMenuItem(mnuFile, "mnuFilePreview", tr("P&rint Preview")));
  mnuFileSetup = AddMenuItem(mnuFile, "mnuFileSetup", tr("Print Set&up..."));
  mnuFileHist[0] = mnuFile->addSeparator();
  mnuFileHist[0]->setObjectName(QStringLiteral("mnuFileHist0"));
  for (int n = 1; n <= 5; ++n) {
    QAction* item = mnuFile->addAction(QStringLiteral("&%1").arg(n));
    item->setObjectName(QStringLiteral("mnuFileHist%1").arg(n));
    connect(item, &QAction::triggered, this, [this, n] { OpenHistory(n); });
    mnuFileHist[n] = item;
  }
  mnuFile->addSeparator();
  mnuFileExit = AddMenuItem(mnuFile, "mnuFileExit", tr("E&xit"));
  // The recent files may change while another window is active.
  connect(mnuFile, &QMenu::aboutToShow, this, &mdiVLTMain::ShowHistoryMenu);

  mnuEdit = topMenu("mnuEdit", tr("&Edit"));
  disabled(AddMenuItem(mnuEdit, "mnuEditUndo", tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)));
  mnuEdit->addSeparator();
  disabled(AddMenuItem(mnuEdit, "mnuEditCut", tr("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X)));
  disabled(AddMenuItem(mnuEdit, "mnuEditCopy", tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)));
  disabled(AddMenuItem(mnuEdit, "mnuEditPaste", tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)));

  mnuView = topMenu("mnuView", tr("&View"));
  mnuViewToolBar = AddMenuItem(mnuView, "mnuViewToolBar", tr("&Tool Bar"));
  mnuViewToolBar->setCheckable(true);
  mnuViewToolBar->setChecked(true);
  mnuViewStatusBar = AddMenuItem(mnuView, "mnuViewStatusBar", tr("&Status Bar"));
  mnuViewStatusBar->setCheckable(true);
  mnuViewStatusBar->setChecked(true);

  mnuScore = topMenu("mnuScore", tr("&Score"));
  mnuScoreOptions =
      AddMenuItem(mnuScore, "mnuScoreOptions", tr("&Defaults..."), QKeySequence(Qt::Key_F4));

  mnuTools = topMenu("mnuTools", tr("&Tools"));
  mnuToolsChordMapper = AddMenuItem(mnuTools, "mnuToolsChordMapper", tr("&Chord Mapper"));
  mnuToolsStyleEditor = AddMenuItem(mnuTools, "mnuToolsStyleEditor", tr("&Style Editor"));
  mnuTools->addSeparator();
  mnuToolsClearHist = AddMenuItem(mnuTools, "mnuToolsClearHist", tr("Clear &File History"));

  mnuHelp = topMenu("mnuHelp", tr("&Help"));
  mnuHelpTOC = AddMenuItem(mnuHelp, "mnuHelpTOC", tr("&Contents..."), QKeySequence(Qt::Key_F1));
  mnuHelpIndex = AddMenuItem(mnuHelp, "mnuHelpIndex", tr("&Index..."));
  mnuHelp->addSeparator();
  mnuHelpAbout = AddMenuItem(mnuHelp, "mnuHelpAbout", tr("&About Veltrimond..."));
  mnuHelpUpdate = AddMenuItem(mnuHelp, "mnuHelpUpdate", tr("Update &Help from Internet..."));

  connect(mnuFileNew, &QAction::triggered, this, [this] { DoFunction(QStringLiteral("NEW")); });
  connect(mnuFileOpen, &QAction::triggered, this, [this] { DoFunction(QStringLiteral("OPEN")); });
  connect(mnuFileSetup, &QAction::triggered, this, [this] { DoFunction(QStringLiteral("SETUP")); });
  connect(mnuFileExit, &QAction::triggered, this, [this] { DoFunction(QStringLiteral("EXIT")); });
  // Qt has toggled the check by the time triggered arrives; the bars follow it.
  connect(mnuViewToolBar, &QAction::triggered, tbrMain, &QWidget::setVisible);
  connect(mnuViewStatusBar, &QAction::triggered, pctStatusBar, &QWidget::setVisible);
  connect(mnuScoreOptions, &QAction::triggered, this, [this] { ScoreDefaults(); });
  connect(mnuToolsChordMapper, &QAction::triggered, this, [this] { ToolsChordMapper(); });
  connect(mnuToolsStyleEditor, &QAction::triggered, this, [this] { ToolsStyleEditor(); });
  connect(mnuToolsClearHist, &QAction::triggered, this, [this] { ToolsClearHistory(); });
  connect(mnuHelpTOC, &QAction::triggered, this, [this] { HelpContents(); });
  connect(mnuHelpIndex, &QAction::triggered, this, [this] { HelpIndex(); });
  connect(mnuHelpAbout, &QAction::triggered, this, [this] { HelpAbout(); });
  connect(mnuHelpUpdate, &QAction::triggered, this, [this] { HelpUpdate(); });
  ShowFrameMenus();
}

void mdiVLTMain::ShowFrameMenus() {
  menuBar()->clear();
  for (QMenu* menu : m_frameMenus) menuBar()->addMenu(menu);
  m_showingFrameMenus = true;
  m_menusOf = nullptr;
}

void mdiVLTMain::CreateToolbar() {
  tbrMain = new QToolBar(tr("Tool Bar"), this);
  tbrMain->setObjectName(QStringLiteral("tbrMain"));
  tbrMain->setMovable(false);
  tbrMain->setFloatable(false);
  tbrMain->setIconSize(QSize(16, 16));
  // The toolbar's own hide menu would bypass View > Tool Bar.
  tbrMain->toggleViewAction()->setVisible(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  struct Button {
    const char* Key;
    QString ToolTip;
    bool GroupEnd;  // a separator follows
  };
  const Button buttons[] = {
      {"New", tr("New Score"), false},
      {"Open", tr("Open Score"), true},
      {"Undo", {}, false},
      {"Redo", {}, true},
      {"Cut", {}, false},
      {"Copy", {}, false},
      {"Paste", {}, true},
      {"TileH", tr("Tile Horizontal"), false},
      {"TileV", tr("Tile Vertical"), false},
      {"Cascade", {}, true},
      {"Exit", {}, false},
      {"Help", {}, false},
  };
  for (const Button& b : buttons) {
    const QString key = QString::fromLatin1(b.Key);
    QAction* action = tbrMain->addAction(m_images.Icon(key), b.ToolTip.isEmpty() ? key : b.ToolTip);
    action->setObjectName(QStringLiteral("tbrMain_") + key);
    action->setData(key);
    // Every key starts disabled: the first activation enables New, Open, Exit and Help, a
    // score window the rest.
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, key] { OnToolbarButton(key); });
    m_buttons.insert(key, action);
    if (b.GroupEnd) tbrMain->addSeparator();
  }
  // The transport pane sits at the toolbar's right end, shown while a score window is active.
  auto* spacer = new QWidget(tbrMain);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tbrMain->addWidget(spacer);
  pctPlay = new QWidget(tbrMain);
  pctPlay->setObjectName(QStringLiteral("pctPlay"));
  pctPlay->setLayout(new QHBoxLayout);
  pctPlay->layout()->setContentsMargins(0, 0, 0, 0);
  m_pctPlayAction = tbrMain->addWidget(pctPlay);
  m_pctPlayAction->setVisible(false);
  CreateTransport();
  addToolBar(Qt::TopToolBarArea, tbrMain);
}

void mdiVLTMain::CreateStatusPane() {
  pctStatusBar = new QStatusBar(this);
  pctStatusBar->setObjectName(QStringLiteral("pctStatusBar"));
  pctStatusBar->setSizeGripEnabled(true);
  auto* pane = new QWidget(pctStatusBar);
  auto* layout = new QHBoxLayout(pane);
  layout->setContentsMargins(4, 0, 4, 0);
  // 90 twips between the caption and the bar.
  layout->setSpacing(6);
  lblMain = new QLabel(tr("Info"), pane);
  lblMain->setObjectName(QStringLiteral("lblMain"));
  lblMain->setVisible(false);
  pbrMain = new QProgressBar(pane);
  pbrMain->setObjectName(QStringLiteral("pbrMain"));
  pbrMain->setTextVisible(false);
  pbrMain->setMaximumHeight(14);
  pbrMain->setVisible(false);
  layout->addWidget(lblMain);
  layout->addWidget(pbrMain, 1);
  pctStatusBar->addWidget(pane, 1);
  setStatusBar(pctStatusBar);
}

void mdiVLTMain::EnableCommands() {
  for (QMenu* menu : m_frameMenus) menu->menuAction()->setEnabled(true);
  for (const char* key : {"New", "Open", "Exit", "Help"})
    m_buttons.value(QString::fromLatin1(key))->setEnabled(true);
}

QAction* mdiVLTMain::ToolbarButton(const QString& key) const {
  return m_buttons.value(key);
}

void mdiVLTMain::ShowHistoryMenu() {
  const platform::RecentFiles& history = m_context.History;
  mnuFileHist[0]->setVisible(false);
  mnuToolsClearHist->setEnabled(false);
  for (int n = 1; n <= 5; ++n) {
    QAction* item = mnuFileHist[n];
    if (n <= history.Count()) {
      item->setText(history.Caption(n));
      item->setData(history.Path(n));
      item->setVisible(true);
      mnuFileHist[0]->setVisible(true);
      mnuToolsClearHist->setEnabled(true);
    } else {
      item->setVisible(false);
    }
  }
}

void mdiVLTMain::OnToolbarButton(const QString& key) {
  const QString k = key.toLower();
  IScoreWindow* active = ActiveScoreWindow();
  if (k == QLatin1String("new")) {
    DoFunction(QStringLiteral("NEW"));
  } else if (k == QLatin1String("open")) {
    DoFunction(QStringLiteral("OPEN"));
  } else if (k == QLatin1String("exit")) {
    DoFunction(QStringLiteral("EXIT"));
  } else if (k == QLatin1String("help")) {
    HelpContents();
  } else if (k == QLatin1String("cascade")) {
    Arrange(0);
  } else if (k == QLatin1String("tileh")) {
    Arrange(1);
  } else if (k == QLatin1String("tilev")) {
    Arrange(2);
  } else if (active && k == QLatin1String("undo")) {
    active->EditUndo();
  } else if (active && k == QLatin1String("cut")) {
    // The window enables these buttons with its own Edit items, so they do what those do.
    active->EditCut();
  } else if (active && k == QLatin1String("copy")) {
    active->EditCopy();
  } else if (active && k == QLatin1String("paste")) {
    active->EditPaste();
  }
}

void mdiVLTMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!std::exchange(m_shownOnce, true)) emit firstShown();
}

void mdiVLTMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ShowHistoryMenu();
}

}  // namespace veltrimond
