#include "webupdate/httpfetch.h"

#include <QCryptographicHash>
#include <QNetworkProxy>
#include <QSaveFile>
#include <QSslSocket>
#include <QTcpSocket>
#include <algorithm>
#include <limits>

#include "webupdate/messagetext.h"
#include "webupdate/replyparser.h"
#include "webupdate/serverurl.h"

namespace webupdate {

namespace {

// How long a server that does not close the connection after the body may still send.
constexpr int CloseGraceMs = 500;

int DefaultPort(const QUrl& url) {
  return url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 ? 443 : 80;
}

bool SameOrigin(const QUrl& a, const QUrl& b) {
  return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
         a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
         a.port(DefaultPort(a)) == b.port(DefaultPort(b));
}

}  // namespace

HttpFetch::HttpFetch(QObject* parent) : QObject(parent) {
  for (QTimer* timer : {&m_idle, &m_deadline, &m_grace}) timer->setSingleShot(true);
  connect(&m_idle, &QTimer::timeout, this, [this] {
    Fail(FetchFailure::Idle,
         QStringLiteral("The server sent nothing for %1.").arg(DurationText(m_limits.idleMs)));
  });
  connect(&m_deadline, &QTimer::timeout, this, [this] {
    Fail(FetchFailure::Deadline,
         QStringLiteral("The transfer took longer than the %1 allowed for it (%2 received).")
             .arg(DurationText(AllowedMs()), SizeText(m_received)));
  });
  connect(&m_grace, &QTimer::timeout, this, &HttpFetch::Succeed);
  connect(&m_rate, &QTimer::timeout, this, &HttpFetch::CheckRate);
}

HttpFetch::~HttpFetch() {
  m_active = false;
  DropSocket();
}

void HttpFetch::Start(const QUrl& url, qint64 maxBytes) {
  m_savePath.clear();
  m_expectedSha256.clear();
  m_maxBytes = maxBytes;
  Begin(url);
}

void HttpFetch::StartToFile(const QUrl& url, const QString& savePath, qint64 maxBytes,
                            const QByteArray& expectedSha256) {
  m_savePath = savePath;
  m_expectedSha256 = expectedSha256.toLower();
  m_maxBytes = maxBytes;
  Begin(url);
}

void HttpFetch::Begin(const QUrl& url) {
  Q_ASSERT(!m_active);
  ++m_generation;
  m_active = true;
  m_file.reset();
  m_hash = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
  m_body.clear();
  m_received = 0;
  m_announced = -1;
  m_windowBytes = 0;
  m_redirects = 0;
  m_connectingSeen = m_requestSent = m_responseSeen = false;
  m_clock.start();

  if (const QString refused = CheckServerUrl(url); !refused.isEmpty()) {
    FailLater(FetchFailure::Address, refused);
    return;
  }
  m_idle.start(m_limits.idleMs);
  ArmDeadline();
  if (m_limits.minimumBytesPerSecond > 0 && m_limits.rateWindowMs > 0) {
    m_rate.start(m_limits.rateWindowMs);
  }
  Connect(url);
}

void HttpFetch::Connect(const QUrl& url) {
  m_url = url;
  m_certificateProblem.clear();
  m_status = 0;
  m_announced = -1;
  m_connected = m_bodyDone = m_peerClosed = false;
  m_parser = std::make_unique<ReplyParser>();
  // A known checksum checks the end of a body that ends only with the connection.
  m_parser->AllowUntilClose(!m_expectedSha256.isEmpty());

  const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
  if (secure && !QSslSocket::supportsSsl()) {
    FailLater(FetchFailure::Network, QStringLiteral("This system offers no TLS for https."));
    return;
  }
  QSslSocket* secureSocket = secure ? new QSslSocket(this) : nullptr;
  m_socket = secureSocket ? secureSocket : new QTcpSocket(this);
  if (IsLoopbackHost(url)) m_socket->setProxy(QNetworkProxy::NoProxy);

  connect(m_socket, &QAbstractSocket::stateChanged, this,
          [this](QAbstractSocket::SocketState state) {
            if (state == QAbstractSocket::ConnectingState && !m_connectingSeen) {
              m_connectingSeen = true;
              emit ConnectingStarted();
            }
          });
  connect(m_socket, &QAbstractSocket::bytesWritten, this, [this](qint64 written) {
    m_idle.start(m_limits.idleMs);
    m_requestBytes -= written;
    if (m_requestBytes <= 0 && !m_requestSent) {
      m_requestSent = true;
      emit RequestSent();
    }
  });
  connect(m_socket, &QIODevice::readyRead, this, &HttpFetch::OnReadyRead);
  connect(m_socket, &QAbstractSocket::disconnected, this, &HttpFetch::OnClosed);
  connect(m_socket, &QAbstractSocket::errorOccurred, this, &HttpFetch::OnSocketError);
  if (secureSocket) {
    connect(secureSocket, &QSslSocket::encrypted, this, &HttpFetch::SendRequest);
    connect(secureSocket, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
      if (!errors.isEmpty()) m_certificateProblem = errors.first().errorString();
    });
    secureSocket->connectToHostEncrypted(url.host(), quint16(url.port(DefaultPort(url))));
  } else {
    connect(m_socket, &QAbstractSocket::connected, this, &HttpFetch::SendRequest);
    m_socket->connectToHost(url.host(), quint16(url.port(DefaultPort(url))));
  }
}

void HttpFetch::DropSocket() {
  if (!m_socket) return;
  m_socket->disconnect(this);
  m_socket->abort();
  m_socket->deleteLater();
  m_socket = nullptr;
}

void HttpFetch::SendRequest() {
  m_idle.start(m_limits.idleMs);
  QByteArray target = m_url.path(QUrl::FullyEncoded).toLatin1();
  if (target.isEmpty()) target = "/";
  if (m_url.hasQuery()) target += '?' + m_url.query(QUrl::FullyEncoded).toLatin1();
  QByteArray host = m_url.host(QUrl::FullyEncoded).toLatin1();
  if (host.contains(':')) host = '[' + host + ']';
  if (m_url.port() != -1 && m_url.port() != DefaultPort(m_url)) {
    host += ':' + QByteArray::number(m_url.port());
  }
  // Bodies are checked against their announced length byte for byte, so nothing may be
  // compressed on the way; one request per connection, so the server ends it.
  const QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + host +
                             "\r\nUser-Agent: Veltrimond-Updater\r\nAccept: */*\r\n"
                             "Accept-Encoding: identity\r\nConnection: close\r\n\r\n";
  m_requestBytes = request.size();
  m_connected = true;
  m_socket->write(request);
}

void HttpFetch::OnReadyRead() {
  if (!m_active || !m_socket) return;
  const QByteArray bytes = m_socket->readAll();
  if (bytes.isEmpty()) return;
  m_idle.start(m_limits.idleMs);
  m_windowBytes += bytes.size();
  m_parser->Feed(bytes);
  Drain();
}

void HttpFetch::Drain() {
  using Step = ReplyParser::Step;
  const quint64 generation = m_generation;
  while (!Ended(generation)) {
    switch (m_parser->Next()) {
      case Step::NeedMore:
        return;
      case Step::Interim:
        m_status = m_parser->Status();
        if (!ResponseStarting()) return;
        break;
      case Step::Head:
        if (!ResponseStarting() || !AcceptHead()) return;
        break;
      case Step::Body:
        Deliver(m_parser->TakeBody());
        break;
      case Step::End:
        if (!m_bodyDone) BodyComplete();
        return;
      case Step::Failed:
        Fail(m_parser->Failure(), m_parser->Error());
        return;
    }
  }
}

bool HttpFetch::ResponseStarting() {
  if (m_responseSeen) return true;
  m_responseSeen = true;
  const quint64 generation = m_generation;
  emit ResponseStarted();
  // Aborted from the signal: a redirect must not open a connection for an ended request.
  return !Ended(generation);
}

bool HttpFetch::AcceptHead() {
  const int status = m_parser->Status();
  m_status = status;
  const QByteArray location = m_parser->Field("location");
  if (status >= 300 && status < 400 && status != 304 && !location.isEmpty()) {
    FollowRedirect(location);
    return false;
  }
  // Only the whole file is the file: a part of it (206) or no content (204) is not.
  if (status != 200) {
    Fail(FetchFailure::Status,
         (status >= 200 && status < 300
              ? QStringLiteral("The server answered with status %1 rather than with the whole "
                               "file.")
              : QStringLiteral("The server answered with status %1."))
             .arg(status));
    return false;
  }
  m_announced = m_parser->AnnouncedLength();
  if (m_maxBytes >= 0 && m_announced > m_maxBytes) {
    Fail(FetchFailure::TooLarge,
         QStringLiteral("The server announced %1, more than the %2 allowed.")
             .arg(SizeText(m_announced), SizeText(m_maxBytes)));
    return false;
  }
  ArmDeadline();
  return true;
}

void HttpFetch::FollowRedirect(const QByteArray& location) {
  const QUrl next = m_url.resolved(QUrl::fromEncoded(location, QUrl::StrictMode));
  if (!next.isValid() || !SameOrigin(m_url, next) || !next.userInfo().isEmpty()) {
    Fail(FetchFailure::Redirect,
         QStringLiteral("The server sent the request on to %1, another address, which is "
                        "refused.")
             .arg(ShortName(next.isValid() ? next.toDisplayString() : ServerText(location))));
    return;
  }
  if (++m_redirects > MaxRedirects) {
    Fail(FetchFailure::Redirect,
         QStringLiteral("The server sent the request on more than %1 times.").arg(MaxRedirects));
    return;
  }
  DropSocket();
  Connect(next);
}

void HttpFetch::Deliver(const QByteArray& bytes) {
  if (bytes.isEmpty()) return;
  m_received += bytes.size();
  if (m_maxBytes >= 0 && m_received > m_maxBytes) {
    Fail(FetchFailure::TooLarge,
         QStringLiteral("The reply grew beyond the %1 allowed.").arg(SizeText(m_maxBytes)));
    return;
  }
  if (m_announced < 0) ArmDeadline();
  m_hash->addData(bytes);
  if (m_savePath.isEmpty()) {
    m_body += bytes;
    return;
  }
  if (!OpenFile() || m_file->write(bytes) != bytes.size()) FailWrite();
}

bool HttpFetch::OpenFile() {
  if (m_file) return true;
  m_file = std::make_unique<QSaveFile>(m_savePath);
  return m_file->open(QIODevice::WriteOnly);
}

void HttpFetch::FailWrite() {
  Fail(FetchFailure::Write, QStringLiteral("%1 cannot be written: %2.")
                                .arg(ShortName(m_savePath), m_file->errorString()));
}

void HttpFetch::BodyComplete() {
  m_bodyDone = true;
  if (m_peerClosed || !m_socket || m_socket->state() == QAbstractSocket::UnconnectedState) {
    Succeed();
    return;
  }
  // Whatever the server sends after the body before it closes makes the reply overlong.
  m_grace.start(std::min(CloseGraceMs, m_limits.idleMs));
}

void HttpFetch::OnClosed() {
  if (!m_active || !m_socket) return;
  const quint64 generation = m_generation;
  OnReadyRead();
  if (Ended(generation)) return;
  m_peerClosed = true;
  if (m_bodyDone) {
    Succeed();
    return;
  }
  m_parser->Close();
  Drain();
}

void HttpFetch::OnSocketError() {
  if (!m_active || !m_socket) return;
  if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) {
    OnClosed();
    return;
  }
  if (!m_certificateProblem.isEmpty()) {
    Fail(FetchFailure::Network, QStringLiteral("The server's identity could not be checked: %1.")
                                    .arg(m_certificateProblem));
  } else if (!m_connected) {
    Fail(FetchFailure::Network, QStringLiteral("The server %1 could not be reached: %2.")
                                    .arg(ShortName(m_url.host()), m_socket->errorString()));
  } else {
    Fail(FetchFailure::Network,
         QStringLiteral("The connection broke: %1.").arg(m_socket->errorString()));
  }
}

qint64 TransferLimits::DeadlineMs(qint64 size) const {
  constexpr qint64 largest = std::numeric_limits<qint64>::max() / 1000;
  const qint64 sizeMs =
      std::clamp<qint64>(size, 0, largest) * 1000 / std::max<qint64>(slowestBytesPerSecond, 1);
  return std::min<qint64>(qint64(deadlineFloorMs) + std::min<qint64>(sizeMs, deadlineCapMs),
                          deadlineCapMs);
}

qint64 HttpFetch::AllowedMs() const {
  return m_limits.DeadlineMs(std::max(m_announced, m_received));
}

void HttpFetch::ArmDeadline() {
  const qint64 left =
      std::clamp<qint64>(AllowedMs() - m_clock.elapsed(), 0, std::numeric_limits<int>::max());
  m_deadline.start(int(left));
}

void HttpFetch::CheckRate() {
  const qint64 needed = m_limits.minimumBytesPerSecond * m_limits.rateWindowMs / 1000;
  if (m_windowBytes < needed) {
    Fail(FetchFailure::TooSlow,
         QStringLiteral("The server sent only %1 in the last %2, less than the %3 a second a "
                        "transfer needs (%4 of the file received).")
             .arg(SizeText(m_windowBytes), DurationText(m_limits.rateWindowMs),
                  SizeText(m_limits.minimumBytesPerSecond), SizeText(m_received)));
    return;
  }
  m_windowBytes = 0;
}

void HttpFetch::Abort() {
  if (!m_active) return;
  FetchOutcome outcome;
  outcome.aborted = true;
  outcome.failure = FetchFailure::Cancelled;
  outcome.error = QStringLiteral("The transfer was cancelled.");
  Report(outcome);
}

void HttpFetch::Fail(FetchFailure failure, const QString& error) {
  if (!m_active) return;
  FetchOutcome outcome;
  outcome.failure = failure;
  outcome.error = error;
  Report(outcome);
}

// Reported from the event loop, like every other outcome, so never from inside Start().
void HttpFetch::FailLater(FetchFailure failure, const QString& error) {
  const quint64 generation = m_generation;
  QMetaObject::invokeMethod(
      this,
      [this, generation, failure, error] {
        if (!Ended(generation)) Fail(failure, error);
      },
      Qt::QueuedConnection);
}

void HttpFetch::Succeed() {
  if (!m_active) return;
  if (!m_expectedSha256.isEmpty() && m_hash->result().toHex() != m_expectedSha256) {
    Fail(FetchFailure::Checksum,
         QStringLiteral("The file's checksum does not match the one it was listed with."));
    return;
  }
  // An empty body still makes an (empty) file.
  if (!m_savePath.isEmpty() && (!OpenFile() || !m_file->commit())) {
    FailWrite();
    return;
  }
  FetchOutcome outcome;
  outcome.ok = true;
  outcome.sha256 = m_hash->result().toHex();
  outcome.body = std::move(m_body);
  Report(outcome);
}

void HttpFetch::Report(FetchOutcome outcome) {
  m_active = false;
  m_idle.stop();
  m_deadline.stop();
  m_grace.stop();
  m_rate.stop();
  DropSocket();
  m_parser.reset();
  m_file.reset();  // discards what was not committed
  m_body.clear();
  outcome.status = m_status;
  outcome.size = m_received;
  emit Finished(outcome);
}

}  // namespace webupdate
