#pragma once
// One GET request over HTTP/1.1, checked before its body counts as received: a 2xx status, a
// body of exactly the announced length (not a byte fewer, not a byte more), a size cap checked
// on the announced length before any body is read, no silence longer than the idle timeout, an
// overall deadline that grows with the announced size, and redirects only to the same scheme,
// host and port. The body is kept in memory or streamed into a file through QSaveFile, which
// replaces the file only when every check passed: an error page or a cut-off body never becomes
// a file, and a failed download leaves the old file as it was. The SHA-256 of the body is
// computed on the way.
//
// The request is spoken over a QTcpSocket (a QSslSocket for https) rather than through
// QNetworkAccessManager, which ends a reply at its announced length and drops whatever the
// server sends beyond it: a reply longer than announced must fail, not become a cut file.
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

class QTcpSocket;
class QSaveFile;
class QCryptographicHash;

namespace webupdate {

enum class FetchFailure {
  None,
  Address,    // the address may not be asked (not https, not valid)
  Network,    // no connection, a broken one, or a certificate that does not check out
  Protocol,   // the reply is not HTTP as this client reads it
  Status,     // a status other than 2xx
  Redirect,   // sent on to another origin, or too often
  Truncated,  // the connection ended before the announced length
  Overlong,   // more bytes than announced
  TooLarge,   // announced or received beyond the cap
  Idle,       // nothing arrived for the idle timeout
  Deadline,   // the whole transfer took longer than its deadline
  Write,      // the file cannot be written
  Cancelled,  // Abort()
};

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

class HttpFetch final : public QObject {
  Q_OBJECT

public:
  static constexpr int DefaultTimeoutMs = 30000;
  // Every transfer may take this long, plus the time its size takes at the slowest rate
  // still taken for a working connection.
  static constexpr int DefaultDeadlineFloorMs = 120000;
  static constexpr qint64 DefaultSlowestBytesPerSecond = 16 * 1024;
  static constexpr qint64 ListSizeCap = 1 << 20;
  // No file of a pack comes near this; a server announcing more is broken.
  static constexpr qint64 FileSizeCap = qint64(1) << 30;
  static constexpr int MaxRedirects = 5;

  explicit HttpFetch(QObject* parent = nullptr);
  ~HttpFetch() override;

  // The longest silence: no connection, no byte sent or received.
  void SetTransferTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
  // The deadline of one request: floorMs, plus the announced (or received) size at
  // slowestBytesPerSecond.
  void SetDeadline(int floorMs, qint64 slowestBytesPerSecond = DefaultSlowestBytesPerSecond);

  // Body into memory, failing beyond maxBytes.
  void Start(const QUrl& url, qint64 maxBytes = ListSizeCap);
  // Body into savePath (replaced only on success, its folder must exist), failing beyond
  // maxBytes.
  void StartToFile(const QUrl& url, const QString& savePath, qint64 maxBytes = FileSizeCap);
  // Ends the request; Finished() reports it aborted. Nothing when idle.
  void Abort();

signals:
  void ConnectingStarted();
  void RequestSent();
  void ResponseStarted();
  void Finished(const webupdate::FetchOutcome& outcome);

private:
  enum class Stage { Connecting, Head, Body, AfterBody };
  enum class BodyMode { Length, Chunked, UntilClose };
  enum class ChunkStage { Size, Data, DataEnd, Trailer };

  void Begin(const QUrl& url);
  void Connect(const QUrl& url);
  void DropSocket();
  void SendRequest();
  void OnReadyRead();
  void OnClosed();
  void OnSocketError();
  // True when a head was taken and another head (after an interim answer) or the body
  // follows; false when it needs more bytes or the request went no further.
  bool ParseHead();
  void ParseBody();
  void ParseChunks();
  bool AcceptHead(int status, const QList<std::pair<QByteArray, QByteArray>>& headers);
  void FollowRedirect(const QByteArray& location);
  void Deliver(const QByteArray& bytes);
  // The file mode's QSaveFile, opened on the first byte (or at the end, for an empty body).
  bool OpenFile();
  void FailWrite();
  void BodyComplete();
  void FailOverlong();
  qint64 AllowedMs() const;
  void ArmDeadline();
  void Succeed();
  void Fail(FetchFailure failure, const QString& error);
  void FailLater(FetchFailure failure, const QString& error);
  void Report(FetchOutcome outcome);
  bool Ended(quint64 generation) const { return !m_active || generation != m_generation; }

  QTcpSocket* m_socket = nullptr;
  std::unique_ptr<QSaveFile> m_file;
  std::unique_ptr<QCryptographicHash> m_hash;
  QTimer m_idle;
  QTimer m_deadline;
  QTimer m_grace;
  QElapsedTimer m_clock;
  QUrl m_url;
  QString m_savePath;
  QByteArray m_buffer;
  QByteArray m_body;
  QString m_certificateProblem;
  qint64 m_maxBytes = ListSizeCap;
  qint64 m_received = 0;
  qint64 m_announced = -1;
  qint64 m_chunkLeft = 0;
  qint64 m_requestBytes = 0;
  qint64 m_slowestBytesPerSecond = DefaultSlowestBytesPerSecond;
  quint64 m_generation = 0;
  int m_timeoutMs = DefaultTimeoutMs;
  int m_deadlineFloorMs = DefaultDeadlineFloorMs;
  int m_status = 0;
  int m_redirects = 0;
  Stage m_stage = Stage::Connecting;
  BodyMode m_mode = BodyMode::UntilClose;
  ChunkStage m_chunkStage = ChunkStage::Size;
  bool m_active = false;
  bool m_connectingSeen = false;
  bool m_requestSent = false;
  bool m_responseSeen = false;
};

}  // namespace webupdate

Q_DECLARE_METATYPE(webupdate::FetchOutcome)
