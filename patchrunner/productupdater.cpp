#include "patchrunner/productupdater.h"

#include <QDir>
#include <QNetworkAccessManager>

#include "webupdate/httpfetch.h"
#include "webupdate/serverurl.h"

namespace patchrunner {

using Kind = UpdateResult::Kind;

ProductUpdater::ProductUpdater(ProductInfo product, QUrl server, SettingsAccess& settings,
                               QNetworkAccessManager& manager, QObject* parent)
    : QObject(parent),
      m_product(std::move(product)),
      m_server(std::move(server)),
      m_settings(settings),
      m_manager(manager) {}

ProductUpdater::~ProductUpdater() = default;

void ProductUpdater::Run() {
  emit Status(QStringLiteral("Please wait..."));
  if (const QString refused = CheckProduct(m_product); !refused.isEmpty()) {
    Finish(Kind::Refused, refused, MessageIcon::Exclamation);
    return;
  }
  m_installFolder = QDir(m_product.path).canonicalPath();
  m_fetch = std::make_unique<webupdate::HttpFetch>(m_manager);
  m_fetch->SetTransferTimeout(m_timeoutMs);
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, &ProductUpdater::OnUpdateList);
  m_fetch->Start(webupdate::ServerPath(
      m_server, UpdateFolder(m_product.code, m_product.version) + QStringLiteral("Updates.txt")));
}

void ProductUpdater::OnUpdateList(const webupdate::FetchOutcome& outcome) {
  m_fetch->disconnect(this);
  if (!outcome.ok) {
    Finish(Kind::ListFailed,
           QStringLiteral("Could not read the list of service packs from the update server "
                          "(%1). The product was not changed.")
               .arg(outcome.error),
           MessageIcon::Critical);
    return;
  }
  const std::optional<QString> highest = HighestPack(outcome.body);
  const int installed =
      PackNumber(m_product.update.isEmpty() ? QStringLiteral("SP0") : m_product.update);
  if (!highest || installed >= PackNumber(*highest)) {
    Finish(Kind::AtHighest,
           QStringLiteral("This product is currently at the highest service pack level."),
           MessageIcon::Information);
    return;
  }
  m_pack = *highest;
  emit Status(QStringLiteral("Installing service pack %1...").arg(m_pack));
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, &ProductUpdater::OnFileList);
  m_fetch->Start(webupdate::ServerPath(m_server, UpdateFolder(m_product.code, m_product.version) +
                                                     m_pack + QStringLiteral("/Files.txt")));
}

void ProductUpdater::OnFileList(const webupdate::FetchOutcome& outcome) {
  m_fetch->disconnect(this);
  if (!outcome.ok) {
    Finish(Kind::FilesFailed,
           QStringLiteral("Could not read the file list of service pack %1 (%2). The product "
                          "was not changed.")
               .arg(m_pack, outcome.error),
           MessageIcon::Critical);
    return;
  }
  const PackFileList list =
      ReadPackFiles(outcome.body, m_installFolder, PackInstaller::StagingName(), m_requireHashes);
  if (!list.refused.isEmpty()) {
    Finish(Kind::HostileList,
           QStringLiteral("Service pack %1 was not installed: its file list names \"%2\", "
                          "and %3. The product was not changed.")
               .arg(m_pack, list.refused, list.reason),
           MessageIcon::Critical);
    return;
  }
  m_files = list.files;
  m_installer = std::make_unique<PackInstaller>(m_installFolder);
  if (m_rename) m_installer->SetRename(m_rename);
  QString error;
  if (!m_installer->Recover(&error) || !m_installer->PrepareStaging(&error)) {
    Finish(Kind::DownloadFailed,
           QStringLiteral("Service pack %1 was not installed: %2").arg(m_pack, error),
           MessageIcon::Critical);
    return;
  }
  m_next = 0;
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, &ProductUpdater::OnFile);
  FetchNext();
}

void ProductUpdater::FetchNext() {
  if (m_next < m_files.size()) {
    const QString folder = UpdateFolder(m_product.code, m_product.version) + m_pack + u'/';
    m_fetch->StartToFile(webupdate::ServerPath(m_server, folder + m_files[m_next].relativePath),
                         m_installer->StagedPath(m_next));
    return;
  }
  m_fetch->disconnect(this);
  const PackInstaller::Outcome installed = m_installer->Install(m_files);
  if (!installed.ok) {
    QString text;
    if (installed.failedName.isEmpty()) {
      text = QStringLiteral("Service pack %1 was not installed: %2").arg(m_pack, installed.error);
    } else {
      text = QStringLiteral("Could not install service pack because file %1 is in use.")
                 .arg(installed.failedName);
      if (!installed.error.isEmpty()) text += u' ' + installed.error;
    }
    Finish(Kind::InUse, text, MessageIcon::Exclamation);
    return;
  }
  m_installer->Commit();
  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), m_pack);
  QString text = QStringLiteral("Service pack %1 installed.").arg(m_pack);
  // The files are in place either way; unrecorded, the next check offers the pack again.
  if (m_settings.Read(QStringLiteral("Main"), QStringLiteral("Update")) != m_pack) {
    text += QStringLiteral(" It could not be recorded in the settings file.");
  }
  Finish(Kind::Installed, text, MessageIcon::Information);
}

void ProductUpdater::OnFile(const webupdate::FetchOutcome& outcome) {
  const PackFile& file = m_files[m_next];
  const bool hashOk = file.sha256.isEmpty() || file.sha256 == outcome.sha256;
  if (!outcome.ok || !hashOk) {
    m_fetch->disconnect(this);
    m_installer->Discard();
    Finish(Kind::DownloadFailed,
           QStringLiteral("Error downloading %1.  Update was unsuccessful and incomplete.")
               .arg(file.listed),
           MessageIcon::Critical);
    return;
  }
  ++m_next;
  FetchNext();
}

void ProductUpdater::Finish(Kind kind, const QString& text, MessageIcon icon) {
  UpdateResult result;
  result.kind = kind;
  result.text = text;
  result.icon = icon;
  result.pack = m_pack;
  emit Finished(result);
}

}  // namespace patchrunner
