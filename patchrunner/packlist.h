#pragma once
// The update server's lists and the names derived from them: the version folder
// ("V" and two digits per version part), service pack names and numbers, the pick of the
// highest pack, backup names, and the checked file list of a pack.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace patchrunner {

// Each dot-separated part as its last two digits after prefixing "00": 1.2.3 -> "010203",
// 12.5 -> "1205", 1.100.2 -> "010002"; a version without a dot gives "".
QString VersionDigits(const QString& version);

// "Common/Updates/<code>/V<digits>/"
QString UpdateFolder(const QString& productCode, const QString& version);

// Two letters, digits, an optional letter-or-digit suffix ("SP3", "SP3A"): a pack name forms
// a URL path and the stored "Update" value, so nothing else is taken from a list.
bool IsValidPackName(const QString& name);

// The number after a pack name's first two characters, rounded to a whole number ("SP3A" -> 3,
// "SP2.5" -> 2); 0 when no number follows.
int PackNumber(const QString& name);

// The first valid entry with the highest number in the list text ("Updates.txt"); nothing
// when the list holds no valid entry.
std::optional<QString> HighestPack(const QByteArray& updateList);

// The backup name of the file at position n: "UP", n in three digits, and the file name's
// part from its first "." ("setup.dll" @2 -> "UP002.dll", "README" @5 -> "UP005").
QString BackupName(const QString& fileName, int position);

// One file of a pack: the name as listed, its checked "/"-separated path relative to the
// install folder, its absolute target, and the SHA-256 given with it (lower-case hex) if any.
struct PackFile {
  QString listed;
  QString relativePath;
  QString target;
  QByteArray sha256;
};

struct PackFileList {
  QList<PackFile> files;
  QString refused;  // the first listed name that is refused; empty when the list is sound
  QString reason;   // why it is refused
};

// Reads a pack's "Files.txt" (header skipped, first word the name, an optional second word
// the SHA-256) and checks every name against installFolder before anything is fetched.
// reservedFolder (the staging folder's name) may not be named by any entry.
PackFileList ReadPackFiles(const QByteArray& fileList, const QString& installFolder,
                           const QString& reservedFolder, bool requireHashes);

}  // namespace patchrunner
