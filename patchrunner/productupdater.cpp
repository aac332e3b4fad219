#include "patchrunner/productupdater.h"

#include <QDir>

#include "webupdate/httpfetch.h"
#include "webupdate/messagetext.h"
#include "webupdate/serverurl.h"

namespace patchrunner {

using Kind = UpdateResult::Kind;
using webupdate::Sentence;
using webupdate::ShortName;

namespace {

// The first line of a failed swap's message, and the reason on the second: a file in use keeps
// the long-known message; a read-only folder or a refused name says what it is.
QString SwapFailureText(const QString& name, const std::error_code& cause) {
  const QString file = ShortName(name);
  const QString reason = QString::fromStdString(cause.message());
  QString why;
  if (cause == std::errc::permission_denied || cause == std::errc::operation_not_permitted) {
    why = QStringLiteral("Its folder is read-only or belongs to another user (%1).").arg(reason);
  } else if (cause == std::errc::read_only_file_system) {
    why = QStringLiteral("The product is on a read-only file system.");
  } else if (cause == std::errc::filename_too_long) {
    why = QStringLiteral("Its name is too long for the file system.");
  }
  if (!why.isEmpty()) {
    return QStringLiteral("Could not install service pack because file %1 cannot be replaced.")
               .arg(file) +
           u'\n' + why;
  }
  QString text =
      QStringLiteral("Could not install service pack because file %1 is in use.").arg(file);
  if (cause) text += u'\n' + Sentence(reason);
  return text;
}

// What recovery did, truthfully: a new file it could not show to be the pack's stays.
QString RolledBackNote(const QStringList& kept) {
  const QString putBack = QStringLiteral(
      "An earlier update was cut off; its files have been put back as they were "
      "before it");
  if (kept.isEmpty()) return putBack + u'.';
  if (kept.size() == 1) {
    return putBack + QStringLiteral(
                         ", except %1: it cannot be shown to be the file that update "
                         "added, so it was left as it is.")
                         .arg(ShortName(kept.first()));
  }
  QStringList names;
  for (const QString& name : kept.mid(0, 3)) names.append(ShortName(name));
  if (kept.size() > 3) names.append(QStringLiteral("%1 more").arg(kept.size() - 3));
  return putBack + QStringLiteral(
                       ", except %1 files that cannot be shown to be the ones that "
                       "update added, so they were left as they are: %2.")
                       .arg(kept.size())
                       .arg(names.join(QStringLiteral(", ")));
}

}  // namespace

ProductUpdater::ProductUpdater(ProductInfo product, QUrl server, SettingsAccess& settings,
                               QObject* parent)
    : QObject(parent),
      m_product(std::move(product)),
      m_server(std::move(server)),
      m_settings(settings) {}

ProductUpdater::~ProductUpdater() = default;

PackInstaller::Recovery ProductUpdater::Recover() {
  m_installFolder = QDir(m_product.path).canonicalPath();
  m_installer = std::make_unique<PackInstaller>(m_installFolder);
  if (m_rename) m_installer->SetRename(m_rename);
  const PackInstaller::Recovery recovery = m_installer->Recover();
  if (recovery.kind == PackInstaller::Recovery::Kind::RolledBack) {
    m_rolledBack = true;
    m_rollbackNote = RolledBackNote(recovery.kept);
  }
  return recovery;
}

QString ProductUpdater::RecoveryText(const PackInstaller::Recovery& recovery) const {
  using RecoveryKind = PackInstaller::Recovery::Kind;
  if (recovery.kind == RecoveryKind::Refused) {
    return QStringLiteral(
               "An earlier update was cut off, and what it left behind cannot be trusted, so "
               "nothing was put back.\n%1\nCheck the product's files, then remove the folder %2.")
        .arg(Sentence(recovery.detail), ShortName(m_installer->StagingFolder()));
  }
  if (recovery.kind == RecoveryKind::Failed) {
    return QStringLiteral(
               "An earlier update was cut off, and not all of its files could be put "
               "back.\n%1")
        .arg(recovery.detail);
  }
  return {};
}

QString ProductUpdater::RecoverInterrupted() {
  if (m_running || !CheckProduct(m_product).isEmpty()) return {};
  const PackInstaller::Recovery recovery = Recover();
  if (recovery.kind == PackInstaller::Recovery::Kind::RolledBack) return m_rollbackNote;
  return RecoveryText(recovery);
}

QString ProductUpdater::Unchanged() const {
  return m_rolledBack ? QString() : QStringLiteral(" The product was not changed.");
}

void ProductUpdater::Run() {
  if (m_running) return;
  m_running = true;
  m_pack.clear();
  emit Status(QStringLiteral("Please wait..."));
  if (const QString refused = CheckProduct(m_product); !refused.isEmpty()) {
    Finish(Kind::Refused, refused, MessageIcon::Exclamation);
    return;
  }
  // Before the server is asked anything: whatever it answers, a half-done swap is undone.
  const PackInstaller::Recovery recovery = Recover();
  if (const QString text = RecoveryText(recovery); !text.isEmpty()) {
    Finish(Kind::NotRecovered, text, MessageIcon::Critical);
    return;
  }
  m_fetch = std::make_unique<webupdate::HttpFetch>();
  m_fetch->SetLimits(m_limits);
  StartFetch(&ProductUpdater::OnUpdateList);
  m_fetch->Start(webupdate::ServerPath(
      m_server, UpdateFolder(m_product.code, m_product.version) + QStringLiteral("Updates.txt")));
}

void ProductUpdater::StartFetch(void (ProductUpdater::*handler)(const webupdate::FetchOutcome&)) {
  m_fetch->disconnect(this);
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, handler);
}

void ProductUpdater::Cancel() {
  if (m_running && m_fetch) m_fetch->Abort();
}

bool ProductUpdater::EndIfCancelled(const webupdate::FetchOutcome& outcome) {
  if (!outcome.aborted) return false;
  if (m_installer) m_installer->Discard();
  Finish(Kind::Cancelled, QStringLiteral("The update was cancelled.") + Unchanged(),
         MessageIcon::Exclamation);
  return true;
}

void ProductUpdater::OnUpdateList(const webupdate::FetchOutcome& outcome) {
  if (EndIfCancelled(outcome)) return;
  if (!outcome.ok) {
    Finish(Kind::ListFailed,
           QStringLiteral("Could not read the list of service packs from the update server.") +
               Unchanged() + u'\n' + outcome.error,
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
  StartFetch(&ProductUpdater::OnFileList);
  m_fetch->Start(webupdate::ServerPath(m_server, UpdateFolder(m_product.code, m_product.version) +
                                                     m_pack + QStringLiteral("/Files.txt")));
}

void ProductUpdater::OnFileList(const webupdate::FetchOutcome& outcome) {
  if (EndIfCancelled(outcome)) return;
  if (!outcome.ok) {
    Finish(Kind::FilesFailed,
           QStringLiteral("Could not read the file list of service pack %1.").arg(m_pack) +
               Unchanged() + u'\n' + outcome.error,
           MessageIcon::Critical);
    return;
  }
  const PackFileList list =
      ReadPackFiles(outcome.body, m_installFolder, PackInstaller::StagingName(), m_requireHashes);
  if (!list.refused.isEmpty()) {
    Finish(Kind::HostileList,
           QStringLiteral("Service pack %1 was not installed.").arg(m_pack) + Unchanged() +
               QStringLiteral("\nIts file list names \"%1\", which is refused: %2.")
                   .arg(ShortName(list.refused), list.reason),
           MessageIcon::Critical);
    return;
  }
  m_files = list.files;
  QString error;
  if (!m_installer->PrepareStaging(&error)) {
    Finish(Kind::DownloadFailed,
           QStringLiteral("Service pack %1 was not installed.").arg(m_pack) + Unchanged() + u'\n' +
               error,
           MessageIcon::Critical);
    return;
  }
  m_next = 0;
  StartFetch(&ProductUpdater::OnFile);
  FetchNext();
}

void ProductUpdater::FetchNext() {
  if (m_next < m_files.size()) {
    const QString folder = UpdateFolder(m_product.code, m_product.version) + m_pack + u'/';
    // A listed checksum is checked on the way, before the staged file is kept.
    m_fetch->StartToFile(webupdate::ServerPath(m_server, folder + m_files[m_next].relativePath),
                         m_installer->StagedPath(m_next), webupdate::HttpFetch::FileSizeCap,
                         m_files[m_next].sha256);
    return;
  }
  m_fetch->disconnect(this);
  const PackInstaller::Outcome installed = m_installer->Install(m_files);
  if (!installed.ok) {
    QString text;
    if (installed.failedName.isEmpty()) {
      text = QStringLiteral("Service pack %1 was not installed.").arg(m_pack) + Unchanged() +
             u'\n' + installed.error;
    } else {
      text = SwapFailureText(installed.failedName, installed.cause);
      text += installed.error.isEmpty() ? Unchanged() : u'\n' + installed.error;
    }
    Finish(Kind::InUse, text, MessageIcon::Exclamation);
    return;
  }
  m_installer->Commit();
  m_settings.Write(QStringLiteral("Main"), QStringLiteral("Update"), m_pack);
  QString text = QStringLiteral("Service pack %1 installed.").arg(m_pack);
  MessageIcon icon = MessageIcon::Information;
  // The files are in place either way; unrecorded, the next check offers the pack again.
  if (m_settings.Read(QStringLiteral("Main"), QStringLiteral("Update")) != m_pack) {
    text += QStringLiteral(
        "\nIt could not be recorded in the settings file, so the next check offers it again.");
    icon = MessageIcon::Exclamation;
  }
  Finish(Kind::Installed, text, icon);
}

void ProductUpdater::OnFile(const webupdate::FetchOutcome& outcome) {
  if (EndIfCancelled(outcome)) return;
  const PackFile& file = m_files[m_next];
  if (!outcome.ok) {
    m_installer->Discard();
    Finish(Kind::DownloadFailed,
           QStringLiteral("Error downloading %1.  Update was unsuccessful and incomplete.\n%2")
                   .arg(ShortName(file.listed), outcome.error) +
               Unchanged(),
           MessageIcon::Critical);
    return;
  }
  ++m_next;
  FetchNext();
}

void ProductUpdater::Finish(Kind kind, const QString& text, MessageIcon icon) {
  if (m_fetch) m_fetch->disconnect(this);
  m_running = false;
  UpdateResult result;
  result.kind = kind;
  result.text = text;
  if (m_rolledBack && kind != Kind::NotRecovered) result.text += u'\n' + m_rollbackNote;
  result.icon = icon;
  result.pack = m_pack;
  emit Finished(result);
}

}  // namespace patchrunner
