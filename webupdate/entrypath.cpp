#include "webupdate/entrypath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace webupdate {

namespace {

constexpr qsizetype MaxNameLength = 1024;

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

}  // namespace

std::optional<QString> CheckEntryName(const QString& name) {
  if (name.isEmpty() || name.size() > MaxNameLength || HasControlCharacter(name)) return {};
  QString path = name;
  path.replace(u'\\', u'/');
  if (path.startsWith(u'/')) return {};
  if (path.size() >= 2 && path[1] == u':' && path[0].isLetter()) return {};
  const QStringList parts = path.split(u'/');
  for (const QString& part : parts) {
    if (part.isEmpty() || part == u"." || part == u"..") return {};
  }
  return path;
}

std::optional<QString> ResolveInside(const QString& folder, const QString& relativeName) {
  const QString root = QFileInfo(folder).canonicalFilePath();
  if (root.isEmpty() || !QFileInfo(root).isDir()) return {};
  const std::optional<QString> name = CheckEntryName(relativeName);
  if (!name) return {};

  // Every existing part of the path, resolved, must stay inside the folder: a symbolic link
  // inside it may point anywhere.
  const QStringList parts = name->split(u'/');
  QString path = root;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    path += u'/' + parts[i];
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) break;
    const QString resolved = info.canonicalFilePath();
    if (resolved.isEmpty() || !IsInside(root, resolved)) return {};
    const bool last = i + 1 == parts.size();
    if (last ? info.isDir() : !info.isDir()) return {};
  }
  return root + u'/' + *name;
}

}  // namespace webupdate
