#include "pointerset/cursorbank.h"

#include <QPixmap>

#include "pointerset/curfile.h"

namespace pointerset {

int CursorBank::CreateStoredCursor(const QString& path) {
  const QString key = path.toUpper();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].key == key) return static_cast<int>(i) + 1;
  const std::optional<CursorPicture> picture = ReadCursorFile(path);
  if (!picture) return 0;
  entries_.push_back({key, QCursor(QPixmap::fromImage(picture->image), picture->hotspot.x(),
                                   picture->hotspot.y())});
  return Count();
}

bool CursorBank::ActivateStoredCursor(int id, QWidget* window) {
  const Entry* entry = Find(id);
  if (!entry || !window) return false;
  Saved saved{window, std::nullopt};
  if (window->testAttribute(Qt::WA_SetCursor)) saved.cursor = window->cursor();
  window->setCursor(entry->cursor);
  saved_ = std::move(saved);
  return true;
}

void CursorBank::RestoreLastCursor() {
  if (!saved_) return;
  const Saved saved = std::move(*saved_);
  saved_.reset();
  if (!saved.window) return;
  if (saved.cursor)
    saved.window->setCursor(*saved.cursor);
  else
    saved.window->unsetCursor();
}

QCursor CursorBank::Cursor(int id) const {
  const Entry* entry = Find(id);
  return entry ? entry->cursor : QCursor(Qt::ArrowCursor);
}

const CursorBank::Entry* CursorBank::Find(int id) const {
  return id >= 1 && id <= Count() ? &entries_[static_cast<std::size_t>(id) - 1] : nullptr;
}

}  // namespace pointerset
