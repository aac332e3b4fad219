#include "Veltrimond/core/openedfile.h"

#include <QDir>
#include <QFileInfo>

#include "platform/settingsstore.h"

namespace veltrimond {

namespace {

const QString kFiles = QStringLiteral("Files");

}  // namespace

int ScoreFileTypeOf(const QString& path, int requested) {
  if (requested == kTypeScore || requested == kTypeMidi) return requested;
  return path.endsWith(QLatin1String(".sco"), Qt::CaseInsensitive) ? kTypeScore : kTypeMidi;
}

void RememberOpenedFile(const QString& path, int fileType) {
  const QFileInfo info(path);
  if (path.contains(QLatin1Char('/'))) {
    QString folder = info.absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    if (platform::ReadSetting(kFiles, QStringLiteral("Path")) != folder)
      platform::WriteSetting(kFiles, QStringLiteral("Path"), folder);
  }
  platform::WriteSetting(kFiles, QStringLiteral("Type"), fileType);
}

QString OpenDialogFolder(const QString& fallback) {
  const QString stored = platform::ReadSetting(kFiles, QStringLiteral("Path"));
  if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
  return fallback;
}

int OpenDialogFilterIndex() {
  // Files/Type 0 (never chosen) and anything unreadable open on the score filter.
  return platform::ReadSettingIndex(kFiles, QStringLiteral("Type"), kTypeScore, kTypeScore,
                                    kTypeAll);
}

}  // namespace veltrimond
