#pragma once
// The desktop's list of recently used documents (freedesktop.org's recently-used.xbel, read
// by file choosers and launchers). Entries of other programs are kept as they are.

#include <QString>

namespace platform {

// $XDG_DATA_HOME/recently-used.xbel ($HOME/.local/share when unset).
QString RecentlyUsedFilePath();

// Adds the file (or marks it used again, counting this program's uses). Does nothing when
// the list cannot be read as XML or cannot be written: it belongs to the whole desktop, and
// a recent-documents entry is never worth losing the user's others.
void AddToRecentDocuments(const QString& path);

}  // namespace platform
