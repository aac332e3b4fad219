#include "platform/recentfiles.h"

#include <QFileInfo>

#include "platform/settingsstore.h"

namespace platform {

namespace {

const char kSection[] = "History";

QString SlotKey(int slot) {
  return QString::number(slot) + "Path";
}

// Paths that differ only in letter case are different files here.
bool SameFile(const QString& a, const QString& b) { return a == b; }

}  // namespace

void RecentFiles::Load() {
  rows_.clear();
  for (int slot = 1; slot <= kMaxCount; ++slot) {
    const QString path = ReadSetting(kSection, SlotKey(slot));
    if (!path.isEmpty()) rows_.push_back({slot, path});
  }
}

void RecentFiles::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (rows_.isEmpty()) Load();
  rows_.removeIf([&](const Row& row) { return SameFile(row.path, absolute); });
  rows_.prepend({0, absolute});
  if (rows_.size() > kMaxCount) rows_.resize(kMaxCount);
  Save();
}

void RecentFiles::Remove(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (rows_.removeIf([&](const Row& row) { return SameFile(row.path, absolute); }) > 0) Save();
}

void RecentFiles::Clear() {
  rows_.clear();
  for (int slot = 1; slot <= kMaxCount; ++slot)
    if (!ReadSetting(kSection, SlotKey(slot)).isEmpty()) WriteSetting(kSection, SlotKey(slot), "");
}

QString RecentFiles::Path(int index1) const {
  return index1 >= 1 && index1 <= Count() ? rows_[index1 - 1].path : QString();
}

QString RecentFiles::Caption(int index1) const {
  if (index1 < 1 || index1 > Count()) return {};
  const Row& row = rows_[index1 - 1];
  QString name = QFileInfo(row.path).fileName();
  if (name.isEmpty()) name = row.path;
  return '&' + QString::number(row.number) + ' ' + name.replace('&', "&&");
}

void RecentFiles::Save() {
  for (int slot = 1; slot <= kMaxCount; ++slot) {
    if (slot <= Count()) {
      rows_[slot - 1].number = slot;
      if (ReadSetting(kSection, SlotKey(slot)) != rows_[slot - 1].path)
        WriteSetting(kSection, SlotKey(slot), rows_[slot - 1].path);
    } else if (!ReadSetting(kSection, SlotKey(slot)).isEmpty()) {
      WriteSetting(kSection, SlotKey(slot), "");
    }
  }
}

}  // namespace platform
