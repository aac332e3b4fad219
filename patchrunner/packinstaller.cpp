#include "patchrunner/packinstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
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

}  // namespace

// One file's swap: whether an installed file was moved aside, and which folders were created for it
// (outermost first), so that rollback removes exactly what the pack added.
struct PackInstaller::Swap {
  int position = 0;
  QString target;
  bool replacesFile = false;
  bool placed = false;
  QStringList createdFolders;
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

QList<PackInstaller::Swap> PackInstaller::ReadJournal(QString* why) const {
  QFile journal(JournalPath());
  // Checked before opening: a planted FIFO would block, a link read another file.
  if (!IsPlainFile(JournalPath()) || journal.size() > MaxJournalBytes ||
      !journal.open(QIODevice::ReadOnly)) {
    *why = QStringLiteral("its record is not a file the updater wrote");
    return {};
  }
  static const QRegularExpression entry(QStringLiteral("^([0-9]{1,5}) (replace|new) (.+)$"));
  QList<Swap> swaps;
  QSet<int> positions;
  QSet<QString> targets;
  int lineNumber = 0;
  for (const QString& line : webupdate::SplitLines(journal.read(MaxJournalBytes))) {
    ++lineNumber;
    if (line.isEmpty()) continue;
    const QRegularExpressionMatch match = entry.match(line);
    const auto refuse = [&](const QString& reason) {
      *why = QStringLiteral("line %1 of its record, \"%2\", is refused: %3")
                 .arg(lineNumber)
                 .arg(webupdate::ShortName(line), reason);
      return QList<Swap>{};
    };
    if (!match.hasMatch()) return refuse(QStringLiteral("it is not a line the updater writes"));
    Swap swap;
    swap.position = match.captured(1).toInt();
    swap.replacesFile = match.captured(2) == u"replace";
    const QString name = match.captured(3);
    QString reason;
    std::optional<QString> target;
    const std::optional<QString> relative = webupdate::CheckEntryName(name, &reason);
    if (relative && relative->section(u'/', 0, 0) == StagingName()) {
      reason = QStringLiteral("it names the updater's working folder");
    } else if (relative) {
      target = webupdate::ResolveInside(m_installFolder, *relative, &reason);
    }
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
    swaps.append(swap);
  }
  return swaps;
}

PackInstaller::Recovery PackInstaller::Recover() {
  const QFileInfo staging(StagingFolder());
  if (!staging.exists() && !staging.isSymLink()) return {};
  // Removing through a link would remove the files of whatever it points at.
  if (staging.isSymLink() || !staging.isDir()) {
    return {Recovery::Kind::Refused, QStringLiteral("%1 is not the updater's own folder")
                                         .arg(webupdate::ShortName(StagingFolder()))};
  }
  if (!Exists(JournalPath())) {
    Discard();
    return {Recovery::Kind::Cleared, {}};
  }
  QString why;
  const QList<Swap> swaps = ReadJournal(&why);
  if (!why.isEmpty()) return {Recovery::Kind::Refused, why};
  QString error;
  if (!RollBack(swaps, &error)) return {Recovery::Kind::Failed, error};
  Discard();
  return {Recovery::Kind::RolledBack, {}};
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
  QString journalText;
  for (int n = 0; n < files.size(); ++n) {
    Swap swap;
    swap.position = n;
    swap.target = files[n].target;
    swap.replacesFile = Exists(swap.target);
    journalText += QStringLiteral("%1 %2 %3\n")
                       .arg(n)
                       .arg(swap.replacesFile ? u"replace" : u"new", files[n].relativePath);
    swaps.append(swap);
  }
  QSaveFile journal(JournalPath());
  if (!journal.open(QIODevice::WriteOnly) || journal.write(journalText.toUtf8()) < 0 ||
      !journal.commit()) {
    return {false,
            {},
            {},
            QStringLiteral("The folder %1 cannot be written: %2.")
                .arg(webupdate::ShortName(StagingFolder()), journal.errorString())};
  }

  for (int n = 0; n < swaps.size(); ++n) {
    Swap& swap = swaps[n];
    const QString staged = StagedPath(n);
    // Missing folders are created only inside the install folder (the path was checked).
    QString folder = QFileInfo(swap.target).path();
    QStringList missing;
    while (!QFileInfo(folder).exists() && folder.startsWith(m_installFolder + u'/')) {
      missing.prepend(folder);
      folder = QFileInfo(folder).path();
    }
    std::error_code cause;
    for (const QString& created : missing) {
      if ((cause = MakeFolder(created))) break;
      swap.createdFolders.append(created);
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
      if (!RollBack(swaps.mid(0, n + 1), &rollbackError)) outcome.error = rollbackError;
      if (outcome.error.isEmpty()) Discard();
      return outcome;
    }
  }
  return {true, {}, {}, {}};
}

bool PackInstaller::RollBack(const QList<Swap>& swaps, QString* error) {
  bool ok = true;
  for (qsizetype i = swaps.size() - 1; i >= 0; --i) {
    const Swap& swap = swaps[i];
    const QString backup = BackupPath(swap);
    if (swap.replacesFile) {
      // The backup replaces the new file in one rename.
      if (Exists(backup) && m_rename(backup, swap.target)) ok = false;
    } else if (swap.placed && Exists(swap.target) && !QFile::remove(swap.target)) {
      ok = false;
    }
    for (qsizetype f = swap.createdFolders.size() - 1; f >= 0; --f) {
      QDir().rmdir(swap.createdFolders[f]);
    }
  }
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
