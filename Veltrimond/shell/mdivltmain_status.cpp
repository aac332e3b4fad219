// The frame's progress display, the toolbar states the score windows set, and the menu
// commands that reach beyond the frame.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <climits>

#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/shell/iscorewindow.h"
#include "Veltrimond/shell/mdivltmain.h"
#include "tonegen/soundmaster.h"

namespace veltrimond {

bool mdiVLTMain::InitStatus(long size, const QString& caption) {
  if (!m_progress.Init(size, mnuViewStatusBar->isChecked())) return false;
  // The status bar cannot be hidden while it shows progress.
  mnuViewStatusBar->setEnabled(false);
  lblMain->setText(caption);
  lblMain->setVisible(!caption.isEmpty());
  m_progressScale = 1;
  while (m_progress.Max() / m_progressScale > INT_MAX) m_progressScale *= 2;
  pbrMain->setRange(0, static_cast<int>(m_progress.Max() / m_progressScale));
  pbrMain->setValue(0);
  pbrMain->setVisible(true);
  // Paint the bar before the reader takes over; no user input may start another command.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return true;
}

void mdiVLTMain::UpdateStatus(long position) {
  if (!m_progress.Active()) return;
  m_progress.Update(position);
  pbrMain->setValue(static_cast<int>(m_progress.Value() / m_progressScale));
}

void mdiVLTMain::TerminateStatus() {
  if (!m_progress.Terminate()) return;
  lblMain->setVisible(false);
  pbrMain->setVisible(false);
  mnuViewStatusBar->setEnabled(true);
}

bool mdiVLTMain::EnableCutCopy() const {
  return m_buttons.value(QStringLiteral("Cut"))->isEnabled();
}

void mdiVLTMain::SetEnableCutCopy(bool enabled) {
  m_buttons.value(QStringLiteral("Cut"))->setEnabled(enabled);
  m_buttons.value(QStringLiteral("Copy"))->setEnabled(enabled);
}

bool mdiVLTMain::EnablePaste() const {
  return m_buttons.value(QStringLiteral("Paste"))->isEnabled();
}

void mdiVLTMain::SetEnablePaste(bool enabled) {
  m_buttons.value(QStringLiteral("Paste"))->setEnabled(enabled);
}

bool mdiVLTMain::EnableUndo() const {
  return m_buttons.value(QStringLiteral("Undo"))->isEnabled();
}

void mdiVLTMain::SetEnableUndo(bool enabled) {
  m_buttons.value(QStringLiteral("Undo"))->setEnabled(enabled);
}

void mdiVLTMain::ViewToolBar() {
  mnuViewToolBar->trigger();
}

// Disabled while a progress display runs, so the trigger does nothing then.
void mdiVLTMain::ViewStatusBar() {
  mnuViewStatusBar->trigger();
}

void mdiVLTMain::ToolsClearHistory() {
  m_context.History.Clear();
  ShowHistoryMenu();
}

}  // namespace veltrimond
