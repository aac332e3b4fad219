#pragma once
// Puts a downloaded service pack in place as one transaction. Every file is first downloaded
// into a staging folder inside the install folder (same file system, so each swap is a
// rename); then each installed file moves to a backup in the staging folder and its new version
// takes its place, with the old file's permission bits. Any failure puts every old file back
// and removes what the pack added, so the product stays as it was.
//
// A journal in the staging folder lists the swaps before the first one: the folders the pack
// creates, each replaced file, and each new file with its size and SHA-256. If the updater is
// killed mid-swap, the next start (Recover) puts the old files back from it, removes a new
// file only when it is the very file the pack placed, and then the folders it created once
// they are empty. The journal is read as untrusted input: every name in it passes the same
// checks as a listed name, and a journal that fails them is refused with nothing touched; a
// new file recorded without its size and checksum (as older updaters wrote it) is never
// removed. Backups never live beside the product's files, so a product file that happens to be
// called "UP001..." is safe.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <system_error>

#include "patchrunner/packlist.h"

namespace patchrunner {

class PackInstaller {
public:
  // The staging folder's name inside the install folder; no pack may list it.
  static QString StagingName();

  // Renames from to to, replacing to; the error on failure. Tests replace it to make a given
  // swap fail.
  using RenameFunction = std::function<std::error_code(const QString& from, const QString& to)>;
  static std::error_code RenameReplacing(const QString& from, const QString& to);

  explicit PackInstaller(QString installFolder);

  void SetRename(RenameFunction rename) { m_rename = std::move(rename); }

  QString StagingFolder() const;
  // Where the file at position n is downloaded to before the swap.
  QString StagedPath(int position) const;

  struct Recovery {
    enum class Kind {
      Nothing,     // no staging folder
      Cleared,     // a staging folder without a journal (a run cut off before its swap)
      RolledBack,  // the journal's swaps were put back
      Refused,     // the staging folder or its journal cannot be trusted; nothing touched
      Failed,      // some swaps could not be put back; the staging folder stays
    };
    Kind kind = Kind::Nothing;
    QString detail;  // why, when refused or failed
    // New files the journal names that were left in place, as listed: not shown to be the
    // files the pack placed.
    QStringList kept;
  };
  // Puts back what an interrupted earlier run swapped, then removes its staging folder.
  Recovery Recover();
  // A fresh, empty staging folder (after Recover); false with the reason in error.
  bool PrepareStaging(QString* error);

  struct Outcome {
    bool ok = false;
    QString failedName;     // as listed, when a swap failed
    std::error_code cause;  // why it failed, when the system said
    QString error;          // a rollback that did not complete, or a failure before any swap
  };
  // Swaps every staged file into place; on failure everything is rolled back and the staging
  // folder keeps only what a later Recover needs (nothing, when the rollback succeeded).
  Outcome Install(const QList<PackFile>& files);

  // After a successful Install: the new files are final (the journal goes first, so a crash
  // after this point never rolls the pack back), then the backups and staging are removed.
  void Commit();
  // Removes the staging folder after a failure before Install.
  void Discard();

private:
  struct Swap;
  QString JournalPath() const;
  // The journal's swaps and created folders, each name checked as a listed name is; false
  // with why on refusal.
  bool ReadJournal(QList<Swap>* swaps, QStringList* folders, QString* why) const;
  // The file's backup, named as BackupName() gives, inside the staging folder.
  QString BackupPath(const Swap& swap) const;
  // Puts back the replaced files, removes the placed new files and then the created folders
  // that are empty; kept gets the new files left as they are.
  bool RollBack(const QList<Swap>& swaps, const QStringList& createdFolders, QString* error,
                QStringList* kept = nullptr);

  QString m_installFolder;
  RenameFunction m_rename;
};

}  // namespace patchrunner
