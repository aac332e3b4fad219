#include "guidefetch/helpupdater.h"

#include <QDir>
#include <QFileInfo>

#include "webupdate/entrypath.h"
#include "webupdate/httpfetch.h"
#include "webupdate/messagetext.h"
#include "webupdate/serverurl.h"

namespace guidefetch {

namespace {

QString ResultText(HelpResult::Kind kind) {
  switch (kind) {
    case HelpResult::Kind::ListingFailed:
      return QStringLiteral("Update failed.  Current help files are unchanged.");
    case HelpResult::Kind::FileFailed:
      return QStringLiteral("Update failed.  Not all files were updated.");
    case HelpResult::Kind::Cancelled:
      return QStringLiteral("Update cancelled.");
    case HelpResult::Kind::Completed:
      break;
  }
  return QStringLiteral("Update completed successfully.");
}

}  // namespace

HelpUpdater::HelpUpdater(HelpCommandLine line, QUrl server, QObject* parent)
    : QObject(parent), m_line(std::move(line)), m_server(std::move(server)) {}

HelpUpdater::~HelpUpdater() = default;

void HelpUpdater::Start() {
  if (m_busy) return;
  m_busy = true;
  m_cancelRequested = false;
  m_written = 0;
  m_fetch = std::make_unique<webupdate::HttpFetch>();
  m_fetch->SetLimits(m_limits);

  // The listing's progress is told step by step; a file's only by its name.
  const QString host = m_server.host();
  emit Status(QStringLiteral("Searching for %1...").arg(host));
  connect(m_fetch.get(), &webupdate::HttpFetch::ConnectingStarted, this,
          [this, host] { emit Status(QStringLiteral("Connecting to %1...").arg(host)); });
  connect(m_fetch.get(), &webupdate::HttpFetch::RequestSent, this,
          [this] { emit Status(QStringLiteral("Searching for help directory...")); });
  connect(m_fetch.get(), &webupdate::HttpFetch::ResponseStarted, this,
          [this] { emit Status(QStringLiteral("Retrieving information...")); });
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, &HelpUpdater::OnListing);
  m_fetch->Start(
      webupdate::ServerPath(m_server, QStringLiteral("Docs/%1/Dir.htm").arg(m_line.productCode)));
}

void HelpUpdater::RequestCancel() {
  if (!m_busy) return;
  m_cancelRequested = true;
  // Aborting reports the transfer at once, and OnFile() ends the walk.
  if (m_fetch) m_fetch->Abort();
}

void HelpUpdater::OnListing(const webupdate::FetchOutcome& outcome) {
  m_fetch->disconnect(this);
  if (outcome.aborted) {
    Finish(HelpResult::Kind::Cancelled);
    return;
  }
  if (!outcome.ok) {
    emit Status(QStringLiteral("Help Update failed."));
    Finish(HelpResult::Kind::ListingFailed, outcome.error);
    return;
  }
  emit Status(QString());

  const QList<HelpEntry> entries = ParseHelpListing(outcome.body);
  if (!entries.isEmpty() && !QDir().mkpath(m_line.helpFolder)) {
    emit Status(QStringLiteral("Help Update failed."));
    Finish(HelpResult::Kind::ListingFailed,
           QStringLiteral("The help folder %1 cannot be created.").arg(m_line.helpFolder));
    return;
  }
  // Every name is checked before the first file is written.
  m_targets.clear();
  for (const HelpEntry& entry : entries) {
    QString why;
    const std::optional<QString> relative = webupdate::CheckEntryName(entry.name, &why);
    const std::optional<QString> local =
        relative ? webupdate::ResolveInside(m_line.helpFolder, *relative, &why) : std::nullopt;
    if (!local) {
      emit Status(QStringLiteral("Help Update failed."));
      Finish(
          HelpResult::Kind::ListingFailed,
          QStringLiteral("The listing names \"%1\", which is refused: %2.").arg(entry.name, why));
      return;
    }
    m_targets.append({entry, *relative, *local});
  }
  m_next = 0;
  connect(m_fetch.get(), &webupdate::HttpFetch::Finished, this, &HelpUpdater::OnFile);
  QMetaObject::invokeMethod(this, &HelpUpdater::ProcessNext, Qt::QueuedConnection);
}

void HelpUpdater::ProcessNext() {
  if (m_cancelRequested) {
    Finish(HelpResult::Kind::Cancelled);
    return;
  }
  if (m_next >= m_targets.size()) {
    Finish(HelpResult::Kind::Completed);
    return;
  }
  const Target& target = m_targets[m_next];
  emit Status(QStringLiteral("Processing %1...").arg(target.entry.name));
  if (!NeedsFetch(QFileInfo(target.localPath), target.entry.date)) {
    ++m_next;
    QMetaObject::invokeMethod(this, &HelpUpdater::ProcessNext, Qt::QueuedConnection);
    return;
  }
  emit Status(QStringLiteral("Downloading %1...").arg(target.entry.name));
  // Cancel may have been asked for while the status was shown.
  if (m_cancelRequested) {
    Finish(HelpResult::Kind::Cancelled);
    return;
  }
  if (!QDir().mkpath(QFileInfo(target.localPath).path())) {
    emit Status(QStringLiteral("Help Update failed."));
    Finish(HelpResult::Kind::FileFailed,
           QStringLiteral("%1: its folder cannot be created.").arg(target.entry.name));
    return;
  }
  m_fetch->StartToFile(
      webupdate::ServerPath(
          m_server, QStringLiteral("Docs/%1/").arg(m_line.productCode) + target.relativePath),
      target.localPath, Allowance());
}

qint64 HelpUpdater::Allowance() const {
  return std::min(m_fileCap, std::max<qint64>(m_totalCap - m_written, 0));
}

void HelpUpdater::OnFile(const webupdate::FetchOutcome& outcome) {
  if (outcome.aborted) {
    Finish(HelpResult::Kind::Cancelled);
    return;
  }
  if (!outcome.ok) {
    QString reason = outcome.error;
    if (outcome.failure == webupdate::FetchFailure::TooLarge && Allowance() < m_fileCap) {
      reason += QStringLiteral(" The help files of one update may not exceed %1 together.")
                    .arg(webupdate::SizeText(m_totalCap));
    }
    emit Status(QStringLiteral("Help Update failed."));
    Finish(HelpResult::Kind::FileFailed,
           QStringLiteral("%1: %2").arg(m_targets[m_next].entry.name, reason));
    return;
  }
  m_written += outcome.size;
  emit Status(QString());
  ++m_next;
  QMetaObject::invokeMethod(this, &HelpUpdater::ProcessNext, Qt::QueuedConnection);
}

void HelpUpdater::Finish(HelpResult::Kind kind, const QString& detail) {
  if (m_fetch) m_fetch->disconnect(this);
  m_busy = false;
  QString text = ResultText(kind);
  // The listing's names can be as long as it likes; the message box must fit the screen.
  if (!detail.isEmpty()) text += u'\n' + webupdate::ShortenNames(detail);
  emit Finished(HelpResult{kind, text, detail});
}

}  // namespace guidefetch
