#include "fakescorewindow.h"

#include <QCloseEvent>
#include <QMenu>

namespace veltrimond::testing {

bool FakeScoreWindow::OpenFile(const QString& path) {
  Calls << QStringLiteral("Open ") + path;
  if (m_behaviour.ReportsProgress && m_frame) {
    Calls << (m_frame->InitStatus(1000, QStringLiteral("Opening:"))
                  ? QStringLiteral("Progress")
                  : QStringLiteral("No progress"));
    m_frame->UpdateStatus(100);
  }
  return m_behaviour.OpenSucceeds;
}

QList<QMenu*> FakeScoreWindow::Menus() {
  if (!m_behaviour.OwnMenus) return {};
  if (!m_menu) m_menu = new QMenu(QStringLiteral("&Score Window"), this);
  return {m_menu};
}

void FakeScoreWindow::closeEvent(QCloseEvent* event) {
  if (m_behaviour.RefusesClose) {
    event->ignore();
    return;
  }
  if (m_frame) m_frame->UnRegister(m_tag);
  event->accept();
}

}  // namespace veltrimond::testing
