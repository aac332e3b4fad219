#include "webupdate/httpfetch.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

#include "webupdate/serverurl.h"

namespace webupdate {

namespace {

QString StatusText(int status) {
  return QStringLiteral("the server answered %1").arg(status);
}

}  // namespace

HttpFetch::HttpFetch(QNetworkAccessManager& manager, QObject* parent)
    : QObject(parent), m_manager(manager) {}

HttpFetch::~HttpFetch() {
  if (m_reply) {
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
  }
}

void HttpFetch::Start(const QUrl& url, qint64 maxBytes) {
  m_savePath.clear();
  m_maxBytes = maxBytes;
  Begin(url);
}

void HttpFetch::StartToFile(const QUrl& url, const QString& savePath, qint64 maxBytes) {
  m_savePath = savePath;
  m_maxBytes = maxBytes;
  Begin(url);
}

void HttpFetch::Begin(const QUrl& url) {
  Q_ASSERT(!m_reply);
  m_file.reset();
  m_hash = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
  m_body.clear();
  m_received = 0;
  m_failure.clear();
  m_aborted = false;
  m_responseSeen = false;

  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::SameOriginRedirectPolicy);
  request.setMaximumRedirectsAllowed(5);
  request.setTransferTimeout(m_timeoutMs);
  // Bodies are checked against their announced length byte for byte.
  request.setRawHeader("Accept-Encoding", "identity");
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

  // A refused address is reported from the event loop, like every other outcome.
  if (const QString refused = CheckServerUrl(url); !refused.isEmpty()) {
    QMetaObject::invokeMethod(
        this,
        [this, refused] {
          FetchOutcome outcome;
          outcome.error = refused;
          emit Finished(outcome);
        },
        Qt::QueuedConnection);
    return;
  }
  m_reply = m_manager.get(request);
  connect(m_reply, &QNetworkReply::socketStartedConnecting, this, &HttpFetch::ConnectingStarted);
  connect(m_reply, &QNetworkReply::requestSent, this, &HttpFetch::RequestSent);
  connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
    if (!m_responseSeen) {
      m_responseSeen = true;
      emit ResponseStarted();
    }
  });
  connect(m_reply, &QNetworkReply::readyRead, this, &HttpFetch::OnReadyRead);
  connect(m_reply, &QNetworkReply::finished, this, &HttpFetch::OnFinished);
}

void HttpFetch::Abort() {
  if (!m_reply) return;
  m_aborted = true;
  m_reply->abort();
}

bool HttpFetch::StatusOk() const {
  const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  return status >= 200 && status < 300;
}

void HttpFetch::Fail(const QString& error) {
  if (m_failure.isEmpty()) m_failure = error;
  m_reply->abort();
}

void HttpFetch::OnReadyRead() {
  if (!m_failure.isEmpty() || m_aborted || !m_reply->isOpen()) return;
  // A redirect's or an error page's body is read and dropped, never kept.
  if (!StatusOk()) {
    m_reply->readAll();
    return;
  }
  const QByteArray chunk = m_reply->readAll();
  m_received += chunk.size();
  if (m_maxBytes >= 0 && m_received > m_maxBytes) {
    Fail(QStringLiteral("the reply is larger than %1 bytes").arg(m_maxBytes));
    return;
  }
  m_hash->addData(chunk);
  if (m_savePath.isEmpty()) {
    m_body += chunk;
    return;
  }
  if (!m_file) {
    m_file = std::make_unique<QSaveFile>(m_savePath);
    if (!m_file->open(QIODevice::WriteOnly)) {
      Fail(QStringLiteral("%1 cannot be written: %2").arg(m_savePath, m_file->errorString()));
      return;
    }
  }
  if (m_file->write(chunk) != chunk.size()) {
    Fail(QStringLiteral("%1 cannot be written: %2").arg(m_savePath, m_file->errorString()));
  }
}

void HttpFetch::OnFinished() {
  OnReadyRead();
  QNetworkReply* reply = m_reply;
  FetchOutcome outcome;
  outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  outcome.size = m_received;
  outcome.aborted = m_aborted;

  const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
  if (m_aborted) {
    outcome.error = QStringLiteral("the transfer was cancelled");
  } else if (!m_failure.isEmpty()) {
    outcome.error = m_failure;
  } else if (reply->error() == QNetworkReply::OperationCanceledError) {
    outcome.error = QStringLiteral("the server did not answer in time");
  } else if (reply->error() != QNetworkReply::NoError && (outcome.status == 0 || StatusOk())) {
    outcome.error = reply->errorString();
  } else if (!StatusOk()) {
    outcome.error = StatusText(outcome.status);
  } else if (announced.isValid() && announced.toLongLong() != m_received) {
    outcome.error = QStringLiteral("the reply ended after %1 of %2 bytes")
                        .arg(m_received)
                        .arg(announced.toLongLong());
  } else {
    outcome.ok = true;
  }

  if (outcome.ok && !m_savePath.isEmpty()) {
    // An empty body still makes an (empty) file.
    if (!m_file) {
      m_file = std::make_unique<QSaveFile>(m_savePath);
      if (!m_file->open(QIODevice::WriteOnly)) outcome.ok = false;
    }
    if (outcome.ok && !m_file->commit()) outcome.ok = false;
    if (!outcome.ok) {
      outcome.error =
          QStringLiteral("%1 cannot be written: %2").arg(m_savePath, m_file->errorString());
    }
  }
  if (outcome.ok) {
    outcome.sha256 = m_hash->result().toHex();
    outcome.body = std::move(m_body);
  }
  m_file.reset();  // discards what was not committed
  m_body.clear();
  m_reply = nullptr;
  reply->disconnect(this);
  reply->deleteLater();
  emit Finished(outcome);
}

}  // namespace webupdate
