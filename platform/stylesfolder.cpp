#include "platform/stylesfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

// Written once every shipped style has been copied; its absence means "seed (again)".
constexpr char kSeededMark[] = ".seeded";

// Copies through a temporary file, so a full disk or a crash leaves no half style behind
// that the next seeding would take for the user's own.
bool CopyStyle(const QString& from, const QString& to) {
  QFile in(from);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(to);
  if (!out.open(QIODevice::WriteOnly)) return false;
  out.write(in.readAll());
  if (in.error() != QFileDevice::NoError) {
    out.cancelWriting();
    return false;
  }
  if (!out.commit()) return false;
  // The shipped file may be read-only; the user's copy is the user's to change.
  QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
  return true;
}

bool SeedFrom(const QString& shipped, const QString& folder) {
  bool allCopied = true;
  const QStringList names =
      QDir(shipped).entryList({QStringLiteral("*.sty")}, QDir::Files, QDir::Name);
  for (const QString& name : names) {
    const QString target = folder + '/' + name;
    if (QFileInfo::exists(target)) continue;
    if (!CopyStyle(shipped + '/' + name, target)) allCopied = false;
  }
  return allCopied;
}

}  // namespace

QString UserStylesPath() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty()) return {};
  return QDir::cleanPath(data + QStringLiteral("/veltrimond/Styles"));
}

QString UserStylesFolder(const QString& installFolder) {
  const QString folder = UserStylesPath();
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  const QString mark = folder + '/' + QLatin1String(kSeededMark);
  if (QFileInfo::exists(mark)) return folder;
  const QString shipped = installFolder.isEmpty() ? QString() : installFolder + "/Styles";
  if (shipped.isEmpty() || !QFileInfo(shipped).isDir()) return folder;
  if (SeedFrom(shipped, folder)) {
    QFile done(mark);
    if (done.open(QIODevice::WriteOnly)) done.close();
  }
  return folder;
}

}  // namespace platform
