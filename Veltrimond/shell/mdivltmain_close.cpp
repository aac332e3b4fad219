// Closing the frame: the score windows first (any of them may refuse), then the sound output,
// the chord mapper and the help viewer, then the placement is written back.
#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iscorewindow.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "dropskin/coolmenu.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

void mdiVLTMain::closeEvent(QCloseEvent* event) {
  m_context.State.CloseCancelled = false;
  // Ask the windows before anything is torn down: a window that keeps its unsaved score open
  // keeps the whole program as it was, playback included.
  m_context.State.ClosingAll = true;
  const bool childrenClosed = CloseChildren();
  m_context.State.ClosingAll = false;
  if (!childrenClosed) {
    event->ignore();
    return;
  }
  CancelPlay(false);
  ReleasePlayer();
  m_mapper = false;
  if (m_sound) {
    m_sound->CloseOutput();
    m_sound.reset();
  }
  if (m_mapperWindow) m_mapperWindow->close();
  platform::SendInstanceCommand(kHelpCaption, QStringLiteral("close"));
  SavePlacement();
  cmnMain->Term();
  m_closed = true;
  event->accept();
  emit closed();
}

bool mdiVLTMain::CloseChildren() {
  mdiArea->closeAllSubWindows();
  bool refused = false;
  QStringList closedUnannounced;
  for (const ChildSlot& slot : m_children) {
    if (!slot.Widget) continue;
    auto* sub = qobject_cast<QMdiSubWindow*>(slot.Widget->parentWidget());
    if (sub && !sub->isHidden()) {
      refused = true;
    } else {
      closedUnannounced.append(slot.Window->Tag());
    }
  }
  // Closed without telling the frame: they leave the list now, not when they are deleted.
  for (const QString& tag : closedUnannounced) UnRegister(tag);
  return !refused;
}

void mdiVLTMain::SavePlacement() {
  AppState& state = m_context.State;
  // The rectangle of the normal state, also while minimised or maximised.
  QRect normal = normalGeometry();
  if (!normal.isValid()) normal = geometry();
  state.Frame = ToTwips(normal, state.Tpp);
  state.FrameMaximized = isMaximized() && !isMinimized();

  // One save of the settings file for all of it.
  platform::SettingsBatch batch;
  const QString main = QStringLiteral("Main");
  batch.Write(main, QStringLiteral("Left"), state.Frame.Left);
  batch.Write(main, QStringLiteral("Top"), state.Frame.Top);
  batch.Write(main, QStringLiteral("Height"), state.Frame.Height);
  batch.Write(main, QStringLiteral("Width"), state.Frame.Width);
  batch.Write(main, QStringLiteral("Maximized"), state.FrameMaximized);
  batch.Write(main, QStringLiteral("ToolBar"), mnuViewToolBar->isChecked());
  batch.Write(main, QStringLiteral("StatusBar"), mnuViewStatusBar->isChecked());
  batch.Write(QStringLiteral("Children"), QStringLiteral("Maximized"), state.ChildrenMaximized);
}

}  // namespace veltrimond
