#pragma once
// An HTTP/1.1 server on 127.0.0.1 (a port the system picks) for the updaters' tests: a table
// of routes, each with a status, a body and a fault (or a raw reply), and the list of paths
// requested. It runs
// on the test's own event loop; no test reaches any other address, and every fault ends by
// itself (a drip sends at most its body), so no test can hang on it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

namespace webupdate::testing {

enum class Fault {
  None,
  ShortBody,  // announces the full length, sends half of the body, then closes
  Drop,       // closes without any response
  SlowBody,   // sends the head and half the body, the rest after the route's delay
  Silent,     // reads the request and never answers
  Drip,       // sends the head, then one byte of the body every delay
};

struct Route {
  Route(int status_ = 200, QByteArray body_ = {}, Fault fault_ = Fault::None, int delayMs_ = 0)
      : status(status_), body(std::move(body_)), fault(fault_), delayMs(delayMs_) {}

  Route& Header(const QByteArray& name, const QByteArray& value) {
    headers.append(std::pair<QByteArray, QByteArray>(name, value));
    return *this;
  }

  int status = 200;
  QByteArray body;
  Fault fault = Fault::None;
  int delayMs = 0;
  // The Content-Length sent; -1 sends the body's own length, -2 sends none (the body then
  // ends when the connection closes).
  qint64 announced = -1;
  QList<std::pair<QByteArray, QByteArray>> headers;
  // When set, the whole reply as sent, head included, before the connection closes; status,
  // body and headers are then ignored.
  QByteArray raw;
};

// A route whose Content-Length is announced rather than the body's own.
inline Route Announcing(qint64 announced, QByteArray body) {
  Route route{200, std::move(body)};
  route.announced = announced;
  return route;
}

// A route whose reply is sent byte for byte as given (a head of any shape, interim answers,
// chunks), then the connection closes.
inline Route Raw(QByteArray reply) {
  Route route;
  route.raw = std::move(reply);
  return route;
}

// A reply that announces no length and is not chunked: its body ends with the connection.
inline Route Unannounced(QByteArray body, Fault fault = Fault::None) {
  Route route{200, std::move(body), fault};
  route.announced = -2;
  return route;
}

class LoopbackServer final : public QObject {
  Q_OBJECT

public:
  LoopbackServer();
  ~LoopbackServer() override;

  // "http://127.0.0.1:<port>/"
  QUrl BaseUrl() const;
  // path as requested, without the leading "/" and percent-decoded ("Docs/T1/Dir.htm").
  void Set(const QString& path, Route route);
  void Set(const QString& path, const QByteArray& body) { Set(path, Route{200, body}); }
  const QStringList& Requested() const { return m_requested; }
  void ClearRequested() { m_requested.clear(); }

private:
  void OnConnection();
  void OnReadable(QTcpSocket* socket);
  void Answer(QTcpSocket* socket, const QString& path);

  QTcpServer* m_server;
  QHash<QString, Route> m_routes;
  QStringList m_requested;
  QHash<QTcpSocket*, QByteArray> m_pending;
};

// Qt's reason phrases matter little; the status line carries the code.
QByteArray StatusLine(int status);

}  // namespace webupdate::testing
