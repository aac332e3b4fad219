#include "Veltrimond/child/chdvltmain_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <algorithm>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iframe.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "edittools/qt/toolbox.h"
#include "notecraft/core/enums.h"
#include "notecraft/core/globalevents.h"
#include "notecraft/core/score.h"
#include "notecraft/core/score_structure.h"
#include "notecraft/core/staff.h"
#include "notecraft/qt/scorepagewidget.h"

namespace veltrimond {

namespace {

// The page is drawn at 15 twips a pixel, whatever the screen.
constexpr int kPageTwipsPerPixel = 15;

// The MDI area the window lives in; null outside one.
QMdiArea* AreaOf(QWidget* window) {
  for (QWidget* w = window ? window->parentWidget() : nullptr; w; w = w->parentWidget())
    if (auto* area = qobject_cast<QMdiArea*>(w)) return area;
  return nullptr;
}

}  // namespace

ScoreMenus::ScoreMenus(chdVLTMain& window)
    : QObject(&window),
      m_window(window),
      m_saving(std::make_unique<ScoreSaving>(window.Score(), window.Context().History)),
      m_printing(std::make_unique<ScorePrinting>(window.Score())) {
  m_saving->SetDefaultFolder(window.Context().Paths.Documents);
  m_saving->SetSaveAsPrompt(
      [this](const SaveAsOffer& offer) { return RunSaveAsDialog(&m_window, offer); });
  Build();
  Connect();
  m_window.m_menus = m_menus;
  m_window.mnuNote = Menu(QStringLiteral("mnuNote"));
  m_window.mnuScore = Menu(QStringLiteral("mnuScore"));
  m_window.mnuMeasure = Menu(QStringLiteral("mnuMeasure"));
  m_window.Hooks.ShowPopup = [this](PagePopup popup) { ShowPopup(popup); };
  connect(&m_window, &chdVLTMain::noteMenuStateChanged, this, [this](NoteMenuState state) {
    ApplyNoteMenu(state == NoteMenuState::BandSelected  ? NoteMenuMode::BandSelected
                  : state == NoteMenuState::NoteClicked ? NoteMenuMode::NoteClicked
                                                        : NoteMenuMode::NoSelection);
  });
  ShowHistoryMenu();
  m_window.installEventFilter(this);
}

bool ScoreMenus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_window &&
      (event->type() == QEvent::ParentChange || event->type() == QEvent::Show))
    FreeMenuShortcuts();
  return QObject::eventFilter(watched, event);
}

void ScoreMenus::FreeMenuShortcuts() {
  // The MDI subwindow's own Close carries the platform's Close keys, Ctrl+W among them on
  // X11, which would make Note > Set Duration > Whole ambiguous (neither would run).
  // Ctrl+F4 still closes the window.
  auto* sub = qobject_cast<QMdiSubWindow*>(m_window.parentWidget());
  if (!sub || !sub->systemMenu()) return;
  QList<QKeySequence> ours;
  for (QAction* item : std::as_const(m_items))
    if (!item->shortcut().isEmpty()) ours << item->shortcut();
  for (QAction* action : sub->systemMenu()->actions()) {
    QList<QKeySequence> keys = action->shortcuts();
    const auto taken = [&](const QKeySequence& k) { return ours.contains(k); };
    if (std::any_of(keys.begin(), keys.end(), taken)) {
      keys.removeIf(taken);
      action->setShortcuts(keys);
    }
  }
}

void ScoreMenus::ShowPopup(PagePopup popup) {
  QMenu* menu = popup == PagePopup::Note    ? Menu(QStringLiteral("mnuNote"))
                : popup == PagePopup::Score ? Menu(QStringLiteral("mnuScore"))
                                            : Menu(QStringLiteral("mnuMeasure"));
  // The Notation items belong to the measure's pop-up only, not to the menu bar's menu.
  const bool measure = popup == PagePopup::Measure;
  Item(QStringLiteral("mnuMeasureBar3"))->setVisible(measure);
  Item(QStringLiteral("mnuMeasureNotate"))->setVisible(measure);
  if (Prompts.Popup) {
    Prompts.Popup(menu);
  } else {
    menu->exec(QCursor::pos());
  }
  Item(QStringLiteral("mnuMeasureBar3"))->setVisible(false);
  Item(QStringLiteral("mnuMeasureNotate"))->setVisible(false);
}

ScoreMenus::~ScoreMenus() = default;

void ScoreMenus::Build() {
  for (const MenuSpec& spec : ScoreMenuTable()) {
    // Owned by the window: the frame's menu bar only shows them.
    auto* menu = new QMenu(spec.Caption, &m_window);
    menu->setObjectName(spec.Name);
    menu->menuAction()->setObjectName(spec.Name);
    m_menus.append(menu);
    m_menuByName.insert(spec.Name, menu);
    QMenu* sub = nullptr;
    for (std::size_t i = 0; i < spec.Items.size(); ++i) {
      const MenuItemSpec& item = spec.Items[i];
      const bool opensSub = item.Depth == 0 && !item.Separator() && i + 1 < spec.Items.size() &&
                            spec.Items[i + 1].Depth == 1;
      if (item.Depth == 0) sub = nullptr;
      QMenu* into = item.Depth == 1 && sub ? sub : menu;
      if (opensSub) {
        sub = menu->addMenu(item.Caption);
        sub->setObjectName(item.Name);
        QAction* action = sub->menuAction();
        action->setObjectName(item.Name);
        action->setVisible(!(item.Flags & kMenuHidden));
        action->setEnabled(!(item.Flags & kMenuOff));
        m_items.insert(item.Name, action);
        m_menuByName.insert(item.Name, sub);
        continue;
      }
      TakeItem(into, item);
    }
  }
}

QAction* ScoreMenus::TakeItem(QMenu* menu, const MenuItemSpec& spec) {
  if (spec.Separator()) {
    QAction* bar = menu->addSeparator();
    if (!spec.Name.isEmpty()) {
      bar->setObjectName(spec.Name);
      m_items.insert(spec.Name, bar);
    }
    bar->setVisible(!(spec.Flags & kMenuHidden));
    return bar;
  }
  // The window's own actions keep their commands and get the table's caption and keys.
  QAction* action = nullptr;
  if (spec.Name == QLatin1String("mnuEditUndo")) action = m_window.mnuEditUndo;
  if (spec.Name == QLatin1String("mnuEditCut")) action = m_window.mnuEditCut;
  if (spec.Name == QLatin1String("mnuEditCopy")) action = m_window.mnuEditCopy;
  if (spec.Name == QLatin1String("mnuEditPaste")) action = m_window.mnuEditPaste;
  if (spec.Name == QLatin1String("mnuViewToolbox")) action = m_window.mnuViewToolbox;
  if (spec.Name.startsWith(QLatin1String("mnuVoiceCur"))) {
    const int index = spec.Name.right(1).toInt();
    action = m_window.mnuVoice[static_cast<std::size_t>(index)];
    // The window's action sets the score's voice; the panel shows it as well.
    connect(action, &QAction::triggered, this, [this, index] {
      m_window.Panel(QStringLiteral("Voice"))->setText(QString::number(index + 1));
    });
  }
  const bool own = action != nullptr;
  if (own) {
    // Their states are the window's; only the looks come from the table.
    action->setText(spec.Caption);
    menu->addAction(action);
  } else {
    action = menu->addAction(spec.Caption);
    action->setObjectName(spec.Name);
    action->setVisible(!(spec.Flags & kMenuHidden));
    action->setEnabled(!(spec.Flags & kMenuOff));
    action->setCheckable(spec.Flags & kMenuCheckable);
    action->setChecked((spec.Flags & kMenuChecked) == kMenuChecked);
  }
  if (action->objectName().isEmpty()) action->setObjectName(spec.Name);
  // One key each: the window's Edit actions came with the platform's lists (Shift+Del for
  // Cut, Shift+Ins for Paste), which the Staff menu's items use here.
  action->setShortcut(QKeySequence(spec.Shortcut, QKeySequence::PortableText));
  if (!own) action->setShortcutContext(Qt::WindowShortcut);
  m_items.insert(spec.Name, action);
  return action;
}

void ScoreMenus::On(const char* name, std::function<void()> command) {
  QAction* action = Item(QString::fromLatin1(name));
  Q_ASSERT(action);
  // What is being typed on the page is stored before any command runs.
  connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
    m_window.EndInPlaceEntry();
    command();
  });
}

void ScoreMenus::Connect() {
  notecraft::Score& score = m_window.Score();
  auto frame = [this] { return m_window.ParentFrame(); };
  auto forward = [frame](void (IFrame::*call)()) {
    return [frame, call] {
      if (IFrame* f = frame()) (f->*call)();
    };
  };
  auto doFunction = [frame](const char* command) {
    return [frame, command] {
      if (IFrame* f = frame()) f->DoFunction(QString::fromLatin1(command));
    };
  };

  // File.
  On("mnuFileNew", doFunction("NEW"));
  On("mnuFileOpen", doFunction("OPEN"));
  On("mnuFileSave", [this] { FileSave(); });
  On("mnuFileSaveAs", [this] { FileSaveAs(); });
  On("mnuFilePrint", [this] { FilePrint(); });
  On("mnuFileSetup", doFunction("SETUP"));
  for (int n = 1; n <= 5; ++n) {
    On(QStringLiteral("mnuFileHist%1").arg(n).toLatin1().constData(), [frame, n] {
      if (IFrame* f = frame()) f->OpenHistory(n);
    });
  }
  On("mnuFileExit", doFunction("EXIT"));
  connect(Menu(QStringLiteral("mnuFile")), &QMenu::aboutToShow, this, &ScoreMenus::ShowHistoryMenu);

  // View.
  On("mnuViewToolBar", forward(&IFrame::ViewToolBar));
  On("mnuViewStatusBar", forward(&IFrame::ViewStatusBar));
  On("mnuViewHandles", [this, &score] {
    score.SetHandles(Item(QStringLiteral("mnuViewHandles"))->isChecked());
    score.PaintWindow();
  });
  connect(Menu(QStringLiteral("mnuView")), &QMenu::aboutToShow, this, &ScoreMenus::SyncFrameChecks);

  // Score.
  On("mnuScoreOptions", forward(&IFrame::ScoreDefaults));
  // The frame's transport buttons Play (2) and Stop (3), as if clicked.
  On("mnuScorePlay", [frame] {
    if (IFrame* f = frame()) f->ClickTransport(2);
  });
  On("mnuScoreStop", [frame] {
    if (IFrame* f = frame()) f->ClickTransport(3);
  });
  auto clearAll = [this, &score](int type, const char* question) {
    return [this, &score, type, question] {
      if (Confirm(tr("Score"), tr(question))) score.RemoveGlobalEvent(-1, type);
    };
  };
  On("mnuScoreResetWidth", clearAll(notecraft::evtMeasureSize,
                                    "Are you sure you want to reset all width overrides?"));
  On("mnuScoreResetLine",
     clearAll(notecraft::evtLineEnd, "Are you sure you want to reset all line breaks?"));
  On("mnuScoreDelLyrics", [this] {
    ClearOnEveryStaff(notecraft::evtLyric, tr("Are you sure you want to delete all lyrics?"));
  });
  On("mnuScoreClearTime",
     clearAll(notecraft::evtTimeChange, "Are you sure you want to clear all time changes?"));
  On("mnuScoreClearKey", [this] {
    ClearOnEveryStaff(notecraft::evtKeyChange,
                      tr("Are you sure you want to clear all key changes?"));
  });
  On("mnuScoreRefresh", [&score] { score.PaintWindow(); });
  On("mnuScoreProperties",
     [&score] { notecraft::ShowDialog(score, notecraft::dlgScoreProperties); });

  // Staff.
  auto refreshDrums = [this] {
    if (m_window.Hooks.RefreshDrumPanel) m_window.Hooks.RefreshDrumPanel();
  };
  On("mnuStaffInsert", [&score, refreshDrums] {
    notecraft::AddStaff(score, std::nullopt, true);
    refreshDrums();
  });
  On("mnuStaffDelete", [&score, refreshDrums] {
    notecraft::DelStaff(score, std::nullopt, true);
    refreshDrums();
  });
  On("mnuStaffSpaceInc", [this] { AddGlobalAtDown(notecraft::evtStaffSpace, 1); });
  On("mnuStaffSpaceDec", [this] { AddGlobalAtDown(notecraft::evtStaffSpace, -1); });
  On("mnuStaffSpaceRst", [this] { AddGlobalAtDown(notecraft::evtStaffSpace, 0); });
  On("mnuStaffProperties", [&score, refreshDrums] {
    notecraft::ShowDialog(score, notecraft::dlgStaffProperties);
    refreshDrums();
  });

  // Measure.
  On("mnuMeasureInsert", [&score] { notecraft::AddMeasure(score, std::nullopt, false, true); });
  On("mnuMeasureDelete", [&score] { notecraft::DelMeasure(score, std::nullopt, true); });
  On("mnuMeasureStyle", [this, frame, &score] {
    if (IFrame* f = frame())
      f->InsertStyle(score, m_window.ActiveStaffNumber(), m_window.CurMeasure(), -1);
  });
  On("mnuMeasureWidthInc", [this] { AddGlobalAtDown(notecraft::evtMeasureSize, 1); });
  On("mnuMeasureWidthDec", [this] { AddGlobalAtDown(notecraft::evtMeasureSize, -1); });
  On("mnuMeasureWidthRst", [this] { AddGlobalAtDown(notecraft::evtMeasureSize, 0); });
  On("mnuMeasureLine", [this] { AddGlobalAtDown(notecraft::evtLineEnd, 0); });
  for (int n = 0; n < 6; ++n) {
    On(QStringLiteral("mnuMeasureNotateT%1").arg(n).toLatin1().constData(),
       [this, n] { AddGlobalAtDown(notecraft::evtTempo, n + 1); });
  }
  On("mnuMeasureDelChords", [this] { DeleteMeasureEvents(notecraft::evtChord); });
  On("mnuMeasureDelDyn", [this] { DeleteMeasureEvents(notecraft::evtDynamic); });
  On("mnuMeasureDelText", [this] { DeleteMeasureEvents(notecraft::evtText); });
  On("mnuMeasureProperties",
     [&score] { notecraft::ShowDialog(score, notecraft::dlgMeasureProperties); });

  // Note: every command but Delete Note needs the selection.
  connect(Menu(QStringLiteral("mnuNote")), &QMenu::aboutToShow, this, [this] {
    if (!m_window.HasSelection() && !m_window.Editor().NotePopupOpen()) m_window.EnableNoteMenu();
  });
  On("mnuNoteDelete", [this, &score] {
    if (m_window.HasSelection()) {
      ChangeSel(0, 0, 0, 0, true);
    } else {
      score.DelNote(m_window.Editor().ClickedNoteTime(), 0, 0);
    }
  });
  On("mnuNoteMakeRest", [this] { ChangeSel(0, 128, 0, 0); });
  On("mnuNoteSetValue", [this] { SetPitch(); });
  On("mnuNoteTie", [this] { ChangeSel(0, 0, 0, 0, false, true); });
  const std::pair<const char*, int> durations[] = {
      {"mnuNoteSetW", notecraft::durWhole},  {"mnuNoteSetH", notecraft::durHalf},
      {"mnuNoteSetQ", notecraft::durQuarter}, {"mnuNoteSetE", notecraft::durEighth},
      {"mnuNoteSetX", notecraft::durSixteenth}, {"mnuNoteSetR", notecraft::durThirtySecond}};
  for (const auto& [name, duration] : durations) {
    const int d = duration;
    On(name, [this, d] { ChangeSel(d, 0, 0, 0); });
  }
  const std::pair<const char*, int> stems[] = {{"mnuNoteSetAddDot", notecraft::stmPropDot},
                                               {"mnuNoteSetRemDot", notecraft::stmPropNoDot},
                                               {"mnuNoteStemUp", notecraft::stmForceUp},
                                               {"mnuNoteStemDown", notecraft::stmForceDown},
                                               {"mnuNoteStemFlip", notecraft::stmReverse}};
  for (const auto& [name, code] : stems) {
    const int c = code;
    On(name, [this, c] { ChangeSel(0, 0, c, 0); });
  }
  const std::pair<const char*, int> ornaments[] = {
      {"mnuNoteOrnAct", notecraft::ornAccent},     {"mnuNoteOrnStac", notecraft::ornStacato},
      {"mnuNoteOrnUp", notecraft::ornBowUp},       {"mnuNoteOrnDown", notecraft::ornBowDown},
      {"mnuNoteOrnTrill", notecraft::ornTrill},    {"mnuNoteOrnFermata", notecraft::ornFermata}};
  for (const auto& [name, code] : ornaments) {
    const int c = code;
    On(name, [this, c] { ChangeSel(0, 0, 0, c); });
  }
  // Insert Note, Triplet, Duplet, Turn and Print Preview are offered without a command.

  // Tools.
  On("mnuToolsChordMapper", forward(&IFrame::ToolsChordMapper));
  On("mnuToolsStyleEditor", forward(&IFrame::ToolsStyleEditor));
  // The tools mark the score changed and repaint it themselves when they end.
  On("mnuToolsTranspose", [this] {
    if (Prompts.Transpose) {
      Prompts.Transpose();
    } else {
      edittools::RunTranspose(&m_window, *this);
    }
  });
  On("mnuToolsCopyMove", [this] {
    if (Prompts.CopyMove) {
      Prompts.CopyMove();
    } else {
      edittools::RunCopyMove(&m_window, *this);
    }
  });
  On("mnuToolsClearHist", [this, frame] {
    if (IFrame* f = frame()) f->ToolsClearHistory();
    ShowHistoryMenu();
  });

  // Window.
  On("mnuWindowTileH", [frame] {
    if (IFrame* f = frame()) f->Arrange(1);
  });
  On("mnuWindowTileV", [frame] {
    if (IFrame* f = frame()) f->Arrange(2);
  });
  On("mnuWindowCascade", [frame] {
    if (IFrame* f = frame()) f->Arrange(0);
  });
  connect(Menu(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this, &ScoreMenus::ShowWindowList);

  // Help.
  On("mnuHelpTOC", forward(&IFrame::HelpContents));
  On("mnuHelpIndex", forward(&IFrame::HelpIndex));
  On("mnuHelpAbout", forward(&IFrame::HelpAbout));
  On("mnuHelpUpdate", forward(&IFrame::HelpUpdate));
}

QPrinter& ScoreMenus::Printer() {
  if (IFrame* frame = m_window.ParentFrame())
    if (QPrinter* printer = frame->Printer()) return *printer;
  if (!m_ownPrinter) m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *m_ownPrinter;
}

bool ScoreMenus::FileSave() {
  m_window.EndInPlaceEntry();
  const ScoreSaving::Outcome outcome = m_saving->Save(m_window.Untitled());
  if (outcome != ScoreSaving::Outcome::Saved) return false;
  if (m_window.Untitled()) {
    // Save ran Save As.
    m_window.SetUntitled(false);
    ShowHistoryMenu();
  }
  m_window.ShowCaption();
  return true;
}

bool ScoreMenus::FileSaveAs() {
  m_window.EndInPlaceEntry();
  if (m_saving->SaveAs() != ScoreSaving::Outcome::Saved) return false;
  m_window.SetUntitled(false);
  ShowHistoryMenu();
  m_window.ShowCaption();
  return true;
}

bool ScoreMenus::FilePrint() {
  return m_printing->Print(Printer(), &m_window);
}

bool ScoreMenus::FilePrintAll() {
  return m_printing->PrintAll(Printer());
}

bool ScoreMenus::Confirm(const QString& title, const QString& text) {
  int answer = 0;
  if (Prompts.YesNoCancel) {
    answer = Prompts.YesNoCancel(title, text);
  } else {
    answer = QMessageBox::question(&m_window, title, text,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
                     QMessageBox::Yes
                 ? 6
                 : 2;
  }
  return answer == 6;
}

int ScoreMenus::DeleteMeasureEvents(int eventType) {
  notecraft::Score& score = m_window.Score();
  notecraft::GlobalEvents* list = &score.AllGlobals();
  if (eventType != notecraft::evtChord) {
    const int staff = m_window.ActiveStaffNumber();
    if (staff < 1 || staff > score.Staffs()) return 0;
    list = &score.Staff(staff)->GlobalEvents();
  }
  // The measure's bounds come from the list the events are in, as its own measures count.
  const int start = list->MeasureTime(static_cast<int>(m_window.CurMeasure()));
  int number = 0;
  int length = 0;
  list->MeasureInfo(start, number, length);
  const int end = start + length - 1;
  int removed = 0;
  while (auto e = list->Find(end, eventType, false)) {
    const int time = e->EventTime();
    if (time < start || time > end) break;
    list->Remove(time, eventType);
    ++removed;
  }
  if (removed > 0) {
    // The list's own Remove records nothing: without this the deletion would be lost
    // silently (no mark, no save prompt, stale playback).
    score.SetChanged(true);
    score.RestartPagination(score.CurPage());
    score.PaintWindow();
  }
  return removed;
}

bool ScoreMenus::ClearOnEveryStaff(int eventType, const QString& question) {
  if (!Confirm(tr("Score"), question)) return false;
  notecraft::Score& score = m_window.Score();
  const auto selected = score.SelectedStaff();
  const bool redraw = score.Redraw();
  score.SetRedraw(false);
  // These kinds live in each staff's own list, which the score clears for the selected
  // staff only.
  for (int i = 1; i <= score.Staffs(); ++i) {
    score.Staff(i)->SetSelected(true);
    score.RemoveGlobalEvent(-1, eventType);
  }
  if (selected) {
    selected->SetSelected(true);
  } else if (score.Staffs() > 0) {
    score.Staff(score.Staffs())->SetSelected(false);
  }
  score.SetRedraw(redraw);
  return true;
}

void ScoreMenus::ShowHistoryMenu() {
  const platform::RecentFiles& history = m_window.Context().History;
  QAction* bar = Item(QStringLiteral("mnuFileHist0"));
  QAction* clear = Item(QStringLiteral("mnuToolsClearHist"));
  bar->setVisible(false);
  clear->setEnabled(false);
  for (int n = 1; n <= 5; ++n) {
    QAction* item = Item(QStringLiteral("mnuFileHist%1").arg(n));
    if (n <= history.Count()) {
      item->setText(history.Caption(n));
      item->setData(history.Path(n));
      item->setVisible(true);
      bar->setVisible(true);
      clear->setEnabled(true);
    } else {
      item->setVisible(false);
    }
  }
}

void ScoreMenus::ApplyNoteMenu(NoteMenuMode mode) {
  for (const MenuEnable& e : NoteMenuEnables(mode))
    if (QAction* action = Item(e.Name)) action->setEnabled(e.Enabled);
}

void ScoreMenus::ChangeSel(int newDur, int newValue, int stemDir, int ornaments, bool del,
                           bool tie) {
  if (!m_window.HasSelection()) return;
  m_window.Score().ChangeSel(newDur, newValue, stemDir, ornaments, del, tie);
}

void ScoreMenus::AddGlobalAtDown(int eventType, int subType) {
  m_window.Score().AddGlobalByHit(m_window.Editor().DownX(), m_window.Editor().DownY(),
                                  eventType, subType);
}

void ScoreMenus::SetPitch() {
  if (!m_window.HasSelection()) return;
  const QRect band = m_window.Editor().BandRect().normalized();
  std::optional<int> value;
  if (Prompts.SetPitch) {
    value = Prompts.SetPitch(band);
  } else {
    // Beside the rectangle last dragged: its top left corner on the screen.
    const QPoint corner(band.left() / kPageTwipsPerPixel, band.top() / kPageTwipsPerPixel);
    value = edittools::AskNoteValue(&m_window, m_window.pctScore->mapToGlobal(corner));
  }
  if (value) ChangeSel(0, *value, 0, 0);
}

std::shared_ptr<notecraft::Score> ScoreMenus::ToolScore() {
  // The window owns its score; a tool never outlives it (StopTool).
  return std::shared_ptr<notecraft::Score>(std::shared_ptr<void>(), &m_window.Score());
}

long ScoreMenus::CurMeasure() const { return m_window.CurMeasure(); }

void ScoreMenus::CancelPlay() {
  if (IFrame* frame = m_window.ParentFrame()) frame->CancelPlay(false);
}

void ScoreMenus::StopTool() {
  delete edittools::RunningTool(&m_window);
}

void ScoreMenus::SyncFrameChecks() {
  // The bars are the frame's; this window's check marks show their state.
  auto* frame = dynamic_cast<mdiVLTMain*>(m_window.ParentFrame());
  if (!frame) return;
  Item(QStringLiteral("mnuViewToolBar"))->setChecked(frame->mnuViewToolBar->isChecked());
  Item(QStringLiteral("mnuViewStatusBar"))->setChecked(frame->mnuViewStatusBar->isChecked());
}

void ScoreMenus::ShowWindowList() {
  QMenu* menu = Menu(QStringLiteral("mnuWindow"));
  qDeleteAll(m_windowList);
  m_windowList.clear();
  QMdiArea* area = AreaOf(&m_window);
  if (!area) return;
  const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  m_windowList.append(menu->addSeparator());
  int n = 0;
  for (QMdiSubWindow* sub : windows) {
    ++n;
    QString title = sub->windowTitle();
    title.replace(QLatin1String("[*]"), QString());
    title.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* entry = menu->addAction(n <= 9 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title);
    entry->setCheckable(true);
    entry->setChecked(sub == area->activeSubWindow());
    QPointer<QMdiSubWindow> target(sub);
    connect(entry, &QAction::triggered, area, [area, target] {
      if (target) area->setActiveSubWindow(target);
    });
    m_windowList.append(entry);
  }
}

}  // namespace veltrimond
