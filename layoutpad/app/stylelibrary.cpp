#include "layoutpad/app/stylelibrary.h"

#include <QDir>
#include <QFileInfo>

#include "platform/settingsstore.h"
#include "platform/stylesfolder.h"

namespace layoutpad {

namespace {

bool UsableFolder(const QString& folder) {
  QFileInfo info(folder);
  if (!info.exists() && !QDir().mkdir(folder)) return false;
  info.refresh();
  return info.isDir() && info.isWritable();
}

bool IsStyleFile(const QString& fileName) {
  return fileName.size() > 4 && fileName.endsWith(QStringLiteral(".sty"), Qt::CaseInsensitive);
}

}  // namespace

QString ResolveStylesFolder(const QString& installFolder) {
  return ResolveStylesFolder(platform::ReadSetting(QStringLiteral("Main"), QStringLiteral("Styles"),
                                                   QString::fromLatin1(kNoStylesFolder)),
                             installFolder);
}

QString ResolveStylesFolder(const QString& setting, const QString& installFolder) {
  const QString folder = setting.trimmed();
  if (folder.isEmpty() || folder == QLatin1String(kNoStylesFolder) ||
      folder == QLatin1String("%NONE"))
    return {};
  if (UsableFolder(folder)) return QDir::cleanPath(folder);
  return platform::UserStylesFolder(installFolder);
}

QStringList ListStyleNames(const QString& folder) {
  QStringList names;
  const QStringList files =
      QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
  for (const QString& file : files)
    if (IsStyleFile(file)) names.append(file.left(file.size() - 4));
  return names;
}

QString StyleFilePath(const QString& folder, const QString& name) {
  const QString plain = folder + QLatin1Char('/') + name + QStringLiteral(".sty");
  if (QFileInfo::exists(plain)) return plain;
  const QStringList files = QDir(folder).entryList(QDir::Files);
  for (const QString& file : files)
    if (IsStyleFile(file) && file.left(file.size() - 4) == name)
      return folder + QLatin1Char('/') + file;
  return plain;
}

QString StyleNameFromFile(const QString& path) {
  QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  return name.trimmed();
}

QString StyleNameProblem(const QString& name) {
  if (name.isEmpty()) return QStringLiteral("A style needs a name.");
  if (name.compare(QLatin1String(kNewStyleName), Qt::CaseInsensitive) == 0)
    return QStringLiteral("'%1' cannot name a style.").arg(name);
  if (name.startsWith(QLatin1Char('.')))
    return QStringLiteral("A style name cannot start with '.'.");
  return {};
}

int FindStyleEntry(const QStringList& names, const QString& name) {
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace layoutpad
