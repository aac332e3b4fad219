#pragma once
// A store of cursors loaded from cursor files, each known by a number, that can be shown on
// a widget and taken off again. The editor loads its tool cursors once at start-up; a score
// window then shows the current tool's cursor over its page.

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

namespace pointerset {

class CursorBank {
public:
  // The cursor's number (1, 2, ...), or 0 when the file cannot be read as a cursor. A path
  // loaded before gives its number again without reading the file. Paths are compared
  // ignoring letter case: the editor loads fixed names, and a second spelling of one of them
  // should not load a second copy (two files differing only in case share one entry).
  int CreateStoredCursor(const QString& path);

  // Shows the cursor on the widget and remembers what the widget showed before, forgetting
  // any earlier activation: only the last one can be undone. False, and nothing changes,
  // for an unknown number or no widget.
  bool ActivateStoredCursor(int id, QWidget* window);

  // Puts back what the last activation replaced (the widget's own cursor, or none so that
  // its parent's shows), once. Nothing when there is nothing to undo or the widget is gone.
  void RestoreLastCursor();

  int Count() const { return static_cast<int>(entries_.size()); }

  // The cursor with that number; the arrow for an unknown one.
  QCursor Cursor(int id) const;

private:
  struct Entry {
    QString key;  // the path, upper-cased
    QCursor cursor;
  };
  struct Saved {
    QPointer<QWidget> window;
    std::optional<QCursor> cursor;  // none: the widget had no cursor of its own
  };

  const Entry* Find(int id) const;

  std::vector<Entry> entries_;
  std::optional<Saved> saved_;
};

}  // namespace pointerset
