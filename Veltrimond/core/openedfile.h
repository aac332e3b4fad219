#pragma once
// What opening a score remembers in section Files: the folder for the next Open dialog and
// the kind of file, which is also the dialog's filter index.

#include <QString>

namespace veltrimond {

enum ScoreFileType { kTypeFromName = 0, kTypeScore = 1, kTypeMidi = 2, kTypeAll = 3 };

// `requested` when it is 1 (score) or 2 (MIDI); otherwise from the name: 1 for ".sco" in any
// letter case, 2 for anything else.
int ScoreFileTypeOf(const QString& path, int requested);

// Files/Path (the folder with its trailing "/") when it differs from the stored one, then
// Files/Type.
void RememberOpenedFile(const QString& path, int fileType);

// The Open dialog's folder: Files/Path, or `fallback` when it is unset or gone.
QString OpenDialogFolder(const QString& fallback);
// The Open dialog's filter index 1..3 from Files/Type; 1 when out of range.
int OpenDialogFilterIndex();

}  // namespace veltrimond
