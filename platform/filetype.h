#pragma once
// The score file type on the desktop: a shared-mime-info type for "*.sco" files (starting
// with "Vm00") and a desktop entry that opens them with the editor. A system install brings
// both (cmake --install); for a copy run from elsewhere the editor installs them for the
// user at start-up, only while no program claims ".sco" yet.

#include <QString>

namespace platform {

inline constexpr char kScoreMimeType[] = "application/x-veltrimond-score";

enum class FileTypeState {
  Missing,  // no type claims "*.sco"
  Ours,     // the score type is known
  Other,    // another type claims "*.sco": left as it is
};

// Asks the desktop's MIME database (fast: no files are written or programs run).
FileTypeState ScoreFileTypeState();

// When the state is Missing: writes the MIME package and the desktop entry (for the given
// program) under $XDG_DATA_HOME, never replacing a file that is there, then starts
// update-mime-database and update-desktop-database when they are installed. True when the
// files were written. Never touches the user's default applications (mimeapps.list).
bool RegisterFileType(const QString& executablePath);

// The desktop entry's text for a program; the path is quoted as the entry format requires.
// The icon is a file path or a name from the icon theme; by default the install folder's
// Common/Icons/Veltrimond.png when it is there, else the theme's "veltrimond".
QString DesktopEntryText(const QString& executablePath, const QString& icon = {});
// One Exec argument, quoted and escaped as the desktop entry format requires.
QString DesktopExecArgument(const QString& argument);

}  // namespace platform
