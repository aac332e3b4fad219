#pragma once
// The per-user styles folder: where the editor lists the accompaniment styles and the style
// editor saves them. The install folder's styles are read-only (a system install), so every
// user gets a writable copy of them in the XDG data folder.

#include <QString>

namespace platform {

// $XDG_DATA_HOME/veltrimond/Styles ($HOME/.local/share when unset); empty when the data
// folder cannot be told. Nothing is created.
QString UserStylesPath();

// UserStylesPath(), created when missing. On first use the shipped styles
// (<installFolder>/Styles/*.sty) are copied into it, user-writable; a style the user already
// has is kept, and a style the user later deletes does not come back. When a copy fails the
// seeding is tried again next time. Empty when the folder cannot be created.
QString UserStylesFolder(const QString& installFolder);

}  // namespace platform
