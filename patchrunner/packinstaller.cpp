#include "patchrunner/packinstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>
#include <system_error>

#include "webupdate/listlines.h"

namespace patchrunner {

namespace {

bool RenameReplacing(const QString& from, const QString& to) {
  std::error_code error;
  std::filesystem::rename(from.toStdString(), to.toStdString(), error);
  return !error;
}

bool Exists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
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

bool PackInstaller::Recover(QString* error) {
  if (!Exists(StagingFolder())) return true;
  QFile journal(JournalPath());
  if (journal.open(QIODevice::ReadOnly)) {
    // Lines "<position> <replace|new> <relative path>", written before the first swap.
    QList<Swap> swaps;
    for (const QString& line : webupdate::SplitLines(journal.readAll())) {
      const QStringList words = line.split(u' ');
      if (words.size() < 3) continue;
      Swap swap;
      swap.position = words[0].toInt();
      swap.replacesFile = words[1] == u"replace";
      swap.target = m_installFolder + u'/' + line.section(u' ', 2);
      // A staged file still in staging was never placed.
      swap.placed = !Exists(StagedPath(swap.position));
      swaps.append(swap);
    }
    journal.close();
    if (!RollBack(swaps, error)) return false;
  }
  Discard();
  return true;
}

bool PackInstaller::PrepareStaging(QString* error) {
  QDir().rmdir(StagingFolder());
  if (Exists(StagingFolder()) || !QDir().mkdir(StagingFolder())) {
    *error = QStringLiteral("The folder %1 cannot be created.").arg(StagingFolder());
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
    return {false, {}, QStringLiteral("The folder %1 cannot be written.").arg(StagingFolder())};
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
    bool ok = true;
    for (const QString& created : missing) {
      if (!QDir().mkdir(created)) {
        ok = false;
        break;
      }
      swap.createdFolders.append(created);
    }
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                     QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
    if (ok && swap.replacesFile) {
      permissions = QFile::permissions(swap.target);
      ok = QFileInfo(swap.target).isFile() && m_rename(swap.target, BackupPath(swap));
    }
    if (ok) {
      QFile::setPermissions(staged, permissions);
      ok = m_rename(staged, swap.target);
      if (!ok && swap.replacesFile) m_rename(BackupPath(swap), swap.target);
    }
    swap.placed = ok;
    if (!ok) {
      Outcome outcome{false, files[n].listed, {}};
      QString rollbackError;
      if (!RollBack(swaps.mid(0, n + 1), &rollbackError)) outcome.error = rollbackError;
      if (outcome.error.isEmpty()) Discard();
      return outcome;
    }
  }
  return {true, {}, {}};
}

bool PackInstaller::RollBack(const QList<Swap>& swaps, QString* error) {
  bool ok = true;
  for (qsizetype i = swaps.size() - 1; i >= 0; --i) {
    const Swap& swap = swaps[i];
    const QString backup = BackupPath(swap);
    if (swap.replacesFile) {
      // The backup replaces the new file in one rename.
      if (Exists(backup) && !m_rename(backup, swap.target)) ok = false;
    } else if (swap.placed && Exists(swap.target) && !QFile::remove(swap.target)) {
      ok = false;
    }
    for (qsizetype f = swap.createdFolders.size() - 1; f >= 0; --f) {
      QDir().rmdir(swap.createdFolders[f]);
    }
  }
  if (!ok && error) {
    *error = QStringLiteral("Some replaced files could not be put back; they are kept in %1.")
                 .arg(StagingFolder());
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
