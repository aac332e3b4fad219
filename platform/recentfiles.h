#pragma once
// The recent-file list of the editor's File menus: at most five files, newest first, kept in
// the settings as History/1Path .. History/5Path (an emptied slot holds "").

#include <QString>
#include <QVector>

namespace platform {

class RecentFiles {
public:
  static constexpr int kMaxCount = 5;

  // Reads the five slots; empty slots are skipped. A caption carries the number of the slot
  // it came from, so a gap in the slots shows until the list is next written.
  void Load();
  // Puts the file at the top: a file already listed (compared ignoring letter case, as the
  // list always has) moves up and takes the new spelling, a sixth file pushes the oldest
  // out. Writes every row back to its slot.
  void Add(const QString& path);
  // Drops a file from the list (one that can no longer be opened) and writes the list back.
  void Remove(const QString& path);
  // Empties the list and every non-empty slot.
  void Clear();

  int Count() const { return static_cast<int>(rows_.size()); }
  // Row index1 (1 = newest); "" outside 1..Count().
  QString Path(int index1) const;
  // "&1 Song.sco": the number as access key and the file name alone, with any "&" of the
  // name doubled so that it shows as written.
  QString Caption(int index1) const;

private:
  struct Row {
    int number;
    QString path;
  };

  void Save();

  QVector<Row> rows_;
};

}  // namespace platform
