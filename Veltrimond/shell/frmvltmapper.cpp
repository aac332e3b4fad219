#include "Veltrimond/shell/frmvltmapper.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QVBoxLayout>

#include "Veltrimond/core/apppaths.h"
#include "Veltrimond/shell/iframe.h"
#include "harmonygrid/qt/chordmapper.h"

namespace veltrimond {

namespace {

const QString kTableFile = QStringLiteral("Veltrimond.cma");

}  // namespace

QString MapperTableFolder(const AppPaths& paths) {
  const QString installed = paths.DataDir + QStringLiteral("/Common/Config");
  if (paths.UserDataDir.isEmpty()) return installed;
  // The install folder may be read-only; the mapper's edits belong to the user.
  const QString own = paths.UserDataDir + QStringLiteral("/Config");
  const QString ownFile = own + QLatin1Char('/') + kTableFile;
  if (QFile::exists(ownFile)) return own;
  if (QDir().mkpath(own) && QFile::copy(installed + QLatin1Char('/') + kTableFile, ownFile)) {
    QFile::setPermissions(ownFile, QFile::ReadOwner | QFile::WriteOwner);
    return own;
  }
  return installed;
}

frmVLTMapper::frmVLTMapper(IFrame& frame, QObject* frameObject, const AppPaths& paths)
    : QWidget(nullptr, Qt::Window), m_frame(&frame), m_frameObject(frameObject) {
  setObjectName(QStringLiteral("frmVLTMapper"));
  setWindowTitle(tr("Chord Mapper"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* pctBase = new QWidget(this);
  pctBase->setObjectName(QStringLiteral("pctBase"));
  chmMain = new harmonygrid::ChordMapper(pctBase);
  chmMain->setObjectName(QStringLiteral("chmMain"));
  auto* inner = new QVBoxLayout(pctBase);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->addWidget(chmMain);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pctBase);
  chmMain->SetInitDir(MapperTableFolder(paths));
  chmMain->Init();
  resize(chmMain->sizeHint().expandedTo(QSize(480, 360)));
  if (frameObject) connect(frameObject, &QObject::destroyed, this, &QObject::deleteLater);
}

void frmVLTMapper::TellFrame(bool open) {
  if (m_frameObject) m_frame->SetMapper(open);
}

frmVLTMapper::~frmVLTMapper() {
  TellFrame(false);
}

void frmVLTMapper::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  TellFrame(true);
}

void frmVLTMapper::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) TellFrame(true);
}

}  // namespace veltrimond
