#pragma once
// The install folder: the folder that holds Common/ (Config, Cursors, Help) beside the
// programs' folder. Every program of the suite finds it by the same rule as the score engine,
// so a build tree (programs in bin/, data beside bin/) works like an installed copy.

#include <QString>

namespace platform {

// $VELTRIMOND_HOME when set; else the first of the program's folder, the folder above it and
// ../share/veltrimond that holds Common/Config; else the folder the editor recorded in
// Main/Path (for a companion program started from elsewhere); else the folder above the
// program's folder. Never ends in "/".
QString InstallFolder();
// The same rule for a program in the given folder (VELTRIMOND_HOME aside).
QString FindInstallFolder(const QString& programFolder);

// Records InstallFolder() as Main/Path, so that the companion programs find it. The editor
// calls this at start-up.
void RecordInstallFolder();

// The folder of the running program (from /proc/self/exe, so it works before a
// QCoreApplication exists).
QString ProgramFolder();

}  // namespace platform
