#pragma once
// One GET request, checked before its body counts as received: a 2xx status, exactly the
// announced Content-Length, at most a size cap, no stall longer than the transfer timeout,
// and redirects only to the same scheme, host and port. The body is kept in memory or
// streamed into a file through QSaveFile, which replaces the file only when every check
// passed: an error page or a cut-off body never becomes a file, and a failed download leaves
// the old file as it was. The SHA-256 of the body is computed on the way.
//
// Event-driven: Start() returns at once; Finished() reports the outcome exactly once
// (Abort() included). One HttpFetch runs one request at a time.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QCryptographicHash;

namespace webupdate {

struct FetchOutcome {
  bool ok = false;
  bool aborted = false;
  int status = 0;     // HTTP status, 0 when none arrived
  QString error;      // for a person, when !ok
  QByteArray body;    // the memory mode's body
  QByteArray sha256;  // lower-case hex of the body, when ok
  qint64 size = 0;    // bytes received
};

class HttpFetch final : public QObject {
  Q_OBJECT

public:
  static constexpr int DefaultTimeoutMs = 30000;
  static constexpr qint64 ListSizeCap = 1 << 20;
  // No file of a pack or of the help comes near this; a server sending more is broken.
  static constexpr qint64 FileSizeCap = qint64(1) << 30;

  explicit HttpFetch(QNetworkAccessManager& manager, QObject* parent = nullptr);
  ~HttpFetch() override;

  void SetTransferTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

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
  void Begin(const QUrl& url);
  void OnReadyRead();
  void OnFinished();
  bool StatusOk() const;
  void Fail(const QString& error);

  QNetworkAccessManager& m_manager;
  QNetworkReply* m_reply = nullptr;
  std::unique_ptr<QSaveFile> m_file;
  std::unique_ptr<QCryptographicHash> m_hash;
  QString m_savePath;
  QByteArray m_body;
  qint64 m_maxBytes = ListSizeCap;
  qint64 m_received = 0;
  int m_timeoutMs = DefaultTimeoutMs;
  QString m_failure;
  bool m_aborted = false;
  bool m_responseSeen = false;
};

}  // namespace webupdate

Q_DECLARE_METATYPE(webupdate::FetchOutcome)
