#include "webupdate/httpfetch.h"

#include <QCryptographicHash>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSslSocket>
#include <QTcpSocket>
#include <algorithm>
#include <limits>

#include "webupdate/messagetext.h"
#include "webupdate/serverurl.h"

namespace webupdate {

namespace {

// A reply head larger than this is no answer of an update server.
constexpr qsizetype MaxHeadBytes = 64 * 1024;
constexpr qsizetype MaxChunkLineBytes = 1024;
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

// Only printable ASCII of a server's text reaches a message, and not much of it.
QString ServerText(const QByteArray& text) {
  QString printable;
  for (char c : text.trimmed().left(60)) {
    printable += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('?');
  }
  return printable;
}

bool IsDigits(const QByteArray& text) {
  return !text.isEmpty() && text.size() <= 18 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

HttpFetch::HttpFetch(QObject* parent) : QObject(parent) {
  for (QTimer* timer : {&m_idle, &m_deadline, &m_grace}) timer->setSingleShot(true);
  connect(&m_idle, &QTimer::timeout, this, [this] {
    Fail(FetchFailure::Idle,
         QStringLiteral("The server sent nothing for %1.").arg(DurationText(m_timeoutMs)));
  });
  connect(&m_deadline, &QTimer::timeout, this, [this] {
    Fail(FetchFailure::Deadline,
         QStringLiteral("The transfer took longer than the %1 allowed for it (%2 received).")
             .arg(DurationText(AllowedMs()), SizeText(m_received)));
  });
  connect(&m_grace, &QTimer::timeout, this, &HttpFetch::Succeed);
}

HttpFetch::~HttpFetch() {
  m_active = false;
  DropSocket();
}

void HttpFetch::SetDeadline(int floorMs, qint64 slowestBytesPerSecond) {
  m_deadlineFloorMs = floorMs;
  m_slowestBytesPerSecond = std::max<qint64>(slowestBytesPerSecond, 1);
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
  Q_ASSERT(!m_active);
  ++m_generation;
  m_active = true;
  m_file.reset();
  m_hash = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
  m_body.clear();
  m_received = 0;
  m_redirects = 0;
  m_connectingSeen = m_requestSent = m_responseSeen = false;
  m_clock.start();

  if (const QString refused = CheckServerUrl(url); !refused.isEmpty()) {
    FailLater(FetchFailure::Address, refused);
    return;
  }
  m_idle.start(m_timeoutMs);
  ArmDeadline();
  Connect(url);
}

void HttpFetch::Connect(const QUrl& url) {
  m_url = url;
  m_buffer.clear();
  m_certificateProblem.clear();
  m_status = 0;
  m_announced = -1;
  m_stage = Stage::Connecting;

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
    m_idle.start(m_timeoutMs);
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
  m_idle.start(m_timeoutMs);
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
  m_stage = Stage::Head;
  m_socket->write(request);
}

void HttpFetch::OnReadyRead() {
  if (!m_active || !m_socket) return;
  const quint64 generation = m_generation;
  const QByteArray bytes = m_socket->readAll();
  if (bytes.isEmpty()) return;
  m_idle.start(m_timeoutMs);
  if (m_stage == Stage::AfterBody) {
    FailOverlong();
    return;
  }
  m_buffer += bytes;
  while (m_stage == Stage::Head && ParseHead()) {
  }
  if (Ended(generation) || m_stage != Stage::Body) return;
  if (m_mode == BodyMode::Chunked) {
    ParseChunks();
  } else {
    ParseBody();
  }
}

bool HttpFetch::ParseHead() {
  qsizetype end = m_buffer.indexOf("\r\n\r\n");
  qsizetype endLength = 4;
  const qsizetype bare = m_buffer.indexOf("\n\n");
  if (bare >= 0 && (end < 0 || bare < end)) {
    end = bare;
    endLength = 2;
  }
  if (end < 0) {
    if (m_buffer.size() > MaxHeadBytes) {
      Fail(FetchFailure::Protocol, QStringLiteral("The server's reply does not read as HTTP."));
    }
    return false;
  }
  const QByteArray head = m_buffer.left(end);
  m_buffer.remove(0, end + endLength);

  QList<QByteArray> lines = head.split('\n');
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  static const QRegularExpression statusLine(QStringLiteral("^HTTP/1\\.[01] ([0-9]{3})(?: .*)?$"));
  const QRegularExpressionMatch match = statusLine.match(QString::fromLatin1(lines.first()));
  if (!match.hasMatch()) {
    Fail(FetchFailure::Protocol, QStringLiteral("The server's reply does not read as HTTP."));
    return false;
  }
  QList<std::pair<QByteArray, QByteArray>> headers;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(':');
    if (colon <= 0) continue;
    headers.append({lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed()});
  }
  if (!m_responseSeen) {
    m_responseSeen = true;
    const quint64 generation = m_generation;
    emit ResponseStarted();
    // Aborted from the signal: a redirect must not open a connection for an ended request.
    if (Ended(generation)) return false;
  }
  const int status = match.captured(1).toInt();
  m_status = status;
  if (status >= 100 && status < 200 && status != 101) return true;  // an interim answer
  return AcceptHead(status, headers);
}

bool HttpFetch::AcceptHead(int status, const QList<std::pair<QByteArray, QByteArray>>& headers) {
  QByteArray location;
  QList<QByteArray> lengths;
  QList<QByteArray> codings;
  for (const auto& [name, value] : headers) {
    if (name == "location") location = value;
    if (name == "content-length") {
      for (const QByteArray& part : value.split(',')) lengths.append(part.trimmed());
    }
    if (name == "transfer-encoding") {
      for (const QByteArray& part : value.split(',')) codings.append(part.trimmed().toLower());
    }
  }

  if (status >= 300 && status < 400 && status != 304 && !location.isEmpty()) {
    FollowRedirect(location);
    return false;
  }
  if (status < 200 || status >= 300) {
    Fail(FetchFailure::Status, QStringLiteral("The server answered with status %1.").arg(status));
    return false;
  }

  codings.removeAll(QByteArray("identity"));
  const bool chunked = !codings.isEmpty();
  if (chunked && codings != QList<QByteArray>{"chunked"}) {
    Fail(FetchFailure::Protocol,
         QStringLiteral("The server sent the file in a form this updater does not read (%1).")
             .arg(ServerText(codings.join(", "))));
    return false;
  }
  for (const QByteArray& length : lengths) {
    if (!IsDigits(length) || length != lengths.first()) {
      Fail(FetchFailure::Protocol,
           QStringLiteral("The server announced the file's length as \"%1\", which is not one "
                          "number.")
               .arg(ServerText(lengths.join(", "))));
      return false;
    }
  }
  if (chunked && !lengths.isEmpty()) {
    Fail(FetchFailure::Protocol,
         QStringLiteral("The server announced the file's length in two ways at once."));
    return false;
  }

  if (status == 204 || status == 205) {
    m_announced = 0;
    m_mode = BodyMode::Length;
  } else if (chunked) {
    m_mode = BodyMode::Chunked;
    m_chunkStage = ChunkStage::Size;
  } else if (!lengths.isEmpty()) {
    m_announced = lengths.first().toLongLong();
    m_mode = BodyMode::Length;
  } else {
    m_mode = BodyMode::UntilClose;
  }
  if (m_maxBytes >= 0 && m_announced > m_maxBytes) {
    Fail(FetchFailure::TooLarge,
         QStringLiteral("The server announced %1, more than the %2 allowed.")
             .arg(SizeText(m_announced), SizeText(m_maxBytes)));
    return false;
  }
  ArmDeadline();
  m_stage = Stage::Body;
  if (m_mode == BodyMode::Length && m_announced == 0) {
    BodyComplete();
    return false;
  }
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

void HttpFetch::ParseBody() {
  if (m_mode == BodyMode::UntilClose) {
    Deliver(std::exchange(m_buffer, {}));
    return;
  }
  const QByteArray bytes = m_buffer.left(m_announced - m_received);
  m_buffer.remove(0, bytes.size());
  const quint64 generation = m_generation;
  Deliver(bytes);
  if (!Ended(generation) && m_received == m_announced) BodyComplete();
}

void HttpFetch::ParseChunks() {
  const quint64 generation = m_generation;
  const auto malformed = [this] {
    Fail(FetchFailure::Protocol,
         QStringLiteral("The server's reply is not cut into parts as HTTP cuts it."));
  };
  while (!Ended(generation)) {
    if (m_chunkStage == ChunkStage::Data) {
      const QByteArray bytes = m_buffer.left(m_chunkLeft);
      if (bytes.isEmpty()) return;
      m_buffer.remove(0, bytes.size());
      m_chunkLeft -= bytes.size();
      Deliver(bytes);
      if (m_chunkLeft == 0) m_chunkStage = ChunkStage::DataEnd;
      continue;
    }
    const qsizetype end = m_buffer.indexOf('\n');
    if (end < 0) {
      if (m_buffer.size() > MaxChunkLineBytes) malformed();
      return;
    }
    QByteArray line = m_buffer.left(end);
    m_buffer.remove(0, end + 1);
    if (line.endsWith('\r')) line.chop(1);
    switch (m_chunkStage) {
      case ChunkStage::Size: {
        const QByteArray digits = line.split(';').first().trimmed();
        bool ok = false;
        const qint64 size = digits.size() <= 15 ? digits.toLongLong(&ok, 16) : -1;
        if (!ok || size < 0) {
          malformed();
          return;
        }
        m_chunkLeft = size;
        m_chunkStage = size == 0 ? ChunkStage::Trailer : ChunkStage::Data;
        break;
      }
      case ChunkStage::DataEnd:
        if (!line.isEmpty()) {
          malformed();
          return;
        }
        m_chunkStage = ChunkStage::Size;
        break;
      case ChunkStage::Trailer:
        if (line.isEmpty()) {
          BodyComplete();
          return;
        }
        break;
      case ChunkStage::Data:
        break;
    }
  }
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
  m_stage = Stage::AfterBody;
  // Whatever follows the body before the server closes makes the reply longer than announced.
  if (!m_buffer.isEmpty()) {
    FailOverlong();
    return;
  }
  if (!m_socket || m_socket->state() == QAbstractSocket::UnconnectedState) {
    Succeed();
    return;
  }
  m_grace.start(std::min(CloseGraceMs, m_timeoutMs));
}

void HttpFetch::FailOverlong() {
  Fail(FetchFailure::Overlong,
       m_mode == BodyMode::Length
           ? QStringLiteral("The server sent more than the %1 bytes it announced.").arg(m_announced)
           : QStringLiteral("The server sent more after the end of the file."));
}

void HttpFetch::OnClosed() {
  if (!m_active || !m_socket) return;
  const quint64 generation = m_generation;
  OnReadyRead();
  if (Ended(generation)) return;
  switch (m_stage) {
    case Stage::Connecting:
    case Stage::Head:
      Fail(FetchFailure::Truncated,
           QStringLiteral("The server closed the connection without an answer."));
      return;
    case Stage::Body:
      if (m_mode == BodyMode::UntilClose) {
        Succeed();
      } else if (m_mode == BodyMode::Length) {
        Fail(FetchFailure::Truncated,
             QStringLiteral("The transfer ended after %1 of the %2 bytes announced.")
                 .arg(m_received)
                 .arg(m_announced));
      } else {
        Fail(FetchFailure::Truncated,
             QStringLiteral("The transfer ended before its last part, after %1.")
                 .arg(SizeText(m_received)));
      }
      return;
    case Stage::AfterBody:
      Succeed();
      return;
  }
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
  } else if (m_stage == Stage::Connecting) {
    Fail(FetchFailure::Network, QStringLiteral("The server %1 could not be reached: %2.")
                                    .arg(ShortName(m_url.host()), m_socket->errorString()));
  } else {
    Fail(FetchFailure::Network,
         QStringLiteral("The connection broke: %1.").arg(m_socket->errorString()));
  }
}

qint64 HttpFetch::AllowedMs() const {
  const qint64 size = std::max(m_announced, m_received);
  return qint64(m_deadlineFloorMs) + size * 1000 / m_slowestBytesPerSecond;
}

void HttpFetch::ArmDeadline() {
  const qint64 left =
      std::clamp<qint64>(AllowedMs() - m_clock.elapsed(), 0, std::numeric_limits<int>::max());
  m_deadline.start(int(left));
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
  DropSocket();
  m_file.reset();  // discards what was not committed
  m_body.clear();
  m_buffer.clear();
  outcome.status = m_status;
  outcome.size = m_received;
  emit Finished(outcome);
}

}  // namespace webupdate
