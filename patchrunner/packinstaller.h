#pragma once
// Puts a downloaded service pack in place as one transaction. Every file is first downloaded
// into a staging folder inside the install folder (same file system, so each swap is a
// rename); then each installed file moves to a backup in the staging folder and its new version
// takes its place, with the old file's permission bits. Any failure puts every old file back
// and removes what the pack added, so the product stays as it was.
//
// A journal in the staging folder lists the swaps before the first one; if the updater is
// killed mid-swap, the next run (Recover) puts the old files back from it. Backups never live
// beside the product's files, so a product file that happens to be called "UP001..." is safe.

#include <QList>
#include <QString>
#include <functional>

#include "patchrunner/packlist.h"

namespace patchrunner {

class PackInstaller {
public:
  // The staging folder's name inside the install folder; no pack may list it.
  static QString StagingName();

  // Renames from to to, replacing to; false on failure. Tests replace it to make a given
  // swap fail.
  using RenameFunction = std::function<bool(const QString& from, const QString& to)>;

  explicit PackInstaller(QString installFolder);

  void SetRename(RenameFunction rename) { m_rename = std::move(rename); }

  QString StagingFolder() const;
  // Where the file at position n is downloaded to before the swap.
  QString StagedPath(int position) const;

  // Puts back what an interrupted earlier run swapped, then removes its staging folder.
  // False with error when something could not be put back (the staging folder then stays).
  bool Recover(QString* error);
  // A fresh, empty staging folder (after Recover).
  bool PrepareStaging(QString* error);

  struct Outcome {
    bool ok = false;
    QString failedName;  // as listed, when a swap failed
    QString error;
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
  // The file's backup, named as BackupName() gives, inside the staging folder.
  QString BackupPath(const Swap& swap) const;
  bool RollBack(const QList<Swap>& swaps, QString* error);

  QString m_installFolder;
  RenameFunction m_rename;
};

}  // namespace patchrunner
