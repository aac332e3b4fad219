#pragma once
// One GET request over HTTP/1.1, checked before its body counts as received: status 200, a
// body whose end is known (exactly its Content-Length, not a byte fewer or more, or chunks to
// their last), a size cap checked on the announced length before any body is read, no
// silence longer than the idle timeout, an overall deadline with a fixed cap, a floor on the
// average rate, and redirects only to the same scheme, host and port. A body with neither a
// length nor chunks is refused, as a cut-off one would read whole, unless the caller names its
// SHA-256. The body is kept in memory or streamed into a file through QSaveFile, which
// replaces the file only when every check passed: an error page or a cut-off body never
// becomes a file, and a failed download leaves the old file as it was. The SHA-256 of the
// body is computed on the way.
//
// The request is spoken over a QTcpSocket (a QSslSocket for https) rather than through
// QNetworkAccessManager, which ends a reply at its announced length and drops whatever the
// server sends beyond it: a reply longer than announced must fail, not become a cut file. The
// reply is read by a ReplyParser, with its limits on heads, interim answers and chunks.
//
// Event-driven: Start() returns at once, and Finished() reports the outcome exactly once, never
// from inside Start() (Abort() included). One HttpFetch runs one request at a time; the next
// may be started from the Finished() handler.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "webupdate/fetchfailure.h"

class QTcpSocket;
class QSaveFile;
class QCryptographicHash;

namespace webupdate {

class ReplyParser;

struct FetchOutcome {
  bool ok = false;
  bool aborted = false;
  FetchFailure failure = FetchFailure::None;
  int status = 0;     // HTTP status, 0 when none arrived
  QString error;      // why it failed, one or two sentences for a person, when !ok
  QByteArray body;    // the memory mode's body
  QByteArray sha256;  // lower-case hex of the body, when ok
  qint64 size = 0;    // body bytes received
};

// How long a transfer may take. Tests shorten every one of them.
struct TransferLimits {
  // The longest silence: no connection, no byte sent or received.
  int idleMs = 30000;
  // Every transfer may take deadlineFloorMs plus the time its announced (or received) size
  // takes at slowestBytesPerSecond, and never more than deadlineCapMs.
  int deadlineFloorMs = 120000;
  qint64 slowestBytesPerSecond = 16 * 1024;
  int deadlineCapMs = 30 * 60 * 1000;
  // A transfer that brings fewer than minimumBytesPerSecond on average over a window of
  // rateWindowMs ends there: a server dripping a byte now and then is not working.
  qint64 minimumBytesPerSecond = 1024;
  int rateWindowMs = 60000;

  // The deadline of a transfer of size bytes.
  qint64 DeadlineMs(qint64 size) const;
};

class HttpFetch final : public QObject {
  Q_OBJECT

public:
  static constexpr qint64 ListSizeCap = 1 << 20;
  // No file of a pack comes near this; a server announcing more is broken.
  static constexpr qint64 FileSizeCap = qint64(1) << 30;
  static constexpr int MaxRedirects = 5;

  explicit HttpFetch(QObject* parent = nullptr);
  ~HttpFetch() override;

  void SetLimits(const TransferLimits& limits) { m_limits = limits; }
  const TransferLimits& Limits() const noexcept { return m_limits; }

  // Body into memory, failing beyond maxBytes.
  void Start(const QUrl& url, qint64 maxBytes = ListSizeCap);
  // Body into savePath (replaced only on success, its folder must exist), failing beyond
  // maxBytes. With expectedSha256 (lower-case hex) the body must have that SHA-256, which
  // also checks the end of a body sent without a length or chunks.
  void StartToFile(const QUrl& url, const QString& savePath, qint64 maxBytes = FileSizeCap,
                   const QByteArray& expectedSha256 = {});
  // Ends the request; Finished() reports it aborted. Nothing when idle.
  void Abort();

signals:
  void ConnectingStarted();
  void RequestSent();
  void ResponseStarted();
  void Finished(const webupdate::FetchOutcome& outcome);

private:
  void Begin(const QUrl& url);
  void Connect(const QUrl& url);
  void DropSocket();
  void SendRequest();
  void OnReadyRead();
  void OnClosed();
  void OnSocketError();
  // Takes the parser's steps until it needs more bytes or the request ends.
  void Drain();
  // The first head of a reply, interim or final, tells that the response started.
  bool ResponseStarting();
  // True when the body of the final head is to be read.
  bool AcceptHead();
  void FollowRedirect(const QByteArray& location);
  void Deliver(const QByteArray& bytes);
  // The file mode's QSaveFile, opened on the first byte (or at the end, for an empty body).
  bool OpenFile();
  void FailWrite();
  void BodyComplete();
  qint64 AllowedMs() const;
  void ArmDeadline();
  void CheckRate();
  void Succeed();
  void Fail(FetchFailure failure, const QString& error);
  void FailLater(FetchFailure failure, const QString& error);
  void Report(FetchOutcome outcome);
  bool Ended(quint64 generation) const { return !m_active || generation != m_generation; }

  QTcpSocket* m_socket = nullptr;
  std::unique_ptr<ReplyParser> m_parser;
  std::unique_ptr<QSaveFile> m_file;
  std::unique_ptr<QCryptographicHash> m_hash;
  TransferLimits m_limits;
  QTimer m_idle;
  QTimer m_deadline;
  QTimer m_grace;
  QTimer m_rate;
  QElapsedTimer m_clock;
  QUrl m_url;
  QString m_savePath;
  QByteArray m_expectedSha256;
  QByteArray m_body;
  QString m_certificateProblem;
  qint64 m_maxBytes = ListSizeCap;
  qint64 m_received = 0;
  qint64 m_announced = -1;
  qint64 m_windowBytes = 0;  // read from the socket since the rate was last checked
  qint64 m_requestBytes = 0;
  quint64 m_generation = 0;
  int m_status = 0;
  int m_redirects = 0;
  bool m_active = false;
  bool m_connectingSeen = false;
  bool m_connected = false;  // the current connection's request is under way
  bool m_requestSent = false;
  bool m_responseSeen = false;
  bool m_bodyDone = false;
  bool m_peerClosed = false;
};

}  // namespace webupdate

Q_DECLARE_METATYPE(webupdate::FetchOutcome)
