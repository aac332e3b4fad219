#pragma once
// The styles folder: where it is, which styles it holds, and the rules for a style's name
// and file. A style is a native score file "<name>.sty"; the list shows the names.

#include <QString>
#include <QStringList>

namespace layoutpad {

// The first entry of the style list: a style not saved yet.
inline constexpr char kNewStyleName[] = "(New Style)";

// What Main/Styles reads as when no styles folder was ever chosen: the editor cannot run.
inline constexpr char kNoStylesFolder[] = "(None)";

// The folder named by the settings' Main/Styles; empty when there is none ("(None)", the
// main editor's "%NONE", or nothing). A folder that is missing is made (one level); when it
// cannot be made or written, the user's own styles folder (XDG data) stands in, so styles are
// never saved into a read-only place.
QString ResolveStylesFolder(const QString& installFolder);
// The same rule on a given setting value.
QString ResolveStylesFolder(const QString& setting, const QString& installFolder);

// The styles of the folder in name order: each "*.sty" file (the extension in any letter
// case) without its extension. Nothing for a missing folder.
QStringList ListStyleNames(const QString& folder);

// The file of a style: an existing "<name>.<sty in any case>" of the folder, else
// "<folder>/<name>.sty".
QString StyleFilePath(const QString& folder, const QString& name);

// The style name the Save As dialog's file gives: the file name without its folder, before
// its last "." when it has one, trimmed.
QString StyleNameFromFile(const QString& path);

// Why a name cannot name a style; empty when it can. Refused: an empty name, the list's
// "(New Style)", and names starting with "." (hidden files the list would not show).
QString StyleNameProblem(const QString& name);

// The entry of names that equals name, letter case aside; -1 when none.
int FindStyleEntry(const QStringList& names, const QString& name);

}  // namespace layoutpad
