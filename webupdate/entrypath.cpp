#include "webupdate/entrypath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace webupdate {

namespace {

constexpr qsizetype MaxNameLength = 1024;
// What Linux file systems allow for one name and for a whole path, in bytes.
constexpr qsizetype MaxPartBytes = 255;
constexpr qsizetype MaxPathBytes = 4095;

bool HasControlCharacter(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
  }
  return false;
}

bool IsInside(const QString& canonicalFolder, const QString& canonicalPath) {
  return canonicalPath == canonicalFolder ||
         canonicalPath.startsWith(canonicalFolder.endsWith(u'/') ? canonicalFolder
                                                                 : canonicalFolder + u'/');
}

std::optional<QString> Refuse(QString* why, const QString& reason) {
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace

std::optional<QString> CheckEntryName(const QString& name, QString* why) {
  if (name.isEmpty()) return Refuse(why, QStringLiteral("it is empty"));
  if (name.size() > MaxNameLength) {
    return Refuse(why, QStringLiteral("it is longer than %1 characters").arg(MaxNameLength));
  }
  if (HasControlCharacter(name)) {
    return Refuse(why, QStringLiteral("it holds control characters"));
  }
  QString path = name;
  path.replace(u'\\', u'/');
  if (path.startsWith(u'/') || (path.size() >= 2 && path[1] == u':' && path[0].isLetter())) {
    return Refuse(why, QStringLiteral("it is not a relative name"));
  }
  const QStringList parts = path.split(u'/');
  for (const QString& part : parts) {
    if (part.isEmpty() || part == u"." || part == u"..") {
      return Refuse(why, QStringLiteral("it holds an empty, \".\" or \"..\" step"));
    }
    if (part.toUtf8().size() > MaxPartBytes) {
      return Refuse(why, QStringLiteral("it is too long for the file system"));
    }
  }
  return path;
}

namespace {

std::optional<QString> Resolve(const QString& folder, const QString& relativeName, QString* why,
                               bool namesFolder) {
  const QString root = QFileInfo(folder).canonicalFilePath();
  if (root.isEmpty() || !QFileInfo(root).isDir()) {
    return Refuse(why, QStringLiteral("the folder %1 does not exist").arg(folder));
  }
  const std::optional<QString> name = CheckEntryName(relativeName, why);
  if (!name) return {};
  const QString full = root + u'/' + *name;
  if (full.toUtf8().size() > MaxPathBytes) {
    return Refuse(why, QStringLiteral("it is too long for the file system"));
  }

  // Every existing part of the path, resolved, must stay inside the folder: a symbolic link
  // inside it may point anywhere.
  const QStringList parts = name->split(u'/');
  QString path = root;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    path += u'/' + parts[i];
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) break;
    const QString resolved = info.canonicalFilePath();
    if (resolved.isEmpty() || !IsInside(root, resolved)) {
      return Refuse(why, QStringLiteral("it leads outside the folder"));
    }
    const bool last = i + 1 == parts.size();
    if (last && !namesFolder && info.isDir()) {
      return Refuse(why, QStringLiteral("it names a folder, not a file"));
    }
    if ((!last || namesFolder) && !info.isDir()) {
      return Refuse(why, QStringLiteral("a part of it is a file, not a folder"));
    }
  }
  return full;
}

}  // namespace

std::optional<QString> ResolveInside(const QString& folder, const QString& relativeName,
                                     QString* why) {
  return Resolve(folder, relativeName, why, false);
}

std::optional<QString> ResolveFolderInside(const QString& folder, const QString& relativeName,
                                           QString* why) {
  return Resolve(folder, relativeName, why, true);
}

}  // namespace webupdate
