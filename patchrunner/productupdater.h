#pragma once
// One run of the product updater, without widgets: asks the update server for the packs of the
// product's version, and when one is newer than the installed pack, downloads its files into
// staging, checks them (status, length, SHA-256 when listed) and swaps them in as one
// transaction (PackInstaller). Main/Update is written only after every file is in place.
// Each failure names itself and says why on a second line; none is reported as success and
// none changes the product. A swap that an earlier run left half done (the updater was killed)
// is undone first, before the server is asked anything, and the result says so.
//
// Event-driven: Run() returns at once; Status() reports progress texts and Finished() the one
// result, whose text the window shows in a message box titled "Update". Cancel() ends a run
// at once with the product as it was; the swap itself runs without the event loop, so a
// cancel never lands in the middle of it.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "patchrunner/packinstaller.h"
#include "patchrunner/packlist.h"
#include "patchrunner/productinfo.h"
#include "webupdate/httpfetch.h"

namespace patchrunner {

enum class MessageIcon { Information, Exclamation, Critical };

struct UpdateResult {
  enum class Kind {
    Refused,         // the product's settings do not allow a run
    NotRecovered,    // an earlier run's half-done swap could not be undone
    ListFailed,      // "Updates.txt" could not be read
    AtHighest,       // nothing newer
    FilesFailed,     // the pack's "Files.txt" could not be read
    HostileList,     // the pack lists a name outside the install folder
    DownloadFailed,  // a file failed; nothing changed
    InUse,           // a file could not be swapped; everything put back
    Cancelled,       // the user cancelled; nothing changed
    Installed,
  };
  Kind kind = Kind::Refused;
  QString text;
  MessageIcon icon = MessageIcon::Information;
  QString pack;  // the pack looked at, when one was
};

class ProductUpdater final : public QObject {
  Q_OBJECT

public:
  ProductUpdater(ProductInfo product, QUrl server, SettingsAccess& settings,
                 QObject* parent = nullptr);
  ~ProductUpdater() override;

  // How long each transfer may be silent, take and crawl; tests shorten them.
  void SetTransferLimits(const webupdate::TransferLimits& limits) { m_limits = limits; }
  // When set, a pack file listed without a SHA-256 refuses the whole pack.
  void SetRequireHashes(bool required) { m_requireHashes = required; }
  void SetRename(PackInstaller::RenameFunction rename) { m_rename = std::move(rename); }

  // Undoes what an earlier, cut-off run left half swapped; the text for the user when it found
  // something to undo or could not, else empty. The program calls it at start; Run() again.
  QString RecoverInterrupted();
  void Run();
  // Ends the running transfer; Finished() reports Cancelled unless the run had ended.
  void Cancel();

signals:
  void Status(const QString& text);
  void Finished(const patchrunner::UpdateResult& result);

private:
  void OnUpdateList(const webupdate::FetchOutcome& outcome);
  void OnFileList(const webupdate::FetchOutcome& outcome);
  void FetchNext();
  void OnFile(const webupdate::FetchOutcome& outcome);
  void StartFetch(void (ProductUpdater::*handler)(const webupdate::FetchOutcome&));
  // The recovery's outcome, and for a failed one its result text (else empty).
  PackInstaller::Recovery Recover();
  QString RecoveryText(const PackInstaller::Recovery& recovery) const;
  // " The product was not changed." unless an earlier run was undone (the note says so).
  QString Unchanged() const;
  bool EndIfCancelled(const webupdate::FetchOutcome& outcome);
  void Finish(UpdateResult::Kind kind, const QString& text, MessageIcon icon);

  ProductInfo m_product;
  QUrl m_server;
  SettingsAccess& m_settings;
  std::unique_ptr<webupdate::HttpFetch> m_fetch;
  std::unique_ptr<PackInstaller> m_installer;
  PackInstaller::RenameFunction m_rename;
  QString m_installFolder;
  QString m_pack;
  QList<PackFile> m_files;
  int m_next = 0;
  webupdate::TransferLimits m_limits;
  bool m_requireHashes = false;
  bool m_running = false;
  bool m_rolledBack = false;
  QString m_rollbackNote;  // what undoing the earlier run did, when it did something
};

}  // namespace patchrunner

Q_DECLARE_METATYPE(patchrunner::UpdateResult)
