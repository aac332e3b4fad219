#include "platform/filetype.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/installfolder.h"

namespace platform {

namespace {

const char kMimePackageResource[] = ":/platform/desktop/veltrimond-score.xml";
const char kDesktopResource[] = ":/platform/desktop/veltrimond.desktop.in";
const char kMimePackageName[] = "veltrimond-score.xml";
const char kDesktopName[] = "veltrimond.desktop";

QByteArray Resource(const char* name) {
  QFile file(QString::fromLatin1(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a file that is not there yet; an existing one (perhaps edited by the user) stays.
// True when the file is there afterwards.
bool WriteIfMissing(const QString& path, const QByteArray& text) {
  if (QFileInfo::exists(path)) return true;
  if (text.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

void RunIfInstalled(const QString& program, const QString& folder) {
  const QString found = QStandardPaths::findExecutable(program);
  if (!found.isEmpty()) QProcess::startDetached(found, {folder});
}

}  // namespace

FileTypeState ScoreFileTypeState() {
  QMimeDatabase db;
  if (db.mimeTypeForName(kScoreMimeType).isValid()) return FileTypeState::Ours;
  return db.mimeTypesForFileName("score.sco").isEmpty() ? FileTypeState::Missing
                                                        : FileTypeState::Other;
}

QString DesktopExecArgument(const QString& argument) {
  // Field codes start with "%": a literal one is doubled in any argument.
  QString arg = argument;
  arg.replace('%', "%%");
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool quote = arg.isEmpty();
  for (QChar c : arg) quote = quote || reserved.contains(c);
  if (!quote) return arg;
  QString quoted = "\"";
  for (QChar c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

QString DesktopEntryText(const QString& executablePath, const QString& icon) {
  QString iconValue = icon;
  if (iconValue.isEmpty()) {
    const QString file = InstallFolder() + "/Common/Icons/Veltrimond.png";
    iconValue = QFileInfo::exists(file) ? file : QStringLiteral("veltrimond");
  }
  // The Exec value is itself a string value, whose own escape rule doubles each backslash.
  QString exec = DesktopExecArgument(executablePath);
  exec.replace('\\', "\\\\");
  QString text = QString::fromUtf8(Resource(kDesktopResource));
  return text.replace("@VELTRIMOND_EXEC@", exec).replace("@VELTRIMOND_ICON@", iconValue);
}

bool RegisterFileType(const QString& executablePath) {
  if (ScoreFileTypeState() != FileTypeState::Missing) return false;
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (dataHome.isEmpty()) return false;
  const QString mimeFolder = dataHome + "/mime";
  const QString appsFolder = dataHome + "/applications";
  if (!WriteIfMissing(mimeFolder + "/packages/" + kMimePackageName, Resource(kMimePackageResource)))
    return false;
  const bool entry =
      WriteIfMissing(appsFolder + '/' + kDesktopName, DesktopEntryText(executablePath).toUtf8());
  // Their results do not matter: without the tools, the desktop reads the packages itself or
  // picks the files up at its next rebuild.
  RunIfInstalled("update-mime-database", mimeFolder);
  if (entry) RunIfInstalled("update-desktop-database", appsFolder);
  return entry;
}

}  // namespace platform
