#pragma once
// What the product updater's tests share: settings in memory, and a folder's files as a map
// (path -> bytes and permission bits) to show that a failed update left them byte for byte.

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QString>
#include <map>

#include "patchrunner/productinfo.h"

namespace patchrunner::testing {

class MemorySettings final : public SettingsAccess {
public:
  QString Read(const QString& section, const QString& key,
               const QString& defaultValue = {}) const override {
    return m_values.value(section + u'/' + key, defaultValue);
  }
  void Write(const QString& section, const QString& key, const QString& value) override {
    if (!m_dropWrites) m_values.insert(section + u'/' + key, value);
  }
  // As an unwritable settings file does.
  void DropWrites() { m_dropWrites = true; }
  bool Has(const QString& section, const QString& key) const {
    return m_values.contains(section + u'/' + key);
  }

private:
  QHash<QString, QString> m_values;
  bool m_dropWrites = false;
};

struct FileState {
  QByteArray bytes;
  int permissions = 0;
  bool operator==(const FileState&) const = default;
};

// Every file and folder under root, hidden ones included ("dir/" for folders).
inline std::map<QString, FileState> Snapshot(const QString& root) {
  std::map<QString, FileState> files;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString relative = QDir(root).relativeFilePath(path);
    if (it.fileInfo().isDir()) {
      files[relative + u'/'] = {};
      continue;
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    files[relative] = {file.readAll(), static_cast<int>(file.permissions())};
  }
  return files;
}

// The owner, group and other bits (QFile adds the current user's, which vary with the user).
inline int ModeBits(QFile::Permissions permissions) {
  return permissions & 0x7077;
}
inline int ModeBits(const QString& path) {
  return ModeBits(QFile::permissions(path));
}

inline void WriteFile(const QString& path, const QByteArray& bytes,
                      QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ReadGroup | QFile::ReadOther) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(bytes);
  file.close();
  file.setPermissions(permissions);
}

inline QByteArray Sha256(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace patchrunner::testing
