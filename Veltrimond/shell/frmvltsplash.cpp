#include "Veltrimond/shell/frmvltsplash.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "Veltrimond/shell/artwork.h"
#include "platform/settingsstore.h"

namespace veltrimond {

frmVLTSplash::frmVLTSplash(int waitMs) : QSplashScreen(SplashPicture(), Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmVLTSplash"));
  setAttribute(Qt::WA_ShowWithoutActivating);

  QString version = QCoreApplication::applicationVersion();
  const QString update = platform::ReadSetting(QStringLiteral("Main"), QStringLiteral("Update"));
  if (!update.isEmpty()) version += QStringLiteral(" (") + update + QLatin1Char(')');
  lblVersion = new QLabel(QStringLiteral("Version ") + version, this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setStyleSheet(QStringLiteral("color: rgb(210, 210, 230); background: transparent;"));
  lblVersion->adjustSize();
  // On the line of the picture's company name: a 20-pixel band 34 pixels above the bottom.
  lblVersion->move(width() - lblVersion->width() - 16,
                   height() - 34 + (20 - lblVersion->height()) / 2);

  tmrWait = new QTimer(this);
  tmrWait->setObjectName(QStringLiteral("tmrWait"));
  tmrWait->setSingleShot(true);
  tmrWait->setInterval(waitMs);
  connect(tmrWait, &QTimer::timeout, this, &frmVLTSplash::Expire);
  tmrWait->start();
}

QString frmVLTSplash::VersionText() const {
  return lblVersion->text().mid(QStringLiteral("Version ").size());
}

void frmVLTSplash::Expire() {
  if (!m_waiting) return;
  tmrWait->stop();
  m_waiting = false;
  emit expired();
}

void frmVLTSplash::mousePressEvent(QMouseEvent* event) {
  event->accept();
}

}  // namespace veltrimond
