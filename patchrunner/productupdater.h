#pragma once
// One run of the product updater, without widgets: asks the update server for the packs of the
// product's version, and when one is newer than the installed pack, downloads its files into
// staging, checks them (status, length, SHA-256 when listed) and swaps them in as one
// transaction (PackInstaller). Main/Update is written only after every file is in place.
// Each failure names itself; none is reported as success and none changes the product.
//
// Event-driven: Run() returns at once; Status() reports progress texts and Finished() the one
// result, whose text the window shows in a message box titled "Update".

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "patchrunner/packinstaller.h"
#include "patchrunner/packlist.h"
#include "patchrunner/productinfo.h"

class QNetworkAccessManager;

namespace webupdate {
class HttpFetch;
struct FetchOutcome;
}  // namespace webupdate

namespace patchrunner {

enum class MessageIcon { Information, Exclamation, Critical };

struct UpdateResult {
  enum class Kind {
    Refused,         // the product's settings do not allow a run
    ListFailed,      // "Updates.txt" could not be read
    AtHighest,       // nothing newer
    FilesFailed,     // the pack's "Files.txt" could not be read
    HostileList,     // the pack lists a name outside the install folder
    DownloadFailed,  // a file failed; nothing changed
    InUse,           // a file could not be swapped; everything put back
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
                 QNetworkAccessManager& manager, QObject* parent = nullptr);
  ~ProductUpdater() override;

  void SetTransferTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
  // When set, a pack file listed without a SHA-256 refuses the whole pack.
  void SetRequireHashes(bool required) { m_requireHashes = required; }
  void SetRename(PackInstaller::RenameFunction rename) { m_rename = std::move(rename); }

  void Run();

signals:
  void Status(const QString& text);
  void Finished(const patchrunner::UpdateResult& result);

private:
  void OnUpdateList(const webupdate::FetchOutcome& outcome);
  void OnFileList(const webupdate::FetchOutcome& outcome);
  void FetchNext();
  void OnFile(const webupdate::FetchOutcome& outcome);
  void Finish(UpdateResult::Kind kind, const QString& text, MessageIcon icon);

  ProductInfo m_product;
  QUrl m_server;
  SettingsAccess& m_settings;
  QNetworkAccessManager& m_manager;
  std::unique_ptr<webupdate::HttpFetch> m_fetch;
  std::unique_ptr<PackInstaller> m_installer;
  PackInstaller::RenameFunction m_rename;
  QString m_installFolder;
  QString m_pack;
  QList<PackFile> m_files;
  int m_next = 0;
  int m_timeoutMs = 30000;
  bool m_requireHashes = false;
};

}  // namespace patchrunner

Q_DECLARE_METATYPE(patchrunner::UpdateResult)
