// The frame's score windows: the file commands that make them, their list and tags, the
// menus they bring along, and how they are arranged.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTimer>
#include <algorithm>

#include "Veltrimond/core/childtags.h"
#include "Veltrimond/core/openedfile.h"
#include "Veltrimond/core/tilelayout.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iscorewindow.h"
#include "Veltrimond/shell/mdivltmain.h"

namespace veltrimond {

namespace {

// The wait cursor for as long as a file command runs.
class WaitCursor {
public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

const QString kOpenFilter =
    QStringLiteral("Veltrimond Files (*.sco);;Midi Files (*.mid *.midi);;All Files (*)");

}  // namespace

QList<IScoreWindow*> mdiVLTMain::ScoreWindows() const {
  QList<IScoreWindow*> windows;
  for (const ChildSlot& slot : m_children)
    if (slot.Widget) windows.append(slot.Window);
  return windows;
}

IScoreWindow* mdiVLTMain::ActiveScoreWindow() const {
  QMdiSubWindow* sub = mdiArea->activeSubWindow();
  if (!sub) return nullptr;
  for (const ChildSlot& slot : m_children)
    if (slot.Widget && slot.Widget == sub->widget()) return slot.Window;
  return nullptr;
}

void mdiVLTMain::DoFunction(const QString& command, const QString& path) {
  // Run from the event loop: the caller (a window's menu handler, say) returns first, so a
  // window is never destroyed inside its own call.
  QTimer::singleShot(0, this, [this, cmd = command.toUpper(), path] { RunFunction(cmd, path); });
}

void mdiVLTMain::RunFunction(const QString& command, const QString& path) {
  if (command == QLatin1String("EXIT")) {
    close();
  } else if (command == QLatin1String("NEW")) {
    if (IScoreWindow* window = NewWindow()) {
      RegisterChild(window);
      ShowChild(window);
    }
  } else if (command == QLatin1String("OPEN")) {
    if (path.isEmpty()) {
      OpenWithDialog();
    } else {
      OpenScoreFile(path, kTypeFromName);
    }
  } else if (command == QLatin1String("SETUP")) {
    PrintSetup();
  }
}

void mdiVLTMain::OpenWithDialog() {
  const QString folder = OpenDialogFolder(m_context.Paths.Documents);
  const int filter = OpenDialogFilterIndex();
  std::optional<OpenChoice> choice;
  if (m_openPrompt) {
    choice = m_openPrompt(folder, filter);
  } else {
    QFileDialog dialog(this, tr("Open File"), folder, kOpenFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = dialog.nameFilters();
    dialog.selectNameFilter(filters.value(filter - 1));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      choice = OpenChoice{dialog.selectedFiles().first(),
                          static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
  }
  if (choice && !choice->Path.isEmpty()) OpenScoreFile(choice->Path, choice->FilterIndex);
}

void mdiVLTMain::PrintSetup() {
  QPageSetupDialog dialog(Printer(), this);
  dialog.exec();
}

QPrinter* mdiVLTMain::Printer() {
  if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return m_printer.get();
}

bool mdiVLTMain::OpenScoreFile(const QString& path, int fileType) {
  WaitCursor wait;
  const int type = ScoreFileTypeOf(path, fileType);
  RememberOpenedFile(path, type);
  IScoreWindow* window = NewWindow();
  if (!window) return false;
  RegisterChild(window);
  m_loading = window->Widget();
  const bool opened = window->OpenFile(path);
  m_loading = nullptr;
  if (opened) {
    ShowChild(window);
    return true;
  }
  // A reader that failed after it started the progress display never gets to end it.
  TerminateStatus();
  QWidget* widget = window->Widget();
  DropWindow(widget);
  widget->close();
  widget->deleteLater();
  return false;
}

IScoreWindow* mdiVLTMain::NewWindow() {
  if (!m_context.NewScoreWindow) return nullptr;
  IScoreWindow* window = m_context.NewScoreWindow(m_context, *this);
  if (!window || !window->Widget()) return nullptr;
  QWidget* widget = window->Widget();
  widget->setAttribute(Qt::WA_DeleteOnClose);
  // A window destroyed without saying goodbye still leaves the list.
  connect(widget, &QObject::destroyed, &m_childWatch, [this, widget] { DropWindow(widget); });
  return window;
}

int mdiVLTMain::RegisterChild(IScoreWindow* window) {
  int slot = 0;
  while (slot < m_children.size() && m_children[slot].Widget) ++slot;
  if (slot == m_children.size()) m_children.append(ChildSlot{});
  m_children[slot] = {window->Widget(), window};
  window->SetTag({});
  const QString tag = MakeChildTag(QTime::currentTime(), [this](const QString& t) {
    for (const ChildSlot& s : m_children)
      if (s.Widget && s.Window->Tag() == t) return true;
    return false;
  });
  window->SetTag(tag);
  window->SetParentFrame(this);
  return slot;
}

void mdiVLTMain::ShowChild(IScoreWindow* window) {
  QMdiSubWindow* sub = mdiArea->addSubWindow(window->Widget());
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // A page wants room: most of the area, leaving the cascade's steps visible.
  sub->resize(mdiArea->viewport()->size() * 0.8);
  if (m_context.State.ChildrenMaximized) {
    sub->showMaximized();
  } else {
    sub->show();
  }
  mdiArea->setActiveSubWindow(sub);
}

void mdiVLTMain::UnRegister(const QString& tag) {
  // Play ends before the playing window goes (a destroyed one: StartPlay's watch).
  if (m_playActive && m_playingWidget && m_playingWindow && m_playingWindow->Tag() == tag)
    CancelPlay(false);
  for (ChildSlot& slot : m_children) {
    if (slot.Widget && slot.Window->Tag() == tag) {
      DropWindow(slot.Widget);
      return;
    }
  }
}

void mdiVLTMain::DropWindow(QWidget* widget) {
  bool found = false;
  bool others = false;
  for (ChildSlot& slot : m_children) {
    if (slot.Widget == widget || !slot.Widget) {
      // A destroyed window's QPointer is already null.
      found = found || slot.Window != nullptr;
      slot = {};
    } else {
      others = true;
    }
  }
  if (widget && widget == m_loading) TerminateStatus();
  if (!found || others) return;
  if (!m_showingFrameMenus) ShowFrameMenus();
  ShowHistoryMenu();
  m_children.clear();
  if (m_progress.Active()) TerminateStatus();
  m_pctPlayAction->setVisible(false);
  for (const char* key : {"TileH", "TileV", "Cascade"})
    m_buttons.value(QString::fromLatin1(key))->setEnabled(false);
  SetEnableCutCopy(false);
  SetEnablePaste(false);
  SetEnableUndo(false);
}

void mdiVLTMain::ShowPlay() {
  m_pctPlayAction->setVisible(true);
  for (const char* key : {"TileH", "TileV", "Cascade"})
    m_buttons.value(QString::fromLatin1(key))->setEnabled(true);
}

void mdiVLTMain::OnSubWindowActivated(QMdiSubWindow* sub) {
  IScoreWindow* window = ActiveScoreWindow();
  if (!window) {
    // No window active any more: the frame's menus. (Another kind of subwindow changes
    // nothing.)
    if (!sub && !m_showingFrameMenus) ShowFrameMenus();
    return;
  }
  ShowPlay();
  TerminateStatus();
  const QList<QMenu*> menus = window->Menus();
  if (menus.isEmpty()) {
    if (!m_showingFrameMenus) ShowFrameMenus();
    return;
  }
  if (!m_showingFrameMenus && m_menusOf == sub) return;
  menuBar()->clear();
  for (QMenu* menu : menus) menuBar()->addMenu(menu);
  m_showingFrameMenus = false;
  m_menusOf = sub;
}

void mdiVLTMain::Arrange(int how) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder))
    if (sub->isVisible() && !sub->isMinimized()) windows.append(sub);
  if (windows.isEmpty()) return;
  for (QMdiSubWindow* sub : windows)
    if (sub->isMaximized()) sub->showNormal();
  const QRect area = mdiArea->viewport()->rect();
  if (how != 0) {
    const QList<QRect> rects =
        TileRects(area, static_cast<int>(windows.size()),
                  how == 1 ? TileDirection::Horizontal : TileDirection::Vertical);
    for (qsizetype i = 0; i < windows.size(); ++i) windows[i]->setGeometry(rects[i]);
    return;
  }
  // Cascade by hand: QMdiArea's own shrinks each window to its size hint, which for a score
  // window is a toolbar and a status bar with no page between. Here each window steps a
  // title bar down and right of the one before and keeps the rest of the area.
  const int step = std::max(16, windows.first()->contentsMargins().top());
  const QList<QRect> rects = CascadeRects(area, static_cast<int>(windows.size()), step);
  QMdiSubWindow* active = mdiArea->activeSubWindow();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    windows[i]->setGeometry(rects[i]);
    windows[i]->raise();
  }
  if (active) mdiArea->setActiveSubWindow(active);
}

void mdiVLTMain::ReloadDefaults() {
  for (IScoreWindow* window : ScoreWindows()) window->ReloadDefaults();
}

void mdiVLTMain::OpenHistory(int index) {
  const QString path = m_context.History.Path(index);
  if (!path.isEmpty()) DoFunction(QStringLiteral("OPEN"), path);
}

}  // namespace veltrimond
