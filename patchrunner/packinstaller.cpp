#include "patchrunner/packinstaller.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <filesystem>

#include "webupdate/entrypath.h"
#include "webupdate/listlines.h"
#include "webupdate/messagetext.h"

namespace patchrunner {

namespace {

// A journal lists one line per file of a pack; no pack comes near this.
constexpr qint64 MaxJournalBytes = 1 << 20;

bool Exists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

bool IsPlainFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && !info.isSymLink();
}

std::error_code MakeFolder(const QString& path) {
  std::error_code error;
  if (!std::filesystem::create_directory(path.toStdString(), error) && !error) {
    error = std::make_error_code(std::errc::file_exists);
  }
  return error;
}

QString Reason(const std::error_code& error) {
  return QString::fromStdString(error.message());
}

// The SHA-256 of a plain file in lower-case hex; empty when it cannot be read.
QByteArray FileSha256(const QString& path) {
  QFile file(path);
  if (!IsPlainFile(path) || !file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return {};
  return hash.result().toHex();
}

// The folders above target, inside root, that do not exist yet, outermost first.
QStringList MissingFolders(const QString& root, const QString& target) {
  QStringList missing;
  QString folder = QFileInfo(target).path();
  while (!QFileInfo(folder).exists() && folder.startsWith(root + u'/')) {
    missing.prepend(folder);
    folder = QFileInfo(folder).path();
  }
  return missing;
}

}  // namespace

// One file's swap: whether an installed file was moved aside, or else the new file's size and
// SHA-256, so that rollback removes exactly what the pack added.
struct PackInstaller::Swap {
  int position = 0;
  QString target;
  QString name;  // relative, as the journal holds it
  bool replacesFile = false;
  bool placed = false;
  qint64 size = -1;
  QByteArray sha256;
  // Read back from a journal: a new file goes only when it is the one recorded.
  bool checkBeforeRemoving = false;
};

QString PackInstaller::StagingName() {
  return QStringLiteral(".patchrunner-staging");
}

std::error_code PackInstaller::RenameReplacing(const QString& from, const QString& to) {
  std::error_code error;
  std::filesystem::rename(from.toStdString(), to.toStdString(), error);
  return error;
}

PackInstaller::PackInstaller(QString installFolder)
    : m_installFolder(std::move(installFolder)), m_rename(RenameReplacing) {}

QString PackInstaller::StagingFolder() const {
  return m_installFolder + u'/' + StagingName();
}

QString PackInstaller::StagedPath(int position) const {
  return StagingFolder() + QStringLiteral("/new%1").arg(position, 3, 10, QChar(u'0'));
}

QString PackInstaller::BackupPath(const Swap& swap) const {
  return StagingFolder() + u'/' + BackupName(swap.target, swap.position);
}

QString PackInstaller::JournalPath() const {
  return StagingFolder() + QStringLiteral("/journal");
}

bool PackInstaller::ReadJournal(QList<Swap>* swaps, QStringList* folders, QString* why) const {
  QFile journal(JournalPath());
  // Checked before opening: a planted FIFO would block, a link read another file.
  if (!IsPlainFile(JournalPath()) || journal.size() > MaxJournalBytes ||
      !journal.open(QIODevice::ReadOnly)) {
    *why = QStringLiteral("its record is not a file the updater wrote");
    return false;
  }
  // Names are listed names, which never hold a blank.
  static const QRegularExpression folderEntry(QStringLiteral("^folder (\\S+)$"));
  static const QRegularExpression newEntry(
      QStringLiteral("^([0-9]{1,5}) new ([0-9]{1,15}) ([0-9a-f]{64}) (\\S+)$"));
  // As older updaters wrote them too: a new file without its size and checksum.
  static const QRegularExpression entry(QStringLiteral("^([0-9]{1,5}) (replace|new) (\\S+)$"));
  QSet<int> positions;
  QSet<QString> targets;
  int lineNumber = 0;
  for (const QString& line : webupdate::SplitLines(journal.read(MaxJournalBytes))) {
    ++lineNumber;
    if (line.isEmpty()) continue;
    const auto refuse = [&](const QString& reason) {
      *why = QStringLiteral("line %1 of its record, \"%2\", is refused: %3")
                 .arg(lineNumber)
                 .arg(webupdate::ShortName(line), reason);
      return false;
    };
    // The path of a name, checked as a listed name is; nothing with the reason on refusal.
    QString reason;
    const auto resolve = [&](const QString& name, bool namesFolder) -> std::optional<QString> {
      const std::optional<QString> relative = webupdate::CheckEntryName(name, &reason);
      if (!relative) return {};
      if (relative->section(u'/', 0, 0) == StagingName()) {
        reason = QStringLiteral("it names the updater's working folder");
        return {};
      }
      return namesFolder ? webupdate::ResolveFolderInside(m_installFolder, *relative, &reason)
                         : webupdate::ResolveInside(m_installFolder, *relative, &reason);
    };

    if (const QRegularExpressionMatch folder = folderEntry.match(line); folder.hasMatch()) {
      const std::optional<QString> path = resolve(folder.captured(1), true);
      if (!path) return refuse(reason);
      if (folders->contains(*path)) return refuse(QStringLiteral("it repeats a folder"));
      folders->append(*path);
      continue;
    }
    Swap swap;
    swap.checkBeforeRemoving = true;
    if (const QRegularExpressionMatch added = newEntry.match(line); added.hasMatch()) {
      swap.position = added.captured(1).toInt();
      swap.size = added.captured(2).toLongLong();
      swap.sha256 = added.captured(3).toLatin1();
      swap.name = added.captured(4);
    } else if (const QRegularExpressionMatch old = entry.match(line); old.hasMatch()) {
      swap.position = old.captured(1).toInt();
      swap.replacesFile = old.captured(2) == u"replace";
      swap.name = old.captured(3);
    } else {
      return refuse(QStringLiteral("it is not a line the updater writes"));
    }
    const std::optional<QString> target = resolve(swap.name, false);
    if (!target) return refuse(reason);
    if (positions.contains(swap.position) || targets.contains(*target)) {
      return refuse(QStringLiteral("it repeats a file or a position"));
    }
    swap.target = *target;
    const QString backup = BackupPath(swap);
    if (swap.replacesFile && Exists(backup) && !IsPlainFile(backup)) {
      return refuse(QStringLiteral("its backup is not a plain file"));
    }
    // A staged file still in staging was never placed.
    swap.placed = !Exists(StagedPath(swap.position));
    positions.insert(swap.position);
    targets.insert(swap.target);
    swaps->append(swap);
  }
  return true;
}

PackInstaller::Recovery PackInstaller::Recover() {
  const QFileInfo staging(StagingFolder());
  if (!staging.exists() && !staging.isSymLink()) return {};
  // Removing through a link would remove the files of whatever it points at.
  if (staging.isSymLink() || !staging.isDir()) {
    return {Recovery::Kind::Refused,
            QStringLiteral("%1 is not the updater's own folder")
                .arg(webupdate::ShortName(StagingFolder())),
            {}};
  }
  if (!Exists(JournalPath())) {
    Discard();
    return {Recovery::Kind::Cleared, {}, {}};
  }
  QString why;
  QList<Swap> swaps;
  QStringList folders;
  if (!ReadJournal(&swaps, &folders, &why)) return {Recovery::Kind::Refused, why, {}};
  QString error;
  QStringList kept;
  if (!RollBack(swaps, folders, &error, &kept)) return {Recovery::Kind::Failed, error, kept};
  Discard();
  return {Recovery::Kind::RolledBack, {}, kept};
}

bool PackInstaller::PrepareStaging(QString* error) {
  QDir().rmdir(StagingFolder());
  if (const std::error_code made = MakeFolder(StagingFolder())) {
    *error = QStringLiteral("The folder %1 cannot be created: %2.")
                 .arg(webupdate::ShortName(StagingFolder()), Reason(made));
    return false;
  }
  return true;
}

PackInstaller::Outcome PackInstaller::Install(const QList<PackFile>& files) {
  QList<Swap> swaps;
  QStringList folders;  // that the pack will create, outermost first
  QString fileLines;
  for (int n = 0; n < files.size(); ++n) {
    Swap swap;
    swap.position = n;
    swap.target = files[n].target;
    swap.name = files[n].relativePath;
    swap.replacesFile = Exists(swap.target);
    for (const QString& folder : MissingFolders(m_installFolder, swap.target)) {
      if (!folders.contains(folder)) folders.append(folder);
    }
    if (swap.replacesFile) {
      fileLines += QStringLiteral("%1 replace %2\n").arg(n).arg(swap.name);
    } else {
      // What a later recovery checks before it removes the file.
      const QString staged = StagedPath(n);
      swap.size = QFileInfo(staged).size();
      swap.sha256 = FileSha256(staged);
      if (swap.sha256.isEmpty()) {
        return {false,
                {},
                {},
                QStringLiteral("The downloaded file %1 cannot be read.")
                    .arg(webupdate::ShortName(staged))};
      }
      fileLines += QStringLiteral("%1 new %2 %3 %4\n")
                       .arg(n)
                       .arg(swap.size)
                       .arg(QString::fromLatin1(swap.sha256), swap.name);
    }
    swaps.append(swap);
  }
  QString journalText;
  for (const QString& folder : folders) {
    journalText += QStringLiteral("folder %1\n").arg(folder.mid(m_installFolder.size() + 1));
  }
  journalText += fileLines;
  QSaveFile journal(JournalPath());
  if (!journal.open(QIODevice::WriteOnly) || journal.write(journalText.toUtf8()) < 0 ||
      !journal.commit()) {
    return {false,
            {},
            {},
            QStringLiteral("The folder %1 cannot be written: %2.")
                .arg(webupdate::ShortName(StagingFolder()), journal.errorString())};
  }

  QStringList created;
  for (int n = 0; n < swaps.size(); ++n) {
    Swap& swap = swaps[n];
    const QString staged = StagedPath(n);
    // Missing folders are created only inside the install folder (the path was checked).
    std::error_code cause;
    for (const QString& folder : MissingFolders(m_installFolder, swap.target)) {
      if ((cause = MakeFolder(folder))) break;
      created.append(folder);
    }
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                     QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
    if (!cause && swap.replacesFile) {
      permissions = QFile::permissions(swap.target);
      cause = QFileInfo(swap.target).isFile() ? m_rename(swap.target, BackupPath(swap))
                                              : std::make_error_code(std::errc::is_a_directory);
    }
    if (!cause) {
      QFile::setPermissions(staged, permissions);
      cause = m_rename(staged, swap.target);
      if (cause && swap.replacesFile) m_rename(BackupPath(swap), swap.target);
    }
    swap.placed = !cause;
    if (cause) {
      Outcome outcome{false, files[n].listed, cause, {}};
      QString rollbackError;
      if (!RollBack(swaps.mid(0, n + 1), created, &rollbackError)) outcome.error = rollbackError;
      if (outcome.error.isEmpty()) Discard();
      return outcome;
    }
  }
  return {true, {}, {}, {}};
}

bool PackInstaller::RollBack(const QList<Swap>& swaps, const QStringList& createdFolders,
                             QString* error, QStringList* kept) {
  bool ok = true;
  for (qsizetype i = swaps.size() - 1; i >= 0; --i) {
    const Swap& swap = swaps[i];
    const QString backup = BackupPath(swap);
    if (swap.replacesFile) {
      // The backup replaces the new file in one rename.
      if (Exists(backup) && m_rename(backup, swap.target)) ok = false;
      continue;
    }
    if (!swap.placed || !Exists(swap.target)) continue;
    // Only the very file the pack placed: a name in a journal proves nothing by itself.
    const bool recorded = !swap.sha256.isEmpty() && IsPlainFile(swap.target) &&
                          QFileInfo(swap.target).size() == swap.size &&
                          FileSha256(swap.target) == swap.sha256;
    if (swap.checkBeforeRemoving && !recorded) {
      if (kept) kept->append(swap.name);
    } else if (!QFile::remove(swap.target)) {
      ok = false;
    }
  }
  // Deepest first; a folder that still holds anything stays.
  QStringList folders = createdFolders;
  std::stable_sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
    return a.count(u'/') > b.count(u'/');
  });
  for (const QString& folder : folders) QDir().rmdir(folder);
  if (!ok && error) {
    *error = QStringLiteral("Some replaced files could not be put back; they are kept in %1.")
                 .arg(webupdate::ShortName(StagingFolder()));
  }
  return ok;
}

void PackInstaller::Commit() {
  QFile::remove(JournalPath());
  Discard();
}

void PackInstaller::Discard() {
  QDir(StagingFolder()).removeRecursively();
}

}  // namespace patchrunner
